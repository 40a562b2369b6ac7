// One way for every picture test to tell how far two pictures of the same size are apart, on
// 0xAARRGGBB pixels, so the Qt, export and GDI+ tests judge "the same picture" alike.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace tanu::testing {

// The largest difference of one channel: red, green and blue, and alpha when asked.
inline int channelDistance(std::uint32_t p, std::uint32_t q, bool withAlpha = false) {
    int largest = 0;
    for (const int shift : {16, 8, 0, 24}) {
        if (shift == 24 && !withAlpha) {
            continue;
        }
        const auto a = static_cast<int>((p >> shift) & 0xFFu);
        const auto b = static_cast<int>((q >> shift) & 0xFFu);
        largest = std::max(largest, std::abs(a - b));
    }
    return largest;
}

struct PixelDifference {
    std::size_t count = 0;      // pixels further apart than the tolerance
    std::size_t firstIndex = 0; // the first of them, row by row; meaningful when count > 0
    int largest = 0;            // the largest channelDistance over all pixels
};

// Compares pixel by pixel; both runs must be of the same length.
inline PixelDifference comparePixels(std::span<const std::uint32_t> a,
                                     std::span<const std::uint32_t> b, int tolerance,
                                     bool withAlpha = false) {
    PixelDifference d;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int distance = channelDistance(a[i], b[i], withAlpha);
        d.largest = std::max(d.largest, distance);
        if (distance > tolerance) {
            d.firstIndex = d.count == 0 ? i : d.firstIndex;
            ++d.count;
        }
    }
    return d;
}

} // namespace tanu::testing
