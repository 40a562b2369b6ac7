// The program: artwork, profile, fields and main window, brought up in start-up order.
#pragma once

#include "chart/chart_artwork.h"
#include "document/document_port.h"
#include "document/printing.h"
#include "form/entry_form.h"
#include "main_window.h"
#include "qt_document_port.h"
#include "qt_field_host.h"

#include <filesystem>
#include <memory>

namespace tanu::qt {

struct StartOptions {
    std::filesystem::path dataFolder;
    Clock clock = localToday;
    // Null: Qt's file dialogs and files, and the default printer.
    DocumentPort* documents = nullptr;
    PrinterPort* printer = nullptr;
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

    AppState& state() { return state_; }
    const ImageSet& images() const { return images_; }
    QtFieldHost& host() { return host_; }
    MainWindow& window() { return *window_; }

private:
    StartOptions options_;
    ImageSet images_;
    QtFieldHost host_;
    AppState state_;
    QtDocumentPort qtDocuments_;
    std::unique_ptr<PrinterPort> qtPrinter_;
    std::unique_ptr<MainWindow> window_;
};

// The artwork folder beside the executable.
std::filesystem::path defaultDataFolder();

// The whole program; the exit code is always 0.
int runTanu(int& argc, char** argv);

} // namespace tanu::qt
