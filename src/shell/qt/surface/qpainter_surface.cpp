#include "shell/qt/surface/qpainter_surface.h"

#include "shell/qt/surface/qt_artwork.h"

#include <QColor>
#include <QFontInfo>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPixmap>
#include <QTransform>

#include <cmath>

namespace tanu {

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

// Flat caps as the platform's default pen; the width scales with the world transform.
QPen worldPen(Argb colour, float width) {
    return QPen(toQColor(colour), static_cast<qreal>(width), Qt::SolidLine, Qt::FlatCap,
                Qt::MiterJoin);
}

// A family counts as available when the font system finds it itself or a face it stands in
// for it (fontconfig maps Arial to Liberation Sans); a family nobody knows comes back as the
// generic default.
bool familyAvailable(const QString& family) {
    const QString resolved = QFontInfo(QFont(family)).family();
    return resolved.compare(family, Qt::CaseInsensitive) == 0 ||
           resolved != genericSansSerifFamily();
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
    // Scaled pictures are filtered, not picked pixel by pixel.
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

bool QPainterSurface::usable() {
    if (!painter_.isActive()) {
        lastStatus = DrawStatus::WrongState;
        return false;
    }
    return true;
}

void QPainterSurface::clear(Argb colour) {
    if (!usable()) {
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
    if (!usable()) {
        return {};
    }
    bool invertible = false;
    const QTransform toWorld = painter_.worldTransform().inverted(&invertible);
    if (!invertible) {
        lastStatus = DrawStatus::InvalidParameter;
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
    if (!usable()) {
        return {};
    }
    const QTransform& t = painter_.worldTransform();
    return {static_cast<float>(t.m11()), static_cast<float>(t.m12()), static_cast<float>(t.m21()),
            static_cast<float>(t.m22()), static_cast<float>(t.dx()),  static_cast<float>(t.dy())};
}

void QPainterSurface::setWorldTransform(const WorldTransform& t) {
    if (!usable()) {
        return;
    }
    painter_.setWorldTransform(QTransform(t.m11, t.m12, t.m21, t.m22, t.dx, t.dy));
}

void QPainterSurface::translateWorld(float dx, float dy) {
    if (!usable()) {
        return;
    }
    // QPainter prepends, as the port asks.
    painter_.translate(QPointF(static_cast<qreal>(dx), static_cast<qreal>(dy)));
}

void QPainterSurface::rotateWorld(float degrees) {
    if (!usable()) {
        return;
    }
    // Prepended, and clockwise on a y-down device for positive angles, as the port asks.
    painter_.rotate(static_cast<qreal>(degrees));
}

void QPainterSurface::setAntiAlias(bool on) {
    if (!usable()) {
        return;
    }
    painter_.setRenderHint(QPainter::Antialiasing, on);
}

void QPainterSurface::setCompositing(CompositingMode mode) {
    if (!usable() || !porterDuff_) {
        return;
    }
    painter_.setCompositionMode(mode == CompositingMode::SourceCopy
                                    ? QPainter::CompositionMode_Source
                                    : QPainter::CompositionMode_SourceOver);
}

void QPainterSurface::drawImage(const Bitmap* bitmap, IntRect target) {
    if (!usable()) {
        return;
    }
    const auto* picture = dynamic_cast<const QtBitmap*>(bitmap);
    if (picture == nullptr || picture->image().isNull()) {
        lastStatus = DrawStatus::InvalidParameter;
        return;
    }
    painter_.drawImage(toQRectF(target), picture->image());
}

void QPainterSurface::fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) {
    if (!usable()) {
        return;
    }
    if (bounds.width < 0 || bounds.height < 0) {
        lastStatus = DrawStatus::InvalidParameter;
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
    painter_.setPen(worldPen(colour, penWidth));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(toQRectF(bounds));
}

void QPainterSurface::drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) {
    if (!usable()) {
        return;
    }
    painter_.setPen(worldPen(colour, penWidth));
    painter_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void QPainterSurface::drawString(std::u16string_view text, const ChartFont& font, RectF box,
                                 TextAlignment alignment, Argb colour) {
    if (!usable()) {
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
    QString family =
        QString::fromUtf16(font.family.data(), static_cast<qsizetype>(font.family.size()));
    if (!familyAvailable(family)) {
        family = genericSansSerifFamily();
    }
    QFont made(family);
    made.setStyleHint(QFont::SansSerif);
    made.setPointSizeF(static_cast<qreal>(font.sizePoints));
    made.setBold(font.bold);
    fonts_.push_back({std::u16string(font.family), font.sizePoints, font.bold, made});
    return made;
}

} // namespace tanu
