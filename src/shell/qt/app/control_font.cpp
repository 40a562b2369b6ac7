#include "control_font.h"

#include "qt_text.h"

#include <QFontMetrics>

namespace tanu::qt {

QFont makeControlFont() {
    QFont font(toQString(ControlFontFamily));
    font.setBold(true);
    // A cell height asks for ascent plus descent, while a pixel size names the em only; Arial's
    // cell is about 15% taller than its em, so walk down from the cell height until it fits.
    for (int pixels = ControlFontCellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= ControlFontCellHeight) {
            break;
        }
    }
    return font;
}

} // namespace tanu::qt
