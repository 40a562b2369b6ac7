// Text conversions the core and the shells share: UTF-16 (the fields' text) to and from UTF-8
// and one byte per character, and filling message patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace tanu {

// How much of a field's text is read, in UTF-16 code units: the commits and Save read at most
// CommitTextLimit, the printed picture at most PaintTextLimit (the platform's text buffers of
// 260 and 500 units, each with its terminator).
inline constexpr std::size_t CommitTextLimit = 259;
inline constexpr std::size_t PaintTextLimit = 499;

// The two halves of a surrogate pair.
constexpr bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
constexpr bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// One byte per UTF-16 code unit: its low 8 bits.
std::string narrowText(std::u16string_view text);
// One code unit per byte, of the byte's value.
std::u16string widenText(std::string_view bytes);

// UTF-8 of the text; a lone half of a surrogate pair becomes U+FFFD.
std::string utf8FromUtf16(std::u16string_view text);
// Strict UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF) to UTF-16; nothing
// when the bytes are not such UTF-8.
std::optional<std::u16string> utf16FromUtf8(std::string_view bytes);

// A non-empty run of the ASCII digits 0..9 read as a decimal number; nothing for any other
// text or a number above limit. Leading zeros are allowed.
std::optional<std::uint64_t> readDecimal(std::u16string_view text, std::uint64_t limit);

// Puts the n-th argument for "%n" (n from 1). The pattern is scanned once, so an argument that
// itself holds "%2" is inserted as it is. A paragraph (text between blank lines) whose
// placeholder gets an empty argument is left out.
std::u16string fillMessage(std::u16string_view pattern,
                           std::initializer_list<std::u16string_view> arguments);

} // namespace tanu
