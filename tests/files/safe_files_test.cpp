// The shells' file calls against the real file system: refusals that must never block or
// replace something that is not a file, and saves that keep the old file on any failure.
#include "shell/files/safe_files.h"

#include "model/text.h"
#include "shell/files/save_calls.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tanu::files {
namespace {

namespace fs = std::filesystem;

std::u16string u16(const fs::path& path) {
    return widenText(path.string()); // the test folders are ASCII
}

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void putFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SafeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/tanu-files-XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override { fs::remove_all(folder); }

    // Only the named entries: no temporary file may be left behind.
    void expectFolderHolds(std::initializer_list<const char*> names) {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder)) {
            ++count;
        }
        EXPECT_EQ(count, names.size());
        for (const char* n : names) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(folder / n))) << n;
        }
    }

    // Saves in a child whose files may not grow past limitBytes, as on a full disk. The
    // child's exit code says whether the save reported failure.
    bool saveWithFileSizeLimit(const fs::path& target, const std::string& bytes,
                               rlim_t limitBytes) {
        const pid_t child = ::fork();
        if (child == 0) {
            std::signal(SIGXFSZ, SIG_IGN); // writes then fail with EFBIG instead of killing
            const rlimit limit{limitBytes, limitBytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const WriteResult saved = writeFileAtomically(target, bytes);
            const bool explained = saved.reason.find(u"too large") != std::u16string::npos;
            ::_exit(saved.ok ? 0 : explained ? 1 : 2);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_NE(WEXITSTATUS(status), 2) << "the reason does not say what failed";
        return WEXITSTATUS(status) == 0;
    }

    fs::path folder;
};

TEST_F(SafeFiles, SaveReplacesTheContentAndKeepsPermissionsAndLinks) {
    const fs::path target = folder / "p.tanu";
    putFile(target, "old");
    ::chmod(target.c_str(), 0640);
    fs::create_symlink(target, folder / "link.tanu");

    ASSERT_TRUE(writeFileAtomically(folder / "link.tanu", "new bytes").ok);
    EXPECT_EQ(contentOf(target), "new bytes");
    EXPECT_TRUE(fs::is_symlink(folder / "link.tanu"));
    struct stat info {};
    ::stat(target.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    expectFolderHolds({"p.tanu", "link.tanu"});
}

TEST_F(SafeFiles, ASaveThatCannotBeWrittenWholeKeepsTheOldFile) {
    const fs::path target = folder / "p.tanu";
    const std::string old = "an 18-byte profile";
    putFile(target, old);
    const std::string large(4096, 'x');

    EXPECT_FALSE(saveWithFileSizeLimit(target, large, 1024));
    EXPECT_EQ(contentOf(target), old);
    // A new file is not left behind empty either.
    EXPECT_FALSE(saveWithFileSizeLimit(folder / "new.tanu", large, 1024));
    expectFolderHolds({"p.tanu"});
    // Within the limit the same save goes through.
    EXPECT_TRUE(saveWithFileSizeLimit(target, large, 8192));
    EXPECT_EQ(contentOf(target), large);
}

TEST_F(SafeFiles, NeitherCallTouchesWhatIsNotARegularFile) {
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    fs::create_directory(folder / "dir.tanu");
    for (const char* name : {"fifo", "dir.tanu"}) {
        const WriteResult written = writeFileAtomically(folder / name, "bytes");
        EXPECT_FALSE(written.ok) << name;
        EXPECT_FALSE(written.reason.empty()) << name;
        // A FIFO with no writer would block an ordinary open for reading.
        const ReadResult read = readRegularFile(folder / name, 100);
        EXPECT_FALSE(read.ok) << name;
        EXPECT_NE(read.reason.find(u"not a regular file"), std::u16string::npos) << name;
    }
    EXPECT_TRUE(fs::is_fifo(folder / "fifo"));
    EXPECT_TRUE(fs::is_directory(folder / "dir.tanu"));
    expectFolderHolds({"fifo", "dir.tanu"});
}

TEST_F(SafeFiles, ReadOpensForReadingOnlyAndStopsPastTheLimit) {
    const std::string version = contentOf("/proc/version");
    ASSERT_GT(version.size(), 20u);
    putFile(folder / "one", "z");
    putFile(folder / "short", "abc");
    // Named by its UTF-16 text, as the dialogs give it.
    putFile(folder / "st\xC3\xBC"
                     "dent.tanu",
            "xyz");
    const struct {
        fs::path path;
        std::size_t limit;
        bool ok;
        std::string bytes;     // when ok
        std::u16string reason; // when not
    } rows[] = {
        {folder / "one", 64, true, "z", {}},
        {folder / "short", 64, true, "abc", {}},
        // The buffer follows the file, not the limit.
        {folder / "short", std::size_t{1} << 40, true, "abc", {}},
        {folder / "short", 2, true, "abc", {}}, // one byte past the limit shows it is larger
        // Its size says 0: the buffer grows as it is read, to one byte past the limit.
        {"/proc/version", 10, true, version.substr(0, 11), {}},
        {"/proc/version", 16, true, version.substr(0, 17), {}},
        {"/proc/version", std::size_t{1} << 20, true, version, {}},
        {pathFromUtf16(u16(folder) + u"/st\u00FCdent.tanu"), 64, true, "xyz", {}},
        {folder / "missing", 64, false, {}, u"No such file or directory."},
        // A regular file that cannot be read.
        {"/proc/self/mem", 64, false, {}, u"Input/output error."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.path.string() + " " + std::to_string(row.limit));
        const ReadResult read = readRegularFile(row.path, row.limit);
        EXPECT_EQ(read.ok, row.ok);
        EXPECT_EQ(read.bytes, row.bytes);
        EXPECT_EQ(read.reason, row.reason);
    }
    // A running program cannot be opened for writing, not even by root.
    const ReadResult program = readRegularFile("/proc/self/exe", 64);
    ASSERT_TRUE(program.ok) << utf8FromUtf16(program.reason);
    EXPECT_EQ(program.bytes.size(), 65u);
}

TEST_F(SafeFiles, TheTemporaryFileIsShortNewAndBesideTheTarget) {
    // A name near the system's 255-byte limit leaves no room for a long temporary name.
    const fs::path target = folder / (std::string(245, 'n') + ".tanu");
    putFile(target, "old");
    // A link planted where the first temporary file would go is neither followed nor replaced.
    putFile(folder / "victim", "keep");
    const std::string planted = ".tanu-" + std::to_string(::getpid()) + "-0.tmp";
    fs::create_symlink(folder / "victim", folder / planted);
    // Saved from a current folder that no longer exists: nothing may be made there.
    const fs::path gone = folder / "gone";
    fs::create_directory(gone);
    const fs::path before = fs::current_path();
    fs::current_path(gone);
    fs::remove(gone);
    const WriteResult saved = writeFileAtomically(target, "new");
    fs::current_path(before);

    ASSERT_TRUE(saved.ok) << utf8FromUtf16(saved.reason);
    EXPECT_EQ(contentOf(target), "new");
    EXPECT_EQ(contentOf(folder / "victim"), "keep");
    EXPECT_TRUE(fs::is_symlink(folder / planted));
    fs::remove(folder / planted);
    expectFolderHolds({"victim", target.filename().c_str()});

    // A new file gets what the mask leaves.
    const mode_t mask = ::umask(027);
    ASSERT_TRUE(writeFileAtomically(folder / "new.tanu", "x").ok);
    ::umask(mask);
    struct stat info {};
    ::stat((folder / "new.tanu").c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// The system calls of a save, watched and made to fail one at a time.
struct CallLog {
    std::vector<std::string> calls;
    std::vector<std::string> opened; // the paths of the files opened for writing
    std::string failing;             // the call that fails with EIO, e.g. "fsync" or "open folder"
    bool raiseOnFsync = false;
};
CallLog* callLog = nullptr;

bool record(const std::string& call) {
    callLog->calls.push_back(call);
    if (call == callLog->failing) {
        errno = EIO;
        return false;
    }
    return true;
}

class SaveCallsWatched : public SafeFiles {
protected:
    void SetUp() override {
        SafeFiles::SetUp();
        saved_ = saveCalls();
        callLog = &log;
        SaveCalls& calls = saveCalls();
        calls.open = [](const char* path, int flags, mode_t mode) {
            const bool ofFolder = (flags & O_DIRECTORY) != 0;
            if (!ofFolder) {
                callLog->opened.emplace_back(path);
            }
            return record(ofFolder ? "open folder" : "open") ? ::open(path, flags, mode) : -1;
        };
        calls.write = [](int fd, const void* data, size_t size) -> ssize_t {
            return record("write") ? ::write(fd, data, size) : -1;
        };
        calls.fsync = [](int fd) {
            if (callLog->raiseOnFsync) {
                std::raise(SIGTERM);
            }
            const bool ofFolder = callLog->calls.back() == "open folder";
            return record(ofFolder ? "fsync folder" : "fsync") ? ::fsync(fd) : -1;
        };
        calls.close = [](int fd) {
            ::close(fd); // a close that reports failure has still released the descriptor
            return record("close") ? 0 : -1;
        };
        calls.rename = [](const char* from, const char* to) {
            return record("rename") ? ::rename(from, to) : -1;
        };
    }
    void TearDown() override {
        saveCalls() = saved_;
        callLog = nullptr;
        SafeFiles::TearDown();
    }

    CallLog log;

private:
    SaveCalls saved_{};
};

TEST_F(SaveCallsWatched, EachStepInOrderAndEveryFailureBeforeTheRenameKeepsTheOldFile) {
    const fs::path target = folder / "p.tanu";
    putFile(target, "old");
    ASSERT_TRUE(writeFileAtomically(target, "new").ok);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"open", "write", "fsync", "close", "rename",
                                                   "open folder", "fsync folder", "close"}));
    EXPECT_EQ(contentOf(target), "new");
    // A short name in the target's own folder, whatever the current folder.
    ASSERT_EQ(log.opened.size(), 1u);
    EXPECT_EQ(fs::path(log.opened[0]).parent_path(), folder);
    EXPECT_LT(fs::path(log.opened[0]).filename().string().size(), 32u);

    const auto openDescriptors = [] {
        return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
    };
    const auto descriptors = openDescriptors();

    for (const char* failing : {"open", "write", "fsync", "close", "rename"}) {
        SCOPED_TRACE(failing);
        putFile(target, "old");
        log = CallLog{{}, {}, failing};
        const WriteResult result = writeFileAtomically(target, "new");
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.reason, u"Input/output error.");
        EXPECT_EQ(contentOf(target), "old");
        expectFolderHolds({"p.tanu"});
        EXPECT_EQ(openDescriptors(), descriptors);
    }
    // Once renamed the new profile is in place: a folder that cannot be synced changes nothing.
    for (const char* failing : {"open folder", "fsync folder"}) {
        SCOPED_TRACE(failing);
        log = CallLog{{}, {}, failing};
        EXPECT_TRUE(writeFileAtomically(target, "newer").ok);
        EXPECT_EQ(contentOf(target), "newer");
    }
}

TEST_F(SaveCallsWatched, ASaveEndedByASignalLeavesNoTemporaryFile) {
    const fs::path target = folder / "p.tanu";
    putFile(target, "old");
    // Saves before it, some from a longer folder name, so the interrupted one is known to the
    // handler through a used and released place, with nothing left of the longer name.
    const fs::path deeper = folder / "a-folder-with-a-longer-name";
    fs::create_directory(deeper);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        removeTemporariesOnSignal();
        for (int k = 0; k < 20; ++k) {
            writeFileAtomically(deeper / "q.tanu", "earlier");
        }
        log.raiseOnFsync = true; // the temporary file is complete by then
        writeFileAtomically(target, "new");
        ::_exit(0); // not reached: the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(contentOf(target), "old");
    expectFolderHolds({"p.tanu", "a-folder-with-a-longer-name"});
}

// A program may be started with its standard input closed, as from a desktop: the first file it
// opens is then number 0, which is a file like any other.
TEST_F(SaveCallsWatched, ReadAndSaveWorkWhenStandardInputIsClosed) {
    const fs::path target = folder / "p.tanu";
    putFile(target, "old");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(STDIN_FILENO);
        const bool read = readRegularFile(target, 64).bytes == "old";
        log.calls.clear(); // the read's close
        const bool saved = writeFileAtomically(target, "new").ok;
        const bool inOrder =
            log.calls == std::vector<std::string>{"open",   "write",       "fsync",        "close",
                                                  "rename", "open folder", "fsync folder", "close"};
        // And nothing stays open: the next file is number 0 again.
        const int next = ::open("/dev/null", O_RDONLY);
        ::_exit(read && saved && inOrder && next == STDIN_FILENO ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(contentOf(target), "new");
    expectFolderHolds({"p.tanu"});
}

TEST(WindowsNames, DeviceNamesAreReservedWhateverTheirCaseAndExtension) {
    for (const char16_t* name : {u"CON", u"nul.tanu", u"aux.tanu", u"Prn.tanu", u"com1.tanu",
                                 u"LPT9", u"nul .tanu", u"com\u00B9.tanu", u"conout$.tanu"}) {
        EXPECT_TRUE(isReservedWindowsName(name)) << utf8FromUtf16(name);
    }
    for (const char16_t* name : {u"console.tanu", u"null.tanu", u"com10.tanu", u"com0.tanu",
                                 u"lpt.tanu", u"anna.con", u"x-nul.tanu", u""}) {
        EXPECT_FALSE(isReservedWindowsName(name)) << utf8FromUtf16(name);
    }
}

} // namespace
} // namespace tanu::files
