// The reference for the start-up bench: a bare Qt program showing an empty window of the
// chart's size, with the same first-paint probe as the program. With --menu-and-text it also
// has a one-menu menu bar and draws one line of bold Arial, which is what any window with
// text pays for fonts and menus.
#include "first_paint_probe.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QWidget>

namespace {

class BareWindow final : public QWidget {
public:
    explicit BareWindow(bool withText) : withText_(withText) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        if (withText_) {
            QFont font(QStringLiteral("Arial"));
            font.setPointSize(10);
            font.setBold(true);
            painter.setFont(font);
            painter.drawText(218, 94, QStringLiteral("Age: -"));
        }
        painter.end();
        tanu::qt::reportFirstPaint();
    }

private:
    bool withText_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const bool menuAndText = QApplication::arguments().contains(QStringLiteral("--menu-and-text"));
    QMainWindow frame;
    auto* window = new BareWindow(menuAndText);
    window->setFixedSize(912, 699);
    if (menuAndText) {
        frame.setCentralWidget(window);
        frame.menuBar()->addMenu(QStringLiteral("&File"))->addAction(QStringLiteral("&New"));
        frame.show();
    } else {
        window->show();
    }
    QApplication::exec();
    if (!menuAndText) {
        delete window;
    }
    return 0;
}
