#include "qt_document_port.h"

#include "qt_text.h"

#include <QFile>
#include <QFileDialog>
#include <QSaveFile>

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
