// GDI+ itself, and the chart's pictures as GDI+ bitmaps decoded from their files or from the
// copies built into the program.
#pragma once

#include "chart/chart_artwork.h"

#include <cstdint>

struct IStream;

namespace Gdiplus {
class GpBitmap;
}

namespace tanu::win32 {

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

// One GDI+ bitmap with the stream it was read from, where GDI+ keeps reading it; both go with
// the object.
class GdiplusImage {
public:
    GdiplusImage() = default;
    GdiplusImage(Gdiplus::GpBitmap* bitmap, IStream* stream) : bitmap_(bitmap), stream_(stream) {}
    ~GdiplusImage();
    GdiplusImage(GdiplusImage&& other) noexcept;
    GdiplusImage& operator=(GdiplusImage&& other) noexcept;
    GdiplusImage(const GdiplusImage&) = delete;
    GdiplusImage& operator=(const GdiplusImage&) = delete;

    Gdiplus::GpBitmap* handle() const { return bitmap_; }

private:
    Gdiplus::GpBitmap* bitmap_ = nullptr;
    IStream* stream_ = nullptr;
};

// A decoded picture, with the same picture drawn at twice the size where there is one.
class GdiplusBitmap final : public Bitmap {
public:
    explicit GdiplusBitmap(GdiplusImage image, GdiplusImage doubleSize = {})
        : image_(std::move(image)), doubleSize_(std::move(doubleSize)) {}

    Gdiplus::GpBitmap* handle() const { return image_.handle(); }
    // The picture to draw at scale device pixels per chart unit: the double-size one above
    // 1.25, where there is one.
    Gdiplus::GpBitmap* handleFor(float scale) const;

private:
    GdiplusImage image_;
    GdiplusImage doubleSize_;
};

// Decodes with GDI+ once Windows' imaging component has read the picture's size from its header;
// the program's own pictures come from its RCDATA resources, named as the files. With doubleSize
// set each picture's "@2x" companion is read too, from the same place.
class GdiplusImageDecoder final : public ImageDecoder {
public:
    explicit GdiplusImageDecoder(bool doubleSize = false) : doubleSize_(doubleSize) {}
    DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) override;
    DecodedPicture decodeBuiltIn(std::u16string_view fileName, PictureSize largest) override;

private:
    bool doubleSize_;
};

} // namespace tanu::win32
