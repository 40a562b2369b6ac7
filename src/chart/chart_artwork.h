// The chart's pictures: where a program looks for them and how they are read.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

// A decoded picture; each toolkit derives its own.
class Bitmap {
public:
    virtual ~Bitmap() = default;
};

struct PictureSize {
    int width = 0;
    int height = 0;
};

enum class PictureFailure {
    None,
    Missing,     // no file of that name: the next folder is asked
    Unreadable,  // the file could not be read: reason says why
    NotAPicture, // not a picture the decoder knows, or damaged
    TooLarge,    // its header gives a size beyond the limit: size says which
};

// What a decoder makes of one file: the bitmap, or why there is none.
struct DecodedPicture {
    std::unique_ptr<Bitmap> bitmap;
    PictureFailure failure = PictureFailure::None;
    std::u16string reason;
    PictureSize size;
};

// Decodes picture files for the toolkit that draws them.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // The picture in the file at path. A picture whose header gives a width or height above
    // largest's is refused before anything is decoded: a few kilobytes of file can ask for
    // gigabytes of pixels.
    virtual DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) = 0;
    // The picture of that file name built into the program, for what no folder supplies; a
    // program without built-in pictures has none (Missing).
    virtual DecodedPicture decodeBuiltIn(std::u16string_view fileName, PictureSize largest) {
        (void)fileName;
        (void)largest;
        return {nullptr, PictureFailure::Missing, {}, {}};
    }
};

inline constexpr std::size_t BadgeCount = 21; // badge2.png .. badge22.png

// The pictures, each null when it could not be loaded. Held by value: they are released with
// the set (a shell keeps its drawing library up until then).
struct ImageSet {
    std::unique_ptr<Bitmap> background;
    std::unique_ptr<Bitmap> wedge;
    std::unique_ptr<Bitmap> oneYearLegend;
    std::unique_ptr<Bitmap> twoYearsLegend;
    std::array<std::unique_ptr<Bitmap>, BadgeCount> badges; // entry k shows k + 2 years

    // One sentence for each picture that is there but not used, naming its file and why.
    std::vector<std::u16string> problems;
    // The file names found in no folder and not built into the program.
    std::vector<std::u16string> missing;
};

// The folders a program reads its pictures from, most particular first: each picture comes
// from the first of them that holds a file of its name, so a school replaces one picture by
// putting only that file into a folder of its own, where no package upgrade touches it.
struct ArtworkEnvironment {
    bool windows = false;
    std::filesystem::path dataHome;    // POSIX: $XDG_DATA_HOME, empty when unset
    std::filesystem::path home;        // POSIX: $HOME
    std::filesystem::path programData; // Windows: %ProgramData%
};
// POSIX: the user's $XDG_DATA_HOME/tanu/data (~/.local/share/tanu/data), then the machine's
// /usr/local/share/tanu/data, then the shipped pictures: data beside the program (a build
// tree), then ../share/tanu/data (an installed tree). Windows: %ProgramData%\TANU\data, then
// data beside the program.
std::vector<std::filesystem::path> artworkFolders(const std::filesystem::path& programFolder,
                                                  const ArtworkEnvironment& environment);

// The name of a picture's double-size file, for high-density screens: "@2x" before the
// extension (background@2x.png for background.png).
std::filesystem::path doubleSizePath(const std::filesystem::path& path);

// The largest picture a slot of the chart takes: four times the slot's size each way, room for
// double-size pictures and more.
PictureSize largestPictureFor(PictureSize slot);

std::unique_ptr<Bitmap> loadArtworkImage(const std::filesystem::path& dataFolder,
                                         std::u16string_view fileName, ImageDecoder& decoder);
ImageSet loadImageSet(const std::vector<std::filesystem::path>& folders, ImageDecoder& decoder);
ImageSet loadImageSet(const std::filesystem::path& dataFolder, ImageDecoder& decoder);

// The bitmap of a picture, or null when it is missing.
inline const Bitmap* bitmapOf(const std::unique_ptr<Bitmap>& image) {
    return image.get();
}

} // namespace tanu
