// The least any exporter drawn with Qt must do before its first chart: load Qt, start the
// offscreen platform, find the chart's font and measure one text with it. bench/export/run.sh
// sets tanu-export's cold start against it.
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(10);
    font.setBold(true);
    const qreal width = QFontMetricsF(font).horizontalAdvance(QStringLiteral("Age: 11"));
    // Ends as tanu-export does, without taking Qt down.
    std::fflush(nullptr);
    std::_Exit(width > 0 ? 0 : 1);
}
