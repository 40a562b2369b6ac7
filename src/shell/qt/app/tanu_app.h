// The program: artwork, profile, fields and main window, brought up in start-up order.
#pragma once

#include "chart/chart_artwork.h"
#include "document/document_port.h"
#include "document/printing.h"
#include "form/entry_form.h"
#include "main_window.h"
#include "qt_document_port.h"
#include "qt_field_host.h"

#include <QIcon>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tanu::qt {

struct StartOptions {
    // Where the chart's pictures are read from; empty: the program's own folders.
    std::vector<std::filesystem::path> artworkFolders;
    Clock clock = localToday;
    // Null: Qt's file dialogs and files, and the default printer.
    DocumentPort* documents = nullptr;
    PrinterPort* printer = nullptr;
    // A profile to open once the window is up, as Open would (a file named on the command line).
    std::optional<std::u16string> openFile = std::nullopt;
};

class TanuApplication {
public:
    explicit TanuApplication(StartOptions options);
    ~TanuApplication();
    TanuApplication(const TanuApplication&) = delete;
    TanuApplication& operator=(const TanuApplication&) = delete;

    // Loads the artwork, sets up the first scale, shows the centred window, then creates the
    // fields with the focus in the first text field.
    void start();

    FormState& state() { return state_; }
    const ImageSet& images() const { return images_; }
    QtFieldHost& host() { return host_; }
    MainWindow& window() { return *window_; }

private:
    StartOptions options_;
    ImageSet images_;
    QtFieldHost host_;
    FormState state_;
    QtDocumentPort qtDocuments_;
    std::unique_ptr<PrinterPort> qtPrinter_;
    std::unique_ptr<MainWindow> window_;
};

// The program's icon at every size it is drawn in.
QIcon programIcon();

// The whole program: "tanu [FILE]". The exit code is always 0, also when SIGTERM, SIGINT or
// SIGHUP ends it (the desktop session ends, say): the window then closes as Exit closes it.
// started, when given, sees the program once it has started, before its event loop runs.
int runTanu(int& argc, char** argv,
            const std::function<void(TanuApplication&)>& started = nullptr);

} // namespace tanu::qt
