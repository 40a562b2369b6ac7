// The shells' file calls against the real file system: refusals that must never block or
// replace something that is not a file, and saves that keep the old file on any failure.
#include "shell/files/safe_files.h"

#include "model/text.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

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
    // A running program cannot be opened for writing, not even by root.
    const ReadResult program = readRegularFile("/proc/self/exe", 64);
    ASSERT_TRUE(program.ok) << utf8FromUtf16(program.reason);
    EXPECT_EQ(program.bytes.size(), 65u);

    putFile(folder / "short", "abc");
    EXPECT_EQ(readRegularFile(folder / "short", 64).bytes, "abc");
    // Named by its UTF-16 text, as the dialogs give it.
    putFile(folder / "st\xC3\xBC"
                     "dent.tanu",
            "xyz");
    EXPECT_EQ(readRegularFile(pathFromUtf16(u16(folder) + u"/st\u00FCdent.tanu"), 64).bytes, "xyz");
    const ReadResult missing = readRegularFile(folder / "missing", 64);
    EXPECT_FALSE(missing.ok);
    EXPECT_NE(missing.reason.find(u"No such file"), std::u16string::npos);
}

} // namespace
} // namespace tanu::files
