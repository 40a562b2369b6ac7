#include "chart/chart_painter.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>

namespace tanu {

namespace {

constexpr Argb White = 0xFFFFFFFF;
constexpr Argb Black = 0xFF000000;

constexpr std::array<Argb, DomainCount> WedgeColours{
    0xFF5CFF88, 0xFF5CFF88, 0xFF5CFF88, 0xFF5CFF88, // domains 0-3
    0xFFFF7CFD,                                     // 4
    0xFFF9FD86, 0xFFF9FD86,                         // 5, 6
    0xFFFFA053,                                     // 7
    0xFF9087FE, 0xFF9087FE,                         // 8, 9
};

constexpr int FullTurn = 360;
constexpr int WedgeSweep = FullTurn / static_cast<int>(DomainCount); // 36 degrees a domain
constexpr int FirstWedgeStart = 270;                                 // straight up
constexpr int FirstSpokeAngle = WedgeSweep / 2; // spokes on the borders between wedges
constexpr int SpokeStep = WedgeSweep;
constexpr float RingPenWidth = 1.8f;
constexpr float ChartFontPoints = 10.0f;

constexpr IntRect BackgroundRect{0, 0, ChartWidth, ChartHeight};
constexpr int BadgeX = 448;
constexpr int BadgeCentreY = 343; // the badge's top when the ring radius is 0

int clampToInt(std::int64_t value) {
    return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                     std::numeric_limits<int>::max()));
}

// The square around the chart centre that holds a circle of radius r. Computed wide, so that a
// ring radius far outside the chart cannot overflow.
IntRect circleBounds(std::int32_t r) {
    const std::int64_t radius = r;
    return {clampToInt(CentreX - radius), clampToInt(CentreY - radius), clampToInt(2 * radius),
            clampToInt(2 * radius)};
}

void drawBadges(const ChartModel& model, const ImageSet& images, DrawingSurface& surface) {
    const auto& rings = model.rings;
    // The outermost ring and every second one inwards.
    for (auto k = static_cast<std::ptrdiff_t>(rings.size()) - 1; k >= 0; k -= 2) {
        const RingMark& ring = rings[static_cast<std::size_t>(k)];
        if (ring.years < MinYears || ring.years > MaxYears) {
            continue; // no picture for such a ring
        }
        const Bitmap* badge = bitmapOf(images.badges[ring.years - MinYears]);
        const std::int64_t r = ring.radius;
        surface.drawImage(badge, {BadgeX, clampToInt(BadgeCentreY - r), BadgeWidth, BadgeHeight});
        surface.drawImage(badge, {BadgeX, clampToInt(BadgeCentreY + r), BadgeWidth, BadgeHeight});
    }
}

} // namespace

void paintChart(DrawingSurface& surface, const ChartContent& content, const ImageSet& images,
                bool printMode) {
    const ChartModel& model = content.model;

    // White first and before any translation, so the whole page is cleared when printing.
    surface.clear(White);
    if (printMode) {
        const IntRect bounds = surface.visibleBounds();
        // Division truncates toward zero: a page one unit narrower than the chart is not moved.
        const std::int64_t dx = (std::int64_t{bounds.width} - ChartWidth) / 2;
        const std::int64_t dy = (std::int64_t{bounds.height} - ChartHeight) / 2;
        surface.translateWorld(static_cast<float>(dx), static_cast<float>(dy));
    }
    surface.setAntiAlias(true);
    surface.setCompositing(CompositingMode::SourceOver);

    surface.drawImage(bitmapOf(images.background), BackgroundRect);

    if (const Legend legend = legendOf(model); legend != Legend::None) {
        surface.drawImage(
            bitmapOf(legend == Legend::OneYear ? images.oneYearLegend : images.twoYearsLegend),
            LegendRect);
    }

    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        fillWedge(model.domainValues[domain], domain, model, surface);
    }
    drawRingsAndSpokes(model, surface);
    drawBadges(model, images, surface);

    drawLeftText(u"Age: " + content.ageText, surface, AgeTextPoint.x, AgeTextPoint.y);

    if (printMode) {
        // The edit fields are not part of the printed picture: print their texts in their place.
        for (std::size_t field = 0; field < PrintedFieldCount; ++field) {
            const IntPoint at = printedTextPoint(field);
            if (field < DomainCount) {
                drawCentredText(content.fieldTexts[field], at.x, at.y, surface);
            } else {
                drawLeftText(content.fieldTexts[field], surface, at.x, at.y);
            }
        }
    }
}

void fillWedge(std::uint32_t value, std::size_t domain, const ChartModel& model,
               DrawingSurface& surface) {
    if (value == 0 || domain >= DomainCount) {
        return;
    }
    const std::int32_t r = radiusForValue(model, value);
    if (r < 0) {
        return; // no ring reaches the value
    }
    // The wedge replaces the background beneath instead of blending with it; the rings and
    // spokes set blending back.
    surface.setCompositing(CompositingMode::SourceCopy);
    // Left unreduced: domains 3 to 9 start past 360 degrees.
    const int start = FirstWedgeStart + WedgeSweep * static_cast<int>(domain);
    surface.fillPie(WedgeColours[domain], circleBounds(r), static_cast<float>(start),
                    static_cast<float>(WedgeSweep));
}

void drawRingsAndSpokes(const ChartModel& model, DrawingSurface& surface) {
    surface.setAntiAlias(true);
    surface.setCompositing(CompositingMode::SourceOver);

    for (const RingMark& ring : model.rings) {
        if (ring.radius >= 0) {
            surface.drawEllipse(Black, RingPenWidth, circleBounds(ring.radius));
        }
    }
    if (model.rings.empty()) {
        return;
    }

    // Each spoke is a line along the x axis, turned about the centre; the transform in force
    // (the page centring when printing) is restored after each one.
    const std::int32_t outer = model.rings.back().radius;
    const WorldTransform saved = surface.worldTransform();
    for (int angle = FirstSpokeAngle; angle < FullTurn; angle += SpokeStep) {
        surface.translateWorld(static_cast<float>(CentreX), static_cast<float>(CentreY));
        surface.rotateWorld(static_cast<float>(angle));
        surface.drawLine(Black, RingPenWidth, 0, 0, outer, 0);
        surface.setWorldTransform(saved);
    }
}

void drawCentredText(std::u16string_view text, int x, int y, DrawingSurface& surface) {
    const RectF box{static_cast<float>(x - CentredTextWidth / 2), static_cast<float>(y),
                    static_cast<float>(CentredTextWidth), static_cast<float>(TextBoxHeight)};
    surface.drawString(text, makeChartFont(ChartFontPoints), box, TextAlignment::Center, Black);
}

void drawLeftText(std::u16string_view text, DrawingSurface& surface, int x, int y) {
    const RectF box{static_cast<float>(x), static_cast<float>(y), static_cast<float>(LeftTextWidth),
                    static_cast<float>(TextBoxHeight)};
    surface.drawString(text, makeChartFont(ChartFontPoints), box, TextAlignment::Near, Black);
}

Argb wedgeColour(std::size_t domain) {
    return WedgeColours.at(domain);
}

ChartFont makeChartFont(float sizePoints) {
    return ChartFont{u"Arial", sizePoints, true};
}

} // namespace tanu
