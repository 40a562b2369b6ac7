#include "shell/qt/surface/qt_artwork.h"

#include "chart/drawing_surface.h"

#include <QFileInfo>
#include <QString>

namespace tanu {

const QImage& QtBitmap::scaledTo(QSize devicePixels, qreal pixelRatio) const {
    if (scaled_.size() != devicePixels || scaled_.devicePixelRatio() != pixelRatio) {
        scaled_ = image_.scaled(devicePixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled_.setDevicePixelRatio(pixelRatio);
    }
    return scaled_;
}

std::unique_ptr<Bitmap> QtImageDecoder::decodeFile(const std::filesystem::path& path, int& status) {
    const QString file = QString::fromStdU16String(path.u16string());
    if (!QFileInfo(file).isFile()) {
        status = DrawStatus::FileNotFound;
        return nullptr;
    }
    QImage image;
    if (!image.load(file)) {
        status = DrawStatus::UnknownImageFormat;
        return nullptr;
    }
    // Converted once here rather than on every paint.
    image.convertTo(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                            : QImage::Format_RGB32);
    status = DrawStatus::Ok;
    return std::make_unique<QtBitmap>(std::move(image));
}

} // namespace tanu
