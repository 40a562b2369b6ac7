#include "chart_widget.h"

#include "chart/chart_painter.h"
#include "first_paint_probe.h"
#include "form/chart_content.h"
#include "shell/qt/surface/qpainter_surface.h"

#include <QPainter>

namespace tanu::qt {

ChartWidget::ChartWidget(const AppState& state, const ImageSet& images, QWidget* parent)
    : QWidget(parent), state_(state), images_(images) {
    setObjectName(QStringLiteral("chart"));
    setFixedSize(ChartWidth, ChartHeight);
    // The painter covers every pixel itself; erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click on the chart leaves the keyboard focus where it is.
    setFocusPolicy(Qt::NoFocus);
}

void ChartWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    {
        QPainterSurface surface(painter);
        paintChart(surface, chartContentOf(state_, false), images_, false);
    }
    painter.end();
    reportFirstPaint();
}

} // namespace tanu::qt
