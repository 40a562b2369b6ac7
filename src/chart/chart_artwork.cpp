#include "chart/chart_artwork.h"

#include "chart/chart_texts.h"
#include "chart/layout.h"
#include "model/text.h"

#include <algorithm>
#include <string>

namespace tanu {

namespace {

// How many times its slot's size a picture may be, each way.
constexpr int LargestPictureFactor = 4;

constexpr PictureSize ChartSlot{ChartWidth, ChartHeight};

std::u16string badgeFileName(std::size_t entry) {
    return u"badge" + widenText(std::to_string(entry + 2)) + u".png";
}

// The size a picture is drawn at; the wedge picture, never drawn, is held to the whole chart.
PictureSize slotOf(std::u16string_view fileName) {
    if (fileName == u"one_year.png" || fileName == u"two_years.png") {
        return {LegendRect.width, LegendRect.height};
    }
    if (fileName.starts_with(u"badge")) {
        return {BadgeWidth, BadgeHeight};
    }
    return ChartSlot;
}

std::u16string sizeText(PictureSize size) {
    return widenText(std::to_string(size.width) + " x " + std::to_string(size.height));
}

// The path as a message shows it; a name the system cannot spell in UTF-16 is shown by its
// file name alone.
std::u16string displayName(const std::filesystem::path& file, std::u16string_view fileName) {
    try {
        return file.u16string();
    } catch (...) {
        return std::u16string(fileName);
    }
}

std::u16string problemText(const std::u16string& name, const DecodedPicture& picture,
                           PictureSize largest) {
    switch (picture.failure) {
    case PictureFailure::TooLarge:
        return fillMessage(PictureTooLargeText, {name, sizeText(picture.size), sizeText(largest)});
    case PictureFailure::Unreadable:
        return fillMessage(PictureUnreadableText, {name, picture.reason});
    case PictureFailure::NotAPicture:
        return fillMessage(PictureNotAPictureText, {name});
    case PictureFailure::None:
    case PictureFailure::Missing:
        break;
    }
    return {};
}

// The picture of that name from the first folder that has one, else the one built into the
// program; a problem or a missing name is noted in the set.
std::unique_ptr<Bitmap> loadPicture(const std::vector<std::filesystem::path>& folders,
                                    std::u16string_view fileName, ImageDecoder& decoder,
                                    ImageSet& set) {
    const PictureSize largest = largestPictureFor(slotOf(fileName));
    for (const std::filesystem::path& folder : folders) {
        const std::filesystem::path file = folder / std::filesystem::path(std::u16string(fileName));
        DecodedPicture picture = decoder.decodeFile(file, largest);
        if (picture.failure == PictureFailure::Missing) {
            continue;
        }
        if (picture.failure != PictureFailure::None) {
            set.problems.push_back(problemText(displayName(file, fileName), picture, largest));
        }
        return std::move(picture.bitmap);
    }
    DecodedPicture builtIn = decoder.decodeBuiltIn(fileName, largest);
    if (builtIn.failure == PictureFailure::Missing) {
        set.missing.emplace_back(fileName);
    } else if (builtIn.failure != PictureFailure::None) {
        set.problems.push_back(problemText(std::u16string(fileName), builtIn, largest));
    }
    return std::move(builtIn.bitmap);
}

} // namespace

std::vector<std::filesystem::path> artworkFolders(const std::filesystem::path& programFolder,
                                                  const ArtworkEnvironment& environment) {
    std::vector<std::filesystem::path> folders;
    const auto add = [&folders](const std::filesystem::path& folder) {
        const std::filesystem::path normal = folder.lexically_normal();
        if (std::find(folders.begin(), folders.end(), normal) == folders.end()) {
            folders.push_back(normal);
        }
    };
    if (environment.windows) {
        if (!environment.programData.empty()) {
            add(environment.programData / "TANU" / "data");
        }
        add(programFolder / "data");
        return folders;
    }
    // A relative $XDG_DATA_HOME is to be ignored, as if it were unset.
    if (environment.dataHome.is_absolute()) {
        add(environment.dataHome / "tanu" / "data");
    } else if (environment.home.is_absolute()) {
        add(environment.home / ".local" / "share" / "tanu" / "data");
    }
    add("/usr/local/share/tanu/data");
    add(programFolder / "data");
    add(programFolder.parent_path() / "share" / "tanu" / "data");
    return folders;
}

std::filesystem::path doubleSizePath(const std::filesystem::path& path) {
    std::filesystem::path name = path.stem();
    name += "@2x";
    name += path.extension();
    return path.parent_path() / name;
}

PictureSize largestPictureFor(PictureSize slot) {
    return {slot.width * LargestPictureFactor, slot.height * LargestPictureFactor};
}

std::unique_ptr<Bitmap> loadArtworkImage(const std::filesystem::path& dataFolder,
                                         std::u16string_view fileName, ImageDecoder& decoder) {
    ImageSet ignored;
    return loadPicture({dataFolder}, fileName, decoder, ignored);
}

ImageSet loadImageSet(const std::vector<std::filesystem::path>& folders, ImageDecoder& decoder) {
    ImageSet images;
    images.background = loadPicture(folders, u"background.png", decoder, images);
    images.wedge = loadPicture(folders, u"wedge.png", decoder, images);
    images.oneYearLegend = loadPicture(folders, u"one_year.png", decoder, images);
    images.twoYearsLegend = loadPicture(folders, u"two_years.png", decoder, images);
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        images.badges[k] = loadPicture(folders, badgeFileName(k), decoder, images);
    }
    return images;
}

ImageSet loadImageSet(const std::filesystem::path& dataFolder, ImageDecoder& decoder) {
    return loadImageSet(std::vector<std::filesystem::path>{dataFolder}, decoder);
}

} // namespace tanu
