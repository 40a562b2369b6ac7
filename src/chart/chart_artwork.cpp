#include "chart/chart_artwork.h"

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

std::unique_ptr<Bitmap> loadArtworkImage(const std::filesystem::path& dataFolder,
                                         std::u16string_view fileName, ImageDecoder& decoder) {
    return decoder.decodeFile(dataFolder / std::filesystem::path(std::u16string(fileName)));
}

ImageSet loadImageSet(const std::filesystem::path& dataFolder, ImageDecoder& decoder) {
    ImageSet images;
    images.background = loadArtworkImage(dataFolder, u"background.png", decoder);
    images.wedge = loadArtworkImage(dataFolder, u"wedge.png", decoder);
    images.oneYearLegend = loadArtworkImage(dataFolder, u"one_year.png", decoder);
    images.twoYearsLegend = loadArtworkImage(dataFolder, u"two_years.png", decoder);
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        images.badges[k] = loadArtworkImage(dataFolder, badgeFileName(k), decoder);
    }
    return images;
}

} // namespace tanu
