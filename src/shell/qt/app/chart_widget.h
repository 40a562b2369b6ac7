// The main window's client area: the chart, painted from the profile, under the entry fields.
#pragma once

#include "chart/chart_artwork.h"
#include "form/entry_form.h"

#include <QWidget>

namespace tanu::qt {

class ChartWidget final : public QWidget {
public:
    ChartWidget(const AppState& state, const ImageSet& images, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const AppState& state_;
    const ImageSet& images_;
};

} // namespace tanu::qt
