#include "main_window.h"

#include "about_box.h"
#include "document/profile_file.h"
#include "qt_text.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>

namespace tanu::qt {

MainWindow::MainWindow(AppState& state, const ImageSet& images, QtFieldHost& host,
                       DocumentPort& documents, PrinterPort& printer)
    : state_(state), images_(images), host_(host), documents_(documents), printer_(printer),
      chart_(new ChartWidget(state, images, this)) {
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
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    newAction_ = file->addAction(QStringLiteral("&New"), this, &MainWindow::newProfileCommand);
    newAction_->setShortcut(QKeySequence::New);
    openAction_ = file->addAction(QStringLiteral("&Open"), this, &MainWindow::openCommand);
    openAction_->setShortcut(QKeySequence::Open);
    saveAction_ = file->addAction(QStringLiteral("&Save"), this, &MainWindow::saveCommand);
    saveAction_->setShortcut(QKeySequence::Save);
    printAction_ = file->addAction(QStringLiteral("&Print"), this, &MainWindow::printCommand);
    printAction_->setShortcut(QKeySequence::Print);
    file->addSeparator();
    exitAction_ = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    // The platform's own quit keys: Ctrl+X stays Cut inside the fields.
    exitAction_->setShortcut(QKeySequence::Quit);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    aboutAction_ = help->addAction(QStringLiteral("&About ..."), this, &MainWindow::aboutCommand);
    // Alt+? is Alt+Shift+/ on most layouts; keyboards report it either way. One key press
    // may then match two of these, which Qt reports as ambiguous: that opens the box too.
    for (const QKeyCombination keys :
         {Qt::ALT | Qt::Key_Question, Qt::ALT | Qt::SHIFT | Qt::Key_Question,
          Qt::ALT | Qt::Key_Slash}) {
        auto* shortcut = new QShortcut(QKeySequence(keys), this);
        connect(shortcut, &QShortcut::activated, this, &MainWindow::aboutCommand);
        connect(shortcut, &QShortcut::activatedAmbiguously, this, &MainWindow::aboutCommand);
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

void MainWindow::newProfileCommand() {
    newProfile(state_);
}

void MainWindow::openCommand() {
    openProfile(state_, documents_);
}

void MainWindow::saveCommand() {
    saveProfile(state_, documents_);
}

void MainWindow::printCommand() {
    // No dialog opens, so the focused field stays where it is and commits nothing.
    printChart(state_, images_, printer_);
}

void MainWindow::aboutCommand() {
    // The box takes the focus; the field that had it commits first, before the box shows.
    commitFocusedField(state_);
    AboutBox box(this);
    box.move(chart_->mapToGlobal(QPoint(0, 0)));
    box.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Closing asks nothing and commits nothing, whatever the focused field holds.
    host_.detach();
    event->accept();
}

} // namespace tanu::qt
