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

    gdip::GpBitmap* bitmap() const { return bitmap_; }

private:
    gdip::GpBitmap* bitmap_ = nullptr;
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

Pixels readPixels(gdip::GpBitmap* bitmap);
// Saves as PNG; false when GDI+ could not.
bool savePng(gdip::GpBitmap* bitmap, const std::filesystem::path& file);

} // namespace tanu::testing
