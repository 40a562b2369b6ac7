#include "about_box.h"

#include "qt_text.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace tanu::qt {

namespace {

// Room kept right of the longest line when the box grows to show it whole.
constexpr int RightMarginUnits = 10;

// Dialog units in pixels of the box's own font.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const QString letters =
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        baseX = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int x(int units) const { return units * baseX / 4; }
    int y(int units) const { return units * baseY / 8; }

    int baseX;
    int baseY;
};

} // namespace

AboutBox::AboutBox(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(toQString(AboutCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);

    const DialogUnits units(font());
    int width = units.x(AboutWidthUnits);
    for (const AboutLine& line : AboutLines) {
        auto* label = new QLabel(toQString(line.text), this);
        label->setTextFormat(Qt::PlainText);
        label->move(units.x(line.x), units.y(line.y));
        label->adjustSize();
        // The box grows rather than hide the end of a line whose font runs wider.
        width = std::max(width, label->geometry().right() + 1 + units.x(RightMarginUnits));
    }

    auto* ok = new QPushButton(toQString(AboutButtonText), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    const int buttonWidth = units.x(AboutButton.width);
    ok->setGeometry((width - buttonWidth) / 2, units.y(AboutButton.y), buttonWidth,
                    units.y(AboutButton.height));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    ok->setFocus();

    setFixedSize(width, units.y(AboutHeightUnits));
}

} // namespace tanu::qt
