// The window as it comes up: size, placement, flags, fields, font and the first profile.
#include "control_font.h"
#include "shell_fixture.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>

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

TEST_F(WindowTest, FieldsStandWhereTheFormPutsThem) {
    for (int id = DomainField; id <= SecondTextField; ++id) {
        SCOPED_TRACE(id);
        const FieldRect want = fieldRect(id);
        EXPECT_EQ(field(id).geometry(), QRect(want.x, want.y, want.width, want.height));
        EXPECT_EQ(field(id).parentWidget(), &window().chart());
        EXPECT_TRUE(field(id).isVisible());
    }
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

TEST_F(WindowTest, StartsWithoutArtworkToo) {
    StartOptions options;
    options.dataFolder = "/nonexistent/tanu-data";
    startApp(options);
    EXPECT_EQ(focusedField(), FirstTextField);
    EXPECT_EQ(window().chart().size(), QSize(912, 699));
    EXPECT_FALSE(window().chart().grab().isNull());
}

} // namespace
} // namespace tanu::qt::testing
