#include "gdiplus_test_support.h"

#include "shell/win32/gdiplus_artwork.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tanu::testing {

namespace {

// GDI+ runs from before the first test until after the last one.
class GdiplusEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        session_ = std::make_unique<win32::GdiplusSession>();
        ASSERT_TRUE(session_->started()) << "GDI+ did not start";
    }
    void TearDown() override { session_.reset(); }

private:
    std::unique_ptr<win32::GdiplusSession> session_;
};

[[maybe_unused]] ::testing::Environment* const environment =
    ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace

std::filesystem::path programFolder() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
}

Canvas::Canvas(int width, int height, Gdiplus::ARGB fill) {
    win32::gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr,
                                           &bitmap_);
    win32::gdip::GpGraphics* graphics = nullptr;
    if (bitmap_ != nullptr &&
        win32::gdip::GdipGetImageGraphicsContext(bitmap_, &graphics) == Gdiplus::Ok) {
        win32::gdip::GdipGraphicsClear(graphics, fill);
        win32::gdip::GdipDeleteGraphics(graphics);
    }
}

Canvas::~Canvas() {
    if (bitmap_ != nullptr) {
        win32::gdip::GdipDisposeImage(bitmap_);
    }
}

Pixels readPixels(win32::gdip::GpBitmap* bitmap) {
    Pixels pixels;
    UINT width = 0;
    UINT height = 0;
    if (bitmap == nullptr || win32::gdip::GdipGetImageWidth(bitmap, &width) != Gdiplus::Ok ||
        win32::gdip::GdipGetImageHeight(bitmap, &height) != Gdiplus::Ok) {
        return pixels;
    }
    const Gdiplus::Rect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (win32::gdip::GdipBitmapLockBits(bitmap, &all, Gdiplus::ImageLockModeRead,
                                        PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return pixels;
    }
    pixels.width = static_cast<int>(width);
    pixels.height = static_cast<int>(height);
    pixels.argb.resize(static_cast<std::size_t>(width) * height);
    for (UINT y = 0; y < height; ++y) {
        const auto* row = static_cast<const unsigned char*>(data.Scan0) +
                          static_cast<std::ptrdiff_t>(y) * data.Stride;
        std::memcpy(&pixels.argb[static_cast<std::size_t>(y) * width], row, width * 4);
    }
    win32::gdip::GdipBitmapUnlockBits(bitmap, &data);
    return pixels;
}

bool savePng(win32::gdip::GpBitmap* bitmap, const std::filesystem::path& file) {
    // GDI+'s PNG encoder.
    const CLSID png{0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    return win32::gdip::GdipSaveImageToFile(bitmap, file.c_str(), &png, nullptr) == Gdiplus::Ok;
}

} // namespace tanu::testing
