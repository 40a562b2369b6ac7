// The port through which the profile commands reach the user's files: the two file dialogs and
// whole-file reads and writes. A shell implements it on its toolkit; tests implement it in memory.
#pragma once

#include "document/document_texts.h"
#include "document/file_results.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tanu {

class DocumentPort {
public:
    virtual ~DocumentPort() = default;

    // The open dialog, modal over the main window, with the filter above and an empty file name.
    // The chosen path, or nothing when the user cancelled or the dialog failed.
    virtual std::optional<std::u16string> chooseOpenPath() = 0;

    // The save dialog with the filter above and proposedName in the name box; it asks before
    // overwriting an existing file. No extension is appended to a typed name.
    virtual std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) = 0;

    // Reads the regular file at path (opened by that UTF-16 path, for reading only, never
    // blocking on something that is not a file). Reads at most maxBytes + 1 bytes, so a larger
    // file shows as bytes.size() > maxBytes without being read whole.
    virtual ReadResult readFile(const std::u16string& path, std::size_t maxBytes) = 0;

    // Writes bytes as the whole content of the file at path: a complete temporary file first,
    // every write checked and the data on the disk, then an atomic replacement of the target,
    // so the target is either the old file or the new one, never a part. A target that exists
    // and is not a regular file is refused. On any failure an existing file at path is left as
    // it was and no new file is left behind.
    virtual WriteResult writeFileAtomically(const std::u16string& path, std::string_view bytes) = 0;
};

} // namespace tanu
