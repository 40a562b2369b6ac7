// Output files that appear complete or not at all, also when the program is interrupted.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tanu::exporter {

// Removes this process's unfinished temporary files on SIGINT, SIGTERM and SIGHUP, then ends
// the process as the signal would have.
void removeTemporariesOnSignal();

// Writes bytes to a temporary file in the target's folder, gets them to the disk and renames the
// file onto target. On failure nothing new remains and reason says why. Safe on several threads.
// beforeRename runs when the temporary file is complete (tests interrupt the write there).
bool writeAtomically(const std::string& target, std::string_view bytes, std::string& reason,
                     const std::function<void()>& beforeRename = {});

// Writes all of bytes to standard output.
bool writeToStandardOutput(std::string_view bytes, std::string& reason);

} // namespace tanu::exporter
