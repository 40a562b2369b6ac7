#include "form/entry_form.h"

#include <array>
#include <string>

namespace tanu {

namespace {

void setDomainFieldsEnabled(AppState& state, bool enabled) {
    for (int k = 0; k < static_cast<int>(DomainCount); ++k) {
        state.host->setFieldEnabled(DomainField + k, enabled);
    }
}

} // namespace

FieldRect fieldRect(int id) {
    return FieldRects.at(static_cast<std::size_t>(id - DomainField));
}

bool isDomainField(int id) {
    return id >= DomainField && id < DomainField + static_cast<int>(DomainCount);
}

void startForm(AppState& state) {
    state.birthDatePlaceholder = true;
    state.secondDatePlaceholder = true;
    createDomainFields(state);
    createHeaderFields(state);
}

void reportUnusedPictures(AppState& state, const std::vector<std::u16string>& problems) {
    if (problems.empty()) {
        return;
    }
    std::u16string text;
    for (const std::u16string& problem : problems) {
        if (!text.empty()) {
            text += u"\n\n";
        }
        text += problem;
    }
    state.host->showMessage(PicturesNotUsedCaption, text, MessageIcon::Warning);
}

void createDomainFields(AppState& state) {
    for (int k = 0; k < static_cast<int>(DomainCount); ++k) {
        state.host->createField(DomainField + k, fieldRect(DomainField + k));
        state.host->setFieldEnabled(DomainField + k, false);
    }
}

void createHeaderFields(AppState& state) {
    for (const int id : {FirstTextField, BirthDateField, SecondDateField, SecondTextField}) {
        state.host->createField(id, fieldRect(id));
    }
    state.host->setFieldText(BirthDateField, DatePlaceholder);
    state.host->setFieldText(SecondDateField, DatePlaceholder);
    state.host->setFocus(FirstTextField);
}

void onFieldFocusGained(AppState& state, int id) {
    state.focusedField = id;
    if (id == BirthDateField && state.birthDatePlaceholder) {
        state.host->setFieldText(id, u"");
        state.birthDatePlaceholder = false;
    } else if (id == SecondDateField && state.secondDatePlaceholder) {
        state.host->setFieldText(id, u"");
        state.secondDatePlaceholder = false;
    }
    const auto length = static_cast<int>(state.host->fieldText(id).size());
    state.host->selectText(id, 0, length);
}

void onFieldFocusLost(AppState& state, int id) {
    if (state.focusedField != id) {
        return; // committed already, or never gained the focus
    }
    state.focusedField.reset();
    if (state.commitsSuppressed) {
        return;
    }
    if (id == BirthDateField) {
        commitBirthDate(state, readCommitText(state, id));
    } else if (isDomainField(id)) {
        commitDomainField(state, id - DomainField);
    }
    state.host->repaintNow();
}

void commitFocusedField(AppState& state) {
    if (state.focusedField) {
        onFieldFocusLost(state, *state.focusedField);
    }
}

void moveFocusWithoutCommit(AppState& state, int id) {
    const bool wasSuppressed = state.commitsSuppressed;
    state.commitsSuppressed = true;
    state.host->setFocus(id);
    state.commitsSuppressed = wasSuppressed;
}

void commitDomainField(AppState& state, int domain) {
    const auto k = static_cast<std::size_t>(domain);
    const std::u16string text = readCommitText(state, DomainField + domain);

    // Anything but digits, or a number beyond 32 bits, is no value.
    state.model.domainValues[k] =
        clampToYears(static_cast<std::int64_t>(readDecimal(text, 0xFFFFFFFFu).value_or(0)));

    rebuildScaleAroundValues(state.model, ageFromBirthField(state));
    refreshDomainFields(state);
}

void commitBirthDate(AppState& state, std::u16string_view text) {
    const DateValue birth = parseDateText(text);
    const CalendarDate today = state.today();
    if (!isAcceptableDate(birth, today)) {
        setDomainFieldsEnabled(state, false);
        state.host->showMessage(InvalidDateCaption, InvalidDateText, MessageIcon::Information);
        return;
    }

    const std::int32_t age = ageFromDate(birth, today);
    setAgeText(state, age);
    const bool hasValues = lowestValue(state.model) != 0;
    rebuildScaleForAge(state.model, age);
    if (hasValues) {
        refreshDomainFields(state);
    }
    setDomainFieldsEnabled(state, true);
}

void refreshDomainFields(AppState& state) {
    for (std::size_t k = 0; k < DomainCount; ++k) {
        const std::uint32_t value = state.model.domainValues[k];
        state.host->setFieldText(DomainField + static_cast<int>(k), domainFieldText(value));
    }
}

void setAgeText(AppState& state, std::int32_t age) {
    state.ageText = ageTextOf(age);
}

ChartModel startModel() {
    ChartModel model;
    rebuildRings(model, StartScaleLow, StartScaleHigh);
    return model;
}

std::u16string domainFieldText(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return value == 0 ? std::u16string() : std::u16string(digits.begin(), digits.end());
}

std::u16string ageTextOf(std::int32_t age) {
    const std::string digits = std::to_string(age);
    return {digits.begin(), digits.end()};
}

void newProfile(AppState& state) {
    rebuildRings(state.model, 2, 10);
    state.model.domainValues.fill(0);
    refreshDomainFields(state);
    state.host->setFieldText(BirthDateField, DatePlaceholder);
    state.host->setFieldText(SecondDateField, DatePlaceholder);
    state.host->setFieldText(SecondTextField, u"");
    state.host->setFieldText(FirstTextField, u"");
    // New discards the profile: the field that had the focus must not commit into the fresh one.
    moveFocusWithoutCommit(state, FirstTextField);
    setDomainFieldsEnabled(state, false);
    state.ageText.assign(1, u'-'); // (assigning the literal trips a false GCC 12 warning)
    state.birthDatePlaceholder = true;
    state.secondDatePlaceholder = true;
    state.host->repaintNow();
}

std::int32_t ageFromBirthField(const AppState& state) {
    const DateValue birth = parseDateText(readFieldText(state, BirthDateField));
    const CalendarDate today = state.today();
    if (!isAcceptableDate(birth, today)) {
        return 0;
    }
    return ageFromDate(birth, today);
}

std::u16string readFieldText(const AppState& state, int id) {
    std::u16string text = state.host->fieldText(id);
    if (text.size() > PaintTextLimit) {
        text.resize(PaintTextLimit);
    }
    return text;
}

std::u16string readCommitText(const AppState& state, int id) {
    std::u16string text = state.host->fieldText(id);
    if (text.size() > CommitTextLimit) {
        text.resize(CommitTextLimit);
    }
    return text;
}

} // namespace tanu
