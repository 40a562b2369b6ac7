// Open and Save on Windows: the common file dialogs, and the safe whole-file calls.
#pragma once

#include "document/document_port.h"

struct HWND__;

namespace tanu::win32 {

class Win32DocumentPort : public DocumentPort {
public:
    // The dialogs are owned by window; it may be set after construction.
    void setOwner(HWND__* window) { owner_ = window; }

    std::optional<std::u16string> chooseOpenPath() override;
    std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) override;
    ReadResult readFile(const std::u16string& path, std::size_t maxBytes) final;
    WriteResult writeFileAtomically(const std::u16string& path, std::string_view bytes) final;

private:
    HWND__* owner_ = nullptr;
};

} // namespace tanu::win32
