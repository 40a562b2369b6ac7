#include "shell/win32/gdiplus_artwork.h"

#include "shell/win32/gdiplus_api.h"

namespace tanu {

GdiplusSession::GdiplusSession() {
    // Version 1, no debug callback, GDI+'s own background thread and external codecs allowed.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    started_ = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    token_ = token;
}

GdiplusSession::~GdiplusSession() {
    if (started_) {
        Gdiplus::GdiplusShutdown(token_);
    }
}

GdiplusBitmap::~GdiplusBitmap() {
    if (bitmap_ != nullptr) {
        gdip::GdipDisposeImage(bitmap_);
    }
}

std::unique_ptr<Bitmap> GdiplusImageDecoder::decodeFile(const std::filesystem::path& path) {
    gdip::GpBitmap* bitmap = nullptr;
    // The native path is already UTF-16 on Windows.
    const gdip::GpStatus result = gdip::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    if (result != Gdiplus::Ok || bitmap == nullptr) {
        if (bitmap != nullptr) {
            gdip::GdipDisposeImage(bitmap);
        }
        return nullptr;
    }
    return std::make_unique<GdiplusBitmap>(bitmap);
}

} // namespace tanu
