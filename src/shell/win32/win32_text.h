// UTF-16 strings between the core (char16_t) and the Windows API (wchar_t, also UTF-16 here).
#pragma once

#include <string>
#include <string_view>

namespace tanu::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows' wide strings are UTF-16");

inline std::wstring wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

inline std::u16string utf16(std::wstring_view text) {
    return std::u16string(text.begin(), text.end());
}

} // namespace tanu::win32
