// Shared by the GDI+ tests: GDI+ for the whole run, bitmaps in memory, their pixels, and files
// found beside the test program.
#pragma once

#include "shell/win32/gdiplus_api.h"

#include "pixel_difference.h"

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

Pixels readPixels(win32::gdip::GpBitmap* bitmap);

// Saves as PNG; false when GDI+ could not.
bool savePng(win32::gdip::GpBitmap* bitmap, const std::filesystem::path& file);

} // namespace tanu::testing
