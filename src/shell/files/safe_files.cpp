#include "shell/files/safe_files.h"

#include "document/document_texts.h"
#include "model/text.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include "shell/files/save_calls.h"

#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <memory>
#endif

namespace tanu::files {

namespace {

ReadResult readFailure(std::u16string reason) {
    return {false, {}, std::move(reason)};
}

WriteResult writeFailure(std::u16string reason) {
    return {false, std::move(reason)};
}

// Room for the whole file as its size now says, plus one byte to see that it has grown past
// maxBytes; a file that grows while it is read gets more room, up to maxBytes + 1.
std::size_t roomFor(std::uint64_t fileSize, std::size_t maxBytes) {
    return static_cast<std::size_t>(std::min<std::uint64_t>(fileSize, maxBytes)) + 1;
}

std::size_t moreRoom(std::size_t room, std::size_t maxBytes) {
    return room > maxBytes / 2 ? maxBytes + 1 : room * 2;
}

// The temporary file of a save: short, so that a target whose own name is near the system's
// limit can still be saved over, and hidden where a leading dot hides files.
std::string temporaryName(unsigned long process, unsigned attempt) {
    return ".tanu-" + std::to_string(process) + "-" + std::to_string(attempt) + ".tmp";
}
constexpr unsigned TemporaryAttempts = 100;

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

} // namespace

bool isReservedWindowsName(std::u16string_view fileName) {
    // The device name is what stands before the first dot, trailing spaces left out.
    std::u16string stem(fileName.substr(0, fileName.find(u'.')));
    while (!stem.empty() && stem.back() == u' ') {
        stem.pop_back();
    }
    for (char16_t& c : stem) {
        c = upper(c);
    }
    if (stem == u"CON" || stem == u"PRN" || stem == u"AUX" || stem == u"NUL" || stem == u"CONIN$" ||
        stem == u"CONOUT$") {
        return true;
    }
    // COM1..COM9 and LPT1..LPT9, and the superscript digits 1, 2 and 3 Windows also takes.
    const std::u16string_view digits = u"123456789\u00B9\u00B2\u00B3";
    return stem.size() == 4 && (stem.starts_with(u"COM") || stem.starts_with(u"LPT")) &&
           digits.find(stem[3]) != std::u16string_view::npos;
}

#ifdef _WIN32

namespace {

bool isDevicePath(const std::wstring& path) {
    return path.rfind(L"\\\\.\\", 0) == 0 || path.rfind(L"\\\\?\\GLOBALROOT", 0) == 0;
}

// A folder, a device or a pipe: nothing a profile may be read from or written over.
bool existsAsOtherThanFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return isDevicePath(path);
    }
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0 ||
           isDevicePath(path);
}

// A device's name opens the device, wherever the path puts it: nothing to read or replace.
bool hasReservedName(const std::filesystem::path& path) {
    const std::wstring name = path.filename().native();
    return isReservedWindowsName(std::u16string(name.begin(), name.end()));
}

} // namespace

std::u16string systemReason(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string reason;
    if (length != 0 && buffer != nullptr) {
        reason.assign(reinterpret_cast<const char16_t*>(buffer), length);
        while (!reason.empty() && (reason.back() == u'\n' || reason.back() == u'\r')) {
            reason.pop_back();
        }
    }
    LocalFree(buffer);
    if (reason.empty()) {
        reason = u"Windows error " + widenText(std::to_string(code)) + u".";
    }
    return reason;
}

std::filesystem::path pathFromUtf16(std::u16string_view text) {
    return std::filesystem::path(std::wstring(text.begin(), text.end()));
}

ReadResult readRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
    const std::wstring& name = path.native();
    if (hasReservedName(path)) {
        return readFailure(std::u16string(ReservedNameReason));
    }
    if (existsAsOtherThanFile(name)) {
        return readFailure(std::u16string(NotRegularFileReason));
    }
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return readFailure(systemReason(GetLastError()));
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        CloseHandle(file);
        return readFailure(std::u16string(NotRegularFileReason));
    }
    LARGE_INTEGER size{};
    const std::uint64_t fileSize =
        GetFileSizeEx(file, &size) ? static_cast<std::uint64_t>(size.QuadPart) : 0;
    ReadResult result{true, std::string(roomFor(fileSize, maxBytes), '\0'), {}};
    std::size_t got = 0;
    for (;;) {
        if (got == result.bytes.size()) {
            if (got > maxBytes) {
                break;
            }
            result.bytes.resize(moreRoom(got, maxBytes));
        }
        DWORD read = 0;
        const auto want = static_cast<DWORD>(result.bytes.size() - got);
        if (!ReadFile(file, result.bytes.data() + got, want, &read, nullptr)) {
            const DWORD code = GetLastError();
            CloseHandle(file);
            return readFailure(systemReason(code));
        }
        if (read == 0) {
            break;
        }
        got += read;
    }
    CloseHandle(file);
    result.bytes.resize(got);
    return result;
}

WriteResult writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::wstring& target = path.native();
    if (hasReservedName(path)) {
        return writeFailure(std::u16string(ReservedNameReason));
    }
    if (existsAsOtherThanFile(target)) {
        return writeFailure(std::u16string(NotRegularFileReason));
    }
    const bool targetExists = GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = (path.parent_path() /
                     std::filesystem::path(temporaryName(GetCurrentProcessId(), attempt)))
                        .native();
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE &&
            (GetLastError() != ERROR_FILE_EXISTS || attempt + 1 >= TemporaryAttempts)) {
            return writeFailure(systemReason(GetLastError()));
        }
    }
    const auto fail = [&](DWORD code) {
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
        }
        DeleteFileW(temporary.c_str());
        return writeFailure(systemReason(code));
    };
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto want = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(file, bytes.data() + done, want, &written, nullptr) || written == 0) {
            return fail(GetLastError());
        }
        done += written;
    }
    // The data must be on the disk before the name points at it.
    if (!FlushFileBuffers(file)) {
        return fail(GetLastError());
    }
    const HANDLE closing = file;
    file = INVALID_HANDLE_VALUE;
    if (!CloseHandle(closing)) {
        return fail(GetLastError());
    }
    const bool replaced =
        targetExists ? ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                    REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0
                     : MoveFileExW(temporary.c_str(), target.c_str(),
                                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!replaced) {
        return fail(GetLastError());
    }
    return {true, {}};
}

void removeTemporariesOnSignal() {}

#else

namespace {

std::u16string errnoReason(int code) {
    const std::optional<std::u16string> text = utf16FromUtf8(std::strerror(code));
    return text ? *text + u"." : u"System error " + widenText(std::to_string(code)) + u".";
}

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            saveCalls().close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    // Closes now, so that the error of the close itself can be seen.
    int close() {
        const int result = saveCalls().close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

// The folder part of a path with its separator, or empty for a bare name.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Where a save must write: the file itself, or the file a symbolic link names, so the link
// stays a link.
std::string resolvedTarget(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) {
        return path;
    }
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
    return real ? std::string(real.get()) : path;
}

// The temporary files of the saves under way, one slot each, for the signal handler: plain
// buffers, claimed and released through atomics.
struct TemporarySlot {
    std::atomic<bool> claimed{false};
    std::atomic<bool> live{false};
    char path[PATH_MAX]{};
};
std::array<TemporarySlot, 16> temporarySlots;

extern "C" void removeTemporariesAndEnd(int signal) {
    for (TemporarySlot& slot : temporarySlots) {
        if (slot.live.load()) {
            ::unlink(slot.path);
        }
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

// No signal is handled in the scope of one of these, so the handler never sees a temporary
// file that exists but is not yet known, or known but already renamed.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, &previous_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// The temporary file of one save, known to the signal handler while it exists. More saves at
// once than there are slots still work; their files are then only not removed on a signal.
class TemporaryFile {
public:
    TemporaryFile() {
        for (TemporarySlot& candidate : temporarySlots) {
            bool expected = false;
            if (candidate.claimed.compare_exchange_strong(expected, true)) {
                slot_ = &candidate;
                return;
            }
        }
    }
    ~TemporaryFile() {
        if (!path_.empty()) {
            const SignalsHeld held;
            ::unlink(path_.c_str());
            forget();
        }
        if (slot_ != nullptr) {
            slot_->claimed.store(false);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates the file at path, never through a link or over anything already there.
    int create(const std::string& path, mode_t mode) {
        const SignalsHeld held;
        const int fd =
            saveCalls().open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0) {
            path_ = path;
            if (slot_ != nullptr && path.size() < sizeof slot_->path) {
                std::memcpy(slot_->path, path.c_str(), path.size() + 1);
                slot_->live.store(true);
            }
        }
        return fd;
    }
    const std::string& path() const { return path_; }

    // Gives the file its final name; from then on it is not ours to remove.
    bool renameTo(const std::string& target) {
        const SignalsHeld held;
        if (saveCalls().rename(path_.c_str(), target.c_str()) != 0) {
            return false;
        }
        forget();
        return true;
    }

private:
    void forget() {
        path_.clear();
        if (slot_ != nullptr) {
            slot_->live.store(false);
        }
    }

    TemporarySlot* slot_ = nullptr;
    std::string path_;
};

int systemOpen(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

} // namespace

SaveCalls& saveCalls() {
    static SaveCalls calls{systemOpen, ::write, ::fsync, ::close, ::rename};
    return calls;
}

std::filesystem::path pathFromUtf16(std::u16string_view text) {
    return std::filesystem::path(utf8FromUtf16(text));
}

ReadResult readRegularFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        return readFailure(errnoReason(errno));
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0) {
        return readFailure(errnoReason(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return readFailure(std::u16string(NotRegularFileReason));
    }
    ReadResult result{
        true, std::string(roomFor(static_cast<std::uint64_t>(info.st_size), maxBytes), '\0'), {}};
    std::size_t got = 0;
    for (;;) {
        if (got == result.bytes.size()) {
            if (got > maxBytes) {
                break;
            }
            result.bytes.resize(moreRoom(got, maxBytes));
        }
        const ssize_t n = ::read(file.get(), result.bytes.data() + got, result.bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return readFailure(errnoReason(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    result.bytes.resize(got);
    return result;
}

WriteResult writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    const std::string target = resolvedTarget(path.native());
    struct stat existing {};
    const bool targetExists = ::stat(target.c_str(), &existing) == 0;
    if (targetExists && !S_ISREG(existing.st_mode)) {
        return writeFailure(std::u16string(NotRegularFileReason));
    }

    const std::string folder = folderOf(target);
    TemporaryFile temporary;
    int fd = -1;
    for (unsigned attempt = 0; fd < 0; ++attempt) {
        // 0666: a new file gets what the process's mask leaves of read and write for all.
        fd = temporary.create(
            folder + temporaryName(static_cast<unsigned long>(::getpid()), attempt), 0666);
        if (fd < 0 && (errno != EEXIST || attempt + 1 >= TemporaryAttempts)) {
            return writeFailure(errnoReason(errno));
        }
    }
    Descriptor file(fd);
    // On failure the temporary file goes with `temporary`.
    const auto fail = [](int code) { return writeFailure(errnoReason(code)); };
    if (targetExists) {
        // The replacement keeps the old file's permissions (and owner, where allowed).
        if (::fchmod(file.get(), existing.st_mode & 07777) != 0) {
            return fail(errno);
        }
        [[maybe_unused]] const int owned = ::fchown(file.get(), existing.st_uid, existing.st_gid);
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = saveCalls().write(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    // The data must be on the disk before the name points at it.
    if (saveCalls().fsync(file.get()) != 0) {
        return fail(errno);
    }
    if (file.close() != 0) {
        return fail(errno);
    }
    if (!temporary.renameTo(target)) {
        return fail(errno);
    }
    // And the new name itself survives a power cut. The profile is in place by now: a folder
    // that cannot be synced is no reason to report the save as failed.
    const std::string folderName = folder.empty() ? std::string(".") : folder;
    const Descriptor directory(
        saveCalls().open(folderName.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC, 0));
    if (directory.get() >= 0) {
        saveCalls().fsync(directory.get());
    }
    return {true, {}};
}

void removeTemporariesOnSignal() {
    struct sigaction action {};
    action.sa_handler = removeTemporariesAndEnd;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        ::sigaction(signal, &action, nullptr);
    }
}

#endif

} // namespace tanu::files
