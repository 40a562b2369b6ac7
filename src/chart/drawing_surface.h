// The port through which the chart painter draws: the few operations of a GDI+-like graphics
// object, with GDI+'s meaning. A toolkit implements it on its own painter.
#pragma once

#include "chart/layout.h"

#include <cstdint>
#include <string_view>

namespace tanu {

using Argb = std::uint32_t; // alpha in the top byte

struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;
};

// A 2-D affine transform as GDI+ keeps it: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy.
struct WorldTransform {
    float m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

enum class CompositingMode { SourceOver, SourceCopy };
enum class TextAlignment { Near, Center };

// A text font in points, so text keeps its size at every device resolution. A surface on which
// the family is not available uses its generic sans-serif family instead; it looks that family
// up once and keeps it for the life of the process.
struct ChartFont {
    std::u16string_view family = u"Arial";
    float sizePoints = 10.0f;
    bool bold = true;
};

class Bitmap; // a decoded picture, owned by the artwork set

class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;

    // Fills the whole surface (within its clip) with the colour, ignoring the transform.
    virtual void clear(Argb colour) = 0;
    // The visible area in surface units.
    virtual IntRect visibleBounds() = 0;
    virtual WorldTransform worldTransform() = 0;
    virtual void setWorldTransform(const WorldTransform& transform) = 0;
    // Both prepend: the new operation applies before the transform already in force.
    virtual void translateWorld(float dx, float dy) = 0;
    virtual void rotateWorld(float degrees) = 0;
    virtual void setAntiAlias(bool on) = 0;
    virtual void setCompositing(CompositingMode mode) = 0;
    // The whole picture scaled into the rectangle; a null bitmap draws nothing.
    virtual void drawImage(const Bitmap* bitmap, IntRect target) = 0;
    // The sector of the ellipse inscribed in the rectangle, from startDegrees sweeping clockwise
    // (y down); the start angle arrives unreduced.
    virtual void fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) = 0;
    // Pen widths are in world units.
    virtual void drawEllipse(Argb colour, float penWidth, IntRect bounds) = 0;
    virtual void drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) = 0;
    // Text laid out in the box from its top, aligned horizontally, clipped and wrapped as the
    // toolkit does by default.
    virtual void drawString(std::u16string_view text, const ChartFont& font, RectF box,
                            TextAlignment alignment, Argb colour) = 0;
};

} // namespace tanu
