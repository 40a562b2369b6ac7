// Output files that appear complete or not at all, also when the program is interrupted.
#pragma once

#include <functional>
#include <memory>
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

class ClaimedSlot;

// An output written in full to a temporary file beside its target, not yet in place; removed
// when dropped uncommitted. Several can wait at once, so that one file gets to the disk while
// the next chart is drawn.
class PendingOutput {
public:
    // Null, with the reason, when the temporary file could not be made or written.
    static std::unique_ptr<PendingOutput> write(const std::string& target, std::string_view bytes,
                                                std::string& reason);
    ~PendingOutput();
    PendingOutput(const PendingOutput&) = delete;
    PendingOutput& operator=(const PendingOutput&) = delete;

    // Gets the bytes to the disk and renames the file onto the target; once only.
    bool commit(std::string& reason, const std::function<void()>& beforeRename = {});
    const std::string& target() const { return target_; }

private:
    PendingOutput();

    std::unique_ptr<ClaimedSlot> slot_;
    int fd_ = -1;
    std::string target_;
    std::string folder_;
};

// Writes all of bytes to standard output.
bool writeToStandardOutput(std::string_view bytes, std::string& reason);

} // namespace tanu::exporter
