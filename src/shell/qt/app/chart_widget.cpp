#include "chart_widget.h"

#include "chart/chart_painter.h"
#include "form/accessible_texts.h"
#include "form/chart_content.h"
#include "shell/qt/surface/qpainter_surface.h"

#include "qt_text.h"

#include <QAccessibleWidget>
#include <QPainter>


namespace tanu::qt {

namespace {

class ChartAccessible final : public QAccessibleWidget {
public:
    explicit ChartAccessible(ChartWidget* chart) : QAccessibleWidget(chart, QAccessible::Chart) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Description) {
            return static_cast<const ChartWidget*>(widget())->describe();
        }
        if (kind == QAccessible::Name) {
            return toQString(ChartAccessibleName);
        }
        return QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* chartAccessible(const QString& /*className*/, QObject* object) {
    auto* chart = dynamic_cast<ChartWidget*>(object);
    return chart != nullptr ? new ChartAccessible(chart) : nullptr;
}

} // namespace

ChartWidget::ChartWidget(const FormState& state, const ImageSet& images, QWidget* parent)
    : QWidget(parent), state_(state), images_(images) {
    setObjectName(QStringLiteral("chart"));
    setFixedSize(ChartWidth, ChartHeight);
    // The painter covers every pixel itself; erasing first would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A click on the chart leaves the keyboard focus where it is.
    setFocusPolicy(Qt::NoFocus);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(chartAccessible);
        return true;
    }();
    (void)factoryInstalled;
}

QString ChartWidget::describe() const {
    return toQString(chartDescription(state_.model, state_.ageText));
}

void ChartWidget::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    {
        QPainterSurface surface(painter);
        paintChart(surface, chartContentOf(state_, false), images_, false);
    }
    painter.end();
    if (afterPaint) {
        afterPaint();
    }
}

} // namespace tanu::qt
