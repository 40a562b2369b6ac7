// One full chart paint onto an image the size of the window, against a floor of clearing the
// image and drawing the background picture alone.
#include "chart/chart_painter.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell/qt/surface/qt_artwork.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cstdio>
#include <map>

namespace {

using namespace tanu;

ImageSet& artwork() {
    static ImageSet images = [] {
        ImageSet loaded;
        QtImageDecoder decoder;
        const QString folder = QCoreApplication::applicationDirPath() + "/data";
        loaded = loadImageSet(folder.toStdU16String(), decoder);
        if (bitmapOf(loaded.background) == nullptr) {
            std::fprintf(stderr, "no artwork in %s\n", qPrintable(folder));
        }
        return loaded;
    }();
    return images;
}

QImage windowImage(int pixelRatio) {
    QImage image(ChartWidth * pixelRatio, ChartHeight * pixelRatio,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    return image;
}

void floorClearAndBackground(benchmark::State& state) {
    QImage image = windowImage(static_cast<int>(state.range(0)));
    const Bitmap* background = bitmapOf(artwork().background);
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        surface.clear(0xFFFFFFFF);
        surface.drawImage(background, {0, 0, ChartWidth, ChartHeight});
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

void fullPaint(benchmark::State& state) {
    QImage image = windowImage(static_cast<int>(state.range(0)));
    ChartContent content;
    rebuildRings(content.model, 7, 15); // nine rings
    content.model.domainValues = {9, 12, 15, 7, 11, 13, 8, 14, 10, 12};
    content.ageText = u"11";
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        paintChart(surface, content, artwork(), false);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}

BENCHMARK(floorClearAndBackground)->ArgName("ratio")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);
BENCHMARK(fullPaint)->ArgName("ratio")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    artwork();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
