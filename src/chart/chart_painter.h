// Paints the whole profile chart, on the window or on a printed page.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"
#include "chart/layout.h"
#include "model/chart_model.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tanu {

// The ten domain fields and the four header fields, whose texts the printed picture shows.
inline constexpr std::size_t PrintedFieldCount = LayoutFieldCount;

// Everything one paint shows besides the artwork.
struct ChartContent {
    ChartModel model;
    std::u16string ageText = u"-";
    // Only printed. In field order: domains 0..9, then the first text, the date of birth, the
    // second date and the second text.
    std::array<std::u16string, PrintedFieldCount> fieldTexts;
};

// Reads the content and the artwork; changes nothing.
void paintChart(DrawingSurface& surface, const ChartContent& content, const ImageSet& images,
                bool printMode);

// Fills the domain's 36-degree wedge out to the ring that holds the value; nothing for 0, or for
// a value no ring reaches.
void fillWedge(std::uint32_t value, std::size_t domain, const ChartModel& model,
               DrawingSurface& surface);
// Every ring circle, innermost first, then ten spokes on the borders between the wedges.
void drawRingsAndSpokes(const ChartModel& model, DrawingSurface& surface);
// Text centred in the box (x - 30, y, 60, 20): CentredTextWidth by TextBoxHeight.
void drawCentredText(std::u16string_view text, int x, int y, DrawingSurface& surface);
// Text left-aligned in the box (x, y, 200, 20): LeftTextWidth by TextBoxHeight.
void drawLeftText(std::u16string_view text, DrawingSurface& surface, int x, int y);
// "Arial" bold in points; the surface finds a family in its place when Arial is missing.
ChartFont makeChartFont(float sizePoints);

// The colour of a domain's wedge (domain 0..9).
Argb wedgeColour(std::size_t domain);

} // namespace tanu
