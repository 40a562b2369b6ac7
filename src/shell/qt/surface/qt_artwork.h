// The chart's pictures as QImages, decoded by Qt.
#pragma once

#include "chart/chart_artwork.h"

#include <QImage>

namespace tanu {

class QtBitmap final : public Bitmap {
public:
    explicit QtBitmap(QImage image) : image_(std::move(image)) {}
    const QImage& image() const { return image_; }

private:
    QImage image_;
};

// Decodes with QImage and keeps each picture in the format a raster painter blends fastest.
class QtImageDecoder final : public ImageDecoder {
public:
    std::unique_ptr<Bitmap> decodeFile(const std::filesystem::path& path, int& status) override;
};

} // namespace tanu
