#include "document/profile_file.h"

#include <algorithm>

#include "document/profile.h"

namespace tanu {

namespace {

void showMessage(FormState& state, std::u16string_view caption, std::u16string text) {
    state.messages->showMessage(caption, text, MessageIcon::Warning);
}

// Shows a profile in the fields and the model, as Open does. True when something of the file
// was not taken: a date of birth that is not acceptable, and with it any domain values.
bool applyProfile(FormState& state, const Profile& profile) {
    const OpenedProfile opened = openedProfile(profile, state.model, state.today());
    for (std::size_t i = 0; i < HeaderLineCount; ++i) {
        state.fields->setFieldText(ProfileFieldOrder[i], profile.text(ProfileFieldOrder[i]));
    }
    state.model = opened.model;
    if (opened.birthDateAccepted) {
        state.birthDatePlaceholder = false;
        state.ageText = opened.ageText;
        for (std::size_t k = 0; k < DomainCount; ++k) {
            state.fields->setFieldEnabled(DomainField + static_cast<int>(k), true);
        }
    } else {
        state.fields->setFieldText(BirthDateField, DatePlaceholder);
        state.birthDatePlaceholder = true;
    }
    state.secondDatePlaceholder = profile.text(SecondDateField) == DatePlaceholder;

    // The fields were just loaded: the field losing the focus now holds the file's text, not
    // something the user typed, and must not commit it.
    moveFocusWithoutCommit(state, FirstTextField);
    const auto caret = static_cast<int>(state.fields->fieldText(FirstTextField).size());
    state.fields->selectText(FirstTextField, caret, caret);

    // Whatever the fields held before, they now show the file's values and nothing else.
    refreshDomainFields(state);
    if (!opened.birthDateAccepted) {
        // Locked only now that the focus has left them: a toolkit moves the focus out of a
        // field that is disabled while it holds it, and that move would commit.
        for (std::size_t k = 0; k < DomainCount; ++k) {
            state.fields->setFieldEnabled(DomainField + static_cast<int>(k), false);
        }
        state.ageText = opened.ageText;
    }
    return opened.dropped;
}

} // namespace

std::u16string displayName(std::u16string_view path) {
    const std::size_t slash = path.find_last_of(u"/\\");
    if (slash == std::u16string_view::npos || slash + 1 == path.size()) {
        return std::u16string(path);
    }
    return std::u16string(path.substr(slash + 1));
}

Profile profileOf(const FormState& state) {
    Profile profile;
    for (int id = DomainField; id <= SecondTextField; ++id) {
        profile.text(id) = readFieldText(state, id);
    }
    // What a domain field saves is its own text's value, read as the commits read it.
    for (std::size_t k = 0; k < DomainCount; ++k) {
        profile.values[k] =
            savedDomainValue(readCommitText(state, DomainField + static_cast<int>(k)));
    }
    return profile;
}

std::string profileBytes(const FormState& state) {
    return encodeProfile(profileOf(state));
}

void saveProfile(FormState& state, DocumentPort& port) {
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

void openProfile(FormState& state, DocumentPort& port) {
    commitFocusedField(state);
    const std::optional<std::u16string> path = port.chooseOpenPath();
    if (!path) {
        return;
    }
    openProfileFile(state, port, *path);
}

void openProfileFile(FormState& state, DocumentPort& port, const std::u16string& path) {
    const std::u16string name = displayName(path);
    const ReadResult read = port.readFile(path, MaxProfileBytes);
    if (!read.ok) {
        showMessage(state, OpenFailedCaption, fillMessage(OpenUnreadableText, {name, read.reason}));
        return;
    }
    const DecodedProfile decoded = decodeProfile(read.bytes);
    if (decoded.refusal != ProfileRefusal::None) {
        showMessage(state, OpenFailedCaption, refusalMessage(decoded.refusal, name));
        return;
    }
    const bool dropped = applyProfile(state, decoded.profile);
    state.chart->chartChanged();
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
