#include "document/profile_file.h"

#include <algorithm>
#include <limits>

namespace tanu {

namespace {

constexpr std::size_t SavedTextLimit = 259;
constexpr std::string_view LineEnd = "\r\n";
constexpr std::string_view PlaceholderBytes = "YYYY/MM/DD";

bool isHighSurrogate(char32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool isLowSurrogate(char32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

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

std::string toUtf8(std::u16string_view text) {
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

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool decodeUtf8(std::string_view bytes, std::u16string& out) {
    out.clear();
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
            return false;
        }
        if (bytes.size() - i - 1 < extra) {
            return false;
        }
        for (std::size_t n = 1; n <= extra; ++n) {
            const auto next = static_cast<unsigned char>(bytes[i + n]);
            const unsigned char min = n == 1 ? low : 0x80;
            const unsigned char max = n == 1 ? high : 0xBF;
            if (next < min || next > max) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        appendUtf16(out, codePoint);
        i += extra + 1;
    }
    return true;
}

bool hasHighByte(std::string_view bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char b) { return static_cast<unsigned char>(b) > 0x7F; });
}

// A line that the reader would take for UTF-8.
bool readsAsUtf8(std::string_view bytes, std::u16string& decoded) {
    return hasHighByte(bytes) && decodeUtf8(bytes, decoded);
}

bool isFormatSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void replaceAll(std::u16string& text, std::u16string_view from, std::u16string_view to) {
    for (std::size_t at = text.find(from); at != std::u16string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
}

void showMessage(AppState& state, std::u16string_view caption, std::u16string text) {
    state.host->showMessage(caption, text, MessageIcon::Warning);
}

// Loads fourteen or more lines into the fields and the model. False when the date of birth was
// not acceptable and the domain values were dropped.
bool loadProfileLines(AppState& state, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < HeaderLineCount; ++i) {
        state.host->setFieldText(ProfileFieldOrder[i], decodeHeaderLine(lines[i]));
    }
    for (std::size_t k = 0; k < DomainCount; ++k) {
        state.model.domainValues[k] = openedDomainValue(lines[HeaderLineCount + k]);
    }

    const std::u16string birth = readCommitText(state, BirthDateField);
    const bool accepted = isAcceptableBirthDate(birth, state.today());
    if (accepted) {
        state.birthDatePlaceholder = false;
        commitBirthDate(state, birth);
    } else {
        state.host->setFieldText(BirthDateField, DatePlaceholder);
        state.birthDatePlaceholder = true;
        state.model.domainValues.fill(0);
    }
    state.secondDatePlaceholder = lines[2] == PlaceholderBytes;

    // The fields were just loaded: the field losing the focus now holds the file's text, not
    // something the user typed, and must not commit it.
    moveFocusWithoutCommit(state, FirstTextField);
    const auto caret = static_cast<int>(state.host->fieldText(FirstTextField).size());
    state.host->selectText(FirstTextField, caret, caret);

    if (!accepted) {
        // Locked only now that the focus has left them: a toolkit moves the focus out of a
        // field that is disabled while it holds it, and that move would commit.
        refreshDomainFields(state);
        for (std::size_t k = 0; k < DomainCount; ++k) {
            state.host->setFieldEnabled(DomainField + static_cast<int>(k), false);
        }
        // assign(): GCC 12 warns falsely (-Wrestrict) on assigning the literal here.
        state.ageText.assign(1, u'-');
    }
    return accepted;
}

} // namespace

std::u16string fillMessage(std::u16string_view pattern, std::u16string_view arg1,
                           std::u16string_view arg2) {
    constexpr std::u16string_view Break = u"\n\n";
    std::u16string out;
    std::size_t start = 0;
    while (start <= pattern.size()) {
        std::size_t end = pattern.find(Break, start);
        if (end == std::u16string_view::npos) {
            end = pattern.size();
        }
        std::u16string paragraph(pattern.substr(start, end - start));
        const bool missing = (paragraph.find(u"%1") != std::u16string::npos && arg1.empty()) ||
                             (paragraph.find(u"%2") != std::u16string::npos && arg2.empty());
        if (!missing) {
            replaceAll(paragraph, u"%1", arg1);
            replaceAll(paragraph, u"%2", arg2);
            if (!out.empty()) {
                out += Break;
            }
            out += paragraph;
        }
        start = end + Break.size();
    }
    return out;
}

std::u16string displayName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    if (slash == std::u16string_view::npos || slash + 1 == path.size()) {
        return std::u16string(path);
    }
    return std::u16string(path.substr(slash + 1));
}

std::u16string widenText(std::string_view bytes) {
    std::u16string text;
    text.reserve(bytes.size());
    for (const char b : bytes) {
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(b)));
    }
    return text;
}

std::string encodeHeaderText(std::u16string_view text) {
    std::u16string clean(text);
    std::replace_if(
        clean.begin(), clean.end(),
        [](char16_t unit) { return unit == u'\n' || unit == u'\r' || unit == u'\0'; }, u' ');

    if (std::all_of(clean.begin(), clean.end(), [](char16_t unit) { return unit <= 0xFF; })) {
        std::string bytes = narrowText(clean);
        std::u16string decoded;
        // Such bytes would come back as other characters; UTF-8 brings these back unchanged.
        if (!readsAsUtf8(bytes, decoded)) {
            return bytes;
        }
    }
    return toUtf8(clean);
}

std::u16string decodeHeaderLine(std::string_view line) {
    std::u16string decoded;
    if (readsAsUtf8(line, decoded)) {
        return decoded;
    }
    return widenText(line);
}

std::u16string cutHeaderText(std::u16string_view text) {
    if (text.size() <= SavedTextLimit) {
        return std::u16string(text);
    }
    std::size_t length = SavedTextLimit;
    if (isHighSurrogate(text[length - 1]) && isLowSurrogate(text[length])) {
        --length;
    }
    return std::u16string(text.substr(0, length));
}

std::uint32_t savedDomainValue(std::u16string_view text) {
    if (!isAllDigits(text)) {
        return 0;
    }
    std::uint64_t value = 0;
    for (const char16_t unit : text) {
        value = value * 10 + static_cast<std::uint64_t>(unit - u'0');
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
            return 0;
        }
    }
    return value == 1 ? 2 : static_cast<std::uint32_t>(value);
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
    const std::int32_t value = readLineNumber(line);
    if (value == 0) {
        return 0;
    }
    if (value <= 2) {
        return 2;
    }
    if (value >= 22) {
        return 22;
    }
    return static_cast<std::uint32_t>(value);
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

std::string profileBytes(const AppState& state) {
    std::string bytes;
    for (std::size_t i = 0; i < ProfileLineCount; ++i) {
        const int id = ProfileFieldOrder[i];
        if (i < HeaderLineCount) {
            bytes += encodeHeaderText(cutHeaderText(state.host->fieldText(id)));
        } else {
            bytes += std::to_string(savedDomainValue(readCommitText(state, id)));
        }
        bytes += LineEnd;
    }
    return bytes;
}

void saveProfile(AppState& state, DocumentPort& port) {
    // The dialog takes the focus; what the user typed last belongs in the file.
    commitFocusedField(state);
    const std::optional<std::u16string> path = port.chooseSavePath(ProposedSaveName);
    if (!path) {
        return;
    }
    const std::string bytes = profileBytes(state);
    std::u16string reason;
    if (!port.writeFileAtomically(*path, bytes, reason)) {
        showMessage(state, SaveFailedCaption,
                    fillMessage(SaveFailedText, displayName(*path), reason));
    }
}

void openProfile(AppState& state, DocumentPort& port) {
    commitFocusedField(state);
    const std::optional<std::u16string> path = port.chooseOpenPath();
    if (!path) {
        return;
    }
    openProfileFile(state, port, *path);
}

void openProfileFile(AppState& state, DocumentPort& port, const std::u16string& path) {
    const std::u16string name = displayName(path);
    std::string bytes;
    std::u16string reason;
    if (!port.readFile(path, MaxProfileBytes, bytes, reason)) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenUnreadableText, name, reason));
        return;
    }
    if (bytes.size() > MaxProfileBytes) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenTooLargeText, name));
        return;
    }
    const std::vector<std::string> lines = splitProfileLines(bytes, ProfileLineCount);
    if (lines.size() < ProfileLineCount) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenTooShortText, name));
        return;
    }

    const bool accepted = loadProfileLines(state, lines);
    state.host->repaintNow();
    if (!accepted) {
        showMessage(state, BirthDateNotLoadedCaption, fillMessage(BirthDateNotLoadedText, name));
    }
}

} // namespace tanu
