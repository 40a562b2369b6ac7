#include "canvas_surface.h"

#include <emscripten.h>

#include <cmath>
#include <numbers>

// The page's side (tanu.js keeps the canvases and pictures in TANU).
EM_JS(void, tanuClear, (int canvas, unsigned colour), { TANU.surface.clear(canvas, colour); });
EM_JS(void, tanuTransform,
      (int canvas, double m11, double m12, double m21, double m22, double dx, double dy),
      { TANU.surface.ctx(canvas).setTransform(m11, m12, m21, m22, dx, dy); });
EM_JS(void, tanuImage, (int canvas, const char16_t* name, int length, int x, int y, int w, int h),
      { TANU.surface.image(canvas, TANU.text(name, length), x, y, w, h); });
EM_JS(void, tanuPie,
      (int canvas, unsigned colour, int x, int y, int w, int h, double start, double sweep),
      { TANU.surface.pie(canvas, colour, x, y, w, h, start, sweep); });
EM_JS(void, tanuEllipse, (int canvas, unsigned colour, double pen, int x, int y, int w, int h),
      { TANU.surface.ellipse(canvas, colour, pen, x, y, w, h); });
EM_JS(void, tanuLine, (int canvas, unsigned colour, double pen, int x1, int y1, int x2, int y2),
      { TANU.surface.line(canvas, colour, pen, x1, y1, x2, y2); });
EM_JS(void, tanuText,
      (int canvas, const char16_t* text, int length, const char16_t* family, int familyLength,
       double size, int bold, double x, double y, double w, double h, int centred, unsigned colour),
      {
          TANU.surface.text(canvas, TANU.text(text, length), TANU.text(family, familyLength), size,
                            bold, x, y, w, h, centred, colour);
      });
EM_JS(int, tanuPictureWidth, (const char16_t* name, int length),
      { return TANU.pictureSize(TANU.text(name, length))[0]; });
EM_JS(int, tanuPictureHeight, (const char16_t* name, int length),
      { return TANU.pictureSize(TANU.text(name, length))[1]; });

namespace tanu::web {

namespace {} // namespace

DecodedPicture PageImageDecoder::decodeFile(const std::filesystem::path& path,
                                            PictureSize largest) {
    const std::u16string name = path.filename().u16string();
    const int width = tanuPictureWidth(name.data(), lengthOf(name));
    const int height = tanuPictureHeight(name.data(), lengthOf(name));
    if (width < 0) {
        return {nullptr, PictureFailure::Missing, {}, {}};
    }
    if (width == 0 || height == 0) {
        return {nullptr, PictureFailure::NotAPicture, {}, {}};
    }
    if (width > largest.width || height > largest.height) {
        return {nullptr, PictureFailure::TooLarge, {}, {width, height}};
    }
    return {std::make_unique<CanvasBitmap>(name), PictureFailure::None, {}, {width, height}};
}

CanvasSurface::CanvasSurface(int canvas, IntRect visible, double pixelsPerUnit,
                             double unitsPerPoint)
    : canvas_(canvas), visible_(visible), pixelsPerUnit_(pixelsPerUnit),
      unitsPerPoint_(unitsPerPoint) {
    applyTransform();
}

void CanvasSurface::applyTransform() {
    const double r = pixelsPerUnit_;
    tanuTransform(canvas_, r * transform_.m11, r * transform_.m12, r * transform_.m21,
                  r * transform_.m22, r * transform_.dx, r * transform_.dy);
}

void CanvasSurface::clear(Argb colour) {
    tanuClear(canvas_, colour);
}

void CanvasSurface::setWorldTransform(const WorldTransform& transform) {
    transform_ = transform;
    applyTransform();
}

void CanvasSurface::translateWorld(float dx, float dy) {
    // Prepended: the translation applies before the transform in force.
    WorldTransform& t = transform_;
    t.dx += t.m11 * dx + t.m21 * dy;
    t.dy += t.m12 * dx + t.m22 * dy;
    applyTransform();
}

void CanvasSurface::rotateWorld(float degrees) {
    // Prepended, clockwise on the y-down page for positive angles.
    const double a = static_cast<double>(degrees) * std::numbers::pi / 180.0;
    const auto c = static_cast<float>(std::cos(a));
    const auto s = static_cast<float>(std::sin(a));
    WorldTransform& t = transform_;
    const WorldTransform was = t;
    t.m11 = c * was.m11 + s * was.m21;
    t.m12 = c * was.m12 + s * was.m22;
    t.m21 = c * was.m21 - s * was.m11;
    t.m22 = c * was.m22 - s * was.m12;
    applyTransform();
}

void CanvasSurface::setAntiAlias(bool) {
    // A canvas always smooths its edges; there is no switch to turn off.
}

void CanvasSurface::setCompositing(CompositingMode) {
    // The canvas's "copy" would also clear everything outside the shape drawn, which GDI+'s
    // source copy does not; the chart draws opaque colours there, which come out the same.
}

void CanvasSurface::drawImage(const Bitmap* bitmap, IntRect target) {
    const auto* picture = dynamic_cast<const CanvasBitmap*>(bitmap);
    if (picture == nullptr) {
        return;
    }
    tanuImage(canvas_, picture->name().data(), lengthOf(picture->name()), target.x, target.y,
              target.width, target.height);
}

void CanvasSurface::fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) {
    if (bounds.width < 0 || bounds.height < 0) {
        return;
    }
    tanuPie(canvas_, colour, bounds.x, bounds.y, bounds.width, bounds.height,
            std::fmod(static_cast<double>(startDegrees), 360.0), static_cast<double>(sweepDegrees));
}

void CanvasSurface::drawEllipse(Argb colour, float penWidth, IntRect bounds) {
    tanuEllipse(canvas_, colour, static_cast<double>(penWidth), bounds.x, bounds.y, bounds.width,
                bounds.height);
}

void CanvasSurface::drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) {
    tanuLine(canvas_, colour, static_cast<double>(penWidth), x1, y1, x2, y2);
}

void CanvasSurface::drawString(std::u16string_view text, const ChartFont& font, RectF box,
                               TextAlignment alignment, Argb colour) {
    tanuText(canvas_, text.data(), lengthOf(text), font.family.data(), lengthOf(font.family),
             static_cast<double>(font.sizePoints) * unitsPerPoint_, font.bold ? 1 : 0,
             static_cast<double>(box.x), static_cast<double>(box.y), static_cast<double>(box.width),
             static_cast<double>(box.height), alignment == TextAlignment::Center ? 1 : 0, colour);
}

} // namespace tanu::web
