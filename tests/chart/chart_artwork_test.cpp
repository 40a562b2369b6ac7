#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"

#include "recording_surface.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace tanu {
namespace {

// Decodes from a table of file paths; anything not in it is missing.
class TableDecoder : public ImageDecoder {
public:
    std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path, int& status) override {
        requested.push_back(path);
        const auto found = results.find(path.string());
        if (found == results.end()) {
            status = DrawStatus::FileNotFound;
            return nullptr;
        }
        status = found->second;
        if (status != DrawStatus::Ok) {
            return nullptr;
        }
        return std::make_unique<testing::NamedBitmap>(path.filename().string());
    }

    std::map<std::string, int> results; // path -> status the decoder reports
    std::vector<std::filesystem::path> requested;
};

std::string nameOf(const std::unique_ptr<ArtworkImage>& image) {
    const auto* bitmap = dynamic_cast<const testing::NamedBitmap*>(bitmapOf(image));
    return bitmap != nullptr ? bitmap->name : "null";
}

std::vector<std::string> allFileNames() {
    std::vector<std::string> names = {"background.png", "wedge.png", "one_year.png",
                                      "two_years.png"};
    for (int years = 2; years <= 22; ++years) {
        names.push_back("badge" + std::to_string(years) + ".png");
    }
    return names;
}

TEST(LoadImageSet, ReadsEveryPictureFromTheDataFolderInOrder) {
    TableDecoder decoder;
    const std::filesystem::path folder = "/opt/tanu/data";
    for (const auto& name : allFileNames()) {
        decoder.results[(folder / name).string()] = DrawStatus::Ok;
    }
    ImageSet images;
    loadImageSet(images, folder, decoder);

    std::vector<std::filesystem::path> expected;
    for (const auto& name : allFileNames()) {
        expected.push_back(folder / name);
    }
    EXPECT_EQ(decoder.requested, expected);
    EXPECT_EQ(nameOf(images.background), "background.png");
    EXPECT_EQ(nameOf(images.wedge), "wedge.png");
    EXPECT_EQ(nameOf(images.oneYearLegend), "one_year.png");
    EXPECT_EQ(nameOf(images.twoYearsLegend), "two_years.png");
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        EXPECT_EQ(nameOf(images.badges[k]), "badge" + std::to_string(k + 2) + ".png");
        EXPECT_EQ(images.badges[k]->status, DrawStatus::Ok);
    }
}

TEST(LoadImageSet, AFailingFileLeavesANullBitmapWithItsStatusAndNothingElse) {
    TableDecoder decoder;
    const std::filesystem::path folder = "data";
    for (const auto& name : allFileNames()) {
        decoder.results[(folder / name).string()] = DrawStatus::Ok;
    }
    decoder.results.erase((folder / "badge7.png").string()); // missing
    decoder.results[(folder / "two_years.png").string()] = DrawStatus::UnknownImageFormat;

    ImageSet images;
    loadImageSet(images, "data", decoder);

    ASSERT_NE(images.badges[5], nullptr);
    EXPECT_EQ(bitmapOf(images.badges[5]), nullptr);
    EXPECT_EQ(images.badges[5]->status, DrawStatus::FileNotFound);
    ASSERT_NE(images.twoYearsLegend, nullptr);
    EXPECT_EQ(bitmapOf(images.twoYearsLegend), nullptr);
    EXPECT_EQ(images.twoYearsLegend->status, DrawStatus::UnknownImageFormat);
    EXPECT_EQ(nameOf(images.oneYearLegend), "one_year.png");
    EXPECT_EQ(nameOf(images.badges[4]), "badge6.png");
    EXPECT_EQ(nameOf(images.badges[6]), "badge8.png");
}

// A decoder that fails without giving a reason.
class SilentDecoder : public ImageDecoder {
public:
    std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path&, int&) override {
        return nullptr;
    }
};

TEST(LoadArtworkImage, AFailureWithoutAReasonStillLeavesAFailingStatus) {
    SilentDecoder decoder;
    const auto image = loadArtworkImage("data", u"background.png", decoder);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->bitmap, nullptr);
    EXPECT_NE(image->status, DrawStatus::Ok);
}

TEST(LoadArtworkImage, JoinsTheFolderAndAUtf16FileName) {
    TableDecoder decoder;
    loadArtworkImage(std::filesystem::path(u"/srv/d\u00e9j\u00e0/data"), u"caf\u00e9.png", decoder);
    ASSERT_EQ(decoder.requested.size(), 1u);
    const std::u16string separator(
        1, static_cast<char16_t>(std::filesystem::path::preferred_separator));
    EXPECT_EQ(decoder.requested[0].u16string(),
              u"/srv/d\u00e9j\u00e0/data" + separator + u"caf\u00e9.png");
}

TEST(ReleaseImageSet, ReleasesEveryMemberAndAReloadReplacesThem) {
    TableDecoder decoder;
    decoder.results[(std::filesystem::path("a") / "background.png").string()] = DrawStatus::Ok;
    ImageSet images = testing::namedImageSet();
    releaseImageSet(images);
    EXPECT_EQ(images.background, nullptr);
    EXPECT_EQ(images.wedge, nullptr);
    EXPECT_EQ(images.oneYearLegend, nullptr);
    EXPECT_EQ(images.twoYearsLegend, nullptr);
    for (const auto& badge : images.badges) {
        EXPECT_EQ(badge, nullptr);
    }

    images = testing::namedImageSet();
    loadImageSet(images, "a", decoder);
    EXPECT_EQ(nameOf(images.background), "background.png");
    EXPECT_EQ(nameOf(images.badges[0]), "null");
    releaseImageSet(images);
    releaseImageSet(images); // twice is harmless
    EXPECT_EQ(images.background, nullptr);
}

} // namespace
} // namespace tanu
