// The profile file: fourteen lines, the four header texts then the ten domain values, and the
// Save and Open commands that write and read it.
#pragma once

#include "document/document_port.h"
#include "form/entry_form.h"
#include "model/text.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tanu {

inline constexpr std::size_t ProfileLineCount = 14;
inline constexpr std::size_t HeaderLineCount = 4;
// Larger files are refused unread: a profile is well under a kilobyte.
inline constexpr std::size_t MaxProfileBytes = 64 * 1024;

// The fields in the order of their lines: the four header fields, then domains 0..9.
inline constexpr std::array<int, ProfileLineCount> ProfileFieldOrder{FirstTextField,
                                                                     BirthDateField,
                                                                     SecondDateField,
                                                                     SecondTextField,
                                                                     500,
                                                                     501,
                                                                     502,
                                                                     503,
                                                                     504,
                                                                     505,
                                                                     506,
                                                                     507,
                                                                     508,
                                                                     509};

// The last component of a path, for messages.
std::u16string displayName(std::u16string_view path);

// A header text as it goes on its line (without the line end): control characters other than
// TAB become spaces; a text of U+0001..U+00FF is written one byte per character, any
// other as UTF-8 (so are the rare texts of U+0001..U+00FF whose bytes would read back as
// UTF-8).
std::string encodeHeaderText(std::u16string_view text);

// A header line back to text: UTF-8 when the line is valid UTF-8 holding a byte above 0x7F,
// otherwise one character per byte.
std::u16string decodeHeaderLine(std::string_view line);

// Cuts a field's text to the 259 code units that are saved, without splitting a surrogate pair.
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

// The file as Save writes it from the current field texts.
std::string profileBytes(const AppState& state);

// The Save command: commits the focused field, asks for a path and writes the file.
void saveProfile(AppState& state, DocumentPort& port);

// The Open command: commits the focused field, asks for a path, reads the file and loads it into
// the fields and the model; a file that cannot be read or is no profile changes nothing.
void openProfile(AppState& state, DocumentPort& port);

// Open without the dialog: reads the file at path and loads it, with the same refusals and
// messages (a file named on the command line, say).
void openProfileFile(AppState& state, DocumentPort& port, const std::u16string& path);

} // namespace tanu
