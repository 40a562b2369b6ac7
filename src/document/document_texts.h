// The texts of the profile file and printing: the file dialogs, what Open, Save and Print say
// when something fails ("%1" and "%2" are filled by fillMessage: the file name, and the reason the
// system gave), the reasons the file calls give, and the printed page.
#pragma once

#include <string_view>

namespace tanu {

// --- File dialogs ----------------------------------------------------------------------------

inline constexpr std::u16string_view OpenDialogTitle = u"Open";
inline constexpr std::u16string_view SaveDialogTitle = u"Save As";
// The one filter both file dialogs offer.
inline constexpr std::u16string_view ProfileFilterName = u"TANU Save file";
inline constexpr std::u16string_view ProfileFilterPattern = u"*.tanu";
// The name the save dialog proposes every time.
inline constexpr std::u16string_view ProposedSaveName = u"untitled.tanu";

// --- Messages --------------------------------------------------------------------------------

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
