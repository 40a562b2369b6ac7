// What the painter shows of a profile, taken from the form and its fields.
#pragma once

#include "chart/chart_painter.h"
#include "form/entry_form.h"

namespace tanu {

// The model, the age text and the fourteen field texts as the printed picture shows them.
ChartContent chartContentOf(const AppState& state);

} // namespace tanu
