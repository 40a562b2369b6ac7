#include "tanu_app.h"

#include "control_font.h"
#include "qt_printer_port.h"
#include "qt_text.h"
#include "shell/qt/surface/qt_artwork.h"

#include "document/profile_file.h"
#include "shell/files/program_folders.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QStringList>

#include <csignal>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace tanu::qt {

TanuApplication::TanuApplication(StartOptions options)
    : options_(std::move(options)), state_(host_, host_, host_, options_.clock),
      qtPrinter_(std::make_unique<QtPrinterPort>()) {}

TanuApplication::~TanuApplication() {
    // The fields go with the window; their last focus-out must not reach the form.
    host_.detach();
    window_.reset();
}

void TanuApplication::start() {
    ImageSet loaded;
    {
        // Decoding the artwork takes as long as building the window, so it runs on the other
        // core meanwhile, on its own copy of the folder and into a set that outlives it. The
        // window is shown only after the join: the first paint has every picture, as if they
        // were loaded first. High-density screens get the pictures drawn at twice the size
        // where there are any.
        const bool doubleSize = qGuiApp->devicePixelRatio() > 1.0;
        std::vector<std::filesystem::path> folders = options_.artworkFolders.empty()
                                                         ? files::programArtworkFolders()
                                                         : options_.artworkFolders;
        std::jthread artwork([&loaded, folders = std::move(folders), doubleSize] {
            QtImageDecoder decoder(doubleSize);
            loaded = loadImageSet(folders, decoder);
        });
        DocumentPort& documents = options_.documents ? *options_.documents : qtDocuments_;
        PrinterPort& printer = options_.printer ? *options_.printer : *qtPrinter_;
        window_ = std::make_unique<MainWindow>(state_, images_, host_, documents, printer);
        qtDocuments_.setDialogOwner(window_.get());
        window_->setWindowIcon(programIcon());
    }
    images_ = std::move(loaded);
    window_->centreOnPrimaryScreen();
    window_->show();
    // Once shown, the frame around the window is known where the platform reports it.
    window_->centreOnPrimaryScreen();

    host_.attach(state_, window_->chart(), *window_, makeControlFont());
    startForm(state_);
    reportUnusedPictures(state_, images_.problems);

    if (options_.openFile) {
        DocumentPort& documents = options_.documents ? *options_.documents : qtDocuments_;
        // The next Open or Save starts in the folder of the file just opened.
        qtDocuments_.rememberFolderOf(toQString(*options_.openFile));
        openProfileFile(state_, documents, *options_.openFile);
    }
}

QIcon programIcon() {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 96, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/hicolor/%1x%1/apps/tanu.png").arg(size),
                     QSize(size, size));
    }
    return icon;
}

namespace {

int signalPipe[2] = {-1, -1};

extern "C" void onEndingSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// Turns the signals that end a program into a quit of the event loop, so that the program ends
// as it ends when its window closes.
class QuitOnEndingSignals {
public:
    QuitOnEndingSignals() {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0) {
            return;
        }
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier_.get(), &QSocketNotifier::activated, [] {
            char byte = 0;
            [[maybe_unused]] const ssize_t got = ::read(signalPipe[0], &byte, 1);
            QApplication::quit();
        });
        struct sigaction action {};
        action.sa_handler = onEndingSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
            ::sigaction(signal, &action, nullptr);
        }
    }

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace

int runTanu(int& argc, char** argv, const std::function<void(TanuApplication&)>& started) {
    QApplication application(argc, argv);
    const QuitOnEndingSignals endingSignals;
    // Lets the desktop match the window with the installed menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.tanu.Tanu"));
    StartOptions options;
    // Qt has taken its own options out of the arguments.
    std::vector<std::u16string> arguments;
    for (const QString& argument : QCoreApplication::arguments()) {
        arguments.push_back(toU16(argument));
    }
    options.openFile = profileNamedAtStart(arguments);
    {
        TanuApplication tanu(std::move(options));
        tanu.start();
        if (started) {
            started(tanu);
        }
        QApplication::exec();
    }
    return 0;
}

} // namespace tanu::qt
