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
using namespace tanu::qt;

// The pictures as the window loads them at that pixel ratio: with the double-size ones above 1.
ImageSet& artwork(int pixelRatio) {
    static std::map<int, ImageSet> sets;
    ImageSet& images = sets[pixelRatio];
    if (bitmapOf(images.background) == nullptr) {
        QtImageDecoder decoder(pixelRatio > 1);
        const QString folder = QCoreApplication::applicationDirPath() + "/data";
        images = loadImageSet(folder.toStdU16String(), decoder);
        if (bitmapOf(images.background) == nullptr) {
            std::fprintf(stderr, "no artwork in %s\n", qPrintable(folder));
        }
    }
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
    const Bitmap* background = bitmapOf(artwork(static_cast<int>(state.range(0))).background);
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
    const ImageSet& images = artwork(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        QPainter painter(&image);
        QPainterSurface surface(painter);
        paintChart(surface, content, images, false);
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
    artwork(1);
    artwork(2);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
