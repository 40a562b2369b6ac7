// The font of the fourteen entry fields.
#pragma once

#include "app/system_texts.h"

#include <QFont>

namespace tanu::qt {

// Arial bold whose cell height (ascent + descent) is 16 pixels, the largest pixel size that
// does not exceed it.
QFont makeControlFont();

} // namespace tanu::qt
