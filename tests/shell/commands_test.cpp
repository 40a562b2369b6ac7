// The menu, its shortcuts, the About box and the ways out of the program.
#include "about_box.h"
#include "shell_fixture.h"
#include "test_ports.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace tanu::qt::testing {
namespace {

class CommandsTest : public ShellTest {
protected:
    void SetUp() override {
        StartOptions options;
        options.documents = &dialogs_;
        options.printer = &printer_;
        startApp(options);
    }

    void press(QKeyCombination keys) {
        QTest::keyClick(QApplication::focusWidget(), keys.key(), keys.keyboardModifiers());
    }

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    CountingPrinter printer_{pdfPrinter(dir_.filePath(QStringLiteral("page.pdf")), QPageSize::A4)};
};

const QString AboutCaption = QStringLiteral("About tanu");

QStringList actionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

TEST_F(CommandsTest, MenusHoldTheCommandsInOrder) {
    const QList<QAction*> menus = window().menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1]->text(), QStringLiteral("&Help"));
    EXPECT_EQ(actionTexts(*menus[0]->menu()),
              (QStringList{"&New", "&Open", "&Save", "&Print", "-", "E&xit"}));
    EXPECT_EQ(actionTexts(*menus[1]->menu()), QStringList{"&About ..."});
}

TEST_F(CommandsTest, MenuShowsTheStandardShortcuts) {
    const struct {
        QAction* action;
        QKeySequence::StandardKey key;
    } table[] = {
        {window().action(Command::New), QKeySequence::New},
        {window().action(Command::Open), QKeySequence::Open},
        {window().action(Command::Save), QKeySequence::Save},
        {window().action(Command::Print), QKeySequence::Print},
        {window().action(Command::Exit), QKeySequence::Quit},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.action->text().toStdString());
        EXPECT_EQ(row.action->shortcut(), QKeySequence(row.key));
    }
    EXPECT_EQ(window().action(Command::New)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(window().action(Command::Print)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    // Exit never takes Cut's keys.
    EXPECT_NE(window().action(Command::Exit)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_TRUE(window().action(Command::About)->shortcut().isEmpty());
}

TEST_F(CommandsTest, ShortcutsRunTheirCommandsFromAField) {
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Ann"));
    press(Qt::CTRL | Qt::Key_O);
    EXPECT_EQ(dialogs_.openAsked, 1);
    press(Qt::CTRL | Qt::Key_S);
    EXPECT_EQ(dialogs_.saveAsked, 1);
    EXPECT_EQ(dialogs_.proposed, u"untitled.tanu");
    reactivate();
    press(Qt::CTRL | Qt::Key_P);
    EXPECT_EQ(printer_.jobs, 1);
    EXPECT_EQ(printer_.lastJobName, u"TANU Print");
    press(Qt::CTRL | Qt::Key_N);
    EXPECT_EQ(field(FirstTextField).text(), QString());
    EXPECT_TRUE(modals_->seen.empty());
}

TEST_F(CommandsTest, CtrlXCutsInAFieldAndQuitKeysExit) {
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Ann"));
    QTest::keyClick(&field(FirstTextField), Qt::Key_A, Qt::ControlModifier);
    press(Qt::CTRL | Qt::Key_X);
    EXPECT_EQ(field(FirstTextField).text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Ann"));
    EXPECT_TRUE(window().isVisible());

    // Where the platform has quit keys (Ctrl+Q on X11), they run Exit; where it has none
    // (Windows, offscreen), Exit shows none either and the window system's close applies.
    const QKeySequence quit(QKeySequence::Quit);
    EXPECT_EQ(window().action(Command::Exit)->shortcut(), quit);
    if (!quit.isEmpty()) {
        press(quit[0]);
        EXPECT_FALSE(window().isVisible());
    }
}

TEST_F(CommandsTest, AltQuestionMarkAndAltSlashOpenTheAboutBox) {
    const QKeyCombination keys[] = {Qt::ALT | Qt::Key_Question,
                                    Qt::ALT | Qt::SHIFT | Qt::Key_Question,
                                    Qt::ALT | Qt::Key_Slash};
    for (const QKeyCombination combination : keys) {
        modals_->seen.clear();
        reactivate();
        press(combination);
        ASSERT_EQ(modals_->seen.size(), 1u) << combination.toCombined();
        EXPECT_EQ(modals_->seen.front().caption, AboutCaption);
    }
}

TEST_F(CommandsTest, AboutBoxShowsItsLinesAtTheTopLeftOfTheClientArea) {
    std::vector<QRect> labelGeometry;
    QPoint topLeftInOwner;
    bool modal = false;
    modals_ = std::make_unique<ModalWatcher>(&window(), [&](QWidget& box) {
        for (QLabel* label : box.findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            labelGeometry.push_back(label->geometry());
        }
        topLeftInOwner = box.frameGeometry().topLeft();
        modal = box.isModal();
        ModalWatcher::clickOk(box);
    });
    window().action(Command::About)->trigger();

    ASSERT_EQ(modals_->seen.size(), 1u);
    const SeenModal& box = modals_->seen.front();
    EXPECT_EQ(box.caption, AboutCaption);
    EXPECT_TRUE(box.ownedByMainWindow);
    EXPECT_TRUE(modal);
    EXPECT_EQ(box.buttons, 1);
    // Spelled out here, not read from the program's own table, so a slip in that table shows.
    const QStringList want{
        "tanu, Version 1.0",
        "Step 1 - enter a DOB to unlock the wedge input areas.",
        "Q: I accidentally put a large number into a domain and now the ring values have changed.",
        "How do I reset them?",
        "A: Click in the Date of Birth field and then click in the domain you want to change - it "
        "should",
        "reset to the age of the student. Warning: clicking in the Date of Birth field and then "
        "clicking",
        "any other field will reset ALL domains with values higher than the chronological age.",
    };
    EXPECT_EQ(box.labels, want);
    // The continuation lines stand further right than the lines they continue, and every
    // line is fully inside the box.
    ASSERT_EQ(labelGeometry.size(), 7u);
    EXPECT_GT(labelGeometry[3].left(), labelGeometry[2].left());
    EXPECT_GT(labelGeometry[5].left(), labelGeometry[4].left());
    EXPECT_EQ(labelGeometry[6].left(), labelGeometry[5].left());
    for (std::size_t i = 1; i < labelGeometry.size(); ++i) {
        EXPECT_GT(labelGeometry[i].top(), labelGeometry[i - 1].top()) << i;
    }
    EXPECT_EQ(topLeftInOwner, window().chart().mapToGlobal(QPoint(0, 0)));
}

TEST_F(CommandsTest, AboutBoxEndsEveryWayAndLeavesTheProfile) {
    enterBirthDate(QStringLiteral("2015/3/10"));
    enterDomainValue(4, QStringLiteral("6"));
    const ChartModel model = state().model;

    const struct {
        const char* how;
        std::function<void(QWidget&)> end;
    } ways[] = {
        {"OK button", ModalWatcher::clickOk},
        {"Enter", [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Return); }},
        {"Escape", [](QWidget& box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"close box", [](QWidget& box) { box.close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        reactivate();
        click(SecondTextField);
        modals_ = std::make_unique<ModalWatcher>(&window(), way.end);
        window().action(Command::About)->trigger();
        ASSERT_EQ(modals_->seen.size(), 1u);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_EQ(state().model.domainValues, model.domainValues);
        EXPECT_EQ(state().model.rings.size(), model.rings.size());
        EXPECT_EQ(state().ageText, u"9");
        EXPECT_EQ(field(DomainField + 4).text(), QStringLiteral("6"));
    }
}

TEST_F(CommandsTest, AboutCommitsTheFocusedFieldBeforeItOpens) {
    click(BirthDateField);
    typeIntoFocused(QString());
    window().action(Command::About)->trigger();
    ASSERT_EQ(modals_->seen.size(), 2u);
    EXPECT_EQ(modals_->seen[0].caption, QStringLiteral("Invalid date"));
    EXPECT_EQ(modals_->seen[1].caption, AboutCaption);
}

TEST_F(CommandsTest, ExitAndCloseEndWithoutAQuestion) {
    const struct {
        const char* how;
        std::function<void(MainWindow&)> leave;
    } ways[] = {
        {"File > Exit", [](MainWindow& w) { w.action(Command::Exit)->trigger(); }},
        {"close box", [](MainWindow& w) { w.close(); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        SetUp();
        // A rejected date in the focused field must not pop up on the way out.
        click(BirthDateField);
        typeIntoFocused(QStringLiteral("rubbish"));
        way.leave(window());
        EXPECT_FALSE(window().isVisible());
        EXPECT_TRUE(modals_->seen.empty());
    }
}

} // namespace
} // namespace tanu::qt::testing
