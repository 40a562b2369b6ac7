#include "model/dates.h"

#include <array>
#include <ctime>

namespace tanu {

namespace {

constexpr std::array<std::uint32_t, 12> daysInMonth{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool allDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::uint32_t readNumber(std::string_view digits) {
    std::uint32_t value = 0;
    for (const char c : digits) {
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

} // namespace

CalendarDate localToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return {static_cast<std::uint32_t>(local.tm_year + 1900),
            static_cast<std::uint32_t>(local.tm_mon + 1),
            static_cast<std::uint32_t>(local.tm_mday)};
}

void splitText(std::string_view text, std::string_view delimiters,
               std::vector<std::string>& pieces) {
    std::size_t position = 0;
    while (true) {
        const std::size_t start = text.find_first_not_of(delimiters, position);
        if (start == std::string_view::npos) {
            return;
        }
        std::size_t end = text.find_first_of(delimiters, start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        pieces.emplace_back(text.substr(start, end - start));
        position = end;
    }
}

DateValue parseDate(std::string_view text) {
    DateValue date;
    if (text.size() < 8) {
        return date;
    }
    std::vector<std::string> pieces;
    splitText(text, "/", pieces);
    if (pieces.size() != 3) {
        return date;
    }
    for (const std::string& piece : pieces) {
        if (!allDigits(piece)) {
            return date;
        }
    }
    if (pieces[0].size() != 4 || pieces[1].empty() || pieces[1].size() > 2 || pieces[2].empty() ||
        pieces[2].size() > 2) {
        return date;
    }
    date.year = readNumber(pieces[0]);
    date.month = readNumber(pieces[1]);
    date.day = readNumber(pieces[2]);
    checkDayInMonth(date);
    return date;
}

DateValue parseDateText(std::u16string_view text) {
    for (const char16_t unit : text) {
        if (unit > 0xFF) {
            return {};
        }
    }
    return parseDate(narrowText(text));
}

void checkDayInMonth(DateValue& date) {
    if (date.month == 0 || date.month > 12) {
        return;
    }
    // Day 0 is no day of any month.
    if (date.day == 0) {
        return;
    }
    if (date.month == 2) {
        date.valid = date.day <= 28 || (date.day <= 29 && (date.year & 3u) == 0);
        return;
    }
    date.valid = date.day <= daysInMonth[date.month - 1];
}

std::int32_t ageFromDate(const DateValue& birth, const CalendarDate& today) {
    std::int32_t age = static_cast<std::int32_t>(today.year - birth.year);
    if (today.month < birth.month || (today.month == birth.month && today.day < birth.day)) {
        age -= 1;
    }
    return age;
}

bool isAcceptableDate(const DateValue& date, const CalendarDate& today) {
    if (!date.valid || date.year > today.year || date.year < 1980) {
        return false;
    }
    if (date.year < today.year) {
        return true;
    }
    // This year: the whole date must not lie after today.
    return date.month < today.month || (date.month == today.month && date.day <= today.day);
}

bool isAcceptableBirthDate(std::u16string_view text, const CalendarDate& today) {
    return isAcceptableDate(parseDateText(text), today);
}

} // namespace tanu
