#include "first_paint_probe.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <ctime>

namespace tanu::qt {

namespace {

long long monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Copies the "VmRSS:" and "VmHWM:" lines of /proc/self/status, in kB.
void printMemory() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return;
    }
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        long kilobytes = 0;
        if (std::sscanf(line, "VmRSS: %ld", &kilobytes) == 1) {
            std::printf("vm_rss_kb %ld\n", kilobytes);
        } else if (std::sscanf(line, "VmHWM: %ld", &kilobytes) == 1) {
            std::printf("vm_hwm_kb %ld\n", kilobytes);
        }
    }
    std::fclose(status);
}

} // namespace

bool firstPaintProbeEnabled() {
    static const bool enabled = qEnvironmentVariableIntValue("TANU_BENCH_FIRST_PAINT") == 1;
    return enabled;
}

void reportFirstPaint() {
    static bool reported = false;
    if (reported || !firstPaintProbeEnabled()) {
        return;
    }
    reported = true;
    std::printf("first_paint_ns %lld\n", monotonicNanoseconds());
    QTimer::singleShot(0, [] {
        printMemory();
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace tanu::qt
