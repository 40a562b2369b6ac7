#include "shell/win32/win32_document_port.h"

#include "shell/files/safe_files.h"
#include "shell/win32/win32_text.h"

#include <windows.h>

#include <commdlg.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace tanu::win32 {

namespace {

// "name\0pattern\0\0", as the dialogs read their filter.
std::wstring filter() {
    std::wstring text = win32::wide(ProfileFilterName);
    text += L'\0';
    text += win32::wide(ProfileFilterPattern);
    text += L'\0';
    return text; // the string's own terminator ends the list
}

// Long enough for any path the dialog may hand back.
constexpr DWORD PathBufferLength = 32768;

std::optional<std::u16string> runDialog(HWND owner, std::u16string_view title,
                                        std::u16string_view proposedName, bool save) {
    const std::wstring filterText = filter();
    const std::wstring titleText = win32::wide(title);
    std::vector<wchar_t> path(PathBufferLength, L'\0');
    const std::wstring proposed = win32::wide(proposedName);
    proposed.copy(path.data(), std::min<std::size_t>(proposed.size(), PathBufferLength - 1));

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filterText.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = PathBufferLength;
    dialog.lpstrTitle = titleText.c_str();
    // No default extension: a typed name is kept as typed.
    BOOL chosen = FALSE;
    if (save) {
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER;
        chosen = GetSaveFileNameW(&dialog);
    } else {
        dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_EXPLORER;
        chosen = GetOpenFileNameW(&dialog);
    }
    if (chosen == 0) {
        return std::nullopt;
    }
    return win32::utf16(path.data());
}

} // namespace

std::optional<std::u16string> Win32DocumentPort::chooseOpenPath() {
    return runDialog(owner_, OpenDialogTitle, u"", false);
}

std::optional<std::u16string> Win32DocumentPort::chooseSavePath(std::u16string_view proposedName) {
    return runDialog(owner_, SaveDialogTitle, proposedName, true);
}

ReadResult Win32DocumentPort::readFile(const std::u16string& path, std::size_t maxBytes) {
    return files::readRegularFile(std::filesystem::path(path), maxBytes);
}

WriteResult Win32DocumentPort::writeFileAtomically(const std::u16string& path,
                                                   std::string_view bytes) {
    return files::writeFileAtomically(std::filesystem::path(path), bytes);
}

} // namespace tanu::win32
