#include "model/text.h"

#include <vector>

namespace tanu {

namespace {

void appendUtf16(std::u16string& out, char32_t codePoint) {
    if (codePoint < 0x10000) {
        out.push_back(static_cast<char16_t>(codePoint));
    } else {
        const char32_t v = codePoint - 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    }
}

void appendUtf8(std::string& out, char32_t codePoint) {
    const auto byte = [&out](char32_t b) { out.push_back(static_cast<char>(b)); };
    if (codePoint < 0x80) {
        byte(codePoint);
    } else if (codePoint < 0x800) {
        byte(0xC0 | (codePoint >> 6));
        byte(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        byte(0xE0 | (codePoint >> 12));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    } else {
        byte(0xF0 | (codePoint >> 18));
        byte(0x80 | ((codePoint >> 12) & 0x3F));
        byte(0x80 | ((codePoint >> 6) & 0x3F));
        byte(0x80 | (codePoint & 0x3F));
    }
}

// The placeholder "%n" starting at pattern[at], or 0 when there is none.
std::size_t placeholderAt(std::u16string_view pattern, std::size_t at, std::size_t count) {
    if (pattern[at] != u'%' || at + 1 >= pattern.size()) {
        return 0;
    }
    const char16_t digit = pattern[at + 1];
    if (digit < u'1' || digit > u'9') {
        return 0;
    }
    const auto n = static_cast<std::size_t>(digit - u'0');
    return n <= count ? n : 0;
}

} // namespace

std::string narrowText(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const char16_t unit : text) {
        bytes.push_back(static_cast<char>(static_cast<unsigned char>(unit & 0xFFu)));
    }
    return bytes;
}

std::u16string widenText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(b)));
    }
    return text;
}

std::string utf8FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (isHighSurrogate(unit) && i + 1 < text.size() && isLowSurrogate(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
            appendUtf8(out, 0xFFFD); // a lone half of a pair names no character
        } else {
            appendUtf8(out, unit);
        }
    }
    return out;
}

std::optional<std::u16string> utf16FromUtf8(std::string_view bytes) {
    std::u16string out;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        char32_t codePoint = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            codePoint = lead;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            codePoint = lead & 0x1Fu;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            codePoint = lead & 0x0Fu;
            if (lead == 0xE0) {
                low = 0xA0;
            } else if (lead == 0xED) {
                high = 0x9F;
            }
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            codePoint = lead & 0x07u;
            if (lead == 0xF0) {
                low = 0x90;
            } else if (lead == 0xF4) {
                high = 0x8F;
            }
        } else {
            return std::nullopt;
        }
        if (bytes.size() - i - 1 < extra) {
            return std::nullopt;
        }
        for (std::size_t n = 1; n <= extra; ++n) {
            const auto next = static_cast<unsigned char>(bytes[i + n]);
            const unsigned char min = n == 1 ? low : 0x80;
            const unsigned char max = n == 1 ? high : 0xBF;
            if (next < min || next > max) {
                return std::nullopt;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        appendUtf16(out, codePoint);
        i += extra + 1;
    }
    return out;
}

std::optional<std::uint64_t> readDecimal(std::u16string_view text, std::uint64_t limit) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char16_t unit : text) {
        if (unit < u'0' || unit > u'9') {
            return std::nullopt;
        }
        // Checked before it can overflow: the limit is never above 2^64 / 10.
        value = value * 10 + static_cast<std::uint64_t>(unit - u'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    return value;
}

std::u16string fillMessage(std::u16string_view pattern,
                           std::initializer_list<std::u16string_view> arguments) {
    const std::vector<std::u16string_view> args(arguments);
    constexpr std::u16string_view Break = u"\n\n";
    std::u16string out;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(Break, start);
        if (end == std::u16string_view::npos) {
            end = pattern.size();
        }
        const std::u16string_view paragraph = pattern.substr(start, end - start);
        std::u16string filled;
        bool missing = false;
        for (std::size_t i = 0; i < paragraph.size(); ++i) {
            const std::size_t n = placeholderAt(paragraph, i, args.size());
            if (n == 0) {
                filled.push_back(paragraph[i]);
                continue;
            }
            missing = missing || args[n - 1].empty();
            filled += args[n - 1];
            ++i;
        }
        if (!missing) {
            if (!out.empty()) {
                out += Break;
            }
            out += filled;
        }
        start = end + Break.size();
    }
    return out;
}

} // namespace tanu
