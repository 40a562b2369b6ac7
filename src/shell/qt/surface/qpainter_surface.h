// The chart's drawing surface on a QPainter: a widget, a QImage or a QPrinter.
#pragma once

#include "chart/drawing_surface.h"

#include <QFont>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <string>
#include <vector>

class QPainter;

namespace tanu::qt {

// Keeps the meaning the painter expects of each operation: clockwise angles in y-down space,
// prepended transforms, pen widths in world units, fonts in points.
class QPainterSurface final : public DrawingSurface {
public:
    // The painter must be active and stay so while the surface is in use; an inactive painter
    // makes every call fail and draw nothing.
    explicit QPainterSurface(QPainter& painter);
    ~QPainterSurface() override;
    QPainterSurface(const QPainterSurface&) = delete;
    QPainterSurface& operator=(const QPainterSurface&) = delete;

    void clear(Argb colour) override;
    IntRect visibleBounds() override;
    WorldTransform worldTransform() override;
    void setWorldTransform(const WorldTransform& transform) override;
    void translateWorld(float dx, float dy) override;
    void rotateWorld(float degrees) override;
    void setAntiAlias(bool on) override;
    void setCompositing(CompositingMode mode) override;
    void drawImage(const Bitmap* bitmap, IntRect target) override;
    void fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) override;
    void drawEllipse(Argb colour, float penWidth, IntRect bounds) override;
    void drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) override;
    void drawString(std::u16string_view text, const ChartFont& font, RectF box,
                    TextAlignment alignment, Argb colour) override;

    // The Qt font a text in this chart font is drawn with.
    QFont fontFor(const ChartFont& font);

    // Draws the ellipse outlines held back so far. Every other call and the destructor do this
    // first; call it only when ending the painter while the surface is still alive.
    void flush();

private:
    // Wide antialiased strokes are slow in Qt's rasteriser (about 0.1 ms for a large circle),
    // so on raster devices a run of ellipse outlines is held back and drawn at once from a
    // picture kept between paints.
    struct HeldOutlines {
        Argb colour;
        qreal penWidth; // device pixels
        bool antialiased;
        qreal pixelRatio;
        std::vector<QRectF> rects; // device pixels
        QRectF extent;             // all of them together
    };

    bool usable();
    bool ready(); // flushes, then usable()

    struct MadeFont {
        std::u16string family;
        float sizePoints;
        bool bold;
        QFont font;
    };

    QPainter& painter_;
    QSizeF deviceSize_; // the whole device in painter units, before any world transform
    bool porterDuff_ = false;
    bool raster_ = false;
    std::optional<HeldOutlines> held_;
    std::vector<MadeFont> fonts_; // made once per surface: several texts share each
};

// The generic sans-serif family, looked up on first need and kept for the life of the process.
const QString& genericSansSerifFamily();

// The Qt font that draws a chart font: its family where the font system has it, else the
// generic sans-serif.
QFont qFontFor(const ChartFont& font);

} // namespace tanu::qt
