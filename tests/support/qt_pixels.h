// The pixel comparison of pixel_difference.h for QImage, and where a picture has ink.
#pragma once

#include "pixel_difference.h"

#include <QImage>
#include <QPoint>
#include <QRect>

#include <cstdint>
#include <span>

namespace tanu::testing {

// Two pictures of the same size, compared as 0xAARRGGBB (premultiplied alpha undone).
inline PixelDifference compareImages(const QImage& a, const QImage& b, int tolerance,
                                     bool withAlpha = false) {
    const QImage left = a.convertToFormat(QImage::Format_ARGB32);
    const QImage right = b.convertToFormat(QImage::Format_ARGB32);
    const auto pixels = [](const QImage& image) {
        return std::span<const std::uint32_t>(
            reinterpret_cast<const std::uint32_t*>(image.constBits()),
            static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height()));
    };
    if (left.size() != right.size()) {
        return {static_cast<std::size_t>(-1), 0, 255};
    }
    return comparePixels(pixels(left), pixels(right), tolerance, withAlpha);
}

// The pixel of a comparison's first difference.
inline QPoint pixelOfIndex(const QImage& image, std::size_t index) {
    const auto width = static_cast<std::size_t>(image.width());
    return {static_cast<int>(index % width), static_cast<int>(index / width)};
}

// The smallest rectangle holding every pixel with a colour channel below nearWhite.
inline QRect inkBounds(const QImage& image, int nearWhite) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) < nearWhite || qGreen(p) < nearWhite || qBlue(p) < nearWhite) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

} // namespace tanu::testing
