// The main window's client area: the chart, painted from the profile, under the entry fields.
#pragma once

#include <functional>

#include "chart/chart_artwork.h"
#include "form/entry_form.h"

#include <QWidget>

namespace tanu::qt {

class ChartWidget final : public QWidget {
public:
    ChartWidget(const FormState& state, const ImageSet& images, QWidget* parent = nullptr);

    // What the chart shows, in words, for screen readers: the age, the ring scale and each
    // domain's value. Assistive tools read it as the widget's accessible description, made
    // afresh from the profile whenever they ask.
    QString describe() const;

    // Called after each paint, when set (the start-up bench times the first one).
    std::function<void()> afterPaint;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const FormState& state_;
    const ImageSet& images_;
};

} // namespace tanu::qt
