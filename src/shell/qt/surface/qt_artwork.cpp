#include "shell/qt/surface/qt_artwork.h"

#include "chart/drawing_surface.h"
#include "document/document_texts.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace tanu::qt {

namespace {

// Grid cells of this many 1x pixels: a changed label changes whole cells, while antialiasing
// and hinting only move a cell's mean a little.
constexpr int CellPixels = 8;
// The largest difference of one colour channel between a cell's means in a picture and in its
// double-size drawing. Measured: at most 14 on our own pictures; 55 for our background with
// one domain label renamed, 35 for the other legend. A badge with only its digit changed stays
// below it: badges are too small for the grid.
constexpr int MaxCellDifference = 24;

// Converted once here rather than on every paint.
QImage forPainting(QImage image) {
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    return image;
}

QImage coarse(const QImage& image, QSize cells) {
    return image.convertToFormat(QImage::Format_ARGB32)
        .scaled(cells, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

const QImage& QtBitmap::sourceFor(qreal scale) const {
    return scale > 1.0 && !doubleSize_.isNull() ? doubleSize_ : image_;
}

int pictureDifference(const QImage& image, const QImage& doubleSize, int cellPixels) {
    if (image.isNull() || doubleSize.size() != image.size() * 2) {
        return -1;
    }
    const QSize cells((image.width() + cellPixels - 1) / cellPixels,
                      (image.height() + cellPixels - 1) / cellPixels);
    const QImage a = coarse(image, cells);
    const QImage b = coarse(doubleSize, cells);
    int largest = 0;
    for (int y = 0; y < cells.height(); ++y) {
        const auto* lineA = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* lineB = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < cells.width(); ++x) {
            const QRgb p = lineA[x];
            const QRgb q = lineB[x];
            for (const int difference : {qRed(p) - qRed(q), qGreen(p) - qGreen(q),
                                         qBlue(p) - qBlue(q), qAlpha(p) - qAlpha(q)}) {
                largest = std::max(largest, std::abs(difference));
            }
        }
    }
    return largest;
}

bool showsSamePicture(const QImage& image, const QImage& doubleSize) {
    const int difference = pictureDifference(image, doubleSize, CellPixels);
    return difference >= 0 && difference <= MaxCellDifference;
}

QtImageDecoder::Picture QtImageDecoder::readPicture(const QString& file,
                                                    PictureSize largest) const {
    const QFileInfo info(file);
    if (!info.exists()) {
        return {{}, PictureFailure::Missing, {}, {}};
    }
    // A folder or a FIFO: nothing to decode, and a FIFO would block the open.
    if (!info.isFile()) {
        return {{},
                PictureFailure::Unreadable,
                QString::fromStdU16String(std::u16string(NotRegularFileReason)),
                {}};
    }
    QFile device(file);
    if (!device.open(QIODevice::ReadOnly)) {
        return {{}, PictureFailure::Unreadable, device.errorString() + QLatin1Char('.'), {}};
    }
    QImageReader reader(&device);
    const QSize size = reader.size();
    if (!size.isValid()) {
        return {{}, PictureFailure::NotAPicture, {}, {}};
    }
    if (size.width() > largest.width || size.height() > largest.height) {
        return {{}, PictureFailure::TooLarge, {}, size};
    }
    QImage image;
    if (read_ != nullptr) {
        device.close();
        image = read_(file);
    } else {
        image = reader.read();
    }
    if (image.isNull()) {
        return {{}, PictureFailure::NotAPicture, {}, size};
    }
    return {std::move(image), PictureFailure::None, {}, size};
}

DecodedPicture QtImageDecoder::decodeFile(const std::filesystem::path& path, PictureSize largest) {
    Picture picture = readPicture(QString::fromStdU16String(path.u16string()), largest);
    if (picture.failure != PictureFailure::None) {
        return {nullptr,
                picture.failure,
                picture.reason.toStdU16String(),
                {picture.size.width(), picture.size.height()}};
    }
    QImage doubleSize;
    if (doubleSize_) {
        // A double-size file that cannot be used is simply not used: the 1x picture is.
        Picture twice =
            readPicture(QString::fromStdU16String(doubleSizePath(path).u16string()), largest);
        if (twice.failure == PictureFailure::None && showsSamePicture(picture.image, twice.image)) {
            doubleSize = forPainting(std::move(twice.image));
        }
    }
    return {
        std::make_unique<QtBitmap>(forPainting(std::move(picture.image)), std::move(doubleSize)),
        PictureFailure::None,
        {},
        {picture.size.width(), picture.size.height()}};
}

} // namespace tanu::qt
