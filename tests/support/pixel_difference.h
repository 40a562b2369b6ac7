// One way for every picture test to tell how far two pictures of the same size are apart, on
// 0xAARRGGBB pixels, so the Qt, export and GDI+ tests judge "the same picture" alike.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

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

// A picture's pixels as straight (not premultiplied) ARGB words, row by row.
struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;

    std::uint32_t at(int x, int y) const {
        return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                    static_cast<std::size_t>(x)];
    }
};

// Pixels of a whose colour lies outside the range of colours (channel by channel, widened by the
// tolerance) that b holds within the radius of the same place. So an antialiased edge matches
// the two sides of an aliased one, and shapes may lie a pixel apart; but a colour or a stroke
// that b lacks there still counts.
inline int outsideRange(const Pixels& a, const Pixels& b, int radius, int tolerance) {
    const auto channel = [](std::uint32_t argb, int shift) {
        return static_cast<int>((argb >> shift) & 0xFFu);
    };
    int count = 0;
    for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
            bool inside = true;
            for (const int shift : {16, 8, 0}) {
                int low = 255;
                int high = 0;
                for (int v = std::max(0, y - radius); v <= std::min(b.height - 1, y + radius);
                     ++v) {
                    for (int u = std::max(0, x - radius); u <= std::min(b.width - 1, x + radius);
                         ++u) {
                        low = std::min(low, channel(b.at(u, v), shift));
                        high = std::max(high, channel(b.at(u, v), shift));
                    }
                }
                const int c = channel(a.at(x, y), shift);
                inside = inside && c >= low - tolerance && c <= high + tolerance;
            }
            count += inside ? 0 : 1;
        }
    }
    return count;
}

// The radius and tolerance a picture drawn by another toolkit (GDI+ under Wine, a browser's
// canvas) is held to against the golden ones, which Qt draws.
inline constexpr int ShapeRadius = 2;
inline constexpr int ColourTolerance = 32;

} // namespace tanu::testing
