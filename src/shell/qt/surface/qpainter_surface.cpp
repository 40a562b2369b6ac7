#include "shell/qt/surface/qpainter_surface.h"

#include "shell/qt/surface/outline_cache.h"
#include "shell/qt/surface/qt_artwork.h"

#include <QColor>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QTransform>

#include <cmath>

namespace tanu::qt {

namespace {

// The device's size in the units the painter draws in with no world transform: logical pixels
// on widgets and images (whatever their pixel ratio), the printer's resolution on a printer.
QSizeF deviceSizeOf(const QPaintDevice& device) {
    switch (device.devType()) {
    case QInternal::Image:
        return static_cast<const QImage&>(device).deviceIndependentSize();
    case QInternal::Pixmap:
        return static_cast<const QPixmap&>(device).deviceIndependentSize();
    default:
        return QSizeF(device.width(), device.height());
    }
}

QRectF toQRectF(IntRect r) {
    return QRectF(r.x, r.y, r.width, r.height);
}

QColor toQColor(Argb colour) {
    return QColor::fromRgba(colour);
}

// A family counts as available when the font system finds it itself or a face it stands in
// for it (fontconfig maps Arial to Liberation Sans); a family nobody knows comes back as the
// generic default.
bool familyAvailable(const QString& family) {
    const QString resolved = QFontInfo(QFont(family)).family();
    return resolved.compare(family, Qt::CaseInsensitive) == 0 ||
           resolved != genericSansSerifFamily();
}

// Pictures kept between paints stay this small (device pixels a side); anything larger is
// drawn straight away.
constexpr qreal LargestKeptPicture = 4096;

bool keepable(const QRectF& r) {
    return r.width() <= LargestKeptPicture && r.height() <= LargestKeptPicture;
}

bool onWholePixels(QPointF p) {
    return std::abs(p.x() - std::round(p.x())) < 1e-9 && std::abs(p.y() - std::round(p.y())) < 1e-9;
}

} // namespace

const QString& genericSansSerifFamily() {
    static const QString family = [] {
        QFont font;
        font.setStyleHint(QFont::SansSerif);
        return font.defaultFamily();
    }();
    return family;
}

QPainterSurface::QPainterSurface(QPainter& painter) : painter_(painter) {
    if (!painter_.isActive()) {
        return;
    }
    deviceSize_ = deviceSizeOf(*painter_.device());
    // Printers and PDF have no copy mode; opaque colours come out the same without it.
    porterDuff_ = painter_.paintEngine()->hasFeature(QPaintEngine::PorterDuff);
    raster_ = painter_.paintEngine()->type() == QPaintEngine::Raster;
    // Scaled pictures are filtered, not picked pixel by pixel.
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

QPainterSurface::~QPainterSurface() {
    flush();
}

bool QPainterSurface::usable() {
    if (!painter_.isActive()) {
        return false;
    }
    return true;
}

bool QPainterSurface::ready() {
    flush();
    return usable();
}

void QPainterSurface::flush() {
    if (!held_) {
        return;
    }
    const HeldOutlines held = std::move(*held_);
    held_.reset();
    if (!painter_.isActive()) {
        return;
    }
    // The picture starts on a whole device pixel so that it is copied pixel for pixel.
    const qreal margin = outlineMargin(held.penWidth);
    const QPointF origin(std::floor(held.extent.left()) - margin,
                         std::floor(held.extent.top()) - margin);
    std::vector<QRectF> rects;
    rects.reserve(held.rects.size());
    for (const QRectF& r : held.rects) {
        rects.push_back(r.translated(-origin));
    }
    const QImage picture =
        outlinePicture(held.colour, held.penWidth, held.antialiased, held.pixelRatio, rects);
    // Placed through the transform in force (a whole-pixel translation and the pixel ratio), which
    // also carries a widget's offset within its window.
    painter_.drawImage(painter_.deviceTransform().inverted().map(origin), picture);
}

void QPainterSurface::clear(Argb colour) {
    if (!ready()) {
        return;
    }
    painter_.save();
    painter_.resetTransform();
    if (porterDuff_) {
        painter_.setCompositionMode(QPainter::CompositionMode_Source);
    }
    painter_.fillRect(QRectF(QPointF(0, 0), deviceSize_), toQColor(colour));
    painter_.restore();
}

IntRect QPainterSurface::visibleBounds() {
    if (!ready()) {
        return {};
    }
    bool invertible = false;
    const QTransform toWorld = painter_.worldTransform().inverted(&invertible);
    if (!invertible) {
        return {};
    }
    QRectF visible = toWorld.mapRect(QRectF(QPointF(0, 0), deviceSize_));
    if (painter_.hasClipping()) {
        visible = visible.intersected(painter_.clipBoundingRect());
    }
    const QRect r = visible.toAlignedRect();
    return {r.x(), r.y(), r.width(), r.height()};
}

WorldTransform QPainterSurface::worldTransform() {
    if (!ready()) {
        return {};
    }
    const QTransform& t = painter_.worldTransform();
    return {static_cast<float>(t.m11()), static_cast<float>(t.m12()), static_cast<float>(t.m21()),
            static_cast<float>(t.m22()), static_cast<float>(t.dx()),  static_cast<float>(t.dy())};
}

void QPainterSurface::setWorldTransform(const WorldTransform& t) {
    if (!ready()) {
        return;
    }
    painter_.setWorldTransform(QTransform(t.m11, t.m12, t.m21, t.m22, t.dx, t.dy));
}

void QPainterSurface::translateWorld(float dx, float dy) {
    if (!ready()) {
        return;
    }
    // QPainter prepends, as the port asks.
    painter_.translate(QPointF(static_cast<qreal>(dx), static_cast<qreal>(dy)));
}

void QPainterSurface::rotateWorld(float degrees) {
    if (!ready()) {
        return;
    }
    // Prepended, and clockwise on a y-down device for positive angles, as the port asks.
    painter_.rotate(static_cast<qreal>(degrees));
}

void QPainterSurface::setAntiAlias(bool on) {
    if (!ready()) {
        return;
    }
    painter_.setRenderHint(QPainter::Antialiasing, on);
}

void QPainterSurface::setCompositing(CompositingMode mode) {
    if (!ready() || !porterDuff_) {
        return;
    }
    painter_.setCompositionMode(mode == CompositingMode::SourceCopy
                                    ? QPainter::CompositionMode_Source
                                    : QPainter::CompositionMode_SourceOver);
}

void QPainterSurface::drawImage(const Bitmap* bitmap, IntRect target) {
    if (!ready()) {
        return;
    }
    const auto* picture = dynamic_cast<const QtBitmap*>(bitmap);
    if (picture == nullptr || picture->image().isNull()) {
        return;
    }
    const QImage& image = picture->image();
    // On a raster device whose pixels the target meets exactly, the picture is copied pixel for
    // pixel, resampled first where its size differs. Nothing is kept: one set of pictures is
    // shared by painters on several threads.
    const QTransform device = painter_.deviceTransform();
    const QRectF onDevice = device.mapRect(toQRectF(target));
    if (raster_ && painter_.worldTransform().type() <= QTransform::TxTranslate &&
        device.type() <= QTransform::TxScale && device.m11() > 0 && device.m22() == device.m11() &&
        onWholePixels(onDevice.topLeft()) && onWholePixels(onDevice.bottomRight()) &&
        !onDevice.isEmpty() && keepable(onDevice) && onDevice.size().toSize() != image.size()) {
        const QSize pixels = onDevice.size().toSize();
        const QImage& source = picture->sourceFor(device.m11());
        const QPointF at = device.inverted().map(onDevice.topLeft());
        if (source.size() == pixels && source.devicePixelRatio() == device.m11()) {
            painter_.drawImage(at, source);
            return;
        }
        QImage resampled = source.size() == pixels ? source.copy()
                                                   : source.scaled(pixels, Qt::IgnoreAspectRatio,
                                                                   Qt::SmoothTransformation);
        resampled.setDevicePixelRatio(device.m11());
        painter_.drawImage(at, resampled);
        return;
    }
    // Printers and other scaled devices take the picture with the most detail they can show.
    painter_.drawImage(toQRectF(target), picture->sourceFor(std::abs(device.m11())));
}

void QPainterSurface::fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) {
    if (!ready()) {
        return;
    }
    if (bounds.width < 0 || bounds.height < 0) {
        return;
    }
    const QRectF rect = toQRectF(bounds);
    // Qt turns counter-clockwise for positive angles, the port clockwise: both flip sign.
    const qreal start = -std::fmod(static_cast<qreal>(startDegrees), 360.0);
    QPainterPath pie;
    pie.moveTo(rect.center());
    pie.arcTo(rect, start, -static_cast<qreal>(sweepDegrees));
    pie.closeSubpath();
    painter_.fillPath(pie, toQColor(colour));
}

void QPainterSurface::drawEllipse(Argb colour, float penWidth, IntRect bounds) {
    if (!usable()) {
        return;
    }
    const QTransform& world = painter_.worldTransform();
    const QTransform device = painter_.deviceTransform();
    const QRectF onDevice = device.mapRect(toQRectF(bounds));
    const qreal ratio = device.m11();
    const bool canHold = raster_ && world.type() <= QTransform::TxTranslate &&
                         device.type() <= QTransform::TxScale && ratio > 0 &&
                         device.m22() == ratio &&
                         painter_.compositionMode() == QPainter::CompositionMode_SourceOver &&
                         onWholePixels(onDevice.topLeft()) && keepable(onDevice);
    if (canHold) {
        const qreal width = static_cast<qreal>(penWidth) * ratio;
        const bool antialiased = painter_.testRenderHint(QPainter::Antialiasing);
        if (held_ && (held_->colour != colour || held_->penWidth != width ||
                      held_->antialiased != antialiased || held_->pixelRatio != ratio ||
                      !keepable(held_->extent.united(onDevice)))) {
            flush();
        }
        if (!held_) {
            held_ = HeldOutlines{colour, width, antialiased, ratio, {}, onDevice};
        }
        held_->rects.push_back(onDevice);
        held_->extent = held_->extent.united(onDevice);
        return;
    }
    flush();
    painter_.setPen(worldPen(colour, penWidth));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(toQRectF(bounds));
}

void QPainterSurface::drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) {
    if (!ready()) {
        return;
    }
    painter_.setPen(worldPen(colour, penWidth));
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QPainterSurface::drawString(std::u16string_view text, const ChartFont& font, RectF box,
                                 TextAlignment alignment, Argb colour) {
    if (!ready()) {
        return;
    }
    painter_.setFont(fontFor(font));
    painter_.setPen(toQColor(colour));
    // From the top of the box, wrapped at words and clipped to the box.
    const int flags = Qt::AlignTop | Qt::TextWordWrap |
                      (alignment == TextAlignment::Center ? Qt::AlignHCenter : Qt::AlignLeft);
    const QRectF layout(static_cast<qreal>(box.x), static_cast<qreal>(box.y),
                        static_cast<qreal>(box.width), static_cast<qreal>(box.height));
    painter_.drawText(layout, flags,
                      QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
}

QFont QPainterSurface::fontFor(const ChartFont& font) {
    for (const MadeFont& made : fonts_) {
        if (made.family == font.family && made.sizePoints == font.sizePoints &&
            made.bold == font.bold) {
            return made.font;
        }
    }
    QFont made = qFontFor(font);
    fonts_.push_back({std::u16string(font.family), font.sizePoints, font.bold, made});
    return made;
}

QFont qFontFor(const ChartFont& font) {
    QString family =
        QString::fromUtf16(font.family.data(), static_cast<qsizetype>(font.family.size()));
    if (!familyAvailable(family)) {
        family = genericSansSerifFamily();
    }
    QFont made(family);
    made.setStyleHint(QFont::SansSerif);
    made.setPointSizeF(static_cast<qreal>(font.sizePoints));
    made.setBold(font.bold);
    return made;
}

} // namespace tanu::qt
