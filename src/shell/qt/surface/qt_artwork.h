// The chart's pictures as QImages, decoded by Qt.
#pragma once

#include "chart/chart_artwork.h"

#include <QImage>

namespace tanu::qt {

class QtBitmap final : public Bitmap {
public:
    // doubleSize, when given, is the same picture drawn at twice the size, for high-density
    // devices.
    explicit QtBitmap(QImage image, QImage doubleSize = {})
        : image_(std::move(image)), doubleSize_(std::move(doubleSize)) {
        // Marked for the devices it is drawn on, so that they copy it pixel for pixel.
        doubleSize_.setDevicePixelRatio(2);
    }
    const QImage& image() const { return image_; }
    const QImage& doubleSize() const { return doubleSize_; }

    // The picture with the most detail for drawing at scale device pixels per picture pixel:
    // the double-size one from a scale above 1 where there is one.
    const QImage& sourceFor(qreal scale) const;

private:
    QImage image_;
    QImage doubleSize_;
};

// Decodes with Qt's image readers and keeps each picture in the format a raster painter blends
// fastest. With doubleSize set it also reads the picture's "@2x" file beside it
// (background@2x.png for background.png), and keeps it when it shows the same picture at
// exactly twice the size; a school's own 1x picture next to our 2x one is thus drawn from its
// own pixels. Every file's size is read from its header before it is decoded.
class QtImageDecoder final : public ImageDecoder {
public:
    // Reads a picture file; a null image when it cannot.
    using Reader = QImage (*)(const QString& path);

    explicit QtImageDecoder(bool doubleSize = false, Reader read = nullptr)
        : doubleSize_(doubleSize), read_(read) {}
    DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) override;

private:
    // The picture of one file, or why there is none.
    struct Picture {
        QImage image;
        PictureFailure failure = PictureFailure::None;
        QString reason;
        QSize size;
    };
    Picture readPicture(const QString& file, PictureSize largest) const;

    bool doubleSize_;
    Reader read_;
};

// Whether doubleSize is image drawn at twice the size: its size is exactly twice, and the two,
// reduced to a coarse grid, nowhere differ by more than antialiasing and hinting make them.
bool showsSamePicture(const QImage& image, const QImage& doubleSize);
// The largest difference of a colour channel between the two, each reduced to cells of
// cellPixels square 1x pixels; -1 when doubleSize is not exactly twice the size.
int pictureDifference(const QImage& image, const QImage& doubleSize, int cellPixels);

} // namespace tanu::qt
