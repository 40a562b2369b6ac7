// The system calls a save makes, in one table that tests replace to watch their order and to
// make any one of them fail. POSIX only.
#pragma once

#ifndef _WIN32

#include <sys/types.h>

namespace tanu::files {

struct SaveCalls {
    int (*open)(const char* path, int flags, mode_t mode);
    ssize_t (*write)(int fd, const void* data, size_t size);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
};

// The table writeFileAtomically calls through: the system's own calls unless a test set others.
SaveCalls& saveCalls();

} // namespace tanu::files

#endif
