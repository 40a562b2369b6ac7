// One full chart paint on a GDI+ bitmap the size of the window, against a floor of clearing the
// bitmap and drawing the background picture alone; the same profile as the QPainter bench.
// Prints the median and mean wall time of many paints and the processor time of one, in
// microseconds.
#include "chart/chart_painter.h"
#include "shell/win32/gdiplus_api.h"
#include "shell/win32/gdiplus_artwork.h"
#include "shell/win32/gdiplus_surface.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <vector>

namespace {

using namespace tanu;
using namespace tanu::win32;

// The one place that calls the painter.
void paintProfile(DrawingSurface& surface, const ImageSet& images) {
    ChartContent content;
    rebuildRings(content.model, 7, 15); // nine rings
    content.model.domainValues = {9, 12, 15, 7, 11, 13, 8, 14, 10, 12};
    content.ageText = u"11";
    paintChart(surface, content, images, false);
}

std::filesystem::path programFolder() {
    std::vector<wchar_t> buffer(32768);
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
}

// This thread's processor time in microseconds: steadier than the wall clock on a loaded machine.
double threadMicros() {
    FILETIME created;
    FILETIME exited;
    FILETIME kernel;
    FILETIME user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    const auto ticks = [](FILETIME t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10.0; // 100 ns units
}

void report(const char* name, int rounds, const std::function<void()>& paint) {
    for (int i = 0; i < 5; ++i) {
        paint(); // warm: fonts, decoded pictures, caches
    }
    std::vector<double> micros;
    micros.reserve(static_cast<std::size_t>(rounds));
    const double cpuStart = threadMicros();
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        paint();
        const auto end = std::chrono::steady_clock::now();
        micros.push_back(std::chrono::duration<double, std::micro>(end - start).count());
    }
    const double cpu = (threadMicros() - cpuStart) / rounds;
    std::sort(micros.begin(), micros.end());
    const double mean = std::accumulate(micros.begin(), micros.end(), 0.0) / rounds;
    std::printf("%-24s median %9.1f us   mean %9.1f us   processor %9.1f us   (%d paints)\n", name,
                micros[micros.size() / 2], mean, cpu, rounds);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    GdiplusSession gdiplus;
    if (!gdiplus.started()) {
        std::fprintf(stderr, "GDI+ did not start\n");
        return 1;
    }
    {
        ImageSet images;
        GdiplusImageDecoder decoder;
        images = loadImageSet(programFolder() / "data", decoder);
        if (bitmapOf(images.background) == nullptr) {
            std::fprintf(stderr, "no artwork beside the program\n");
            return 1;
        }
        // Premultiplied: the format GDI+ blends fastest, as the QPainter bench's image is.
        gdip::GpBitmap* canvas = nullptr;
        gdip::GdipCreateBitmapFromScan0(ChartWidth, ChartHeight, 0, PixelFormat32bppPARGB, nullptr,
                                        &canvas);
        report("floorClearAndBackground", rounds, [&] {
            GdiplusSurface surface(canvas);
            surface.clear(0xFFFFFFFF);
            surface.drawImage(bitmapOf(images.background), {0, 0, ChartWidth, ChartHeight});
        });
        report("fullPaint", rounds, [&] {
            GdiplusSurface surface(canvas);
            paintProfile(surface, images);
        });
        gdip::GdipDisposeImage(canvas);
    }
    return 0;
}
