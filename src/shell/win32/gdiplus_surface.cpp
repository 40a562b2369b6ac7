#include "shell/win32/gdiplus_surface.h"

#include "shell/win32/gdiplus_api.h"
#include "shell/win32/gdiplus_artwork.h"

#include <array>

namespace tanu::win32 {

namespace {

using namespace gdip;

// A flat call's object released at the end of the scope.
template <typename T, GpStatus (*Release)(T*)> class Owned {
public:
    Owned() = default;
    ~Owned() {
        if (object != nullptr) {
            Release(object);
        }
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    T* object = nullptr;
};

GpStatus deleteBrush(GpSolidFill* brush) {
    return GdipDeleteBrush(brush);
}

using OwnedBrush = Owned<GpSolidFill, deleteBrush>;
using OwnedPen = Owned<GpPen, GdipDeletePen>;
using OwnedMatrix = Owned<GpMatrix, GdipDeleteMatrix>;
using OwnedFormat = Owned<GpStringFormat, GdipDeleteStringFormat>;
using OwnedFamily = Owned<GpFontFamily, GdipDeleteFontFamily>;

const WCHAR* wide(std::u16string_view text) {
    return reinterpret_cast<const WCHAR*>(text.data());
}

// GDI+ measures fonts in points with UnitPoint, so text keeps its size on every device; in chart
// units a point is what it is at the standard 96 pixels per inch.
GpFont* makeFont(const GpFontFamily* family, const ChartFont& font, bool inChartUnits) {
    GpFont* made = nullptr;
    const INT style = font.bold ? Gdiplus::FontStyleBold : Gdiplus::FontStyleRegular;
    constexpr float ChartUnitsPerPoint = 96.0f / 72.0f;
    const float size = inChartUnits ? font.sizePoints * ChartUnitsPerPoint : font.sizePoints;
    const auto unit = inChartUnits ? Gdiplus::UnitWorld : Gdiplus::UnitPoint;
    if (GdipCreateFont(family, size, style, unit, &made) != Gdiplus::Ok) {
        return nullptr;
    }
    return made;
}

} // namespace

GpFontFamily* genericSansSerifFamily() {
    static GpFontFamily* const family = [] {
        GpFontFamily* generic = nullptr;
        return GdipGetGenericFontFamilySansSerif(&generic) == Gdiplus::Ok ? generic : nullptr;
    }();
    return family;
}

GdiplusSurface::GdiplusSurface(HDC deviceContext) {
    if (!succeeded(GdipCreateFromHDC(deviceContext, &graphics_))) {
        graphics_ = nullptr;
    }
}

GdiplusSurface::GdiplusSurface(HDC deviceContext, double chartScale)
    : GdiplusSurface(deviceContext) {
    chartScale_ = static_cast<float>(chartScale);
    fontsInChartUnits_ = true;
    if (usable()) {
        succeeded(GdipScaleWorldTransform(graphics_, chartScale_, chartScale_,
                                          Gdiplus::MatrixOrderPrepend));
    }
}

GdiplusSurface::GdiplusSurface(GpImage* image) {
    if (!succeeded(GdipGetImageGraphicsContext(image, &graphics_))) {
        graphics_ = nullptr;
    }
}

GdiplusSurface::~GdiplusSurface() {
    for (const MadeFont& made : fonts_) {
        if (made.font != nullptr) {
            GdipDeleteFont(made.font);
        }
    }
    if (graphics_ != nullptr) {
        GdipDeleteGraphics(graphics_);
    }
}

bool GdiplusSurface::succeeded(int status) {
    return status == Gdiplus::Ok;
}

bool GdiplusSurface::usable() {
    return graphics_ != nullptr;
}

void GdiplusSurface::clear(Argb colour) {
    if (usable()) {
        succeeded(GdipGraphicsClear(graphics_, colour));
    }
}

bool GdiplusSurface::usePageUnitsPerInch(int unitsPerInch) {
    return usable() && succeeded(GdipSetPageUnit(graphics_, Gdiplus::UnitInch)) &&
           succeeded(GdipSetPageScale(graphics_, 1.0f / static_cast<float>(unitsPerInch)));
}

IntRect GdiplusSurface::visibleBounds() {
    Gdiplus::Rect bounds;
    if (!usable() || !succeeded(GdipGetVisibleClipBoundsI(graphics_, &bounds))) {
        return {};
    }
    return {bounds.X, bounds.Y, bounds.Width, bounds.Height};
}

WorldTransform GdiplusSurface::worldTransform() {
    OwnedMatrix matrix;
    std::array<Gdiplus::REAL, 6> e{};
    if (!usable() || !succeeded(GdipCreateMatrix(&matrix.object)) ||
        !succeeded(GdipGetWorldTransform(graphics_, matrix.object)) ||
        !succeeded(GdipGetMatrixElements(matrix.object, e.data()))) {
        return {};
    }
    return {e[0], e[1], e[2], e[3], e[4], e[5]};
}

void GdiplusSurface::setWorldTransform(const WorldTransform& t) {
    OwnedMatrix matrix;
    if (usable() &&
        succeeded(GdipCreateMatrix2(t.m11, t.m12, t.m21, t.m22, t.dx, t.dy, &matrix.object))) {
        succeeded(GdipSetWorldTransform(graphics_, matrix.object));
    }
}

void GdiplusSurface::translateWorld(float dx, float dy) {
    if (usable()) {
        succeeded(GdipTranslateWorldTransform(graphics_, dx, dy, Gdiplus::MatrixOrderPrepend));
    }
}

void GdiplusSurface::rotateWorld(float degrees) {
    if (usable()) {
        succeeded(GdipRotateWorldTransform(graphics_, degrees, Gdiplus::MatrixOrderPrepend));
    }
}

void GdiplusSurface::setAntiAlias(bool on) {
    if (usable()) {
        succeeded(GdipSetSmoothingMode(graphics_, on ? Gdiplus::SmoothingModeAntiAlias
                                                     : Gdiplus::SmoothingModeNone));
    }
}

void GdiplusSurface::setCompositing(CompositingMode mode) {
    if (usable()) {
        succeeded(GdipSetCompositingMode(graphics_, mode == CompositingMode::SourceCopy
                                                        ? Gdiplus::CompositingModeSourceCopy
                                                        : Gdiplus::CompositingModeSourceOver));
    }
}

void GdiplusSurface::drawImage(const Bitmap* bitmap, IntRect target) {
    if (!usable()) {
        return;
    }
    const auto* picture = dynamic_cast<const GdiplusBitmap*>(bitmap);
    if (picture == nullptr) {
        return;
    }
    succeeded(GdipDrawImageRectI(graphics_, picture->handleFor(chartScale_), target.x, target.y,
                                 target.width, target.height));
}

void GdiplusSurface::fillPie(Argb colour, IntRect bounds, float startDegrees, float sweepDegrees) {
    OwnedBrush brush;
    if (!usable() || !succeeded(GdipCreateSolidFill(colour, &brush.object))) {
        return;
    }
    succeeded(GdipFillPieI(graphics_, brush.object, bounds.x, bounds.y, bounds.width, bounds.height,
                           startDegrees, sweepDegrees));
}

void GdiplusSurface::drawEllipse(Argb colour, float penWidth, IntRect bounds) {
    OwnedPen pen;
    if (!usable() ||
        !succeeded(GdipCreatePen1(colour, penWidth, Gdiplus::UnitWorld, &pen.object))) {
        return;
    }
    succeeded(
        GdipDrawEllipseI(graphics_, pen.object, bounds.x, bounds.y, bounds.width, bounds.height));
}

void GdiplusSurface::drawLine(Argb colour, float penWidth, int x1, int y1, int x2, int y2) {
    OwnedPen pen;
    if (!usable() ||
        !succeeded(GdipCreatePen1(colour, penWidth, Gdiplus::UnitWorld, &pen.object))) {
        return;
    }
    succeeded(GdipDrawLineI(graphics_, pen.object, x1, y1, x2, y2));
}

void GdiplusSurface::drawString(std::u16string_view text, const ChartFont& font, RectF box,
                                TextAlignment alignment, Argb colour) {
    if (!usable()) {
        return;
    }
    GpFont* made = fontFor(font);
    if (made == nullptr) {
        succeeded(Gdiplus::FontFamilyNotFound);
        return;
    }
    // No flags: GDI+ wraps at words and clips to the box, from the top of the box.
    OwnedFormat format;
    OwnedBrush brush;
    if (!succeeded(GdipCreateStringFormat(0, LANG_NEUTRAL, &format.object)) ||
        !succeeded(GdipSetStringFormatAlign(format.object, alignment == TextAlignment::Center
                                                               ? Gdiplus::StringAlignmentCenter
                                                               : Gdiplus::StringAlignmentNear)) ||
        !succeeded(GdipCreateSolidFill(colour, &brush.object))) {
        return;
    }
    const Gdiplus::RectF layout(box.x, box.y, box.width, box.height);
    succeeded(GdipDrawString(graphics_, wide(text), static_cast<INT>(text.size()), made, &layout,
                             format.object, brush.object));
}

GpFont* GdiplusSurface::fontFor(const ChartFont& font) {
    for (const MadeFont& made : fonts_) {
        if (made.family == font.family && made.sizePoints == font.sizePoints &&
            made.bold == font.bold) {
            return made.font;
        }
    }
    // The named family, else the generic sans-serif one; and should the font still not come
    // out of the named family, once more from the generic one.
    GpFont* made = nullptr;
    OwnedFamily family;
    const std::u16string name(font.family);
    if (GdipCreateFontFamilyFromName(wide(name), nullptr, &family.object) == Gdiplus::Ok) {
        made = makeFont(family.object, font, fontsInChartUnits_);
    }
    if (made == nullptr && genericSansSerifFamily() != nullptr) {
        made = makeFont(genericSansSerifFamily(), font, fontsInChartUnits_);
    }
    fonts_.push_back({name, font.sizePoints, font.bold, made});
    return made;
}

} // namespace tanu::win32
