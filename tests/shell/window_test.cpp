// The window as it comes up: size, placement, flags, fields, font and the first profile.
#include "control_font.h"
#include "shell/files/program_folders.h"
#include "shell_fixture.h"

#include <QAccessible>
#include <QDir>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTemporaryDir>

namespace tanu::qt::testing {
namespace {

using WindowTest = ShellTest;

TEST_F(WindowTest, TitleClientAreaAndFixedSize) {
    EXPECT_EQ(window().windowTitle(), QStringLiteral("TANU"));
    EXPECT_EQ(window().chart().size(), QSize(912, 699));
    // The client area is the chart right under the menu bar, and nothing else.
    const int menuHeight = window().menuBar()->height();
    EXPECT_GT(menuHeight, 0);
    EXPECT_EQ(window().chart().geometry(), QRect(0, menuHeight, 912, 699));
    EXPECT_EQ(window().size(), QSize(912, menuHeight + 699));
    EXPECT_EQ(window().minimumSize(), window().maximumSize());
    // The program's icon, with a picture for every size a desktop asks for.
    const QList<QSize> iconSizes = window().windowIcon().availableSizes();
    for (const int size : {16, 32, 48, 256}) {
        EXPECT_TRUE(iconSizes.contains(QSize(size, size))) << size;
    }
}

TEST_F(WindowTest, MinimisableButNotMaximisable) {
    const Qt::WindowFlags flags = window().windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
}

TEST_F(WindowTest, CentredOnPrimaryScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QRect outer = window().frameGeometry();
    // The offscreen platform reports its frame margins unevenly; allow that much.
    const int slack = std::max(outer.width() - window().width(), 0);
    EXPECT_NEAR(outer.left(), screen.left() + (screen.width() - outer.width()) / 2, slack);
    EXPECT_NEAR(outer.top(), screen.top() + (screen.height() - outer.height()) / 2, slack);
}

TEST_F(WindowTest, FieldsStandWhereTheFormPutsThemNamedByTheirLabels) {
    const QString names[] = {"Domain 1",           "Domain 2",   "Domain 3", "Domain 4",
                             "Domain 5",           "Domain 6",   "Domain 7", "Domain 8",
                             "Domain 9",           "Domain 10",  "Name",     "Date of birth",
                             "Date of assessment", "Assessed by"};
    for (int id = DomainField; id <= SecondTextField; ++id) {
        SCOPED_TRACE(id);
        const FieldRect want = fieldRect(id);
        EXPECT_EQ(field(id).geometry(), QRect(want.x, want.y, want.width, want.height));
        EXPECT_EQ(field(id).parentWidget(), &window().chart());
        EXPECT_TRUE(field(id).isVisible());
        // What a screen reader announces: the label printed beside the field on the chart.
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&field(id));
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->text(QAccessible::Name), names[id - DomainField]);
        EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    }
}

TEST_F(WindowTest, ChartDescribesTheProfileToScreenReaders) {
    QAccessibleInterface* chart = QAccessible::queryAccessibleInterface(&window().chart());
    ASSERT_NE(chart, nullptr);
    EXPECT_EQ(chart->text(QAccessible::Name), QStringLiteral("Profile chart"));
    EXPECT_TRUE(chart->text(QAccessible::Description)
                    .startsWith(QStringLiteral("Age: -. Rings from 7 to 15 years, one ring per "
                                               "year. Domain 1: no value. Domain 2: no value.")))
        << chart->text(QAccessible::Description).toStdString();

    enterBirthDate(QStringLiteral("2015/3/10"));
    enterDomainValue(0, QStringLiteral("5"));
    enterDomainValue(9, QStringLiteral("22"));
    QString expected = QStringLiteral("Age: 9. Rings from 4 to 22 years, one ring per two years. "
                                      "Domain 1: 5 years.");
    for (int domain = 2; domain <= 9; ++domain) {
        expected += QStringLiteral(" Domain %1: no value.").arg(domain);
    }
    expected += QStringLiteral(" Domain 10: 22 years.");
    EXPECT_EQ(chart->text(QAccessible::Description), expected);
}

TEST_F(WindowTest, FieldsUseBoldArialWithSixteenPixelCells) {
    const QFont font = field(FirstTextField).font();
    EXPECT_EQ(font.family(), QStringLiteral("Arial"));
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(QFontMetrics(font).height(), ControlFontCellHeight);
    // The largest such size: one pixel more would exceed the cell.
    QFont larger = font;
    larger.setPixelSize(font.pixelSize() + 1);
    EXPECT_GT(QFontMetrics(larger).height(), ControlFontCellHeight);
    for (int id = DomainField; id <= SecondTextField; ++id) {
        EXPECT_EQ(field(id).font(), font) << id;
    }
}

TEST_F(WindowTest, StartsWithTheEmptyLockedForm) {
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_FALSE(domainFieldsEnabled());
    for (int k = 0; k < 10; ++k) {
        EXPECT_TRUE(field(DomainField + k).text().isEmpty()) << k;
    }
    EXPECT_EQ(field(FirstTextField).text(), QString());
    EXPECT_EQ(field(BirthDateField).text(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(field(SecondDateField).text(), QStringLiteral("YYYY/MM/DD"));
    EXPECT_EQ(field(SecondTextField).text(), QString());
    EXPECT_EQ(state().ageText, u"-");
    EXPECT_EQ(scale(), std::make_pair(7u, 15u));
    EXPECT_EQ(state().model.rings.size(), 9u);
    EXPECT_TRUE(modals_->seen.empty());
}

TEST_F(WindowTest, PaintsTheChartOverTheWholeClientArea) {
    const QImage picture = window().chart().grab().toImage();
    ASSERT_FALSE(picture.isNull());
    // The painter draws the rings in black around the centre; an unpainted widget would be
    // one flat colour.
    int dark = 0;
    for (int x = 456 - 200; x <= 456 + 200; ++x) {
        dark += qGray(picture.pixel(x, 349)) < 64 ? 1 : 0;
    }
    EXPECT_GE(dark, 10);
}

// A school's folder first, picture by picture; what is there but unusable is named once.
TEST_F(WindowTest, SaysWhichPicturesItDoesNotUse) {
    QTemporaryDir school;
    ASSERT_TRUE(school.isValid());
    // One pixel wider than four times the background's 912.
    ASSERT_TRUE(QImage(3649, 1, QImage::Format_RGB32).save(school.filePath("background.png")));
    QFile notAPicture(school.filePath("one_year.png"));
    ASSERT_TRUE(notAPicture.open(QIODevice::WriteOnly));
    notAPicture.write("not a picture");
    notAPicture.close();
    StartOptions options;
    options.artworkFolders = {school.path().toStdU16String(), files::programFolder() / "data"};
    startApp(options);

    ASSERT_EQ(modals_->seen.size(), 1u);
    EXPECT_EQ(modals_->seen[0].caption, QStringLiteral("Chart pictures not used"));
    EXPECT_EQ(modals_->seen[0].text,
              QStringLiteral("The picture \"%1/background.png\" is not used: it is 3649 x 1 "
                             "pixels, and TANU takes at most 3648 x 2796 for it.\n\n"
                             "The picture \"%1/one_year.png\" is not used: it is not a picture "
                             "TANU can read.")
                  .arg(school.path()));
    EXPECT_EQ(focusedField(), FirstTextField);
    // The rest comes from the shipped folder.
    EXPECT_EQ(app_->images().background, nullptr);
    EXPECT_EQ(app_->images().oneYearLegend, nullptr);
    EXPECT_NE(app_->images().twoYearsLegend, nullptr);
    EXPECT_NE(app_->images().badges[0], nullptr);
}

TEST_F(WindowTest, StartsWithoutArtworkToo) {
    StartOptions options;
    options.artworkFolders = {"/nonexistent/tanu-data"};
    startApp(options);
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_EQ(window().chart().size(), QSize(912, 699));
    EXPECT_FALSE(window().chart().grab().isNull());
}

} // namespace
} // namespace tanu::qt::testing
