#include "tanu_app.h"

#include "control_font.h"
#include "qt_printer_port.h"
#include "qt_text.h"
#include "shell/qt/surface/qt_artwork.h"

#include <QApplication>

#include <thread>

namespace tanu::qt {

TanuApplication::TanuApplication(StartOptions options)
    : options_(std::move(options)), state_(host_, options_.clock),
      qtPrinter_(std::make_unique<QtPrinterPort>()) {}

TanuApplication::~TanuApplication() {
    // The fields go with the window; their last focus-out must not reach the form.
    host_.detach();
    window_.reset();
    releaseImageSet(images_);
}

void TanuApplication::start() {
    {
        // Decoding the artwork takes as long as building the window, so it runs on the other
        // core meanwhile. Nothing reads the pictures before the join, and the window is shown
        // only after it: the first paint has every picture, as if they were loaded first.
        std::jthread artwork([this] {
            QtImageDecoder decoder;
            loadImageSet(images_, options_.dataFolder, decoder);
        });
        DocumentPort& documents = options_.documents ? *options_.documents : qtDocuments_;
        PrinterPort& printer = options_.printer ? *options_.printer : *qtPrinter_;
        window_ = std::make_unique<MainWindow>(state_, images_, host_, documents, printer);
        qtDocuments_.setDialogOwner(window_.get());
    }
    window_->centreOnPrimaryScreen();
    window_->show();
    // Once shown, the frame around the window is known where the platform reports it.
    window_->centreOnPrimaryScreen();

    host_.attach(state_, window_->chart(), *window_, makeControlFont());
    startForm(state_);
}

std::filesystem::path defaultDataFolder() {
    return std::filesystem::path(toU16(QCoreApplication::applicationDirPath())) / "data";
}

int runTanu(int& argc, char** argv) {
    QApplication application(argc, argv);
    {
        TanuApplication tanu(StartOptions{defaultDataFolder()});
        tanu.start();
        QApplication::exec();
    }
    return 0;
}

} // namespace tanu::qt
