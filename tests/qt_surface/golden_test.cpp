// A typical profile painted with the real artwork, compared with the picture kept in golden/.
// After a deliberate change of the chart or its artwork, look at the new picture and then
// rewrite it with TANU_UPDATE_GOLDEN=1.
#include "qt_surface_test_support.h"

#include "shell/qt/surface/qt_artwork.h"

#include "fake_document_port.h"
#include "qt_pixels.h"
#include "scripted_host.h"

#include "document/profile_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include <cstdlib>
#include <string>

namespace tanu::qt {
namespace {

constexpr int Tolerance = 8; // per channel, for rounding in antialiased edges and text

QString goldenPath(const char* name) {
    return QStringLiteral(TANU_GOLDEN_DIR "/") + name;
}

// Where a failing comparison leaves the picture it got.
QString actualPath(const char* name) {
    return QDir::temp().filePath(QStringLiteral("tanu-actual-") + name);
}

void compareWithGolden(const QImage& painted, const char* name) {
    const QImage actual = painted.convertToFormat(QImage::Format_RGB32);
    if (qEnvironmentVariableIsSet("TANU_UPDATE_GOLDEN")) {
        ASSERT_TRUE(actual.save(goldenPath(name), "PNG", 0));
        GTEST_SKIP() << "rewrote " << goldenPath(name).toStdString();
    }
    const QImage golden = QImage(goldenPath(name)).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(golden.isNull()) << "no golden picture " << goldenPath(name).toStdString();
    ASSERT_EQ(golden.size(), actual.size());
    const testing::PixelDifference difference = testing::compareImages(actual, golden, Tolerance);
    const std::size_t off = difference.count;
    const QPoint first = testing::pixelOfIndex(actual, difference.firstIndex);
    if (off != 0) {
        actual.save(actualPath(name));
    }
    EXPECT_EQ(off, 0u) << "pixels off, the first at (" << first.x() << ", " << first.y()
                       << "); painted picture left in " << actualPath(name).toStdString();
}

// A twelve-year-old with domains between 8 and 15 years on the scale 7..15, on the window at
// the density given: 1 and, as on a screen of 192 dots per inch, 2 with the double-size pictures.
void expectTypicalProfileLikeGolden(qreal pixelRatio, const char* golden) {
    testing::ensureGuiApplication();
    QtImageDecoder decoder(pixelRatio > 1);
    ImageSet images;
    images = loadImageSet(TANU_DATA_DIR, decoder);
    ASSERT_NE(bitmapOf(images.background), nullptr) << "artwork missing in " TANU_DATA_DIR;

    testing::StartedForm form;
    rebuildRings(form.state.model, 7, 15);
    form.state.model.domainValues = {9, 12, 14, 10, 11, 13, 8, 15, 12, 10};
    form.state.ageText = u"12";

    const QSize size(static_cast<int>(912 * pixelRatio), static_cast<int>(699 * pixelRatio));
    compareWithGolden(testing::paintToImage(form.state, images, false, size, pixelRatio), golden);
}

// The chart a program shows before anything is entered: the start scale 7..15 and "Age: -".
// The pictures the other shells' first paints are held to.
void expectStartChartLikeGolden(qreal pixelRatio, const char* golden) {
    testing::ensureGuiApplication();
    QtImageDecoder decoder(pixelRatio > 1);
    ImageSet images;
    images = loadImageSet(TANU_DATA_DIR, decoder);
    const testing::StartedForm form;
    const QSize size(static_cast<int>(912 * pixelRatio), static_cast<int>(699 * pixelRatio));
    compareWithGolden(testing::paintToImage(form.state, images, false, size, pixelRatio), golden);
}

TEST(GoldenPicture, StartChart) {
    expectStartChartLikeGolden(1, "start.png");
    expectStartChartLikeGolden(2, "start@2x.png");
}

// A profile as Print puts it on paper, field texts and all, at one chart unit a pixel.
TEST(GoldenPicture, PrintedProfile) {
    testing::ensureGuiApplication();
    QtImageDecoder decoder(false);
    ImageSet images;
    images = loadImageSet(TANU_DATA_DIR, decoder);
    testing::StartedForm form(testing::fixedClock(2026, 12, 7));
    testing::FakeDocumentPort files;
    files.files[u"anna.tanu"] = std::string(testing::PrintedProfileFile);
    openProfileFile(form.state, files, u"anna.tanu");
    compareWithGolden(testing::paintToImage(form.state, images, true), "printed_profile.png");
}

TEST(GoldenPicture, TypicalProfileOnTheWindow) {
    expectTypicalProfileLikeGolden(1, "typical_profile.png");
}

TEST(GoldenPicture, TypicalProfileOnADenseScreen) {
    expectTypicalProfileLikeGolden(2, "typical_profile@2x.png");
}

} // namespace
} // namespace tanu::qt
