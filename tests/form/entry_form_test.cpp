#include "scripted_host.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace tanu {
namespace {

using testing::fixedClock;
using testing::StartedForm;

std::vector<std::uint32_t> ringYears(const FormState& state) {
    std::vector<std::uint32_t> years;
    for (const RingMark& ring : state.model.rings) {
        years.push_back(ring.years);
    }
    return years;
}

std::vector<std::uint32_t> range(std::uint32_t from, std::uint32_t to, std::uint32_t step = 1) {
    std::vector<std::uint32_t> values;
    for (std::uint32_t v = from; v <= to; v += step) {
        values.push_back(v);
    }
    return values;
}

bool domainFieldsEnabled(const StartedForm& f, bool enabled) {
    for (int k = 0; k < 10; ++k) {
        if (f.host.isEnabled(DomainField + k) != enabled) {
            return false;
        }
    }
    return true;
}

// Accepts a date of birth the way a user does: into the field, then Tab.
void acceptBirthDate(StartedForm& f, std::u16string_view text) {
    f.host.enter(BirthDateField, text);
    ASSERT_TRUE(f.host.messages.empty());
}

TEST(EntryForm, StartState) {
    StartedForm f;
    std::vector<int> ids;
    for (int id = 500; id <= 513; ++id) {
        ids.push_back(id);
    }
    EXPECT_EQ(f.host.creationOrder(), ids);
    EXPECT_TRUE(domainFieldsEnabled(f, false));
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(f.host.field(DomainField + k).text, u"");
    }
    EXPECT_EQ(f.host.field(BirthDateField).text, u"YYYY/MM/DD");
    EXPECT_EQ(f.host.field(SecondDateField).text, u"YYYY/MM/DD");
    EXPECT_EQ(f.host.focus(), FirstTextField);
    EXPECT_EQ(f.state.ageText, u"-");
    EXPECT_EQ(ringYears(f.state), range(7, 15));
    const int rects[14][4] = {
        {517, 127, 25, 20}, {662, 221, 25, 20},  {683, 338, 25, 20}, {646, 476, 25, 20},
        {535, 577, 25, 20}, {376, 576, 25, 20},  {223, 477, 25, 20}, {197, 339, 25, 20},
        {243, 210, 25, 20}, {374, 128, 25, 20},  {73, 69, 197, 20},  {115, 92, 98, 20},
        {180, 115, 90, 20}, {115, 138, 155, 20},
    };
    for (int i = 0; i < 14; ++i) {
        const FieldRect r = f.host.field(DomainField + i).rect;
        EXPECT_EQ((std::array{r.x, r.y, r.width, r.height}),
                  (std::array{rects[i][0], rects[i][1], rects[i][2], rects[i][3]}))
            << "field " << DomainField + i;
    }
}

TEST(EntryForm, TabOrderSkipsLockedDomainFieldsAndWraps) {
    StartedForm f;
    f.host.pressShiftTab();
    EXPECT_EQ(f.host.focus(), SecondTextField);
    f.host.pressTab();
    EXPECT_EQ(f.host.focus(), FirstTextField);
    f.host.pressTab();
    EXPECT_EQ(f.host.focus(), BirthDateField);

    // Unlocked, the domain fields come first in the order again.
    StartedForm g;
    acceptBirthDate(g, u"2017/1/1");
    g.host.click(SecondTextField);
    g.host.pressTab();
    EXPECT_EQ(g.host.focus(), DomainField);
    g.host.pressShiftTab();
    EXPECT_EQ(g.host.focus(), SecondTextField);
}

TEST(EntryForm, PlaceholderClearsOnFirstVisitOnly) {
    StartedForm f;
    f.host.pressTab();
    EXPECT_EQ(f.host.field(BirthDateField).text, u"");
    EXPECT_FALSE(f.state.birthDatePlaceholder);
    f.host.type(u"2017/1/1");
    f.host.pressTab();
    EXPECT_EQ(f.host.focus(), SecondDateField);
    EXPECT_EQ(f.host.field(SecondDateField).text, u"");
    f.host.pressShiftTab();
    EXPECT_EQ(f.host.field(BirthDateField).text, u"2017/1/1");
    EXPECT_EQ(f.host.field(BirthDateField).selectionStart, 0);
    EXPECT_EQ(f.host.field(BirthDateField).selectionEnd, 8);
}

TEST(EntryForm, EmptyBirthDateIsRejectedWithTheInvalidDateBox) {
    StartedForm f;
    acceptBirthDate(f, u"2017/1/1");
    const int repaints = f.host.repaints;
    f.host.enter(BirthDateField, u"");
    ASSERT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.messages[0].caption, u"Invalid date");
    EXPECT_EQ(f.host.messages[0].text,
              u"Please enter a valid date of birth.\nThe date format is YYYY/MM/DD.\n"
              u"For example: 2000/7/2\n\nThe year should be at least 1980.");
    EXPECT_EQ(f.host.messages[0].icon, MessageIcon::Information);
    EXPECT_TRUE(domainFieldsEnabled(f, false));
    EXPECT_EQ(f.state.ageText, u"9"); // left as it was
    EXPECT_EQ(ringYears(f.state), range(4, 9));
    EXPECT_GT(f.host.repaints, repaints);

    // Left for a domain field, which locks as the focus arrives: the focus moves on instead of
    // staying where no key is taken.
    f.host.messages.clear();
    acceptBirthDate(f, u"2017/1/1");
    f.host.click(BirthDateField);
    f.host.type(u"x");
    f.host.click(DomainField + 3);
    EXPECT_EQ(f.host.messages.size(), 1u);
    EXPECT_EQ(f.host.focus(), FirstTextField);
}

struct BirthCase {
    const char16_t* birth;
    const char16_t* ageText;
    std::uint32_t low, high;
};

TEST(EntryForm, AcceptedBirthDateBuildsTheScaleFromTheAge) {
    const BirthCase cases[] = {
        {u"2017/1/1", u"9", 4, 9},
        {u"2000/7/2", u"26", 17, 22},
        {u"2026/3/1", u"0", 2, 7},
        {u"2025/1/1", u"1", 2, 7},
        {u"2026/3/20", u"0", 2, 7}, // earlier this year, day of
                                    // month after today's
        {u"2012/12/07", u"13", 8, 13},
    };
    for (const BirthCase& c : cases) {
        StartedForm f;
        acceptBirthDate(f, c.birth);
        EXPECT_EQ(f.state.ageText, c.ageText) << narrowText(c.birth);
        EXPECT_EQ(ringYears(f.state), range(c.low, c.high)) << narrowText(c.birth);
        EXPECT_TRUE(domainFieldsEnabled(f, true));
    }
}

struct DomainTextCase {
    const char16_t* typed;
    const char16_t* shown;
};

TEST(EntryForm, DomainTextsAreReadAndClampedSilently) {
    const DomainTextCase cases[] = {
        {u"1", u"2"},    {u"23", u"22"},        {u"4294967295", u"22"}, {u"0", u""},
        {u"", u""},      {u"abc", u""},         {u"-3", u""},           {u" 5", u""},
        {u"12abc", u""}, {u"99999999999", u""}, {u"4294967296", u""},   {u"007", u"7"},
        {u"21", u"21"},  {u"\u0663", u""}, // a digit of another script
    };
    for (const DomainTextCase& c : cases) {
        StartedForm f;
        acceptBirthDate(f, u"2017/1/1");
        f.host.enter(DomainField + 4, c.typed);
        EXPECT_EQ(f.host.field(DomainField + 4).text, c.shown) << narrowText(c.typed);
        EXPECT_TRUE(f.host.messages.empty());
        if (std::u16string_view(c.shown).empty()) {
            // No value at all: the scale is built from the age alone, (9, 9) widened.
            EXPECT_EQ(ringYears(f.state), range(4, 9)) << narrowText(c.typed);
        }
    }
}

TEST(EntryForm, DomainCommitGrowsTheScaleWithoutPullingOtherValues) {
    StartedForm f;
    acceptBirthDate(f, u"2017/1/1"); // age 9
    f.host.enter(DomainField, u"5");
    EXPECT_EQ(ringYears(f.state), range(4, 9));

    f.host.enter(DomainField + 1, u"30");
    EXPECT_EQ(f.host.field(DomainField + 1).text, u"22");
    EXPECT_EQ(f.state.model.domainValues[0], 5u);
    EXPECT_EQ(ringYears(f.state), range(4, 22, 2)); // (5, 22): span 17 is odd, widened to (4, 22)
}

TEST(EntryForm, LeavingTheBirthDateAgainPullsLargeValuesBackToTheAge) {
    StartedForm f;
    acceptBirthDate(f, u"2017/1/1");
    f.host.enter(DomainField + 2, u"30");
    EXPECT_EQ(ringYears(f.state), range(17, 22));
    f.host.click(BirthDateField);
    f.host.pressTab();
    EXPECT_EQ(ringYears(f.state), range(4, 9));
    EXPECT_EQ(f.state.model.domainValues[2], 9u);
    EXPECT_EQ(f.host.field(DomainField + 2).text, u"9");
}

TEST(EntryForm, EmptyDomainWithAgeZeroStillGivesTwoYearRings) {
    StartedForm f;
    acceptBirthDate(f, u"2026/6/1");
    f.host.click(DomainField + 7);
    f.host.pressTab();
    EXPECT_EQ(ringYears(f.state), range(2, 7));
}

TEST(EntryForm, DomainCommitWithoutADateOfBirthUsesTheValuesAlone) {
    StartedForm f;
    acceptBirthDate(f, u"2017/1/1");
    f.host.enter(DomainField, u"12");
    // The date field holds no date of birth while the domain fields are open, as after a
    // rejected date written back by a file.
    f.host.setFieldText(BirthDateField, u"YYYY/MM/DD");
    f.host.enter(DomainField + 9, u"14");
    EXPECT_EQ(ageFromBirthField(f.state), 0);
    // Before, the current year number made this (17, 22).
    EXPECT_EQ(ringYears(f.state), range(9, 14));
}

TEST(EntryForm, AgeFromBirthField) {
    StartedForm f;
    const struct {
        const char16_t* text;
        std::int32_t age;
    } cases[] = {{u"YYYY/MM/DD", 0}, {u"", 0},         {u"2000/7/2", 26},
                 {u"1979/1/1", 0},   {u"2027/1/1", 0}, {u"2000/7/\u0132", 0}};
    for (const auto& c : cases) {
        f.host.setFieldText(BirthDateField, c.text);
        EXPECT_EQ(ageFromBirthField(f.state), c.age) << narrowText(c.text);
    }
}

TEST(EntryForm, LeavingHeaderTextFieldsOnlyRepaints) {
    StartedForm f;
    const ChartModel before = f.state.model;
    const int repaints = f.host.repaints;
    f.host.type(u"Alex");
    f.host.click(SecondDateField);
    f.host.type(u"not a date");
    f.host.click(SecondTextField);
    f.host.type(u"Ms. Ng");
    f.host.click(FirstTextField);
    EXPECT_EQ(f.host.repaints, repaints + 3);
    EXPECT_EQ(ringYears(f.state), range(7, 15));
    EXPECT_EQ(f.state.model.domainValues, before.domainValues);
    EXPECT_TRUE(f.host.messages.empty());
}

void expectNewState(const StartedForm& f) {
    EXPECT_TRUE(f.host.messages.empty());
    EXPECT_EQ(ringYears(f.state), range(2, 10));
    EXPECT_EQ(f.state.ageText, u"-");
    EXPECT_EQ(f.host.focus(), FirstTextField);
    EXPECT_TRUE(domainFieldsEnabled(f, false));
    EXPECT_EQ(f.host.field(BirthDateField).text, u"YYYY/MM/DD");
    EXPECT_EQ(f.host.field(SecondDateField).text, u"YYYY/MM/DD");
    EXPECT_EQ(f.host.field(FirstTextField).text, u"");
    EXPECT_EQ(f.host.field(SecondTextField).text, u"");
    EXPECT_TRUE(f.state.birthDatePlaceholder);
    EXPECT_TRUE(f.state.secondDatePlaceholder);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(f.state.model.domainValues[static_cast<std::size_t>(k)], 0u);
        EXPECT_EQ(f.host.field(DomainField + k).text, u"");
    }
}

TEST(EntryForm, NewCommitsNothingWhicheverFieldHasTheFocus) {
    for (const int focused : {FirstTextField, BirthDateField, SecondDateField, SecondTextField,
                              DomainField, DomainField + 9}) {
        StartedForm f;
        f.host.enter(FirstTextField, u"Sam");
        acceptBirthDate(f, u"2015/5/5");
        f.host.enter(DomainField + 3, u"12");
        f.host.click(focused);
        newProfile(f.state);
        SCOPED_TRACE(focused);
        expectNewState(f);
        // The next visit of the date field clears the placeholder again.
        f.host.pressTab();
        EXPECT_EQ(f.host.focus(), BirthDateField);
        EXPECT_EQ(f.host.field(BirthDateField).text, u"");
    }
}

TEST(EntryForm, CommitFocusedFieldCommitsOnceBeforeADialog) {
    StartedForm f;
    f.host.click(BirthDateField);
    f.host.type(u"1970/1/1");
    commitFocusedField(f.state); // the dialog is about to take the focus
    EXPECT_EQ(f.host.messages.size(), 1u);
    commitFocusedField(f.state);
    f.host.click(SecondTextField); // the toolkit's own focus-out arrives late
    EXPECT_EQ(f.host.messages.size(), 1u);

    // A loss reported without its gain commits nothing, and the field still commits after its
    // next reported gain.
    f.host.setFieldText(BirthDateField, u"1970/1/1");
    onFieldFocusLost(f.state, BirthDateField);
    EXPECT_EQ(f.host.messages.size(), 1u);
    f.host.click(BirthDateField);
    f.host.click(SecondTextField);
    EXPECT_EQ(f.host.messages.size(), 2u);
}

TEST(ReadFieldText, CutsLongTexts) {
    StartedForm f;
    f.host.setFieldText(FirstTextField, std::u16string(600, u'x'));
    EXPECT_EQ(readFieldText(f.state, FirstTextField).size(), 499u);
    EXPECT_EQ(readCommitText(f.state, FirstTextField).size(), 259u);
}

TEST(EntryFormProperties, RandomSessionsKeepTheModelDrawable) {
    const std::u16string texts[] = {
        u"",         u"2017/1/1",    u"2000/7/2",  u"2026/12/6", u"2026/12/7",  u"1979/12/31",
        u"1980/1/1", u"2024/2/29",   u"2023/2/29", u"abc",       u"0",          u"1",
        u"2",        u"5",           u"9",         u"13",        u"21",         u"22",
        u"23",       u"99999999999", u"007",       u"-4",        u"YYYY/MM/DD", u"2020/6/15",
    };
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        StartedForm f;
        for (int step = 0; step < 400; ++step) {
            switch (random() % 7) {
            case 0:
                f.host.pressTab();
                break;
            case 1:
                f.host.pressShiftTab();
                break;
            case 2:
                f.host.click(500 + static_cast<int>(random() % 14));
                break;
            case 3:
            case 4:
                f.host.type(texts[random() % std::size(texts)]);
                break;
            case 5:
                if (random() % 8 == 0) {
                    newProfile(f.state);
                }
                break;
            default:
                commitFocusedField(f.state);
                break;
            }
            SCOPED_TRACE(::testing::Message() << "seed " << seed << " step " << step);
            ASSERT_TRUE(isDrawable(f.state.model));
        }
    }
}

} // namespace
} // namespace tanu
