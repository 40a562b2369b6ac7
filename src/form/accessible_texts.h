// What a screen reader says of the form, the same in every shell: each field's name (its label
// on the chart) and the chart's name and description, which changes with every commit.
#pragma once

#include "model/chart_model.h"

#include <string>
#include <string_view>

namespace tanu {

// "Name", "Date of birth", "Date of assessment", "Assessed by", "Domain 1" .. "Domain 10".
std::u16string fieldAccessibleName(int id);

inline constexpr std::u16string_view ChartAccessibleName = u"Profile chart";

// "Age: 12. Rings from 7 to 15 years, one ring per year. Domain 1: 9 years. Domain 2: no
// value. ..."
std::u16string chartDescription(const ChartModel& model, std::u16string_view ageText);

} // namespace tanu
