// Shared by the Qt chart tests: the offscreen application, painting a chart into an image and
// reading its pixels in chart terms.
#pragma once

#include "chart/chart_painter.h"
#include "form/chart_content.h"
#include "shell/qt/surface/qpainter_surface.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cmath>

namespace tanu::testing {

inline void ensureGuiApplication() {
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tanu_qt_surface_tests";
        static char* argv[] = {name, nullptr};
        // Widgets too: the chart is also painted on one.
        return new QApplication(argc, argv); // lives until the process ends
    }();
    (void)app;
}

inline QImage paintToImage(const FormState& state, const ImageSet& images, bool printMode = false,
                           QSize size = {912, 699}, qreal pixelRatio = 1) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::red); // anything the painter fails to cover shows
    QPainter painter(&image);
    qt::QPainterSurface surface(painter);
    paintChart(surface, chartContentOf(state), images, printMode);
    painter.end();
    return image;
}

// The pixel that holds the point at the given distance from the chart centre in the given
// direction (degrees clockwise from the positive x axis, y down).
inline QRgb pixelAt(const QImage& image, double degrees, double radius,
                    QPointF centre = {456, 349}) {
    const double a = degrees * 3.14159265358979323846 / 180.0;
    const auto x = static_cast<int>(std::floor(centre.x() + radius * std::cos(a)));
    const auto y = static_cast<int>(std::floor(centre.y() + radius * std::sin(a)));
    return image.pixel(x, y);
}

inline bool isWhite(QRgb p) {
    return p == qRgb(255, 255, 255);
}

// Darker than any wedge colour or picture tint: a ring, a spoke or text.
inline bool isDark(QRgb p) {
    return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110;
}

} // namespace tanu::testing
