// The main window: its class, the fields on it, the commands of its menu and keys, the About
// box, and the message loop that drives it all.
#pragma once

#include "app/commands.h"
#include "form/entry_form.h"
#include "shell/win32/win32_field_host.h"

#include <windows.h>

#include <optional>
#include <string>

namespace tanu::win32 {

// The id of the command of a WM_COMMAND id, if it is one.
std::optional<Command> commandOfId(int id);
// The shortcut a menu item shows after its tab: "Ctrl+N", "Alt+F4", or empty.
std::u16string shortcutText(const CommandInfo& info);

class MainWindow final : public CommandShell {
public:
    // The images, ports and clock must outlive the window.
    MainWindow(HINSTANCE instance, const ImageSet& images, DocumentPort& documents,
               PrinterPort& printer, Clock clock);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class, creates, shows and paints the window, then makes the control font
    // and the fields with the focus in the first one. Null when the window cannot be made.
    HWND create(int showCommand);
    // Runs the thread's messages until the quit message; its value.
    int runMessageLoop();
    // One message as the loop handles it: the accelerators first, so that the keys the menu
    // shows work in the fields, then the dialog keys (Tab), then the usual dispatch.
    void handleMessage(MSG& message);

    HWND window() const { return window_; }
    // Device pixels per chart unit: the screen's density over the standard 96 dots per inch.
    double chartScale() const { return scale_; }
    // The chart as the window shows it, drawn onto the device context at the window's scale.
    void paintChartOn(HDC deviceContext);
    FormState& state() { return state_; }
    const Win32FieldHost& fields() const { return host_; }

    void showAboutBox() override;
    void closeMainWindow() override;

    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint(HWND window);
    // Takes the scale for the density: the control font, the fields and the drawing follow.
    void useScale(double scale);

    HINSTANCE instance_;
    const ImageSet& images_;
    DocumentPort& documents_;
    PrinterPort& printer_;
    Win32FieldHost host_;
    FormState state_;
    HWND window_ = nullptr;
    HFONT font_ = nullptr;
    UINT dpi_ = 96;
    double scale_ = 1.0;
    HACCEL accelerators_ = nullptr;
    int focusBeforeDeactivation_ = 0; // the field to give the focus back to
};

// The About box's procedure: OK and Enter end it with IDOK, Escape and the close box with
// IDCANCEL.
INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace tanu::win32
