#include "atomic_output.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <limits.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tanu::exporter {

namespace {

// The temporaries being written now, one slot per writer; the signal handler reads them, so
// they are plain buffers claimed and released through atomics.
struct TemporarySlot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> live{false};
    char path[PATH_MAX]{};
};
// As many as --jobs allows, each with one output being drawn and one waiting to be committed.
std::array<TemporarySlot, 2 * 256 + 1> slots;

extern "C" void onTerminatingSignal(int signal) {
    for (TemporarySlot& slot : slots) {
        if (slot.live.load()) {
            ::unlink(slot.path);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

// Held by a PendingOutput until its file is renamed or removed.
class ClaimedSlot {
public:
    ClaimedSlot() {
        for (TemporarySlot& candidate : slots) {
            bool expected = false;
            if (candidate.claimed.compare_exchange_strong(expected, true)) {
                slot_ = &candidate;
                return;
            }
        }
    }
    ~ClaimedSlot() {
        if (slot_ != nullptr) {
            slot_->live.store(false);
            slot_->claimed.store(false);
        }
    }
    ClaimedSlot(const ClaimedSlot&) = delete;
    ClaimedSlot& operator=(const ClaimedSlot&) = delete;

    // mkstemp's pattern in; the name it made out, known to the signal handler from the moment
    // the file exists.
    int createTemporary(const std::string& pattern) {
        if (slot_ == nullptr || pattern.size() >= PATH_MAX) {
            errno = EMFILE;
            return -1;
        }
        std::memcpy(slot_->path, pattern.c_str(), pattern.size() + 1);
        // Blocked while the file is made and not yet known, so no signal strands it.
        sigset_t all;
        sigset_t previous;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous);
        const int fd = ::mkostemp(slot_->path, O_CLOEXEC);
        if (fd >= 0) {
            slot_->live.store(true);
        }
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return fd;
    }
    const char* path() const { return slot_->path; }
    void forget() { slot_->live.store(false); }

private:
    TemporarySlot* slot_ = nullptr;
};

namespace {

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

void removeTemporariesOnSignal() {
    struct sigaction action {};
    action.sa_handler = onTerminatingSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

PendingOutput::PendingOutput() : slot_(std::make_unique<ClaimedSlot>()) {}

PendingOutput::~PendingOutput() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(slot_->path());
        slot_->forget();
    }
}

std::unique_ptr<PendingOutput> PendingOutput::write(const std::string& target,
                                                    std::string_view bytes, std::string& reason) {
    const std::filesystem::path path(target);
    std::unique_ptr<PendingOutput> output(new PendingOutput);
    output->target_ = target;
    output->folder_ = path.has_parent_path() ? path.parent_path().string() : std::string(".");
    // Hidden, and named after the target, so a stray one is recognised.
    std::string name(1, '.');
    name += path.filename().string();
    name += ".XXXXXX";
    const std::string pattern = (std::filesystem::path(output->folder_) / name).string();

    output->fd_ = output->slot_->createTemporary(pattern);
    if (output->fd_ < 0) {
        reason = std::strerror(errno);
        return nullptr;
    }
    // Readable as a file made with the usual permissions would be; the mask is read once,
    // since reading it means setting it.
    static const mode_t mask = [] {
        const mode_t current = ::umask(0);
        ::umask(current);
        return current;
    }();
    if (::fchmod(output->fd_, 0666 & ~mask) != 0 || !writeAll(output->fd_, bytes)) {
        reason = std::strerror(errno != 0 ? errno : EIO);
        return nullptr; // the destructor removes the temporary
    }
    return output;
}

bool PendingOutput::commit(std::string& reason, const std::function<void()>& beforeRename) {
    int error = 0;
    const auto check = [&error](bool done) {
        if (!done && error == 0) {
            error = errno != 0 ? errno : EIO;
        }
    };
    check(::fsync(fd_) == 0);
    check(::close(fd_) == 0);
    fd_ = -1;
    if (error == 0 && beforeRename) {
        beforeRename();
    }
    if (error == 0) {
        check(::rename(slot_->path(), target_.c_str()) == 0);
    }
    if (error != 0) {
        reason = std::strerror(error);
        ::unlink(slot_->path());
        slot_->forget();
        return false;
    }
    slot_->forget();
    // The rename itself reaches the disk with the folder.
    const int dir = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool writeAtomically(const std::string& target, std::string_view bytes, std::string& reason,
                     const std::function<void()>& beforeRename) {
    const std::unique_ptr<PendingOutput> output = PendingOutput::write(target, bytes, reason);
    return output && output->commit(reason, beforeRename);
}

bool writeToStandardOutput(std::string_view bytes, std::string& reason) {
    if (!writeAll(STDOUT_FILENO, bytes)) {
        reason = std::strerror(errno);
        return false;
    }
    return true;
}

} // namespace tanu::exporter
