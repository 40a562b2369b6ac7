// Paints the whole profile chart, on the window or on a printed page.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"
#include "form/entry_form.h"

#include <string_view>

namespace tanu {

inline constexpr int ChartWidth = 912;
inline constexpr int ChartHeight = 699;
inline constexpr int CentreX = 456;
inline constexpr int CentreY = 349;

// Reads the model, the age text, the artwork and (in print mode) the field texts; changes nothing.
void paintChart(DrawingSurface& surface, const AppState& state, const ImageSet& images,
                bool printMode);

void fillWedge(std::uint32_t value, std::size_t domain, const ChartModel& model,
               DrawingSurface& surface);
void drawRingsAndSpokes(const ChartModel& model, DrawingSurface& surface);
void drawCentredText(std::u16string_view text, int x, int y, DrawingSurface& surface);
void drawLeftText(std::u16string_view text, DrawingSurface& surface, int x, int y);
ChartFont makeChartFont(float sizePoints);

} // namespace tanu
