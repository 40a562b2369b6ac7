#include "shell/qt/surface/outline_cache.h"

#include <QColor>
#include <QPainter>

#include <cmath>
#include <list>
#include <mutex>

namespace tanu::qt {

namespace {

// A run of outlines drawn once into a transparent picture at device resolution.
struct OutlinePicture {
    Argb colour;
    qreal penWidth;
    bool antialiased;
    qreal pixelRatio;
    std::vector<QRectF> rects; // relative to the picture's top-left corner
    QImage image;
};

// The most recent pictures: a repaint of the same scale finds its rings here. Two are kept
// (about 0.6 MB each for the window's rings) so that alternating scales do not thrash. Images
// are painted on several threads at once by the export: the list is locked, and each caller
// gets its own (shared, read-only) copy of the picture.
std::mutex outlinePicturesLock;
std::list<OutlinePicture>& outlinePictures() {
    static std::list<OutlinePicture> pictures;
    return pictures;
}
constexpr std::size_t KeptOutlinePictures = 2;

} // namespace

QPen worldPen(Argb colour, float width) {
    return QPen(QColor::fromRgba(colour), static_cast<qreal>(width), Qt::SolidLine, Qt::FlatCap,
                Qt::MiterJoin);
}

qreal outlineMargin(qreal penWidth) {
    return std::ceil(penWidth / 2) + 2;
}

QImage outlinePicture(Argb colour, qreal penWidth, bool antialiased, qreal pixelRatio,
                      const std::vector<QRectF>& rects) {
    const std::lock_guard<std::mutex> hold(outlinePicturesLock);
    auto& pictures = outlinePictures();
    for (auto it = pictures.begin(); it != pictures.end(); ++it) {
        if (it->colour == colour && it->penWidth == penWidth && it->antialiased == antialiased &&
            it->pixelRatio == pixelRatio && it->rects == rects) {
            pictures.splice(pictures.begin(), pictures, it);
            return pictures.front().image;
        }
    }
    // The rects start a margin in from the corner; the same margin is left on the far sides.
    const qreal margin = outlineMargin(penWidth);
    QRectF extent;
    for (const QRectF& r : rects) {
        extent = extent.united(r);
    }
    QImage image(static_cast<int>(std::ceil(extent.right() + margin)),
                 static_cast<int>(std::ceil(extent.bottom() + margin)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, antialiased);
        painter.setPen(worldPen(colour, static_cast<float>(penWidth)));
        painter.setBrush(Qt::NoBrush);
        for (const QRectF& r : rects) {
            painter.drawEllipse(r);
        }
    }
    image.setDevicePixelRatio(pixelRatio);
    pictures.push_front({colour, penWidth, antialiased, pixelRatio, rects, std::move(image)});
    if (pictures.size() > KeptOutlinePictures) {
        pictures.pop_back();
    }
    return pictures.front().image;
}

} // namespace tanu::qt
