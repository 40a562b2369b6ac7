// The program's own window texts and the constants every shell shows them with: the title, the
// menus, the About box (placed in dialog units) and the control font of the fields. A shell reads
// them from here and spells none of them itself; the texts of the form, the file, printing and
// the pictures live with the code that shows them.
#pragma once

#include <array>
#include <string_view>

namespace tanu {

// --- The main window -------------------------------------------------------------------------

inline constexpr std::u16string_view MainWindowTitle = u"TANU";

// The font of the fourteen fields: Arial bold whose cell (ascent plus descent) is 16 pixels.
inline constexpr std::u16string_view ControlFontFamily = u"Arial";
inline constexpr int ControlFontCellHeight = 16;
inline constexpr int ControlFontWeight = 700;

// --- Menus -----------------------------------------------------------------------------------
// "&" marks the letter underlined for keyboard selection.

inline constexpr std::u16string_view FileMenuCaption = u"&File";
inline constexpr std::u16string_view HelpMenuCaption = u"&Help";

// --- The About box ---------------------------------------------------------------------------
// Placed in dialog units: a quarter of the average character width and an eighth of the line
// height of the box's font, from the top left of the box's client area.

inline constexpr std::u16string_view AboutCaption = u"About tanu";
inline constexpr int AboutWidthUnits = 330;
inline constexpr int AboutHeightUnits = 190;

struct AboutLine {
    std::u16string_view text;
    int x;
    int y;
    int width;
};
inline constexpr int AboutLineHeightUnits = 8;

inline constexpr std::array<AboutLine, 7> AboutLines{{
    {u"tanu, Version 1.0", 20, 14, 114},
    {u"Step 1 - enter a DOB to unlock the wedge input areas.", 20, 50, 320},
    {u"Q: I accidentally put a large number into a domain and now the ring values have changed.",
     20, 70, 320},
    {u"How do I reset them?", 30, 82, 320},
    {u"A: Click in the Date of Birth field and then click in the domain you want to change - it "
     u"should",
     20, 100, 320},
    {u"reset to the age of the student. Warning: clicking in the Date of Birth field and then "
     u"clicking",
     30, 112, 320},
    {u"any other field will reset ALL domains with values higher than the chronological age.", 30,
     124, 320},
}};

inline constexpr std::u16string_view AboutButtonText = u"OK";
struct DialogRect {
    int x;
    int y;
    int width;
    int height;
};
inline constexpr DialogRect AboutButton{142, 168, 50, 14};

} // namespace tanu
