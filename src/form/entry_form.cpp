#include "form/entry_form.h"

#include "chart/chart_texts.h"

#include <array>
#include <string>

namespace tanu {

namespace {

void setDomainFieldsEnabled(FormState& state, bool enabled) {
    for (int k = 0; k < static_cast<int>(DomainCount); ++k) {
        state.fields->setFieldEnabled(DomainField + k, enabled);
    }
}

} // namespace

FieldRect fieldRect(int id) {
    return FieldRects.at(static_cast<std::size_t>(id - DomainField));
}

bool isDomainField(int id) {
    return id >= DomainField && id < DomainField + static_cast<int>(DomainCount);
}

void startForm(FormState& state) {
    state.birthDatePlaceholder = true;
    state.secondDatePlaceholder = true;
    createDomainFields(state);
    createHeaderFields(state);
}

void reportUnusedPictures(FormState& state, const std::vector<std::u16string>& problems) {
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
    state.messages->showMessage(PicturesNotUsedCaption, text, MessageIcon::Warning);
}

void createDomainFields(FormState& state) {
    for (int k = 0; k < static_cast<int>(DomainCount); ++k) {
        state.fields->createField(DomainField + k, fieldRect(DomainField + k));
        state.fields->setFieldEnabled(DomainField + k, false);
    }
}

void createHeaderFields(FormState& state) {
    for (const int id : {FirstTextField, BirthDateField, SecondDateField, SecondTextField}) {
        state.fields->createField(id, fieldRect(id));
    }
    state.fields->setFieldText(BirthDateField, DatePlaceholder);
    state.fields->setFieldText(SecondDateField, DatePlaceholder);
    state.fields->setFocus(FirstTextField);
}

void onFieldFocusGained(FormState& state, int id) {
    state.focusedField = id;
    if (id == BirthDateField && state.birthDatePlaceholder) {
        state.fields->setFieldText(id, u"");
        state.birthDatePlaceholder = false;
    } else if (id == SecondDateField && state.secondDatePlaceholder) {
        state.fields->setFieldText(id, u"");
        state.secondDatePlaceholder = false;
    }
    const auto length = static_cast<int>(state.fields->fieldText(id).size());
    state.fields->selectText(id, 0, length);
}

void onFieldFocusLost(FormState& state, int id) {
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
    state.chart->chartChanged();
}

void commitFocusedField(FormState& state) {
    if (state.focusedField) {
        onFieldFocusLost(state, *state.focusedField);
    }
}

void moveFocusWithoutCommit(FormState& state, int id) {
    const bool wasSuppressed = state.commitsSuppressed;
    state.commitsSuppressed = true;
    state.fields->setFocus(id);
    state.commitsSuppressed = wasSuppressed;
}

void commitDomainField(FormState& state, int domain) {
    const auto k = static_cast<std::size_t>(domain);
    const std::u16string text = readCommitText(state, DomainField + domain);

    // Anything but digits, or a number beyond 32 bits, is no value.
    state.model.domainValues[k] =
        clampToYears(static_cast<std::int64_t>(readDecimal(text, 0xFFFFFFFFu).value_or(0)));

    rebuildScaleAroundValues(state.model, ageFromBirthField(state));
    refreshDomainFields(state);
}

void commitBirthDate(FormState& state, std::u16string_view text) {
    const DateValue birth = parseDateText(text);
    const CalendarDate today = state.today();
    if (!isAcceptableDate(birth, today)) {
        setDomainFieldsEnabled(state, false);
        state.messages->showMessage(InvalidDateCaption, InvalidDateText, MessageIcon::Information);
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

void refreshDomainFields(FormState& state) {
    for (std::size_t k = 0; k < DomainCount; ++k) {
        const std::uint32_t value = state.model.domainValues[k];
        state.fields->setFieldText(DomainField + static_cast<int>(k), domainFieldText(value));
    }
}

void setAgeText(FormState& state, std::int32_t age) {
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

void newProfile(FormState& state) {
    rebuildRings(state.model, 2, 10);
    state.model.domainValues.fill(0);
    refreshDomainFields(state);
    state.fields->setFieldText(BirthDateField, DatePlaceholder);
    state.fields->setFieldText(SecondDateField, DatePlaceholder);
    state.fields->setFieldText(SecondTextField, u"");
    state.fields->setFieldText(FirstTextField, u"");
    // New discards the profile: the field that had the focus must not commit into the fresh one.
    moveFocusWithoutCommit(state, FirstTextField);
    setDomainFieldsEnabled(state, false);
    state.ageText.assign(1, u'-'); // (assigning the literal trips a false GCC 12 warning)
    state.birthDatePlaceholder = true;
    state.secondDatePlaceholder = true;
    state.chart->chartChanged();
}

std::int32_t ageFromBirthField(const FormState& state) {
    const DateValue birth = parseDateText(readFieldText(state, BirthDateField));
    const CalendarDate today = state.today();
    if (!isAcceptableDate(birth, today)) {
        return 0;
    }
    return ageFromDate(birth, today);
}

std::u16string readFieldText(const FormState& state, int id) {
    std::u16string text = state.fields->fieldText(id);
    if (text.size() > PaintTextLimit) {
        text.resize(PaintTextLimit);
    }
    return text;
}

std::u16string readCommitText(const FormState& state, int id) {
    std::u16string text = state.fields->fieldText(id);
    if (text.size() > CommitTextLimit) {
        text.resize(CommitTextLimit);
    }
    return text;
}

} // namespace tanu
