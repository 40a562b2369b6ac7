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
    // Null when the file is missing, unreadable or not a picture; status says why (0 = ok).
    virtual std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path, int& status) = 0;
};

struct ArtworkImage {
    std::unique_ptr<Bitmap> bitmap; // null when loading failed
    int status = 0;
};

inline constexpr std::size_t BadgeCount = 21; // badge2.png .. badge22.png

struct ImageSet {
    std::unique_ptr<ArtworkImage> background;
    std::unique_ptr<ArtworkImage> wedge;
    std::unique_ptr<ArtworkImage> oneYearLegend;
    std::unique_ptr<ArtworkImage> twoYearsLegend;
    std::array<std::unique_ptr<ArtworkImage>, BadgeCount> badges; // entry k shows k + 2 years
};

std::unique_ptr<ArtworkImage> loadArtworkImage(const std::filesystem::path& dataFolder,
                                               std::u16string_view fileName, ImageDecoder& decoder);
void loadImageSet(ImageSet& images, const std::filesystem::path& dataFolder, ImageDecoder& decoder);
void releaseImageSet(ImageSet& images);

// The bitmap of a picture, or null when it is missing.
const Bitmap* bitmapOf(const std::unique_ptr<ArtworkImage>& image);

} // namespace tanu
