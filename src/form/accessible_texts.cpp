#include "form/accessible_texts.h"

#include "form/entry_form.h"
#include "model/text.h"

namespace tanu {

namespace {

std::u16string number(std::uint64_t value) {
    return widenText(std::to_string(value));
}

} // namespace

std::u16string fieldAccessibleName(int id) {
    switch (id) {
    case FirstTextField:
        return u"Name";
    case BirthDateField:
        return u"Date of birth";
    case SecondDateField:
        return u"Date of assessment";
    case SecondTextField:
        return u"Assessed by";
    default:
        return u"Domain " + number(static_cast<std::uint64_t>(id - DomainField + 1));
    }
}

std::u16string chartDescription(const ChartModel& model, std::u16string_view ageText) {
    std::u16string text = u"Age: ";
    text += ageText;
    text += u".";
    if (!model.rings.empty()) {
        const std::uint32_t low = model.rings.front().years;
        const std::uint32_t high = model.rings.back().years;
        const bool twoYears = legendOf(model) == Legend::TwoYears;
        text += u" Rings from " + number(low) + u" to " + number(high) + u" years, one ring per " +
                (twoYears ? u"two years." : u"year.");
    }
    for (std::size_t domain = 0; domain < model.domainValues.size(); ++domain) {
        const std::uint32_t value = model.domainValues[domain];
        text += u" Domain " + number(domain + 1) + u": " +
                (value == 0 ? std::u16string(u"no value") : number(value) + u" years") + u".";
    }
    return text;
}

} // namespace tanu
