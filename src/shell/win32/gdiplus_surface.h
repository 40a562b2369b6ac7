// The chart's drawing surface on a GDI+ graphics object: a window's or a printer's device
// context, or a bitmap in memory.
#pragma once

#include "chart/drawing_surface.h"

#include <string>
#include <vector>

struct HDC__;

namespace Gdiplus {
class GpGraphics;
class GpImage;
class GpFont;
class GpFontFamily;
} // namespace Gdiplus

namespace tanu::win32 {

// GDI+ already draws clockwise in y-down space, prepends transforms on request and measures pen
// widths in world units, so most operations map onto one flat call each.
class GdiplusSurface final : public DrawingSurface {
public:
    // A surface on the device context, which must outlive it. When GDI+ cannot make one, every
    // call fails and draws nothing.
    explicit GdiplusSurface(HDC__* deviceContext);
    // A window's surface on its device context: each chart unit is chartScale device pixels,
    // texts are sized in chart units rather than for the device's density, and pictures come
    // from their double-size drawings above 1.25 pixels a unit.
    GdiplusSurface(HDC__* deviceContext, double chartScale);
    // A surface on a GDI+ picture (a bitmap in memory), which must outlive it.
    explicit GdiplusSurface(Gdiplus::GpImage* image);
    ~GdiplusSurface() override;
    GdiplusSurface(const GdiplusSurface&) = delete;
    GdiplusSurface& operator=(const GdiplusSurface&) = delete;

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

    bool valid() const { return graphics_ != nullptr; }
    // Makes one surface unit 1/unitsPerInch inch on the device (a printed page); false when
    // GDI+ refuses.
    bool usePageUnitsPerInch(int unitsPerInch);

private:
    // Keeps the status of a failing call; true when the call succeeded.
    bool succeeded(int status);
    bool usable();
    // The font for a chart font, made on first need and kept until the surface goes.
    Gdiplus::GpFont* fontFor(const ChartFont& font);

    struct MadeFont {
        std::u16string family;
        float sizePoints;
        bool bold;
        Gdiplus::GpFont* font; // null when no family would make one
    };

    Gdiplus::GpGraphics* graphics_ = nullptr;
    float chartScale_ = 1.0f;
    bool fontsInChartUnits_ = false;
    std::vector<MadeFont> fonts_;
};

// The generic sans-serif family, fetched on first need and kept for the life of the process
// (GDI+ owns it: it is never deleted). Null when GDI+ has none.
Gdiplus::GpFontFamily* genericSansSerifFamily();

} // namespace tanu::win32
