// The drawing surface on a Canvas 2D context of the page: the window's chart canvas, or the
// page a print job draws on.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"

#include <string>
#include <string_view>

namespace tanu::web {

// A text's length in UTF-16 code units, as the page's side takes it.
inline int lengthOf(std::u16string_view text) {
    return static_cast<int>(text.size());
}

// A picture the page has loaded; the page keeps it under its file name.
class CanvasBitmap final : public Bitmap {
public:
    explicit CanvasBitmap(std::u16string name) : name_(std::move(name)) {}
    const std::u16string& name() const { return name_; }

private:
    std::u16string name_;
};

// Looks pictures up among those the page loaded before the program started (the double-size
// set on dense screens); the browser has decoded them already.
class PageImageDecoder final : public ImageDecoder {
public:
    DecodedPicture decodeFile(const std::filesystem::path& path, PictureSize largest) override;
};

class CanvasSurface final : public DrawingSurface {
public:
    // canvas: the page's number for the canvas. One surface unit is pixelsPerUnit device
    // pixels; a point of text is unitsPerPoint units (96/72 on a screen, 100/72 on paper).
    CanvasSurface(int canvas, IntRect visible, double pixelsPerUnit, double unitsPerPoint);

    void clear(Argb colour) override;
    IntRect visibleBounds() override { return visible_; }
    WorldTransform worldTransform() override { return transform_; }
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

private:
    void applyTransform();

    int canvas_;
    IntRect visible_;
    double pixelsPerUnit_;
    double unitsPerPoint_;
    WorldTransform transform_;
};

} // namespace tanu::web
