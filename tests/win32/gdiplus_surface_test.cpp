// The chart painted by the real painter on the GDI+ surface, against the picture the Qt surface
// paints of the same profile.
#include "gdiplus_test_support.h"
#include "pixel_difference.h"

#include "chart/chart_painter.h"
#include "shell/win32/gdiplus_artwork.h"
#include "shell/win32/gdiplus_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>

namespace tanu::win32 {
namespace {

using testing::Canvas;
using testing::Pixels;

constexpr Gdiplus::ARGB Red = 0xFFFF0000; // anything the painter fails to cover shows

// A twelve-year-old with domains between 8 and 15 years on the scale 7..15: the golden profile.
// When printing, every field is empty, so that the page holds the window's picture alone.
void paintTypicalProfile(DrawingSurface& surface, const ImageSet& images, bool printMode) {
    ChartContent content;
    rebuildRings(content.model, 7, 15);
    content.model.domainValues = {9, 12, 14, 10, 11, 13, 8, 15, 12, 10};
    content.ageText = u"12";
    paintChart(surface, content, images, printMode);
}

constexpr int PlainTolerance = 8; // the Qt golden test's own, per channel
using testing::ColourTolerance;
using testing::ShapeRadius;

int countDiffering(const Pixels& a, const Pixels& b, int tolerance) {
    return static_cast<int>(testing::comparePixels(a.argb, b.argb, tolerance).count);
}

// The part of a picture at (x, y) the size of the other.
Pixels cropped(const Pixels& p, int x, int y, int width, int height) {
    Pixels out;
    out.width = width;
    out.height = height;
    for (int v = y; v < y + height; ++v) {
        for (int u = x; u < x + width; ++u) {
            out.argb.push_back(p.at(u, v));
        }
    }
    return out;
}

class GdiplusGolden : public ::testing::Test {
protected:
    void SetUp() override {
        images = loadImageSet(testing::programFolder() / "data", decoder);
        ASSERT_NE(bitmapOf(images.background), nullptr) << "artwork missing beside the test";
        const auto picture =
            decoder
                .decodeFile(testing::programFolder() / "golden" / "typical_profile.png",
                            largestPictureFor({ChartWidth, ChartHeight}))
                .bitmap;
        ASSERT_NE(picture, nullptr) << "golden picture not decoded";
        golden = testing::readPixels(static_cast<const GdiplusBitmap&>(*picture).handle());
        ASSERT_EQ(golden.width, ChartWidth);
        ASSERT_EQ(golden.height, ChartHeight);
    }

    // Wine's GDI+ draws without antialiasing and rasterises text its own way, so edges differ
    // by a pixel and in shade. Beyond that the pictures agree: they must lie within each
    // other's colours within two pixels. Measured on the window: 91 painted pixels (background
    // uncovered where a ring edge fell a pixel over) and 0 golden ones; leaving "12" out of the
    // age line makes 70 golden ones.
    void expectLikeGolden(const Pixels& painted, gdip::GpBitmap* canvas) {
        const int differing = countDiffering(painted, golden, PlainTolerance);
        const int paintedOutside =
            testing::outsideRange(painted, golden, ShapeRadius, ColourTolerance);
        const int goldenOutside =
            testing::outsideRange(golden, painted, ShapeRadius, ColourTolerance);
        std::cout << "GDI+ against the Qt picture: " << differing << " of " << painted.argb.size()
                  << " pixels differ by more than " << PlainTolerance
                  << "; outside each other's colours within " << ShapeRadius
                  << " pixels: " << paintedOutside << " painted, " << goldenOutside << " golden\n";
        EXPECT_LE(paintedOutside, 150);
        EXPECT_LE(goldenOutside, 20);
        EXPECT_LT(differing, static_cast<int>(painted.argb.size() / 20)); // edges and text only
        if (HasFailure()) {
            const auto file = testing::programFolder() / "tanu-actual-typical_profile.png";
            testing::savePng(canvas, file);
            ADD_FAILURE() << "painted picture left in " << file.string();
        }
    }

    GdiplusImageDecoder decoder;
    ImageSet images;
    Pixels golden;
};

TEST_F(GdiplusGolden, TypicalProfileOnTheWindow) {
    Canvas canvas(ChartWidth, ChartHeight, Red);
    {
        GdiplusSurface surface(canvas.bitmap());
        ASSERT_TRUE(surface.valid());
        paintTypicalProfile(surface, images, false);
    }
    expectLikeGolden(testing::readPixels(canvas.bitmap()), canvas.bitmap());
}

// A page 1100 by 850 units: cleared whole, the same picture centred at (94, 75).
TEST_F(GdiplusGolden, TypicalProfileCentredOnAPage) {
    constexpr int Width = 1100;
    constexpr int Height = 850;
    Canvas canvas(Width, Height, Red);
    {
        GdiplusSurface surface(canvas.bitmap());
        paintTypicalProfile(surface, images, true);
    }
    const Pixels page = testing::readPixels(canvas.bitmap());
    int notWhite = 0;
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            const bool onChart = x >= 94 && x < 94 + ChartWidth && y >= 75 && y < 75 + ChartHeight;
            notWhite +=
                !onChart && testing::channelDistance(page.at(x, y), 0xFFFFFFFF) != 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(notWhite, 0);
    expectLikeGolden(cropped(page, 94, 75, ChartWidth, ChartHeight), canvas.bitmap());
}

// The size comes from the header, and a picture beyond its slot's limit is never decoded.
TEST(GdiplusDecoder, ReadsThePictureSizeFirstAndRefusesWhatIsTooLarge) {
    const std::filesystem::path folder = testing::programFolder();
    for (const int width : {3648, 3649}) {
        Canvas canvas(width, 1, 0xFFFFFFFF);
        ASSERT_TRUE(testing::savePng(canvas.bitmap(),
                                     folder / ("decoder_" + std::to_string(width) + ".png")));
    }
    std::ofstream(folder / "decoder_text.png") << "not a picture";
    const PictureSize largest = largestPictureFor({ChartWidth, ChartHeight});
    GdiplusImageDecoder decoder;
    const struct {
        const char* file;
        PictureFailure failure;
        int width;
    } rows[] = {
        {"decoder_3648.png", PictureFailure::None, 3648},
        {"decoder_3649.png", PictureFailure::TooLarge, 3649},
        {"decoder_text.png", PictureFailure::NotAPicture, 0},
        {"decoder_missing.png", PictureFailure::Missing, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        {
            const DecodedPicture picture = decoder.decodeFile(folder / row.file, largest);
            EXPECT_EQ(picture.failure, row.failure);
            EXPECT_EQ(picture.bitmap != nullptr, row.failure == PictureFailure::None);
            EXPECT_EQ(picture.size.width, row.width);
        } // GDI+ holds the file while the bitmap lives
        std::filesystem::remove(folder / row.file);
    }
}

// The program alone draws the whole chart: every shipped picture is built into it, with its
// double-size companion.
TEST(GdiplusDecoder, EveryShippedPictureIsBuiltIn) {
    GdiplusImageDecoder decoder(true);
    const ImageSet images = loadImageSet(testing::programFolder() / "no such folder", decoder);
    EXPECT_TRUE(images.missing.empty());
    EXPECT_TRUE(images.problems.empty());
    ASSERT_NE(images.background, nullptr);
    const auto& background = static_cast<const GdiplusBitmap&>(*images.background);
    UINT width = 0;
    gdip::GdipGetImageWidth(background.handleFor(1.0f), &width);
    EXPECT_EQ(width, static_cast<UINT>(ChartWidth));
    gdip::GdipGetImageWidth(background.handleFor(1.5f), &width);
    EXPECT_EQ(width, static_cast<UINT>(2 * ChartWidth));
    EXPECT_EQ(background.handleFor(1.25f), background.handleFor(1.0f));
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        EXPECT_NE(images.badges[k], nullptr) << k;
    }
    EXPECT_EQ(decoder.decodeBuiltIn(u"nothing.png", {64, 64}).failure, PictureFailure::Missing);
    EXPECT_EQ(decoder.decodeBuiltIn(u"background.png", {912, 698}).failure,
              PictureFailure::TooLarge);
}

// A family the system lacks still gives text: the generic sans-serif family stands in.
TEST(GdiplusSurface, TextInAMissingFamilyIsDrawnInTheGenericOne) {
    for (const std::u16string_view family : {u"Arial", u"No Such Family Here"}) {
        Canvas canvas(200, 40, 0xFFFFFFFF);
        {
            GdiplusSurface surface(canvas.bitmap());
            surface.drawString(u"Age: 12", ChartFont{family, 10.0f, true}, RectF{0, 0, 200, 20},
                               TextAlignment::Near, 0xFF000000);
        }
        const Pixels text = testing::readPixels(canvas.bitmap());
        int dark = 0;
        for (const std::uint32_t p : text.argb) {
            dark += testing::channelDistance(p, 0xFF000000) < 128 ? 1 : 0;
        }
        EXPECT_GT(dark, 40) << "too little text in the family given as "
                            << std::string(family.begin(), family.end());
    }
}

} // namespace
} // namespace tanu::win32
