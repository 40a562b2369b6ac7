// Focus moves on the real widgets and the commits they run.
#include "shell_fixture.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>

namespace tanu::qt::testing {
namespace {

using FocusTest = ShellTest;

const QString InvalidDate = QStringLiteral("Invalid date");

TEST_F(FocusTest, TabAndShiftTabSkipTheLockedDomainFields) {
    // Tabbing out of the empty birth-date field rejects it; the watcher closes the box.
    const std::vector<int> forward{BirthDateField, SecondDateField, SecondTextField,
                                   FirstTextField};
    for (const int want : forward) {
        pressTab();
        EXPECT_EQ(focusedField(), want);
    }
    pressShiftTab();
    EXPECT_EQ(focusedField(), SecondTextField);
    pressShiftTab();
    EXPECT_EQ(focusedField(), SecondDateField);
}

TEST_F(FocusTest, TabRunsThroughTheDomainFieldsOnceUnlocked) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    click(SecondTextField);
    std::vector<int> seen;
    for (int i = 0; i < 11; ++i) {
        pressTab();
        seen.push_back(focusedField());
    }
    const std::vector<int> want{500, 501, 502, 503, 504, 505, 506, 507, 508, 509, FirstTextField};
    EXPECT_EQ(seen, want);
    pressShiftTab();
    EXPECT_EQ(focusedField(), 509);
}

TEST_F(FocusTest, EnteringTheFieldClearsThePlaceholderOnce) {
    pressTab();
    EXPECT_EQ(focusedField(), BirthDateField);
    EXPECT_EQ(field(BirthDateField).text(), QString());
    EXPECT_FALSE(state().birthDatePlaceholder);
    QTest::keyClicks(&field(BirthDateField), QStringLiteral("2015/3/10"));
    pressTab();
    pressShiftTab();
    // A second visit keeps the text and selects it all.
    EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("2015/3/10"));
    EXPECT_EQ(field(BirthDateField).selectedText(), QStringLiteral("2015/3/10"));
}

TEST_F(FocusTest, AcceptedBirthDateUnlocksAndRebuildsTheScale) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(focusedField(), SecondDateField);
    EXPECT_EQ(state().ageText, u"9");
    EXPECT_EQ(scale(), std::make_pair(4u, 9u));
    EXPECT_TRUE(domainFieldsEnabled());

    enterDomainValue(2, QStringLiteral("30"));
    EXPECT_EQ(field(DomainField + 2).text(), QStringLiteral("22"));
    EXPECT_EQ(scale(), std::make_pair(17u, 22u));
}

TEST_F(FocusTest, RejectedBirthDateShowsTheBoxAndLocks) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    enterBirthDate(QStringLiteral("1979/12/31"));
    ASSERT_EQ(modals_->seen.size(), 1u);
    const SeenModal& box = modals_->seen.front();
    EXPECT_EQ(box.caption, InvalidDate);
    EXPECT_EQ(box.text, QStringLiteral("Please enter a valid date of birth.\nThe date format is "
                                       "YYYY/MM/DD.\nFor example: 2000/7/2\n\nThe year should "
                                       "be at least 1980."));
    EXPECT_EQ(box.icon, static_cast<int>(QMessageBox::Information));
    EXPECT_EQ(box.buttons, 1);
    EXPECT_TRUE(box.ownedByMainWindow);
    EXPECT_FALSE(domainFieldsEnabled());
    EXPECT_EQ(state().ageText, u"9");
    EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("1979/12/31"));
}

// Leaving a rejected birth date for a domain field disables the very field that is taking the
// focus; Qt then moves the focus on inside the commit.
TEST_F(FocusTest, RejectedDateWhileMovingIntoADomainField) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    enterDomainValue(9, QStringLiteral("6"));

    // Round 0 clicks into domain 9, round 1 moves the focus there programmatically.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        modals_->seen.clear();
        enterBirthDate(QStringLiteral("2015/3/10"));
        ASSERT_TRUE(domainFieldsEnabled());
        click(BirthDateField);
        typeIntoFocused(QStringLiteral("not a date"));
        if (round == 0) {
            click(DomainField + 9);
        } else {
            field(DomainField + 9).setFocus(Qt::OtherFocusReason);
            reactivate();
        }
        ASSERT_EQ(modals_->seen.size(), 1u);
        EXPECT_EQ(modals_->seen.front().caption, InvalidDate);
        EXPECT_FALSE(domainFieldsEnabled());
        EXPECT_FALSE(field(DomainField + 9).hasFocus());
        EXPECT_NE(focusedField(), 0);
        EXPECT_EQ(field(DomainField + 9).text(), QStringLiteral("6"));
    }
    // The form still works afterwards: Shift+Tab from the birth-date field, the date
    // accepted again, and the domain fields open.
    click(BirthDateField);
    typeIntoFocused(QStringLiteral("2015/3/10"));
    pressShiftTab();
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_TRUE(domainFieldsEnabled());
    pressShiftTab();
    EXPECT_EQ(focusedField(), DomainField + 9);
}

TEST_F(FocusTest, ShiftTabOutOfARejectedDateLocksWithoutCrashing) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    click(BirthDateField);
    typeIntoFocused(QStringLiteral("2030/1/1"));
    pressShiftTab();
    ASSERT_EQ(modals_->seen.size(), 1u);
    EXPECT_FALSE(domainFieldsEnabled());
    EXPECT_EQ(focusedField(), FirstTextField);
    // With the domain fields locked, Shift+Tab from the first text field wraps to the last.
    pressShiftTab();
    EXPECT_EQ(focusedField(), SecondTextField);
}

TEST_F(FocusTest, OpeningAMenuDoesNotCommit) {
    click(BirthDateField);
    typeIntoFocused(QStringLiteral("abc"));

    // Alt+F opens the File menu; close it, then leave the menu bar with Escape.
    QTest::keyClick(&field(BirthDateField), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QApplication::activePopupWidget()->close();
    ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }));
    QTest::keyClick(window().menuBar(), Qt::Key_Escape);
    if (!field(BirthDateField).hasFocus()) {
        field(BirthDateField).setFocus(Qt::MenuBarFocusReason);
    }
    EXPECT_TRUE(modals_->seen.empty());

    // The line edit's own context menu takes the focus as a popup too.
    QContextMenuEvent menuEvent(QContextMenuEvent::Keyboard, QPoint(5, 5),
                                field(BirthDateField).mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&field(BirthDateField), &menuEvent);
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(state().focusedField, BirthDateField);
    EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("abc"));

    // Leaving the field for real still commits it, once.
    pressTab();
    ASSERT_EQ(modals_->seen.size(), 1u);
    EXPECT_EQ(modals_->seen.front().caption, InvalidDate);
}

TEST_F(FocusTest, EnterAndEscapeInAFieldDoNothing) {
    click(BirthDateField);
    typeIntoFocused(QStringLiteral("2015/3/10"));
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
        QTest::keyClick(&field(BirthDateField), key);
        EXPECT_EQ(focusedField(), BirthDateField) << key;
        EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("2015/3/10"));
        EXPECT_TRUE(window().isVisible());
    }
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(state().ageText, u"-"); // nothing committed
}

TEST_F(FocusTest, NewResetsEverythingWithoutCommitting) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    enterDomainValue(0, QStringLiteral("5"));
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Ann"));
    click(BirthDateField);
    typeIntoFocused(QStringLiteral("rubbish"));

    window().action(Command::New)->trigger();

    EXPECT_TRUE(modals_->seen.empty()); // the rejected text in the focused field is discarded
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_EQ(field(FirstTextField).text(), QString());
    EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(field(SecondDateField).text(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_TRUE(field(DomainField).text().isEmpty());
    EXPECT_FALSE(domainFieldsEnabled());
    EXPECT_EQ(state().ageText, u"-");
    EXPECT_EQ(scale(), std::make_pair(2u, 10u));
    EXPECT_TRUE(state().birthDatePlaceholder);
    // The next visit to the birth-date field clears the placeholder again.
    pressTab();
    EXPECT_EQ(field(BirthDateField).text(), QString());
}

} // namespace
} // namespace tanu::qt::testing
