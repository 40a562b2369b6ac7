#include "qt_document_port.h"

#include "qt_text.h"

#include "shell/files/safe_files.h"

#include <QEventLoop>
#include <QFileDialog>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace tanu::qt {

namespace {

QString profileFilter() {
    return QStringLiteral("%1 (%2)").arg(toQString(ProfileFilterName),
                                         toQString(ProfileFilterPattern));
}

// How long a window manager may take to hand the focus back after a dialog.
constexpr int ReactivationLimitMs = 1000;

// A closing dialog gives the focus back to the window before the command goes on, as on
// Windows. Left to the window manager, the focus would come back later and select the whole
// text of the field that the command has just put the caret into.
void awaitReactivation(QWidget* window) {
    if (window == nullptr || !window->isVisible() || window->isActiveWindow()) {
        return;
    }
    QEventLoop loop;
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, &loop, [&loop, window] {
        if (window->isActiveWindow()) {
            loop.quit();
        }
    });
    QTimer::singleShot(ReactivationLimitMs, &loop, &QEventLoop::quit);
    window->activateWindow();
    if (!window->isActiveWindow()) {
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

std::optional<std::u16string> chosen(const QString& path, QWidget* owner) {
    awaitReactivation(owner);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return toU16(path);
}

} // namespace

std::optional<std::u16string> QtDocumentPort::chooseOpenPath() {
    return chosen(QFileDialog::getOpenFileName(owner_.data(), toQString(OpenDialogTitle), QString(),
                                               profileFilter()),
                  owner_.data());
}

std::optional<std::u16string> QtDocumentPort::chooseSavePath(std::u16string_view proposedName) {
    // The dialog asks before overwriting unless told not to, and appends no extension.
    return chosen(QFileDialog::getSaveFileName(owner_.data(), toQString(SaveDialogTitle),
                                               toQString(proposedName), profileFilter()),
                  owner_.data());
}

bool QtDocumentPort::readFile(const std::u16string& path, std::size_t maxBytes, std::string& bytes,
                              std::u16string& reason) {
    return files::readRegularFile(path, maxBytes, bytes, reason);
}

bool QtDocumentPort::writeFileAtomically(const std::u16string& path, std::string_view bytes,
                                         std::u16string& reason) {
    return files::writeFileAtomically(path, bytes, reason);
}

} // namespace tanu::qt
