// What the painter shows of a profile, taken from the form and its fields.
#pragma once

#include "chart/chart_painter.h"
#include "form/entry_form.h"

namespace tanu {

// The model, the age text and the fourteen field texts as the printed picture shows them. The
// window shows the fields themselves and paints without their texts: it reads no field while
// it paints, not even before the fields exist.
ChartContent chartContentOf(const FormState& state, bool withFieldTexts = true);

} // namespace tanu
