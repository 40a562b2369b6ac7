#include "standard_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tanu::exporter {

namespace {

bool standardOutputClosed = false;

bool isClosed(int fd) {
    return ::fcntl(fd, F_GETFD) == -1 && errno == EBADF;
}

} // namespace

void occupyClosedStandardStreams() {
    standardOutputClosed = isClosed(STDOUT_FILENO);
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        // open() takes the lowest free number: the closed one, as the lower ones are open.
        if (isClosed(fd)) {
            ::open("/dev/null", O_RDWR);
        }
    }
}

bool writeToStandardOutput(std::string_view bytes, std::string& reason) {
    if (standardOutputClosed) {
        reason = "standard output is closed";
        return false;
    }
    while (!bytes.empty()) {
        const ssize_t written = ::write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            reason = std::strerror(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

StandardErrorSilenced::StandardErrorSilenced() : saved_(::dup(STDERR_FILENO)) {
    std::fflush(stderr);
    const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (saved_ >= 0 && nowhere >= 0) {
        ::dup2(nowhere, STDERR_FILENO);
    }
    if (nowhere >= 0) {
        ::close(nowhere);
    }
}

StandardErrorSilenced::~StandardErrorSilenced() {
    if (saved_ >= 0) {
        std::fflush(stderr);
        ::dup2(saved_, STDERR_FILENO);
        ::close(saved_);
    }
}

} // namespace tanu::exporter
