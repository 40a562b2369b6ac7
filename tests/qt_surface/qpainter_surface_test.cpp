#include "qt_surface_test_support.h"

#include "chart/chart_artwork.h"
#include "shell/qt/surface/qt_artwork.h"

#include "qt_pixels.h"
#include "recording_surface.h"
#include "scripted_host.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

// fontconfig keeps a few allocations to itself for the life of the process; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace tanu::qt {
namespace {

using testing::isDark;
using testing::isWhite;
using testing::pixelAt;
using testing::StartedForm;

class QPainterSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override { testing::ensureGuiApplication(); }
};

constexpr QRgb Green = qRgb(0x5C, 0xFF, 0x88);
constexpr QRgb Pink = qRgb(0xFF, 0x7C, 0xFD);
constexpr QRgb Yellow = qRgb(0xF9, 0xFD, 0x86);
constexpr QRgb Orange = qRgb(0xFF, 0xA0, 0x53);
constexpr QRgb Blue = qRgb(0x90, 0x87, 0xFE);
constexpr QRgb DomainColours[10] = {Green,  Green,  Green,  Green, Pink,
                                    Yellow, Yellow, Orange, Blue,  Blue};

double bisector(int domain) {
    return 270.0 + 36.0 * domain + 18.0;
}

TEST_F(QPainterSurfaceTest, EachWedgeFillsItsSectorExactlyOutToItsRing) {
    StartedForm form; // rings 7..15 at radii 51, 69, ..., 195
    form.state.model.domainValues = {7, 8, 9, 10, 11, 12, 13, 14, 15, 10};
    const std::int32_t radii[10] = {51, 69, 87, 105, 123, 141, 159, 177, 195, 105};
    const QImage image = testing::paintToImage(form.state, ImageSet{});

    for (int d = 0; d < 10; ++d) {
        const double r = radii[d];
        SCOPED_TRACE("domain " + std::to_string(d));
        EXPECT_EQ(pixelAt(image, bisector(d), r - 3), DomainColours[d]);
        EXPECT_EQ(pixelAt(image, bisector(d), r - 9), DomainColours[d]); // between two rings
        EXPECT_TRUE(isDark(pixelAt(image, bisector(d), r))); // the ring drawn over the arc
        EXPECT_TRUE(isWhite(pixelAt(image, bisector(d), r + 3)));
    }
}

TEST_F(QPainterSurfaceTest, AZeroValueLeavesItsSectorUncoloured) {
    StartedForm form;
    form.state.model.domainValues = {0, 15, 15, 15, 15, 15, 15, 15, 15, 15};
    const QImage image = testing::paintToImage(form.state, ImageSet{});
    // Halfway between the rings 51, 69, ..., 195.
    for (const double r : {20.0, 60.0, 78.0, 96.0, 114.0, 132.0, 150.0, 168.0, 186.0}) {
        EXPECT_TRUE(isWhite(pixelAt(image, bisector(0), r))) << r;
        EXPECT_EQ(pixelAt(image, bisector(1), r), Green) << r;
        EXPECT_EQ(pixelAt(image, bisector(9), r), Blue) << r;
    }
}

TEST_F(QPainterSurfaceTest, DomainZeroStartsStraightUpAndRunsClockwise) {
    StartedForm form;
    form.state.model.domainValues[0] = 15;
    const QImage image = testing::paintToImage(form.state, ImageSet{});
    for (const double angle : {272.0, 288.0, 304.0}) {
        EXPECT_EQ(pixelAt(image, angle, 150), Green) << angle;
    }
    for (const double angle : {268.0, 252.0, 308.0, 340.0}) {
        EXPECT_TRUE(isWhite(pixelAt(image, angle, 150))) << angle;
    }
}

TEST_F(QPainterSurfaceTest, SpokesRunClockwiseFromTheXAxis) {
    StartedForm form;
    const QImage image = testing::paintToImage(form.state, ImageSet{});
    for (int j = 0; j < 10; ++j) {
        const double a = 18.0 + 36.0 * j;
        EXPECT_TRUE(isDark(pixelAt(image, a, 114))) << a;
        EXPECT_TRUE(isWhite(pixelAt(image, a + 9, 114))) << a;
    }
    // Nothing beyond the outermost ring.
    EXPECT_TRUE(isWhite(pixelAt(image, 18, 205)));
}

TEST_F(QPainterSurfaceTest, AMissingDataFolderGivesTheChartOnWhite) {
    StartedForm form;
    form.state.model.domainValues[2] = 12;
    QtImageDecoder decoder;
    const ImageSet images = loadImageSet("/nonexistent/tanu/data", decoder);
    ASSERT_EQ(images.background, nullptr);

    const QImage image = testing::paintToImage(form.state, images);
    EXPECT_TRUE(isWhite(image.pixel(2, 2)));
    EXPECT_TRUE(isWhite(image.pixel(910, 697)));
    EXPECT_TRUE(isWhite(image.pixel(822, 118)));         // the legend's place
    EXPECT_TRUE(isWhite(image.pixel(456, 148 + 6 - 3))); // the outer badge's place, off the ring
    EXPECT_TRUE(isDark(image.pixel(456, 349 - 195)));    // the outermost ring
    EXPECT_EQ(pixelAt(image, bisector(2), 100), Green);
    int ink = 0; // the age line
    for (int y = 94; y < 114; ++y) {
        for (int x = 218; x < 330; ++x) {
            ink += isDark(image.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(ink, 30);
}

TEST_F(QPainterSurfaceTest, PrintModeClearsTheWholePageAndCentresTheChart) {
    StartedForm form;
    const QImage image = testing::paintToImage(form.state, ImageSet{}, true, {1100, 850});
    EXPECT_TRUE(isWhite(image.pixel(1098, 848)));
    EXPECT_TRUE(isWhite(image.pixel(1, 1)));
    EXPECT_TRUE(isDark(image.pixel(456 + 94, 349 + 75 - 195)));
    EXPECT_TRUE(isDark(image.pixel(456 + 94, 349 + 75 + 195)));
    EXPECT_TRUE(isWhite(image.pixel(456, 349 - 195)));
}

TEST_F(QPainterSurfaceTest, WorksInLogicalPixelsOnAHighDensityImage) {
    QImage image(1824, 1398, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    image.fill(Qt::red);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    const IntRect bounds = surface.visibleBounds();
    EXPECT_EQ(bounds.width, 912);
    EXPECT_EQ(bounds.height, 699);
    StartedForm form;
    paintChart(surface, chartContentOf(form.state), ImageSet{}, false);
    painter.end();
    EXPECT_TRUE(isWhite(image.pixel(1822, 1396)));
    EXPECT_TRUE(isDark(image.pixel(2 * 456, 2 * (349 - 195))));
}

TEST_F(QPainterSurfaceTest, ClearIgnoresTheTransformButKeepsToTheClip) {
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.translateWorld(150, 70);
    surface.rotateWorld(30);
    surface.clear(0xFFFFFFFF);
    EXPECT_TRUE(isWhite(image.pixel(0, 0)));
    EXPECT_TRUE(isWhite(image.pixel(199, 99)));

    painter.resetTransform();
    painter.setClipRect(QRect(0, 0, 50, 100));
    surface.clear(0xFF000000);
    painter.end();
    EXPECT_EQ(image.pixel(10, 10), qRgb(0, 0, 0));
    EXPECT_TRUE(isWhite(image.pixel(60, 10)));
}

TEST_F(QPainterSurfaceTest, VisibleBoundsAreInWorldUnitsWithinTheClip) {
    QImage image(1100, 850, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    auto same = [](IntRect r, IntRect e) {
        return r.x == e.x && r.y == e.y && r.width == e.width && r.height == e.height;
    };
    EXPECT_TRUE(same(surface.visibleBounds(), {0, 0, 1100, 850}));
    surface.translateWorld(94, 75);
    EXPECT_TRUE(same(surface.visibleBounds(), {-94, -75, 1100, 850}));
    painter.setClipRect(QRect(0, 0, 100, 50)); // in world units
    EXPECT_TRUE(same(surface.visibleBounds(), {0, 0, 100, 50}));
}

TEST_F(QPainterSurfaceTest, TransformsPrependAndRoundTrip) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.translateWorld(94, 75);
    const WorldTransform saved = surface.worldTransform();
    surface.translateWorld(456, 349);
    surface.rotateWorld(90);
    // (10, 0) turns onto the y axis, then moves to the centre, then by the page offset.
    const QPointF p = painter.worldTransform().map(QPointF(10, 0));
    EXPECT_NEAR(p.x(), 94 + 456, 1e-4);
    EXPECT_NEAR(p.y(), 75 + 349 + 10, 1e-4);
    surface.setWorldTransform(saved);
    EXPECT_EQ(painter.worldTransform(), QTransform::fromTranslate(94, 75));
}

TEST_F(QPainterSurfaceTest, CopyModeReplacesWhatLiesBeneathAndOverModeBlends) {
    QImage image(40, 20, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::red);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.setCompositing(CompositingMode::SourceCopy);
    // Quarter discs below and right of their centres (0, 0) and (20, 0).
    surface.fillPie(0x800000FF, {-40, -40, 80, 80}, 0, 90);
    surface.setCompositing(CompositingMode::SourceOver);
    surface.fillPie(0x800000FF, {-20, -40, 80, 80}, 0, 90);
    painter.end();
    EXPECT_EQ(image.pixel(2, 2), qRgba(0, 0, 128, 128)); // premultiplied as stored
    const QRgb blended = image.pixel(38, 18);            // only in the second: half blue over red
    EXPECT_EQ(qAlpha(blended), 255);
    EXPECT_NEAR(qRed(blended), 127, 2);
    EXPECT_NEAR(qBlue(blended), 128, 2);
}

TEST_F(QPainterSurfaceTest, PicturesScaleIntoTheirRectangleAndAMissingOneFails) {
    QImage picture(2, 2, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::blue);
    const QtBitmap bitmap(picture);
    QImage image(60, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.drawImage(&bitmap, {10, 10, 16, 12});
    surface.drawImage(nullptr, {0, 0, 60, 40}); // draws nothing
    painter.end();
    EXPECT_EQ(image.pixel(17, 15), qRgb(0, 0, 255));
    EXPECT_TRUE(isWhite(image.pixel(8, 8)));
    EXPECT_TRUE(isWhite(image.pixel(28, 24)));
}

// Rings through the surface, which keeps them as a picture between paints, against the same
// rings stroked straight onto the image.
struct RingImages {
    QImage throughSurface;
    QImage direct;
};

RingImages paintRings(qreal ratio, QPointF offset) {
    const QSize pixels(static_cast<int>(400 * ratio), static_cast<int>(300 * ratio));
    const std::vector<IntRect> rings = {
        {150, 100, 100, 100}, {120, 70, 160, 160}, {60, 10, 280, 280}};
    RingImages out{QImage(pixels, QImage::Format_ARGB32_Premultiplied),
                   QImage(pixels, QImage::Format_ARGB32_Premultiplied)};
    for (QImage* image : {&out.throughSurface, &out.direct}) {
        image->setDevicePixelRatio(ratio);
        image->fill(qRgb(200, 230, 250));
    }
    {
        QPainter painter(&out.throughSurface);
        QPainterSurface surface(painter);
        surface.translateWorld(static_cast<float>(offset.x()), static_cast<float>(offset.y()));
        surface.setAntiAlias(true);
        for (const IntRect& r : rings) {
            surface.drawEllipse(0xFF000000, 1.8f, r);
        }
    } // the destructor draws what is held back
    QPainter painter(&out.direct);
    painter.translate(offset);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, static_cast<qreal>(1.8f), Qt::SolidLine, Qt::FlatCap));
    for (const IntRect& r : rings) {
        painter.drawEllipse(QRectF(r.x, r.y, r.width, r.height));
    }
    return out;
}

TEST_F(QPainterSurfaceTest, RingsKeptAsAPictureMatchRingsStrokedDirectly) {
    for (const qreal ratio : {1.0, 2.0}) {
        for (const QPointF offset : {QPointF(0, 0), QPointF(7, -3), QPointF(0.25, 0.5)}) {
            for (int paint = 0; paint < 2; ++paint) { // made, then found again
                const RingImages images = paintRings(ratio, offset);
                EXPECT_LE(
                    testing::compareImages(images.throughSurface, images.direct, 1, true).largest,
                    1)
                    << "ratio " << ratio << " offset " << offset.x() << "," << offset.y();
                EXPECT_TRUE(
                    isDark(images.direct.pixel(static_cast<int>(ratio * (200 + offset.x())),
                                               static_cast<int>(ratio * (10 + offset.y())))));
            }
        }
    }
}

// A chart on a widget that does not start at its window's corner, as below a menu bar.
class ChartWidget : public QWidget {
public:
    ChartWidget(const FormState& state, QWidget* parent) : QWidget(parent), state_(state) {
        setFixedSize(912, 699);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        QPainterSurface surface(painter);
        paintChart(surface, chartContentOf(state_), ImageSet{}, false);
    }

private:
    const FormState& state_;
};

TEST_F(QPainterSurfaceTest, OnAWidgetInsideItsWindowTheRingsStayOnTheWedges) {
    StartedForm form;
    form.state.model.domainValues[0] = 11; // radius 123
    QWidget window;
    window.setFixedSize(920, 720);
    ChartWidget chart(form.state, &window);
    chart.move(3, 19);
    const QImage image = window.grab().toImage();
    const QPointF centre(3 + 456, 19 + 349);
    EXPECT_EQ(pixelAt(image, bisector(0), 120, centre), Green);
    EXPECT_TRUE(isDark(pixelAt(image, bisector(0), 123, centre)));
    EXPECT_TRUE(isWhite(pixelAt(image, bisector(0), 126, centre)));
    EXPECT_TRUE(isDark(image.pixel(3 + 456, 19 + 349 - 195)));
}

TEST_F(QPainterSurfaceTest, AHeldBackRingIsDrawnBeforeWhatFollowsIt) {
    QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.drawEllipse(0xFF000000, 1.8f, {10, 10, 80, 80});
    // Drawn after the ring: covers its top.
    surface.fillPie(0xFFFF0000, {30, 0, 40, 40}, 180, 180);
    surface.flush();
    painter.end();
    EXPECT_EQ(image.pixel(50, 10), qRgb(255, 0, 0));
    EXPECT_TRUE(isDark(image.pixel(50, 89)));
}

TEST_F(QPainterSurfaceTest, AScaledPictureFollowsEachTargetSize) {
    QImage picture(4, 4, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::blue);
    const QtBitmap bitmap(picture);
    for (const int size : {8, 20, 8}) {
        QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.drawImage(&bitmap, {5, 5, size, size});
        painter.end();
        EXPECT_EQ(image.pixel(5 + size - 1, 5 + size - 1), qRgb(0, 0, 255)) << size;
        EXPECT_TRUE(isWhite(image.pixel(5 + size + 1, 5 + size + 1))) << size;
    }
}

// A picture with a double-size drawing: the 1x pixels on ordinary devices, the double-size ones
// wherever a picture pixel covers more than one device pixel.
TEST_F(QPainterSurfaceTest, HighDensityDevicesDrawTheDoubleSizePicture) {
    QImage single(4, 4, QImage::Format_ARGB32_Premultiplied);
    single.fill(Qt::blue);
    QImage doubleSize(8, 8, QImage::Format_ARGB32_Premultiplied);
    doubleSize.fill(Qt::red);
    const QtBitmap bitmap(single, doubleSize);
    const QtBitmap singleOnly(single);
    const struct {
        const char* name;
        const QtBitmap* bitmap;
        qreal pixelRatio;
        qreal worldScale;
        QRgb expected;
    } cases[] = {
        {"1x window", &bitmap, 1.0, 1.0, qRgb(0, 0, 255)},
        {"2x window", &bitmap, 2.0, 1.0, qRgb(255, 0, 0)},
        {"2x window, drawn again", &bitmap, 2.0, 1.0, qRgb(255, 0, 0)},
        {"1x window after 2x", &bitmap, 1.0, 1.0, qRgb(0, 0, 255)},
        {"scaled like a page", &bitmap, 1.0, 3.0, qRgb(255, 0, 0)},
        {"2x window without a double size", &singleOnly, 2.0, 1.0, qRgb(0, 0, 255)},
    };
    for (const auto& c : cases) {
        QImage image(QSize(40, 40) * c.pixelRatio * c.worldScale,
                     QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(c.pixelRatio);
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.scale(c.worldScale, c.worldScale);
        {
            QPainterSurface surface(painter);
            surface.drawImage(c.bitmap, {5, 5, 4, 4});
        }
        painter.end();
        const int centre = static_cast<int>(7 * c.pixelRatio * c.worldScale);
        EXPECT_EQ(image.pixel(centre, centre), c.expected) << c.name;
    }
}

TEST_F(QPainterSurfaceTest, TextIsClippedToItsBox) {
    QImage image(300, 60, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    // One word far wider than the box: it cannot wrap, so the box cuts it.
    drawCentredText(u"MMMMMMMMMMMMMMMMMMMM", 150, 10, surface);
    painter.end();
    int inside = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 300; ++x) {
            if (!isWhite(image.pixel(x, y))) {
                EXPECT_TRUE(x >= 120 && x < 180 && y >= 10 && y < 30) << x << "," << y;
                ++inside;
            }
        }
    }
    EXPECT_GT(inside, 100);
}

// The text height in pixels of a capital H drawn on an image of the given resolution.
int inkHeight(int dotsPerInch) {
    QImage image(400, 200, QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dotsPerInch / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dotsPerInch / 0.0254)));
    image.fill(Qt::white);
    QPainter painter(&image);
    QPainterSurface surface(painter);
    surface.drawString(u"H", makeChartFont(10), {10, 10, 300, 100}, TextAlignment::Near,
                       0xFF000000);
    painter.end();
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (isDark(image.pixel(x, y))) {
                top = top < 0 ? y : top;
                bottom = y;
                break;
            }
        }
    }
    return bottom - top + 1;
}

TEST_F(QPainterSurfaceTest, TextSizeIsInPointsAtEveryResolution) {
    const int at96 = inkHeight(96);
    const int at192 = inkHeight(192);
    EXPECT_GE(at96, 8);
    EXPECT_NEAR(at192, 2 * at96, 2);
}

TEST_F(QPainterSurfaceTest, ArialIsUsedWhereTheSystemHasItElseTheGenericSansSerif) {
    QImage image(10, 10, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QPainterSurface surface(painter);

    const QFont arial = surface.fontFor(makeChartFont(10));
    EXPECT_EQ(arial.family(), "Arial");
    EXPECT_TRUE(arial.bold());
    EXPECT_DOUBLE_EQ(arial.pointSizeF(), 10.0);
    // fontconfig stands Liberation Sans in for Arial here.
    EXPECT_EQ(QFontInfo(arial).family(), "Liberation Sans");

    const QFont missing = surface.fontFor({u"No Such Family Anywhere", 10.0f, true});
    EXPECT_FALSE(genericSansSerifFamily().isEmpty());
    EXPECT_EQ(missing.family(), genericSansSerifFamily());
    EXPECT_TRUE(missing.bold());
    // Looked up once and kept.
    EXPECT_EQ(&genericSansSerifFamily(), &genericSansSerifFamily());
}

TEST_F(QPainterSurfaceTest, AnInactivePainterMakesEveryCallFailQuietly) {
    QPainter painter; // never begun
    QPainterSurface surface(painter);
    StartedForm form;
    form.state.model.domainValues[0] = 9;
    // Nothing to see and nothing to crash on.
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), true);
}

TEST_F(QPainterSurfaceTest, ModelsBrokenUpstreamStillPaintTheRest) {
    const std::vector<std::vector<RingMark>> scales = {
        {},
        {{10, 195}},
        {{0, 51}, {1, 80}, {23, 110}, {4000000000u, 195}},
        {{2, -40}, {4, 2147483647}, {6, 300}},
    };
    for (const auto& rings : scales) {
        StartedForm form;
        form.state.model.rings = rings;
        form.state.model.domainValues = {2, 4, 6, 23, 0, 0, 0, 0, 0, 0xFFFFFFFFu};
        const QImage image = testing::paintToImage(form.state, testing::namedImageSet(), true);
        EXPECT_TRUE(isWhite(image.pixel(2, 2)));
    }
}

// Collects Qt's warnings while alive.
class WarningCatcher {
public:
    WarningCatcher() {
        messages().clear();
        previous_ = qInstallMessageHandler(&WarningCatcher::handle);
    }
    ~WarningCatcher() { qInstallMessageHandler(previous_); }
    static std::vector<std::string>& messages() {
        static std::vector<std::string> list;
        return list;
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg && type != QtInfoMsg) {
            messages().push_back(text.toStdString());
        }
    }
    QtMessageHandler previous_;
};

TEST_F(QPainterSurfaceTest, OnAPrinterAtOneHundredDotsPerInchTheBoundsAreThePrintableArea) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("chart.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setResolution(100);

    StartedForm form;
    form.state.model.domainValues = {9, 10, 11, 12, 13, 14, 15, 7, 8, 9};
    QtImageDecoder decoder;
    const ImageSet images = loadImageSet("/nonexistent/tanu/data", decoder);

    WarningCatcher warnings;
    QPainter painter;
    ASSERT_TRUE(painter.begin(&printer));
    QPainterSurface surface(painter);
    const IntRect bounds = surface.visibleBounds();
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Inch);
    EXPECT_NEAR(bounds.width, printable.width() * 100, 1.0);
    EXPECT_NEAR(bounds.height, printable.height() * 100, 1.0);
    EXPECT_GT(bounds.width, bounds.height); // landscape
    paintChart(surface, chartContentOf(form.state), images, true);
    painter.end();
    // Without the pictures Qt has nothing to complain about.
    EXPECT_TRUE(WarningCatcher::messages().empty())
        << (WarningCatcher::messages().empty() ? "" : WarningCatcher::messages().front());
    EXPECT_GT(QFile(dir.filePath("chart.pdf")).size(), 1000);
}

TEST_F(QPainterSurfaceTest, DecoderReportsMissingAndUndecodableFilesAndKeepsFastFormats) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage withAlpha(16, 12, QImage::Format_ARGB32);
    withAlpha.fill(qRgba(10, 20, 30, 128));
    ASSERT_TRUE(withAlpha.save(dir.filePath("badge2.png")));
    QImage opaque(4, 3, QImage::Format_RGB888);
    opaque.fill(Qt::green);
    ASSERT_TRUE(opaque.save(dir.filePath("background.png")));
    QFile garbage(dir.filePath("wedge.png"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a picture at all");
    garbage.close();

    QtImageDecoder decoder;
    const ImageSet images = loadImageSet(dir.path().toStdU16String(), decoder);

    const auto* badge = dynamic_cast<const QtBitmap*>(bitmapOf(images.badges[0]));
    ASSERT_NE(badge, nullptr);
    EXPECT_EQ(badge->image().size(), QSize(16, 12));
    EXPECT_EQ(badge->image().format(), QImage::Format_ARGB32_Premultiplied);
    const auto* background = dynamic_cast<const QtBitmap*>(bitmapOf(images.background));
    ASSERT_NE(background, nullptr);
    EXPECT_EQ(background->image().format(), QImage::Format_RGB32);

    EXPECT_EQ(images.wedge, nullptr);         // not a picture
    EXPECT_EQ(images.oneYearLegend, nullptr); // missing
}

} // namespace
} // namespace tanu::qt
