// Where things stand on the chart, in chart pixels: the window's fields, the painter's texts and
// pictures, and the artwork drawn around them all read these, so they cannot drift apart.
#pragma once

#include "model/chart_model.h"

#include <array>
#include <cstddef>

namespace tanu {

struct IntRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

struct IntPoint {
    int x = 0;
    int y = 0;
};

inline constexpr int ChartWidth = 912;
inline constexpr int ChartHeight = 699;
inline constexpr int CentreX = 456;
inline constexpr int CentreY = 349;

// The ten domain fields and the four header fields.
inline constexpr std::size_t HeaderFieldCount = 4;
inline constexpr std::size_t LayoutFieldCount = DomainCount + HeaderFieldCount;

// In field order: domains 0..9 (clockwise from straight up), then the first text, the date of
// birth, the second date and the second text.
inline constexpr std::array<IntRect, LayoutFieldCount> FieldRects{{
    {517, 127, 25, 20}, // domain 0
    {662, 221, 25, 20},
    {683, 338, 25, 20},
    {646, 476, 25, 20},
    {535, 577, 25, 20},
    {376, 576, 25, 20},
    {223, 477, 25, 20},
    {197, 339, 25, 20},
    {243, 210, 25, 20},
    {374, 128, 25, 20}, // domain 9
    {73, 69, 197, 20},  // first text
    {115, 92, 98, 20},  // date of birth
    {180, 115, 90, 20}, // second date
    {115, 138, 155, 20} // second text
}};

// The boxes the painter writes its texts in, placed by their top-left corner.
inline constexpr int CentredTextWidth = 60; // a domain value, centred on its point
inline constexpr int LeftTextWidth = 200;   // the age and the header texts
inline constexpr int TextBoxHeight = 20;

// The printed picture has no fields: each field's text is printed in its place. A domain text
// is centred 13 pixels right of its field's left edge, a header text starts 3 pixels below its
// field's top, where the field's own text would stand.
inline constexpr IntPoint DomainTextShift{13, 0};
inline constexpr IntPoint HeaderTextShift{0, 3};

constexpr IntPoint printedTextPoint(std::size_t field) {
    const IntRect r = FieldRects[field];
    const IntPoint shift = field < DomainCount ? DomainTextShift : HeaderTextShift;
    return {r.x + shift.x, r.y + shift.y};
}

// A year badge, drawn twice on each labelled ring.
inline constexpr int BadgeWidth = 16;
inline constexpr int BadgeHeight = 12;

// The legend of the ring scale, top right.
inline constexpr IntRect LegendRect{750, 59, 144, 118};
// "Age: ..." left of the header fields, left-aligned.
inline constexpr IntPoint AgeTextPoint{218, 94};
inline constexpr IntRect AgeTextRect{AgeTextPoint.x, AgeTextPoint.y, LeftTextWidth, TextBoxHeight};

} // namespace tanu
