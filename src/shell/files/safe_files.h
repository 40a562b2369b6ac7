// Whole-file reads and writes for the shells, on the operating system's own calls: a read that
// never blocks on something that is not a file, and a save that never leaves a damaged profile.
#pragma once

#include "model/file_results.h"

#include <cstddef>
#include <filesystem>
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

// Makes bytes the whole content of the file at path: writes a temporary file beside it, checks
// every write, gets the data to the disk, then replaces the target in one step. A target that
// exists and is not a regular file is refused. On any failure the temporary file is removed and
// the target is left byte for byte as it was (or absent, if it was absent).
WriteResult writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

} // namespace tanu::files
