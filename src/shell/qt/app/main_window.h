// The one main window: the menu bar over the chart, and the commands it runs.
#pragma once

#include "app/commands.h"
#include "chart/chart_artwork.h"
#include "chart_widget.h"
#include "qt_field_host.h"

#include <QMainWindow>

#include <map>

class QAction;

namespace tanu::qt {

class MainWindow final : public QMainWindow, private CommandShell {
public:
    MainWindow(FormState& state, const ImageSet& images, QtFieldHost& host, DocumentPort& documents,
               PrinterPort& printer);

    ChartWidget& chart() { return *chart_; }

    // The menu's action for the command.
    QAction* action(Command command) const { return actions_.at(command); }

    // Puts the whole window, frame included as far as it is known, in the middle of the
    // primary screen.
    void centreOnPrimaryScreen();

    void run(Command command);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void showAboutBox() override;
    void closeMainWindow() override;

    QtFieldHost& host_;
    ChartWidget* chart_;
    CommandContext commands_;
    std::map<Command, QAction*> actions_;
};

} // namespace tanu::qt
