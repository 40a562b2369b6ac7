// The font of the fourteen entry fields.
#pragma once

#include <QFont>

namespace tanu::qt {

inline constexpr int ControlFontCellHeight = 16;

// Arial bold whose cell height (ascent + descent) is 16 pixels, the largest pixel size that
// does not exceed it.
QFont makeControlFont();

} // namespace tanu::qt
