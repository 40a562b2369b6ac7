#include "document/profile_file.h"

#include <algorithm>
#include <limits>
#include <optional>

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

void showMessage(AppState& state, std::u16string_view caption, std::u16string text) {
    state.host->showMessage(caption, text, MessageIcon::Warning);
}

// Loads fourteen or more lines into the fields and the model. True when something of the file
// was not taken: a date of birth that is not acceptable, and with it any domain values.
bool loadProfileLines(AppState& state, const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < HeaderLineCount; ++i) {
        state.host->setFieldText(ProfileFieldOrder[i], decodeHeaderLine(lines[i]));
    }
    for (std::size_t k = 0; k < DomainCount; ++k) {
        state.model.domainValues[k] = openedDomainValue(lines[HeaderLineCount + k]);
    }

    const std::u16string birth = readCommitText(state, BirthDateField);
    const bool accepted = isAcceptableBirthDate(birth, state.today());
    bool dropped = false;
    if (accepted) {
        state.birthDatePlaceholder = false;
        // Restores the values as saved: scores above the age are ordinary, and pulling them
        // down to it here would lose them at the next Save.
        const std::int32_t age = ageFromDate(parseDateText(birth), state.today());
        setAgeText(state, age);
        rebuildScaleAroundValues(state.model, age);
        for (std::size_t k = 0; k < DomainCount; ++k) {
            state.host->setFieldEnabled(DomainField + static_cast<int>(k), true);
        }
    } else {
        const bool dateGiven = !lines[1].empty() && lines[1] != PlaceholderBytes;
        const bool valuesGiven =
            std::any_of(state.model.domainValues.begin(), state.model.domainValues.end(),
                        [](std::uint32_t v) { return v != 0; });
        dropped = dateGiven || valuesGiven;
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

    // Whatever the fields held before, they now show the file's values and nothing else.
    refreshDomainFields(state);
    if (!accepted) {
        // Locked only now that the focus has left them: a toolkit moves the focus out of a
        // field that is disabled while it holds it, and that move would commit.
        for (std::size_t k = 0; k < DomainCount; ++k) {
            state.host->setFieldEnabled(DomainField + static_cast<int>(k), false);
        }
        // assign(): GCC 12 warns falsely (-Wrestrict) on assigning the literal here.
        state.ageText.assign(1, u'-');
    }
    return dropped;
}

} // namespace

std::u16string displayName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    if (slash == std::u16string_view::npos || slash + 1 == path.size()) {
        return std::u16string(path);
    }
    return std::u16string(path.substr(slash + 1));
}

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
                    fillMessage(SaveFailedText, {displayName(*path), reason}));
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
        showMessage(state, OpenFailedCaption, fillMessage(OpenUnreadableText, {name, reason}));
        return;
    }
    if (bytes.size() > MaxProfileBytes) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenTooLargeText, {name}));
        return;
    }
    if (holdsForbiddenControl(bytes)) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenNotTextText, {name}));
        return;
    }
    const std::vector<std::string> lines = splitProfileLines(bytes, ProfileLineCount);
    if (lines.size() < ProfileLineCount) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenTooShortText, {name}));
        return;
    }

    const bool dropped = loadProfileLines(state, lines);
    state.host->repaintNow();
    if (dropped) {
        showMessage(state, BirthDateNotLoadedCaption, fillMessage(BirthDateNotLoadedText, {name}));
    }
}

} // namespace tanu
