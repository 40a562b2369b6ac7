#include "document/profile_file.h"

#include <algorithm>

namespace tanu {

namespace {

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
    const WriteResult written = port.writeFileAtomically(*path, bytes);
    if (!written.ok) {
        showMessage(state, SaveFailedCaption,
                    fillMessage(SaveFailedText, {displayName(*path), written.reason}));
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
    const ReadResult read = port.readFile(path, MaxProfileBytes);
    if (!read.ok) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenUnreadableText, {name, read.reason}));
        return;
    }
    const std::string& bytes = read.bytes;
    if (bytes.size() > MaxProfileBytes) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenTooLargeText, {name}));
        return;
    }
    if (holdsControlCharacters(bytes)) {
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

std::optional<std::u16string> profileNamedAtStart(const std::vector<std::u16string>& arguments) {
    if (arguments.size() < 2 || arguments[1].empty()) {
        return std::nullopt;
    }
    return arguments[1];
}

} // namespace tanu
