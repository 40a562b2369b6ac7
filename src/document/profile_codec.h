// The profile file's bytes: fourteen lines, the four header texts then the ten domain values,
// and the rules by which texts and numbers go onto their lines and come back.
#pragma once

#include "model/chart_model.h"
#include "model/text.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

inline constexpr std::size_t ProfileLineCount = 14;
inline constexpr std::size_t HeaderLineCount = 4;
static_assert(HeaderLineCount + DomainCount == ProfileLineCount);
// Larger files are refused unread: a profile is well under a kilobyte.
inline constexpr std::size_t MaxProfileBytes = 64 * 1024;
// The placeholder of the date lines as it stands in the file.
inline constexpr std::string_view PlaceholderBytes = "YYYY/MM/DD";
inline constexpr std::string_view LineEnd = "\r\n";

// A header text as it goes on its line (without the line end): control characters other than
// TAB become spaces; a text of U+0001..U+00FF is written one byte per character, any
// other as UTF-8 (so are the rare texts of U+0001..U+00FF whose bytes would read back as
// UTF-8).
std::string encodeHeaderText(std::u16string_view text);

// A header line back to text: UTF-8 when the line is valid UTF-8 holding a byte above 0x7F,
// otherwise one character per byte.
std::u16string decodeHeaderLine(std::string_view line);

// Cuts a field's text to the CommitTextLimit code units that are saved, without splitting a
// surrogate pair.
std::u16string cutHeaderText(std::u16string_view text);

// The value a domain field's text is saved as: a run of digits read as decimal, 0 for anything
// else or beyond the signed 32-bit range, and 1 saved as 2.
std::uint32_t savedDomainValue(std::u16string_view text);

// The number at the start of a line, read as a formatted read does: leading white space, an
// optional sign, digits up to the first non-digit. 0 when there is none or it lies outside the
// signed 32-bit range.
std::int32_t readLineNumber(std::string_view line);

// A domain line to its value: 0 stays 0, anything else up to 2 becomes 2, 22 and above 22.
std::uint32_t openedDomainValue(std::string_view line);

// Splits at line feeds; a carriage return directly before a line feed is not part of the line.
// An empty line counts, a last line without a line feed counts, and nothing after the final
// line feed adds no line. Stops after maxLines lines.
std::vector<std::string> splitProfileLines(std::string_view bytes,
                                           std::size_t maxLines = static_cast<std::size_t>(-1));

// A file holding a control character other than TAB, CR and LF is binary, not a profile.
bool holdsControlCharacters(std::string_view bytes);

} // namespace tanu
