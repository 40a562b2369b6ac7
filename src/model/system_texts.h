// The program's own texts and the constants every shell shows them with: titles, menus, the
// About box, the file dialogs, every message, the control font and the printed page. A shell
// reads them from here and spells none of them itself.
#pragma once

#include <array>
#include <string_view>

namespace tanu {

// --- The main window -------------------------------------------------------------------------

inline constexpr std::u16string_view MainWindowTitle = u"TANU";
// The title the window is created with before it is given the one above, and its class name.
inline constexpr std::u16string_view CreationTitle = u"tanu";
inline constexpr std::u16string_view WindowClassName = u"TANU";

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
inline constexpr std::u16string_view AboutFontFamily = u"MS Shell Dlg";
inline constexpr int AboutFontPoints = 8;
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

// --- File dialogs ----------------------------------------------------------------------------

inline constexpr std::u16string_view OpenDialogTitle = u"Open";
inline constexpr std::u16string_view SaveDialogTitle = u"Save As";
// The one filter both file dialogs offer.
inline constexpr std::u16string_view ProfileFilterName = u"TANU Save file";
inline constexpr std::u16string_view ProfileFilterPattern = u"*.tanu";
// The name the save dialog proposes every time.
inline constexpr std::u16string_view ProposedSaveName = u"untitled.tanu";

// --- Fields ----------------------------------------------------------------------------------

inline constexpr std::u16string_view DatePlaceholder = u"YYYY/MM/DD";

// --- Messages --------------------------------------------------------------------------------
// "%1" and "%2" are filled by fillMessage: the file name, and the reason the system gave.

inline constexpr std::u16string_view InvalidDateCaption = u"Invalid date";
inline constexpr std::u16string_view InvalidDateText =
    u"Please enter a valid date of birth.\nThe date format is YYYY/MM/DD.\n"
    u"For example: 2000/7/2\n\nThe year should be at least 1980.";

inline constexpr std::u16string_view OpenFailedCaption = u"Cannot open profile";
inline constexpr std::u16string_view OpenUnreadableText =
    u"The file \"%1\" could not be read.\n\n%2";
inline constexpr std::u16string_view OpenTooLargeText =
    u"The file \"%1\" is not a TANU profile: it is larger than 64 KB.";
inline constexpr std::u16string_view OpenNotTextText =
    u"The file \"%1\" is not a TANU profile: it holds binary data.";
inline constexpr std::u16string_view OpenTooShortText =
    u"The file \"%1\" is not a TANU profile: it has fewer than fourteen lines.";
inline constexpr std::u16string_view SaveFailedCaption = u"Cannot save profile";
inline constexpr std::u16string_view SaveFailedText =
    u"The profile could not be saved as \"%1\".\n\n%2\n\nAn existing file of that name was left "
    u"unchanged.";
inline constexpr std::u16string_view BirthDateNotLoadedCaption = u"Date of birth not valid";
inline constexpr std::u16string_view BirthDateNotLoadedText =
    u"The date of birth in \"%1\" is not a valid date of birth, so the domain values of the "
    u"file were not loaded.\n\nEnter a valid date of birth and then the domain values.";

// A chart picture that is there but not used; "%1" is its file.
inline constexpr std::u16string_view PicturesNotUsedCaption = u"Chart pictures not used";
inline constexpr std::u16string_view PictureTooLargeText =
    u"The picture \"%1\" is not used: it is %2 pixels, and TANU takes at most %3 for it.";
inline constexpr std::u16string_view PictureUnreadableText =
    u"The picture \"%1\" is not used: it could not be read. %2";
inline constexpr std::u16string_view PictureNotAPictureText =
    u"The picture \"%1\" is not used: it is not a picture TANU can read.";

// The reasons a file call gives for what is not a regular file.
inline constexpr std::u16string_view NotRegularFileReason = u"It is not a regular file.";
inline constexpr std::u16string_view ReservedNameReason =
    u"Windows reserves this name for a device; choose another name.";

// --- Printing --------------------------------------------------------------------------------

inline constexpr std::u16string_view PrintJobName = u"TANU Print";
// One chart unit on paper is a hundredth of an inch; the page is landscape.
inline constexpr int PrintUnitsPerInch = 100;
inline constexpr bool PrintLandscape = true;
inline constexpr std::u16string_view PrintFailedCaption = u"Cannot print";
inline constexpr std::u16string_view PrintFailedText = u"The chart could not be printed.\n\n%1";
inline constexpr std::u16string_view NoDefaultPrinterReason = u"No default printer is set up.";
inline constexpr std::u16string_view PrintJobRefusedReason = u"The printer did not accept the job.";

} // namespace tanu
