// Shared by the GDI+ tests: GDI+ for the whole run, bitmaps in memory, their pixels, and files
// found beside the test program.
#pragma once

#include "shell/win32/gdiplus_api.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace tanu::testing {

// The folder of the running program: the test's data is copied there.
std::filesystem::path programFolder();

// A 32-bit ARGB bitmap in memory, disposed with the object.
class Canvas {
public:
    Canvas(int width, int height, Gdiplus::ARGB fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    win32::gdip::GpBitmap* bitmap() const { return bitmap_; }

private:
    win32::gdip::GpBitmap* bitmap_ = nullptr;
};

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

Pixels readPixels(win32::gdip::GpBitmap* bitmap);

// Pixels of a whose colour lies outside the range of colours (channel by channel, widened by the
// tolerance) that b holds within the radius of the same place. So an antialiased edge matches
// the two sides of an aliased one, and shapes may lie a pixel apart; but a colour or a stroke
// that b lacks there still counts.
int outsideRange(const Pixels& a, const Pixels& b, int radius, int tolerance);
// The radius and tolerance Wine's pictures are held to against the golden ones.
inline constexpr int ShapeRadius = 2;
inline constexpr int ColourTolerance = 32;
// Saves as PNG; false when GDI+ could not.
bool savePng(win32::gdip::GpBitmap* bitmap, const std::filesystem::path& file);

} // namespace tanu::testing
