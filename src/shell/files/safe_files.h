// Whole-file reads and writes for the shells, on the operating system's own calls: a read that
// never blocks on something that is not a file, and a save that never leaves a damaged profile.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tanu::files {

// Reads at most maxBytes + 1 bytes of the regular file at path, opened for reading only, so a
// larger file shows as bytes.size() > maxBytes without being read whole. Anything that is not
// a regular file (a folder, FIFO, socket or device) is refused without being opened for reading
// in a way that could block. False with a short human-readable reason on failure.
bool readRegularFile(const std::u16string& path, std::size_t maxBytes, std::string& bytes,
                     std::u16string& reason);

// Makes bytes the whole content of the file at path: writes a temporary file beside it, checks
// every write, gets the data to the disk, then replaces the target in one step. A target that
// exists and is not a regular file is refused. On any failure the temporary file is removed,
// the target is left byte for byte as it was (or absent, if it was absent) and false is
// returned with a short human-readable reason.
bool writeFileAtomically(const std::u16string& path, std::string_view bytes,
                         std::u16string& reason);

} // namespace tanu::files
