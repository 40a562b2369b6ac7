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

namespace {

int channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

} // namespace

// Pixels of one picture whose colour lies outside the range of colours (channel by channel,
// widened by the tolerance) that the other picture holds within the given radius of the same
// place. So an antialiased edge matches the two sides of an aliased one, and shapes may lie a
// pixel apart; but a colour or a stroke that the other picture lacks there still counts.
int outsideRange(const Pixels& a, const Pixels& b, int radius, int tolerance) {
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
