// The one main window: the menu bar over the chart, and the commands it runs.
#pragma once

#include "chart/chart_artwork.h"
#include "chart_widget.h"
#include "document/document_port.h"
#include "document/printing.h"
#include "form/entry_form.h"
#include "qt_field_host.h"

#include <QMainWindow>

class QAction;

namespace tanu::qt {

inline constexpr std::u16string_view MainWindowTitle = u"TANU";

class MainWindow final : public QMainWindow {
public:
    MainWindow(AppState& state, const ImageSet& images, QtFieldHost& host, DocumentPort& documents,
               PrinterPort& printer);

    ChartWidget& chart() { return *chart_; }

    // The menu's actions, in menu order.
    QAction* newAction() const { return newAction_; }
    QAction* openAction() const { return openAction_; }
    QAction* saveAction() const { return saveAction_; }
    QAction* printAction() const { return printAction_; }
    QAction* exitAction() const { return exitAction_; }
    QAction* aboutAction() const { return aboutAction_; }

    // Puts the whole window, frame included as far as it is known, in the middle of the
    // primary screen.
    void centreOnPrimaryScreen();

    void newProfileCommand();
    void openCommand();
    void saveCommand();
    void printCommand();
    void aboutCommand();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();

    AppState& state_;
    const ImageSet& images_;
    QtFieldHost& host_;
    DocumentPort& documents_;
    PrinterPort& printer_;
    ChartWidget* chart_;
    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* printAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
};

} // namespace tanu::qt
