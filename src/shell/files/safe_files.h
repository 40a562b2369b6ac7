// Whole-file reads and writes for the shells, on the operating system's own calls: a read that
// never blocks on something that is not a file, and a save that never leaves a damaged profile.
// Every program of the project writes its files through writeFileAtomically.
#pragma once

#include "document/file_results.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace tanu::files {

// The path named by a UTF-16 text, as the system names files (UTF-8 on POSIX systems). Never
// throws, whatever the text holds.
std::filesystem::path pathFromUtf16(std::u16string_view text);

// Reads at most maxBytes + 1 bytes of the regular file at path, opened for reading only, so a
// larger file shows as bytes.size() > maxBytes without being read whole. Anything that is not
// a regular file (a folder, FIFO, socket or device) is refused without an open that could
// block.
ReadResult readRegularFile(const std::filesystem::path& path, std::size_t maxBytes);

// Makes bytes the whole content of the file at path: writes a temporary file with a short name
// beside it, checks every write, gets the data to the disk, then replaces the target in one
// step. A target that exists and is not a regular file is refused. An existing target keeps its
// permissions, and a symbolic link stays a link to the file it names; a new file gets the
// permissions the process's mask gives. On any failure the temporary file is removed and the
// target is left byte for byte as it was (or absent, if it was absent). Safe on several threads.
WriteResult writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// From now on SIGINT, SIGTERM and SIGHUP first remove the temporary file of every save still
// under way, then end the process as the signal would have. For programs that are ended by
// signals rather than by their user (POSIX only; elsewhere it does nothing).
void removeTemporariesOnSignal();

#ifdef _WIN32
// Windows' own words for an error code, or "Windows error N." when it has none.
std::u16string systemReason(unsigned long code);
#endif

// Whether Windows keeps the file name for a device whatever folder it stands in: CON, PRN, AUX,
// NUL, COM1..COM9 and LPT1..LPT9, in any case, with or without an extension ("nul.tanu").
bool isReservedWindowsName(std::u16string_view fileName);

} // namespace tanu::files
