// The chart's pictures, read from the data folder beside the executable.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string_view>

namespace tanu {

// A decoded picture; each toolkit derives its own.
class Bitmap {
public:
    virtual ~Bitmap() = default;
};

// Decodes picture files for the toolkit that draws them.
class ImageDecoder {
public:
    virtual ~ImageDecoder() = default;
    // Null when the file is missing, unreadable or not a picture.
    virtual std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path) = 0;
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
};

std::unique_ptr<Bitmap> loadArtworkImage(const std::filesystem::path& dataFolder,
                                         std::u16string_view fileName, ImageDecoder& decoder);
ImageSet loadImageSet(const std::filesystem::path& dataFolder, ImageDecoder& decoder);

// The bitmap of a picture, or null when it is missing.
inline const Bitmap* bitmapOf(const std::unique_ptr<Bitmap>& image) {
    return image.get();
}

} // namespace tanu
