// The profile commands' files: Qt's file dialogs over the shells' safe file calls.
#pragma once

#include "document/document_port.h"

#include <QPointer>
#include <QWidget>

namespace tanu::qt {

class QtDocumentPort : public DocumentPort {
public:
    // The dialogs are modal over dialogOwner.
    void setDialogOwner(QWidget* dialogOwner) { owner_ = dialogOwner; }
    // The next dialog starts in the folder of path (a file opened without the dialog, say).
    void rememberFolderOf(const QString& path);
    // Where the next dialog starts: the folder used last in this run, else the user's documents.
    QString dialogFolder() const;

    std::optional<std::u16string> chooseOpenPath() override;
    std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) override;
    ReadResult readFile(const std::u16string& path, std::size_t maxBytes) override;
    WriteResult writeFileAtomically(const std::u16string& path, std::string_view bytes) override;

private:
    QPointer<QWidget> owner_;
    QString lastFolder_; // this run only: nothing is kept between runs
};

} // namespace tanu::qt
