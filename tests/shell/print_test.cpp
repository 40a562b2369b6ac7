// Printing through QPrinter into a PDF file, and what the page holds.
#include "chart/chart_painter.h"
#include "form/chart_content.h"
#include "qt_pixels.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell_fixture.h"
#include "test_ports.h"

#include <QFile>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace tanu::qt::testing {
namespace {

struct Paper {
    const char* name;
    QPageSize::PageSizeId id;
    QSize landscapePoints;
};

void PrintTo(const Paper& paper, std::ostream* out) {
    *out << paper.name;
}

class PrintTest : public ShellTest, public ::testing::WithParamInterface<Paper> {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        pdf_ = dir_.filePath(QStringLiteral("chart.pdf"));
        printer_ = std::make_unique<CountingPrinter>(pdfPrinter(pdf_, GetParam().id));
        StartOptions options;
        options.printer = printer_.get();
        startApp(options);
    }
    void TearDown() override {
        ShellTest::TearDown();
        printer_.reset();
    }

    QTemporaryDir dir_;
    QString pdf_;
    std::unique_ptr<CountingPrinter> printer_;
};

TEST_P(PrintTest, OneLandscapePageWithTheChartCentred) {
    click(FirstTextField);
    typeIntoFocused(QStringLiteral("Ann Smith"));
    enterBirthDate(QStringLiteral("2015/3/10"));
    enterDomainValue(0, QStringLiteral("5"));
    click(DomainField + 1);
    typeIntoFocused(QStringLiteral("7"));
    const ChartModel model = state().model;

    window().action(Command::Print)->trigger();

    // Printing opens nothing and leaves the focused field, its text and the profile alone.
    EXPECT_TRUE(modals_->seen.empty());
    EXPECT_EQ(printer_->jobs, 1);
    EXPECT_EQ(focusedField(), DomainField + 1);
    EXPECT_EQ(state().focusedField, DomainField + 1);
    EXPECT_EQ(state().model.domainValues, model.domainValues);

    QFile file(pdf_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    const QString text = QString::fromLatin1(pdf);
    EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);
    const QSize points = GetParam().landscapePoints;
    const QRegularExpression mediaBox(QStringLiteral("/MediaBox\\s*\\[0 0 %1(\\.0*)? %2(\\.0*)?\\]")
                                          .arg(points.width())
                                          .arg(points.height()));
    EXPECT_TRUE(text.contains(mediaBox))
        << text.mid(text.indexOf(QStringLiteral("/MediaBox")), 40).toStdString();

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        GTEST_SKIP() << "pdftoppm is not installed; the page's picture is not checked";
    }
    // At 50 dots an inch one dot is two chart units.
    const QString prefix = dir_.filePath(QStringLiteral("page"));
    ASSERT_EQ(QProcess::execute(pdftoppm, {"-png", "-r", "50", "-singlefile", pdf_, prefix}), 0);
    const QImage page(prefix + QStringLiteral(".png"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());

    // The same picture painted at one unit a pixel, without centring, shows where its ink
    // lies within the 912 x 699 chart.
    QImage chart(912, 699, QImage::Format_RGB32);
    {
        QPainter painter(&chart);
        QPainterSurface surface(painter);
        paintChart(surface, chartContentOf(state()), app_->images(), true);
    }
    const QRect chartInk = tanu::testing::inkBounds(chart, 240);
    const QRect pageInk = tanu::testing::inkBounds(page, 240);
    ASSERT_FALSE(chartInk.isEmpty());
    const QPointF pageCentre(page.width() / 2.0, page.height() / 2.0);
    const QPointF want = pageCentre + (QPointF(chartInk.center()) - QPointF(456, 349.5)) / 2.0;
    EXPECT_NEAR(pageInk.center().x(), want.x(), 3.0);
    EXPECT_NEAR(pageInk.center().y(), want.y(), 3.0);
    EXPECT_NEAR(pageInk.width(), chartInk.width() / 2.0, 3.0);
    EXPECT_NEAR(pageInk.height(), chartInk.height() / 2.0, 3.0);
}

INSTANTIATE_TEST_SUITE_P(Papers, PrintTest,
                         ::testing::Values(Paper{"A4", QPageSize::A4, QSize(842, 595)},
                                           Paper{"Letter", QPageSize::Letter, QSize(792, 612)}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(PrinterPortTest, NoPrinterGivesAReasonAndNoSurface) {
    QtPrinterPort port([](std::u16string& reason) -> std::unique_ptr<QPrinter> {
        reason = u"No default printer is set up.";
        return nullptr;
    });
    std::u16string reason;
    EXPECT_EQ(port.beginJob(u"TANU Print", reason), nullptr);
    EXPECT_EQ(reason, u"No default printer is set up.");
}

class NoPrinterTest : public ShellTest {
protected:
    void SetUp() override {
        StartOptions options;
        options.printer = &port_;
        startApp(options);
    }
    QtPrinterPort port_{[](std::u16string& reason) -> std::unique_ptr<QPrinter> {
        reason = u"No default printer is set up.";
        return nullptr;
    }};
};

TEST_F(NoPrinterTest, PrintWithoutAPrinterSaysWhy) {
    window().action(Command::Print)->trigger();
    ASSERT_EQ(modals_->seen.size(), 1u);
    EXPECT_EQ(modals_->seen.front().caption, QStringLiteral("Cannot print"));
    EXPECT_TRUE(modals_->seen.front().text.contains(QStringLiteral("No default printer")));
    EXPECT_EQ(modals_->seen.front().icon, static_cast<int>(QMessageBox::Warning));
}

TEST(PrinterPortTest, JobTakesTheNameAndHundredthsOfAnInch) {
    QTemporaryDir dir;
    QPrinter* made = nullptr;
    QtPrinterPort port([&](std::u16string& reason) {
        auto printer = pdfPrinter(dir.filePath(QStringLiteral("x.pdf")), QPageSize::A4)(reason);
        made = printer.get();
        return printer;
    });
    std::u16string reason;
    DrawingSurface* surface = port.beginJob(u"TANU Print", reason);
    ASSERT_NE(surface, nullptr);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->docName(), QStringLiteral("TANU Print"));
    EXPECT_EQ(made->resolution(), 100);
    EXPECT_EQ(made->pageLayout().orientation(), QPageLayout::Landscape);
    // The visible area is the printable part of an A4 landscape page, in hundredths of an inch.
    const IntRect bounds = surface->visibleBounds();
    EXPECT_GT(bounds.width, bounds.height);
    EXPECT_LE(bounds.width, 1170);
    EXPECT_GE(bounds.width, 1000);
    port.endJob();
}

} // namespace
} // namespace tanu::qt::testing
