// The entry form's own texts: the date fields' placeholder and the message a date of birth that
// is not accepted gives.
#pragma once

#include <string_view>

namespace tanu {

// --- Fields ----------------------------------------------------------------------------------

inline constexpr std::u16string_view DatePlaceholder = u"YYYY/MM/DD";

// --- Messages --------------------------------------------------------------------------------

inline constexpr std::u16string_view InvalidDateCaption = u"Invalid date";
inline constexpr std::u16string_view InvalidDateText =
    u"Please enter a valid date of birth.\nThe date format is YYYY/MM/DD.\n"
    u"For example: 2000/7/2\n\nThe year should be at least 1980.";

} // namespace tanu
