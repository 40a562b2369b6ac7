// How far a picture another toolkit drew lies from a golden one, by the rule every picture test
// shares; for the browser's tests, which get their pictures out of the page.
// Usage: tanu_picture_distance DRAWN GOLDEN [DENSITY]
// Prints "DRAWN_OUTSIDE GOLDEN_OUTSIDE": the pixels of each outside the other's colours within
// the shape radius (times the density). Exit 2 when a picture cannot be read or the sizes differ.
#include "pixel_difference.h"

#include <QImage>

#include <cstdio>
#include <cstdlib>

namespace {

tanu::testing::Pixels pixelsOf(const QImage& image) {
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    tanu::testing::Pixels pixels{straight.width(), straight.height(), {}};
    for (int y = 0; y < straight.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        pixels.argb.insert(pixels.argb.end(), row, row + straight.width());
    }
    return pixels;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fputs("Usage: tanu_picture_distance DRAWN GOLDEN [DENSITY]\n", stderr);
        return 2;
    }
    const QImage drawn(QString::fromLocal8Bit(argv[1]));
    const QImage golden(QString::fromLocal8Bit(argv[2]));
    if (drawn.isNull() || golden.isNull() || drawn.size() != golden.size()) {
        std::fputs("tanu_picture_distance: unreadable pictures, or of different sizes\n", stderr);
        return 2;
    }
    const int density = argc > 3 ? std::atoi(argv[3]) : 1;
    const int radius = tanu::testing::ShapeRadius * density;
    const tanu::testing::Pixels a = pixelsOf(drawn);
    const tanu::testing::Pixels b = pixelsOf(golden);
    std::printf("%d %d\n",
                tanu::testing::outsideRange(a, b, radius, tanu::testing::ColourTolerance),
                tanu::testing::outsideRange(b, a, radius, tanu::testing::ColourTolerance));
    return 0;
}
