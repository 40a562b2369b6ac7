#include "qt_document_port.h"

#include "qt_text.h"

#include "shell/files/safe_files.h"

#include <QFileDialog>

namespace tanu::qt {

namespace {

QString profileFilter() {
    return QStringLiteral("%1 (%2)").arg(toQString(ProfileFilterName),
                                         toQString(ProfileFilterPattern));
}

std::optional<std::u16string> chosen(const QString& path) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    return toU16(path);
}

} // namespace

std::optional<std::u16string> QtDocumentPort::chooseOpenPath() {
    return chosen(QFileDialog::getOpenFileName(owner_.data(), QStringLiteral("Open"), QString(),
                                               profileFilter()));
}

std::optional<std::u16string> QtDocumentPort::chooseSavePath(std::u16string_view proposedName) {
    // The dialog asks before overwriting unless told not to, and appends no extension.
    return chosen(QFileDialog::getSaveFileName(owner_.data(), QStringLiteral("Save As"),
                                               toQString(proposedName), profileFilter()));
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
