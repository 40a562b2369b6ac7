#include "qt_document_port.h"

#include "qt_text.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

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
    const QString path = QFileDialog::getOpenFileName(owner_.data(), QStringLiteral("Open"),
                                                      dialogFolder(), profileFilter());
    rememberFolderOf(path);
    return chosen(path);
}

std::optional<std::u16string> QtDocumentPort::chooseSavePath(std::u16string_view proposedName) {
    // The dialog asks before overwriting unless told not to, and appends no extension.
    const QString path = QFileDialog::getSaveFileName(
        owner_.data(), QStringLiteral("Save As"),
        QDir(dialogFolder()).filePath(toQString(proposedName)), profileFilter());
    rememberFolderOf(path);
    return chosen(path);
}

bool QtDocumentPort::readFile(const std::u16string& path, std::size_t maxBytes, std::string& bytes,
                              std::u16string& reason) {
    QFile file(toQString(path));
    if (!file.open(QIODevice::ReadOnly)) {
        reason = toU16(file.errorString());
        return false;
    }
    const QByteArray data = file.read(static_cast<qint64>(maxBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        reason = toU16(file.errorString());
        return false;
    }
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool QtDocumentPort::writeFileAtomically(const std::u16string& path, std::string_view bytes,
                                         std::u16string& reason) {
    QSaveFile file(toQString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        reason = toU16(file.errorString());
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        reason = toU16(file.errorString());
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = toU16(file.errorString());
        return false;
    }
    return true;
}

} // namespace tanu::qt
