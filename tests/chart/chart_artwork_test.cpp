#include "chart/chart_artwork.h"

#include "recording_surface.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace tanu {
namespace {

// Decodes from a table of file paths; anything not in it is missing.
class TableDecoder : public ImageDecoder {
public:
    DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) override {
        requested.push_back(path);
        limits.push_back(largest);
        const std::string name = path.generic_string();
        if (const auto failing = failures.find(name); failing != failures.end()) {
            return {nullptr, failing->second, u"Permission denied.", {9000, 12}};
        }
        if (pictures.count(name) == 0) {
            return {nullptr, PictureFailure::Missing, {}, {}};
        }
        return {std::make_unique<testing::NamedBitmap>(name), PictureFailure::None, {}, {}};
    }
    DecodedPicture decodeBuiltIn(std::u16string_view fileName, PictureSize) override {
        const std::string name(fileName.begin(), fileName.end());
        if (builtIn.count(name) == 0) {
            return {nullptr, PictureFailure::Missing, {}, {}};
        }
        return {std::make_unique<testing::NamedBitmap>("built-in " + name), PictureFailure::None,
                {}, {}};
    }

    std::set<std::string> pictures; // the paths that decode
    std::set<std::string> builtIn;  // the file names the program has in itself
    std::map<std::string, PictureFailure> failures;
    std::vector<std::filesystem::path> requested;
    std::vector<PictureSize> limits;
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
        decoder.pictures.insert((folder / name).generic_string());
    }
    const ImageSet images = loadImageSet(folder, decoder);

    std::vector<std::filesystem::path> expected;
    for (const auto& name : allFileNames()) {
        expected.push_back(folder / name);
    }
    EXPECT_EQ(decoder.requested, expected);
    EXPECT_EQ(nameOf(images.background), "/opt/tanu/data/background.png");
    EXPECT_EQ(nameOf(images.wedge), "/opt/tanu/data/wedge.png");
    EXPECT_EQ(nameOf(images.oneYearLegend), "/opt/tanu/data/one_year.png");
    EXPECT_EQ(nameOf(images.twoYearsLegend), "/opt/tanu/data/two_years.png");
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        EXPECT_EQ(nameOf(images.badges[k]),
                  "/opt/tanu/data/badge" + std::to_string(k + 2) + ".png");
    }
    // Four times the slot each way: the chart, the chart again for the undrawn wedge, the
    // legends, the badges.
    EXPECT_EQ(decoder.limits[0].width, 3648);
    EXPECT_EQ(decoder.limits[0].height, 2796);
    EXPECT_EQ(decoder.limits[1].width, 3648);
    EXPECT_EQ(decoder.limits[2].width, 576);
    EXPECT_EQ(decoder.limits[3].height, 472);
    EXPECT_EQ(decoder.limits[4].width, 64);
    EXPECT_EQ(decoder.limits[24].height, 48);
    EXPECT_TRUE(images.problems.empty());
    EXPECT_TRUE(images.missing.empty());
}

// A school's own pictures come first, picture by picture; one that is there but unusable is
// not replaced by the next folder's, and is named. What no folder has comes from the program.
TEST(LoadImageSet, EachPictureFromTheFirstFolderThatHasIt) {
    TableDecoder decoder;
    const std::vector<std::filesystem::path> folders = {
        "/home/t/.local/share/tanu/data", "/usr/local/share/tanu/data", "/usr/share/tanu/data"};
    for (const auto& name : allFileNames()) {
        if (name != "badge7.png" && name != "badge9.png") {
            decoder.pictures.insert((folders[2] / name).generic_string());
        }
    }
    decoder.builtIn = {"badge9.png", "background.png"};
    decoder.pictures.insert((folders[1] / "background.png").generic_string());
    decoder.pictures.insert((folders[0] / "background.png").generic_string());
    decoder.pictures.insert((folders[1] / "badge3.png").generic_string());
    decoder.failures[(folders[1] / "one_year.png").generic_string()] = PictureFailure::TooLarge;
    decoder.failures[(folders[0] / "two_years.png").generic_string()] = PictureFailure::Unreadable;
    decoder.failures[(folders[2] / "wedge.png").generic_string()] = PictureFailure::NotAPicture;

    const ImageSet images = loadImageSet(folders, decoder);
    EXPECT_EQ(nameOf(images.background), "/home/t/.local/share/tanu/data/background.png");
    EXPECT_EQ(nameOf(images.badges[1]), "/usr/local/share/tanu/data/badge3.png");
    EXPECT_EQ(nameOf(images.badges[2]), "/usr/share/tanu/data/badge4.png");
    EXPECT_EQ(images.oneYearLegend, nullptr);
    EXPECT_EQ(images.twoYearsLegend, nullptr);
    EXPECT_EQ(images.wedge, nullptr);
    EXPECT_EQ(images.badges[5], nullptr);
    EXPECT_EQ(nameOf(images.badges[7]), "built-in badge9.png");
    const auto named = [](const std::filesystem::path& file) {
        std::u16string quoted(1, u'"');
        quoted += file.u16string();
        quoted.push_back(u'"');
        return quoted;
    };
    EXPECT_EQ(images.problems,
              (std::vector<std::u16string>{
                  u"The picture " + named(folders[2] / "wedge.png") +
                      u" is not used: it is not a picture TANU can read.",
                  u"The picture " + named(folders[1] / "one_year.png") +
                      u" is not used: it is 9000 x 12 pixels, and TANU takes at most 576 x 472 "
                      u"for it.",
                  u"The picture " + named(folders[0] / "two_years.png") +
                      u" is not used: it could not be read. Permission denied."}));
    EXPECT_EQ(images.missing, std::vector<std::u16string>{u"badge7.png"});
}

TEST(ArtworkFolders, TheUsersThenTheMachinesThenTheShippedPictures) {
    const struct {
        const char* name;
        ArtworkEnvironment environment;
        const char* program;
        std::vector<std::filesystem::path> folders;
    } rows[] = {
        {"installed",
         {false, "", "/home/t", ""},
         "/usr/bin",
         {"/home/t/.local/share/tanu/data", "/usr/local/share/tanu/data", "/usr/bin/data",
          "/usr/share/tanu/data"}},
        {"XDG_DATA_HOME set",
         {false, "/data/t", "/home/t", ""},
         "/opt/tanu/bin",
         {"/data/t/tanu/data", "/usr/local/share/tanu/data", "/opt/tanu/bin/data",
          "/opt/tanu/share/tanu/data"}},
        {"a relative XDG_DATA_HOME counts as unset",
         {false, "rel", "/home/t", ""},
         "/usr/bin",
         {"/home/t/.local/share/tanu/data", "/usr/local/share/tanu/data", "/usr/bin/data",
          "/usr/share/tanu/data"}},
        {"no home, installed under /usr/local",
         {false, "", "", ""},
         "/usr/local/bin",
         {"/usr/local/share/tanu/data", "/usr/local/bin/data"}},
        {"Windows",
         {true, "/data/t", "/home/t", "/ProgramData"},
         "/Apps/TANU",
         {"/ProgramData/TANU/data", "/Apps/TANU/data"}},
        {"Windows without ProgramData", {true, "", "", ""}, "/Apps/TANU", {"/Apps/TANU/data"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // POSIX folders are not absolute where paths start with a drive.
        if (!row.environment.windows && !std::filesystem::path("/home").is_absolute()) {
            continue;
        }
        EXPECT_EQ(artworkFolders(row.program, row.environment), row.folders);
    }
}

TEST(LoadImageSet, AFailingFileLeavesItsPictureNullAndNothingElse) {
    TableDecoder decoder;
    const std::filesystem::path folder = "data";
    for (const auto& name : allFileNames()) {
        decoder.pictures.insert((folder / name).generic_string());
    }
    decoder.pictures.erase((folder / "badge7.png").generic_string());
    decoder.pictures.erase((folder / "two_years.png").generic_string());

    const ImageSet images = loadImageSet("data", decoder);

    EXPECT_EQ(images.badges[5], nullptr);
    EXPECT_EQ(images.twoYearsLegend, nullptr);
    EXPECT_EQ(nameOf(images.oneYearLegend), "data/one_year.png");
    EXPECT_EQ(nameOf(images.badges[4]), "data/badge6.png");
    EXPECT_EQ(nameOf(images.badges[6]), "data/badge8.png");
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
