#include "chart/chart_artwork.h"

#include "recording_surface.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace tanu {
namespace {

// Decodes from a table of file paths; anything not in it is missing.
class TableDecoder : public ImageDecoder {
public:
    std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path) override {
        requested.push_back(path);
        if (pictures.count(path.string()) == 0) {
            return nullptr;
        }
        return std::make_unique<testing::NamedBitmap>(path.filename().string());
    }

    std::set<std::string> pictures; // the paths that decode
    std::vector<std::filesystem::path> requested;
};

std::string nameOf(const std::unique_ptr<Bitmap>& image) {
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
        decoder.pictures.insert((folder / name).string());
    }
    const ImageSet images = loadImageSet(folder, decoder);

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
    }
}

TEST(LoadImageSet, AFailingFileLeavesItsPictureNullAndNothingElse) {
    TableDecoder decoder;
    const std::filesystem::path folder = "data";
    for (const auto& name : allFileNames()) {
        decoder.pictures.insert((folder / name).string());
    }
    decoder.pictures.erase((folder / "badge7.png").string());
    decoder.pictures.erase((folder / "two_years.png").string());

    const ImageSet images = loadImageSet("data", decoder);

    EXPECT_EQ(images.badges[5], nullptr);
    EXPECT_EQ(images.twoYearsLegend, nullptr);
    EXPECT_EQ(nameOf(images.oneYearLegend), "one_year.png");
    EXPECT_EQ(nameOf(images.badges[4]), "badge6.png");
    EXPECT_EQ(nameOf(images.badges[6]), "badge8.png");
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

} // namespace
} // namespace tanu
