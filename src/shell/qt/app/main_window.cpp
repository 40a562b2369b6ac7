#include "main_window.h"

#include "about_box.h"
#include "qt_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

namespace tanu::qt {

namespace {

QKeySequence keysOf(KeyChord chord, Qt::KeyboardModifiers extra = {}) {
    Qt::KeyboardModifiers modifiers = extra;
    if (chord.ctrl) {
        modifiers |= Qt::ControlModifier;
    }
    if (chord.alt) {
        modifiers |= Qt::AltModifier;
    }
    // Qt numbers the keys of printable ASCII characters by their upper-case character codes.
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(chord.key)));
}

} // namespace

MainWindow::MainWindow(FormState& state, const ImageSet& images, QtFieldHost& host,
                       DocumentPort& documents, PrinterPort& printer)
    : host_(host), chart_(new ChartWidget(state, images, this)), commands_{state, images, documents,
                                                                           printer, *this} {
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(toQString(MainWindowTitle));
    // A title bar with the system menu, minimise and close boxes; no maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setCentralWidget(chart_);
    buildMenus();
    // The chart is fixed, so the window is exactly the menu bar over it and cannot be resized.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(toQString(FileMenuCaption));
    QMenu* help = menuBar()->addMenu(toQString(HelpMenuCaption));
    for (const CommandInfo& info : Commands) {
        QMenu* menu = info.menu == Menu::File ? file : help;
        if (info.separatorBefore) {
            menu->addSeparator();
        }
        const Command command = info.command;
        QAction* action =
            menu->addAction(toQString(info.caption), this, [this, command] { run(command); });
        if (info.platformQuitKeys) {
            action->setShortcut(QKeySequence::Quit);
        } else if (info.shortcut.key != 0) {
            action->setShortcut(keysOf(info.shortcut));
        }
        for (const KeyChord chord : info.alsoBound) {
            if (chord.key == 0) {
                continue;
            }
            // "?" is Shift+/ on most layouts, and keyboards report it with or without the
            // Shift. One key press may then match two bindings, which Qt reports as ambiguous:
            // that runs the command too.
            std::vector<QKeySequence> keys{keysOf(chord)};
            if (chord.key == u'?') {
                keys.push_back(keysOf(chord, Qt::ShiftModifier));
            }
            for (const QKeySequence& sequence : keys) {
                auto* shortcut = new QShortcut(sequence, this);
                connect(shortcut, &QShortcut::activated, this, [this, command] { run(command); });
                connect(shortcut, &QShortcut::activatedAmbiguously, this,
                        [this, command] { run(command); });
            }
        }
        actions_[command] = action;
    }
}

void MainWindow::centreOnPrimaryScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize outer = frameGeometry().size();
    // Signed arithmetic: a window larger than the screen gets a negative offset.
    move(area.left() + (area.width() - outer.width()) / 2,
         area.top() + (area.height() - outer.height()) / 2);
}

void MainWindow::run(Command command) {
    runCommand(command, commands_);
}

void MainWindow::showAboutBox() {
    AboutBox box(this);
    box.move(chart_->mapToGlobal(QPoint(0, 0)));
    box.exec();
}

void MainWindow::closeMainWindow() {
    close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and commits nothing, whatever the focused field holds.
    host_.detach();
    event->accept();
}

} // namespace tanu::qt
