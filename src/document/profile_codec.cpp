#include "document/profile_codec.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace tanu {

namespace {

bool hasHighByte(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) > 0x7F; });
}

// A line that the reader would take for UTF-8.
std::optional<std::u16string> readsAsUtf8(std::string_view bytes) {
    if (!hasHighByte(bytes)) {
        return std::nullopt;
    }
    return utf16FromUtf8(bytes);
}

// Control characters have no place in a profile; TAB, CR and LF are the only ones a text file
// of ours holds.
bool isForbiddenControl(char32_t unit) {
    return (unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') || unit == 0x7F;
}

bool holdsForbiddenControl(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return isForbiddenControl(static_cast<unsigned char>(b)); });
}

bool isFormatSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

std::string encodeHeaderText(std::u16string_view text) {
    std::u16string clean(text);
    // Line ends would break the layout, and a file with other control characters is refused
    // when opened: a saved profile always opens again.
    std::replace_if(
        clean.begin(), clean.end(),
        [](char16_t unit) { return unit == u'\n' || unit == u'\r' || isForbiddenControl(unit); },
        u' ');

    if (std::all_of(clean.begin(), clean.end(), [](char16_t unit) { return unit <= 0xFF; })) {
        std::string bytes = narrowText(clean);
        // Such bytes would come back as other characters; UTF-8 brings these back unchanged.
        if (!readsAsUtf8(bytes)) {
            return bytes;
        }
    }
    return utf8FromUtf16(clean);
}

std::u16string decodeHeaderLine(std::string_view line) {
    if (std::optional<std::u16string> decoded = readsAsUtf8(line)) {
        return *std::move(decoded);
    }
    return widenText(line);
}

std::u16string cutHeaderText(std::u16string_view text) {
    if (text.size() <= CommitTextLimit) {
        return std::u16string(text);
    }
    std::size_t length = CommitTextLimit;
    if (isHighSurrogate(text[length - 1]) && isLowSurrogate(text[length])) {
        --length;
    }
    return std::u16string(text.substr(0, length));
}

std::uint32_t savedDomainValue(std::u16string_view text) {
    constexpr auto Limit = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    const auto value = static_cast<std::uint32_t>(readDecimal(text, Limit).value_or(0));
    return value == 1 ? 2 : value;
}

std::int32_t readLineNumber(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && isFormatSpace(line[i])) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    const std::size_t firstDigit = i;
    // Past this magnitude the number is out of range whatever its sign.
    constexpr std::uint64_t Limit = 2147483648u;
    std::uint64_t magnitude = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') {
        if (magnitude <= Limit) {
            magnitude = magnitude * 10 + static_cast<std::uint64_t>(line[i] - '0');
        }
        ++i;
    }
    if (i == firstDigit) {
        return 0;
    }
    if (negative) {
        return magnitude > Limit ? 0
                                 : static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude));
    }
    return magnitude >= Limit ? 0 : static_cast<std::int32_t>(magnitude);
}

std::uint32_t openedDomainValue(std::string_view line) {
    return clampToYears(readLineNumber(line));
}

std::vector<std::string> splitProfileLines(std::string_view bytes, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size() && lines.size() < maxLines) {
        const std::size_t feed = bytes.find('\n', start);
        if (feed == std::string_view::npos) {
            lines.emplace_back(bytes.substr(start));
            break;
        }
        std::size_t end = feed;
        if (end > start && bytes[end - 1] == '\r') {
            --end;
        }
        lines.emplace_back(bytes.substr(start, end - start));
        start = feed + 1;
    }
    return lines;
}

bool holdsControlCharacters(std::string_view bytes) {
    return holdsForbiddenControl(bytes);
}

} // namespace tanu
