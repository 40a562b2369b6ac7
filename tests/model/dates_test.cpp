#include "model/dates.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tanu {
namespace {

TEST(SplitText, PiecesAreMaximalRunsOfNonDelimiters) {
    const struct {
        std::string text;
        std::vector<std::string> pieces;
    } cases[] = {
        {"", {}},
        {"///", {}},
        {"2000/7/2", {"2000", "7", "2"}},
        {"/2000//7/2/", {"2000", "7", "2"}},
        {"abc", {"abc"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> pieces{"kept"};
        splitText(c.text, "/", pieces);
        std::vector<std::string> want{"kept"};
        want.insert(want.end(), c.pieces.begin(), c.pieces.end());
        EXPECT_EQ(pieces, want) << c.text;
    }
}

struct ParseCase {
    const char* text;
    bool valid;
    std::uint32_t year, month, day;
};

TEST(ParseDate, ValidAndInvalidTexts) {
    const ParseCase cases[] = {
        {"2000/7/2", true, 2000, 7, 2},
        {"2000/07/02", true, 2000, 7, 2},
        {"2000/12/31", true, 2000, 12, 31},
        {"2000/2/29", true, 2000, 2, 29},
        {"1900/2/29", true, 1900, 2, 29}, // every fourth year, no century rule
        {"2100/2/29", true, 2100, 2, 29},
        {"2000//7/2", true, 2000, 7, 2},
        {"/2000/7/2/", true, 2000, 7, 2},
        {"2001/2/29", false, 2001, 2, 29},
        {"2001/2/28", true, 2001, 2, 28},
        {"2000/4/31", false, 2000, 4, 31},
        {"2000/13/1", false, 2000, 13, 1},
        {"2000/0/5", false, 2000, 0, 5},
        {"2000/5/0", false, 2000, 5, 0}, // no month has a day 0
        {"2000/5/00", false, 2000, 5, 0},
        {"2000/7", false, 0, 0, 0},
        {"200/7/22", false, 0, 0, 0},
        {"20000/7/2", false, 0, 0, 0},
        {"2000/007/2", false, 0, 0, 0},
        {"2000-7-2", false, 0, 0, 0},
        {"2000/7/ 2", false, 0, 0, 0},
        {"2000/7/2 ", false, 0, 0, 0},
        {"YYYY/MM/DD", false, 0, 0, 0},
        {"2000/7/2/1", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const ParseCase& c : cases) {
        const DateValue d = parseDate(c.text);
        EXPECT_EQ(d.valid, c.valid) << c.text;
        EXPECT_EQ(d.year, c.year) << c.text;
        EXPECT_EQ(d.month, c.month) << c.text;
        EXPECT_EQ(d.day, c.day) << c.text;
    }
}

TEST(NarrowText, KeepsTheLowByteOfEachCodeUnit) {
    EXPECT_EQ(narrowText(u""), "");
    EXPECT_EQ(narrowText(u"2000/7/2"), "2000/7/2");
    EXPECT_EQ(narrowText(u"\u00e9\u0132\u0100"), std::string("\xe9\x32\x00", 3));
}

TEST(ParseDateText, CharactersAboveLatin1AreNeverDigits) {
    EXPECT_TRUE(parseDateText(u"2000/7/2").valid);
    const DateValue lookalike = parseDateText(u"2000/7/\u0132"); // low byte is '2'
    EXPECT_FALSE(lookalike.valid);
    EXPECT_EQ(lookalike.year, 0u);
    EXPECT_FALSE(parseDateText(u"2000\u012f7/2").valid); // low byte is '/'
}

TEST(AgeFromDate, CountsCompletedYears) {
    const CalendarDate today{2026, 12, 6};
    const struct {
        DateValue birth;
        std::int32_t age;
    } cases[] = {
        {{2000, 7, 2, true}, 26}, {{2000, 12, 6, true}, 26}, {{2000, 12, 7, true}, 25},
        {{2026, 1, 1, true}, 0},  {{2025, 12, 7, true}, 0},  {{2025, 12, 6, true}, 1},
        {{1980, 1, 1, true}, 46},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ageFromDate(c.birth, today), c.age)
            << c.birth.year << "/" << c.birth.month << "/" << c.birth.day;
    }
}

TEST(IsAcceptableBirthDate, FromNineteenEightyUpToToday) {
    const CalendarDate today{2026, 12, 6};
    const struct {
        const char16_t* text;
        bool acceptable;
    } cases[] = {
        {u"1979/12/31", false}, {u"1980/1/1", true},       {u"2026/12/6", true},
        {u"2026/12/7", false},  {u"2026/3/20", true},      {u"2026/11/30", true},
        {u"2026/3/6", true},    {u"2027/1/1", false},      {u"2020/12/31", true},
        {u"2000/2/30", false},  {u"YYYY/MM/DD", false},    {u"", false},
        {u"2026/12/0", false},  {u"2000/7/\u0132", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isAcceptableBirthDate(c.text, today), c.acceptable) << narrowText(c.text);
    }
}

TEST(IsAcceptableBirthDate, WholeDateComparisonOnTheFirstAndLastDayOfTheYear) {
    EXPECT_TRUE(isAcceptableBirthDate(u"2026/1/1", {2026, 1, 1}));
    EXPECT_FALSE(isAcceptableBirthDate(u"2026/1/2", {2026, 1, 1}));
    EXPECT_TRUE(isAcceptableBirthDate(u"2026/12/31", {2026, 12, 31}));
    EXPECT_TRUE(isAcceptableBirthDate(u"2026/1/31", {2026, 2, 1}));
}

TEST(LocalToday, IsACalendarDate) {
    const CalendarDate today = localToday();
    EXPECT_GE(today.year, 2024u);
    EXPECT_GE(today.month, 1u);
    EXPECT_LE(today.month, 12u);
    EXPECT_GE(today.day, 1u);
    EXPECT_LE(today.day, 31u);
}

} // namespace
} // namespace tanu
