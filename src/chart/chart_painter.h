// Paints the whole profile chart, on the window or on a printed page.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"
#include "form/entry_form.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tanu {

inline constexpr int ChartWidth = 912;
inline constexpr int ChartHeight = 699;
inline constexpr int CentreX = 456;
inline constexpr int CentreY = 349;

// Reads the model, the age text, the artwork and (in print mode) the field texts; changes nothing.
void paintChart(DrawingSurface& surface, const AppState& state, const ImageSet& images,
                bool printMode);

// Fills the domain's 36-degree wedge out to the ring that holds the value; nothing for 0, or for
// a value no ring reaches.
void fillWedge(std::uint32_t value, std::size_t domain, const ChartModel& model,
               DrawingSurface& surface);
// Every ring circle, innermost first, then ten spokes on the borders between the wedges.
void drawRingsAndSpokes(const ChartModel& model, DrawingSurface& surface);
// Text centred in the box (x - 30, y, 60, 20).
void drawCentredText(std::u16string_view text, int x, int y, DrawingSurface& surface);
// Text left-aligned in the box (x, y, 200, 20).
void drawLeftText(std::u16string_view text, DrawingSurface& surface, int x, int y);
// "Arial" bold in points; the surface finds a family in its place when Arial is missing.
ChartFont makeChartFont(float sizePoints);

// The colour of a domain's wedge (domain 0..9).
Argb wedgeColour(std::size_t domain);

} // namespace tanu
