#include "shell/win32/main_window.h"

#include "app/system_texts.h"
#include "chart/chart_painter.h"
#include "document/document_texts.h"
#include "form/accessible_texts.h"
#include "form/chart_content.h"
#include "shell/win32/chart_accessible.h"
#include "shell/win32/dpi.h"
#include "shell/win32/gdiplus_surface.h"
#include "shell/win32/resource_ids.h"
#include "shell/win32/win32_text.h"

#include <utility>

namespace tanu::win32 {

namespace {

constexpr int idOf(Command command) {
    for (const CommandInfo& info : Commands) {
        if (info.command == command) {
            return info.id;
        }
    }
    return 0;
}

// The menu and the keys of the resource script send these ids.
static_assert(idOf(Command::About) == TANU_COMMAND_ABOUT);
static_assert(idOf(Command::New) == TANU_COMMAND_NEW);
static_assert(idOf(Command::Open) == TANU_COMMAND_OPEN);
static_assert(idOf(Command::Save) == TANU_COMMAND_SAVE);
static_assert(idOf(Command::Print) == TANU_COMMAND_PRINT);
static_assert(idOf(Command::Exit) == TANU_COMMAND_EXIT);

constexpr DWORD MainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// One main window per process: its procedure finds it here, from the first message on.
MainWindow* theWindow = nullptr;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (theWindow == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return theWindow->onMessage(window, message, wParam, lParam);
}

std::wstring loadString(HINSTANCE instance, UINT id) {
    wchar_t buffer[100] = {};
    LoadStringW(instance, id, buffer, 100);
    return buffer;
}

void registerMainWindowClass(HINSTANCE instance, const std::wstring& className) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(TANU_ICON));
    windowClass.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(TANU_SMALL_ICON));
    // IDC_ARROW, spelt for the wide call.
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    ;
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszMenuName = MAKEINTRESOURCEW(TANU_MAIN_MENU);
    windowClass.lpszClassName = className.c_str();
    RegisterClassExW(&windowClass);
}

} // namespace

std::optional<Command> commandOfId(int id) {
    for (const CommandInfo& info : Commands) {
        if (info.id == id) {
            return info.command;
        }
    }
    return std::nullopt;
}

std::u16string shortcutText(const CommandInfo& info) {
    if (info.platformQuitKeys) {
        return u"Alt+F4";
    }
    if (info.shortcut.key == 0) {
        return {};
    }
    std::u16string text;
    if (info.shortcut.ctrl) {
        text += u"Ctrl+";
    }
    if (info.shortcut.alt) {
        text += u"Alt+";
    }
    return text + info.shortcut.key;
}

MainWindow::MainWindow(HINSTANCE instance, const ImageSet& images, DocumentPort& documents,
                       PrinterPort& printer, Clock clock)
    : instance_(instance), images_(images), documents_(documents), printer_(printer),
      state_(host_, host_, host_, std::move(clock)) {
    theWindow = this;
}

MainWindow::~MainWindow() {
    if (window_ != nullptr && IsWindow(window_)) {
        DestroyWindow(window_);
    }
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    if (accelerators_ != nullptr) {
        DestroyAcceleratorTable(accelerators_);
    }
    theWindow = nullptr;
}

HWND MainWindow::create(int showCommand) {
    const std::wstring className = loadString(instance_, TANU_CLASS_STRING);
    const std::wstring creationTitle = loadString(instance_, TANU_TITLE_STRING);
    registerMainWindowClass(instance_, className);

    // Made hidden first: its monitor's density decides its size before anything is shown.
    window_ = CreateWindowExW(0, className.c_str(), creationTitle.c_str(), MainWindowStyle, 0, 0,
                              ChartWidth, ChartHeight, nullptr, nullptr, instance_, nullptr);
    if (window_ == nullptr) {
        return nullptr;
    }
    dpi_ = win32::dpiOf(window_);
    RECT screen{};
    GetWindowRect(GetDesktopWindow(), &screen);
    useScale(win32::chartScaleFor(screen, MainWindowStyle, dpi_));
    const SIZE client = win32::clientSizeFor(scale_);
    const SIZE size = win32::windowSizeFor(client, MainWindowStyle, dpi_);
    const int x = screen.left + (screen.right - screen.left - size.cx) / 2;
    const int y = screen.top + (screen.bottom - screen.top - size.cy) / 2;
    win32::placeWithClientSize(window_, x, y, client, MainWindowStyle, dpi_);

    // The first paint inside ShowWindow and UpdateWindow finds no field yet: the empty chart on
    // the start scale, which the state has had since it was made.
    SetWindowTextW(window_, win32::wide(MainWindowTitle).c_str());
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);

    accelerators_ = LoadAcceleratorsW(instance_, MAKEINTRESOURCEW(TANU_ACCELERATORS));
    host_.attach(window_, font_, scale_);
    startForm(state_);
    reportUnusedPictures(state_, images_.problems);
    return window_;
}

void MainWindow::useScale(double scale) {
    scale_ = scale;
    // A positive height is the cell height: ascent plus descent.
    HFONT font = CreateFontW(win32::scaled(ControlFontCellHeight, scale_), 0, 0, 0,
                             ControlFontWeight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_OUTLINE_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             VARIABLE_PITCH | FF_DONTCARE, win32::wide(ControlFontFamily).c_str());
    host_.rescale(font, scale_);
    if (font_ != nullptr) {
        DeleteObject(font_);
    }
    font_ = font;
}

int MainWindow::runMessageLoop() {
    MSG message{};
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            return static_cast<int>(message.wParam);
        }
        if (got == -1) {
            // Only a bad argument makes it fail, and none of ours can be.
            return 1;
        }
        handleMessage(message);
    }
}

void MainWindow::handleMessage(MSG& message) {
    // IsDialogMessageW would take the keys of the window and its fields for itself.
    if (window_ != nullptr && accelerators_ != nullptr &&
        TranslateAcceleratorW(window_, accelerators_, &message) != 0) {
        return;
    }
    if (window_ != nullptr && IsDialogMessageW(window_, &message) != 0) {
        return;
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void MainWindow::showAboutBox() {
    DialogBoxParamW(instance_, MAKEINTRESOURCEW(TANU_ABOUT_DIALOG), window_, aboutDialogProc, 0);
}

void MainWindow::closeMainWindow() {
    DestroyWindow(window_);
}

void MainWindow::paint(HWND window) {
    PAINTSTRUCT paintStruct;
    HDC deviceContext = BeginPaint(window, &paintStruct);
    paintChartOn(deviceContext);
    EndPaint(window, &paintStruct);
}

void MainWindow::paintChartOn(HDC deviceContext) {
    GdiplusSurface surface(deviceContext, scale_);
    // The window shows the fields themselves: the chart paints without their texts.
    paintChart(surface, chartContentOf(state_, false), images_, false);
}

LRESULT MainWindow::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        paint(window);
        return 0;
    case WM_ACTIVATE:
        // The default handling would give the focus to the window itself when a dialog or a
        // message box closes, where no key reaches a field: keep the field, as a dialog does.
        if (LOWORD(wParam) == WA_INACTIVE) {
            const int focused = host_.idOf(GetFocus());
            if (focused != 0) {
                focusBeforeDeactivation_ = focused;
            }
        } else if (focusBeforeDeactivation_ != 0 &&
                   IsWindowEnabled(host_.control(focusBeforeDeactivation_))) {
            SetFocus(host_.control(focusBeforeDeactivation_));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1; // the chart covers the whole client area
    case WM_GETOBJECT:
        if (const LRESULT chart = win32::chartAccessibleObject(window, wParam, lParam, [this] {
                return chartDescription(state_.model, state_.ageText);
            })) {
            return chart;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    case WM_DPICHANGED: {
        // Moved to a screen of another density: Windows proposes where the window goes.
        dpi_ = LOWORD(wParam);
        const RECT& proposed = *reinterpret_cast<const RECT*>(lParam);
        useScale(win32::chartScaleFor(proposed, MainWindowStyle, dpi_));
        win32::placeWithClientSize(window, proposed.left, proposed.top,
                                   win32::clientSizeFor(scale_), MainWindowStyle, dpi_);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_COMMAND: {
        // A field's focus report comes first; it carries the field's id, never a command's.
        const int field = host_.idOf(reinterpret_cast<HWND>(lParam));
        if (field != 0) {
            if (HIWORD(wParam) == EN_KILLFOCUS) {
                onFieldFocusLost(state_, field);
            } else if (HIWORD(wParam) == EN_SETFOCUS) {
                onFieldFocusGained(state_, field);
            }
        }
        if (const std::optional<Command> command = commandOfId(LOWORD(wParam))) {
            CommandContext context{state_, images_, documents_, printer_, *this};
            runCommand(*command, context);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

INT_PTR CALLBACK aboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        return TRUE; // the focus goes to the OK button
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace tanu::win32
