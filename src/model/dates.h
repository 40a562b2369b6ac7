// Date texts "YYYY/MM/DD", the acceptance rule for a date of birth and the age in whole years.
#pragma once

#include "model/text.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

struct DateValue {
    std::uint32_t year = 0;
    std::uint32_t month = 0;
    std::uint32_t day = 0;
    bool valid = false;
};

// A calendar date as the clock gives it: month 1..12, day 1..31.
struct CalendarDate {
    std::uint32_t year = 0;
    std::uint32_t month = 0;
    std::uint32_t day = 0;
};

// Today's date. The program asks it afresh every time; tests put a fixed date in its place.
using Clock = std::function<CalendarDate()>;

// The local calendar date at the moment of the call.
CalendarDate localToday();

// Appends the maximal runs of bytes not in delimiters to pieces, in order.
void splitText(std::string_view text, std::string_view delimiters,
               std::vector<std::string>& pieces);

// Parses "YYYY/M/D" (1 or 2 digits for month and day); a text not of that form gives the zero
// date, a text of that form naming an impossible date keeps its numbers with valid false.
DateValue parseDate(std::string_view text);

// Parses a field's text. A code unit above U+00FF is never part of a date, so such a text
// gives the zero date instead of being narrowed into digits.
DateValue parseDateText(std::u16string_view text);

// Sets valid when the month is 1..12 and the day fits it (every fourth year is a leap year).
void checkDayInMonth(DateValue& date);

// Whole years from the date of birth to today; a birthday that falls today counts.
std::int32_t ageFromDate(const DateValue& birth, const CalendarDate& today);

// A valid date from 1980 up to and including today.
bool isAcceptableDate(const DateValue& date, const CalendarDate& today);

bool isAcceptableBirthDate(std::u16string_view text, const CalendarDate& today);

} // namespace tanu
