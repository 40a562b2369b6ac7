// Start-up bench: process start to first paint of the window, and the peak resident memory of
// the run (the kernel's count for the ended child: the program quits right after its first
// paint), for TANU and for a bare Qt window, each started many times under the offscreen
// platform. TANU is measured as tanu_startup_probe: the shipped program's start, with the probe.
// A third program, the bare window with a menu bar and a line of text, shows how much of the
// difference any window with menus and text pays.
//   tanu_startup_bench [--runs N] [--tanu PATH] [--bare PATH]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Sample {
    double firstPaintMs = 0;
    long hwmKb = 0;
};

// The clock the program's probe reports on.
long long steadyNanoseconds() {
    return static_cast<long long>(
        std::chrono::nanoseconds(std::chrono::steady_clock::now().time_since_epoch()).count());
}

// Runs the program once; false when it did not report a first paint.
bool runOnce(const std::string& program, const char* argument, Sample& sample) {
    int out[2];
    if (pipe(out) != 0) {
        return false;
    }
    const long long start = steadyNanoseconds();
    const pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("TANU_BENCH_FIRST_PAINT", "1", 1);
        execl(program.c_str(), program.c_str(), argument, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(out[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    sample.hwmKb = usage.ru_maxrss; // kilobytes on Linux

    long long paintedAt = 0;
    bool painted = false;
    std::size_t lineStart = 0;
    while (lineStart < text.size()) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        const std::string line = text.substr(lineStart, lineEnd - lineStart);
        painted |= std::sscanf(line.c_str(), "first_paint_ns %lld", &paintedAt) == 1;
        lineStart = lineEnd + 1;
    }
    sample.firstPaintMs = static_cast<double>(paintedAt - start) / 1e6;
    return painted && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Summary {
    double paintMs = 0;
    double paintMinMs = 0;
    double hwmKb = 0;
};

Summary summarise(const std::vector<Sample>& samples) {
    std::vector<double> paint;
    std::vector<long> hwm;
    for (const Sample& s : samples) {
        paint.push_back(s.firstPaintMs);
        hwm.push_back(s.hwmKb);
    }
    return {median(paint), *std::min_element(paint.begin(), paint.end()),
            static_cast<double>(median(hwm))};
}

} // namespace

int main(int argc, char** argv) {
    int runs = 30;
    std::string tanu = TANU_EXECUTABLE;
    std::string bare = BARE_WINDOW_EXECUTABLE;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--runs") == 0) {
            runs = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--tanu") == 0) {
            tanu = argv[i + 1];
        } else if (std::strcmp(argv[i], "--bare") == 0) {
            bare = argv[i + 1];
        }
    }

    // One run each to warm the file cache, then alternate so drift hits both alike.
    const char* menuAndText = "--menu-and-text";
    Sample warm;
    if (!runOnce(tanu, nullptr, warm) || !runOnce(bare, nullptr, warm) ||
        !runOnce(bare, menuAndText, warm)) {
        std::fprintf(stderr, "a program did not report its first paint\n");
        return 1;
    }
    std::vector<Sample> tanuSamples;
    std::vector<Sample> bareSamples;
    std::vector<Sample> textSamples;
    for (int i = 0; i < runs; ++i) {
        Sample a;
        Sample b;
        Sample c;
        if (!runOnce(tanu, nullptr, a) || !runOnce(bare, nullptr, b) ||
            !runOnce(bare, menuAndText, c)) {
            std::fprintf(stderr, "a program did not report its first paint\n");
            return 1;
        }
        tanuSamples.push_back(a);
        bareSamples.push_back(b);
        textSamples.push_back(c);
    }

    const Summary t = summarise(tanuSamples);
    const Summary b = summarise(bareSamples);
    const Summary m = summarise(textSamples);
    std::printf("%d runs each, offscreen platform, medians\n", runs);
    std::printf("%-12s %14s %10s %12s\n", "program", "first paint", "(best)", "peak RSS");
    std::printf("%-12s %11.1f ms %7.1f ms %9.0f kB\n", "tanu", t.paintMs, t.paintMinMs, t.hwmKb);
    std::printf("%-12s %11.1f ms %7.1f ms %9.0f kB\n", "bare window", b.paintMs, b.paintMinMs,
                b.hwmKb);
    std::printf("%-12s %11.1f ms %7.1f ms %9.0f kB\n", "bare + text", m.paintMs, m.paintMinMs,
                m.hwmKb);
    const double paintRatio = t.paintMs / b.paintMs;
    const double hwmRatio = t.hwmKb / b.hwmKb;
    std::printf("ratio tanu / bare: first paint %.2fx, peak RSS %.2fx (target <= 1.30x): %s\n",
                paintRatio, hwmRatio, paintRatio <= 1.3 && hwmRatio <= 1.3 ? "met" : "missed");
    std::printf("ratio tanu / bare with menu bar and text: first paint %.2fx, peak RSS %.2fx\n",
                t.paintMs / m.paintMs, t.hwmKb / m.hwmKb);
    return 0;
}
