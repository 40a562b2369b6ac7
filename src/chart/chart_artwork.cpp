#include "chart/chart_artwork.h"

#include "chart/drawing_surface.h"

#include <string>

namespace tanu {

namespace {

std::u16string badgeFileName(std::size_t entry) {
    const std::string years = std::to_string(entry + 2);
    std::u16string name = u"badge";
    name.append(years.begin(), years.end());
    name += u".png";
    return name;
}

} // namespace

std::unique_ptr<ArtworkImage> loadArtworkImage(const std::filesystem::path& dataFolder,
                                               std::u16string_view fileName,
                                               ImageDecoder& decoder) {
    auto image = std::make_unique<ArtworkImage>();
    const std::filesystem::path file = dataFolder / std::filesystem::path(std::u16string(fileName));
    image->bitmap = decoder.decodeFile(file, image->status);
    // A decoder that fails without saying why still leaves a failing status behind.
    if (!image->bitmap && image->status == DrawStatus::Ok) {
        image->status = DrawStatus::GenericError;
    }
    return image;
}

void loadImageSet(ImageSet& images, const std::filesystem::path& dataFolder,
                  ImageDecoder& decoder) {
    images.background = loadArtworkImage(dataFolder, u"background.png", decoder);
    images.wedge = loadArtworkImage(dataFolder, u"wedge.png", decoder);
    images.oneYearLegend = loadArtworkImage(dataFolder, u"one_year.png", decoder);
    images.twoYearsLegend = loadArtworkImage(dataFolder, u"two_years.png", decoder);
    for (auto& badge : images.badges) {
        badge.reset();
    }
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        images.badges[k] = loadArtworkImage(dataFolder, badgeFileName(k), decoder);
    }
}

void releaseImageSet(ImageSet& images) {
    images.background.reset();
    images.wedge.reset();
    images.oneYearLegend.reset();
    images.twoYearsLegend.reset();
    for (auto& badge : images.badges) {
        badge.reset();
    }
}

const Bitmap* bitmapOf(const std::unique_ptr<ArtworkImage>& image) {
    return image ? image->bitmap.get() : nullptr;
}

} // namespace tanu
