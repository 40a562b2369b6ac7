// GDI+ itself, and the chart's pictures as GDI+ bitmaps decoded from their files.
#pragma once

#include "chart/chart_artwork.h"

#include <cstdint>

namespace Gdiplus {
class GpBitmap;
}

namespace tanu {

// GDI+ running for as long as this lives. Every GDI+ object, pictures included, must be
// released before it ends.
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;

    bool started() const { return started_; }

private:
    std::uintptr_t token_ = 0;
    bool started_ = false;
};

// A decoded picture; disposes its GDI+ bitmap with itself.
class GdiplusBitmap final : public Bitmap {
public:
    explicit GdiplusBitmap(Gdiplus::GpBitmap* bitmap) : bitmap_(bitmap) {}
    ~GdiplusBitmap() override;
    GdiplusBitmap(const GdiplusBitmap&) = delete;
    GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;

    Gdiplus::GpBitmap* handle() const { return bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_;
};

// Decodes with GdipCreateBitmapFromFile, once Windows' imaging component has read the picture's
// size from its header.
class GdiplusImageDecoder final : public ImageDecoder {
public:
    DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) override;
};

} // namespace tanu
