// The chart's pictures as QImages, decoded by Qt.
#pragma once

#include "chart/chart_artwork.h"

#include <QImage>

namespace tanu {

class QtBitmap final : public Bitmap {
public:
    explicit QtBitmap(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }

    // The picture resampled to a size in device pixels, tagged with the device's pixel ratio so
    // that it is copied pixel for pixel. Made on first need and kept for the next paint, since
    // a high-density window scales its pictures the same way every time.
    const QImage& scaledTo(QSize devicePixels, qreal pixelRatio) const;

private:
    QImage image_;
    mutable QImage scaled_;
};

// Decodes with QImage and keeps each picture in the format a raster painter blends fastest.
class QtImageDecoder final : public ImageDecoder {
public:
    std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path, int& status) override;
};

} // namespace tanu
