#include "qt_document_port.h"

#include "qt_text.h"

#include "shell/files/safe_files.h"

#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
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

void QtDocumentPort::rememberFolderOf(const QString& path) {
    if (!path.isEmpty()) {
        lastFolder_ = QFileInfo(path).absolutePath();
    }
}

QString QtDocumentPort::dialogFolder() const {
    if (!lastFolder_.isEmpty() && QFileInfo(lastFolder_).isDir()) {
        return lastFolder_;
    }
    // Never the working folder, which for an installed program is often its own bin folder. A
    // fresh account may have no Documents folder yet, and a dialog sent to a missing folder
    // would fall back to the working folder.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

std::optional<std::u16string> QtDocumentPort::chooseOpenPath() {
    const QString path = QFileDialog::getOpenFileName(owner_.data(), toQString(OpenDialogTitle),
                                                      dialogFolder(), profileFilter());
    rememberFolderOf(path);
    return chosen(path, owner_.data());
}

std::optional<std::u16string> QtDocumentPort::chooseSavePath(std::u16string_view proposedName) {
    // The dialog asks before overwriting unless told not to, and appends no extension.
    const QString path = QFileDialog::getSaveFileName(
        owner_.data(), toQString(SaveDialogTitle),
        QDir(dialogFolder()).filePath(toQString(proposedName)), profileFilter());
    rememberFolderOf(path);
    return chosen(path, owner_.data());
}

ReadResult QtDocumentPort::readFile(const std::u16string& path, std::size_t maxBytes) {
    return files::readRegularFile(files::pathFromUtf16(path), maxBytes);
}

WriteResult QtDocumentPort::writeFileAtomically(const std::u16string& path,
                                                std::string_view bytes) {
    return files::writeFileAtomically(files::pathFromUtf16(path), bytes);
}

} // namespace tanu::qt
