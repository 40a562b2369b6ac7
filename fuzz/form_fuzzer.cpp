// Feeds arbitrary date and domain texts through the form, as a user typing and tabbing would, and
// checks after every step that the model stays drawable and the parser keeps its promises.
#include "scripted_host.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace tanu;

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void checkDate(std::u16string_view text) {
    const DateValue d = parseDateText(text);
    if (d.valid) {
        require(d.month >= 1 && d.month <= 12);
        require(d.day >= 1 && d.day <= 31);
        require(d.year <= 9999);
        for (const char16_t unit : text) {
            require(unit <= 0xFF);
        }
    } else if (d.year != 0 || d.month != 0 || d.day != 0) {
        // A rejected date keeps its numbers only when the text had the date's form.
        require(text.size() >= 8);
        for (const char16_t unit : text) {
            require(unit == u'/' || (unit >= u'0' && unit <= u'9'));
        }
    }
    const CalendarDate today{2026, 12, 6};
    if (isAcceptableBirthDate(text, today)) {
        require(d.valid && d.year >= 1980);
        const std::int32_t age = ageFromDate(d, today);
        require(age >= 0 && age <= 46);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::StartedForm form(testing::fixedClock(2026, 12, 6));
    // Steps are separated by 0xFF 0xFF; each starts with an action byte followed by UTF-16 text.
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t end = pos;
        while (end + 1 < size && !(data[end] == 0xFF && data[end + 1] == 0xFF)) {
            ++end;
        }
        if (end + 1 >= size) {
            end = size;
        }
        const std::uint8_t action = data[pos];
        std::u16string text;
        for (std::size_t i = pos + 1; i + 1 < end; i += 2) {
            text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
        }
        checkDate(text);
        switch (action % 5) {
        case 0:
            form.host.enter(BirthDateField, text);
            break;
        case 1:
            form.host.enter(DomainField + action / 5 % 10, text);
            break;
        case 2:
            form.host.click(500 + action / 5 % 14);
            form.host.type(text);
            break;
        case 3:
            form.host.pressShiftTab();
            break;
        default:
            if (action / 5 % 4 == 0) {
                newProfile(form.state);
            } else {
                form.host.pressTab();
            }
            break;
        }
        require(isDrawable(form.state.model));
        pos = end + 2;
    }
    return 0;
}
