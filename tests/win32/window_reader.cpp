// Reads a running TANU window from outside, as a user sees it: waits until the program's main
// window exists and the program waits for input (start-up and a profile named on its command
// line done), prints each field's id and text, then closes the window.
// Usage: tanu_window_reader.exe   (exit 0 once read and closed; 1 if no window came)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HWND found = nullptr;

bool isTanuWindow(HWND window) {
    wchar_t name[16] = {};
    return window != nullptr && GetClassNameW(window, name, 16) != 0 &&
           std::wstring(name) == L"TANU";
}

void CALLBACK onShown(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_WINDOW && isTanuWindow(window)) {
        found = window;
        PostQuitMessage(0);
    }
}

} // namespace

int wmain() {
    // The window is looked for when any window shows and on a steady tick (Wine reports other
    // processes' windows late), until a deadline: without a window the test fails instead of
    // hanging.
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_SHOW, EVENT_OBJECT_SHOW, nullptr, onShown, 0,
                                         0, WINEVENT_OUTOFCONTEXT);
    constexpr UINT_PTR Tick = 1;
    constexpr UINT_PTR Deadline = 2;
    SetTimer(nullptr, Tick, 100, nullptr);
    const UINT_PTR deadline = SetTimer(nullptr, Deadline, 120000, nullptr);
    found = FindWindowW(L"TANU", nullptr);
    MSG message{};
    while (found == nullptr && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_TIMER && message.wParam == deadline) {
            break;
        }
        if (message.message == WM_TIMER) {
            found = FindWindowW(L"TANU", nullptr);
        }
        DispatchMessageW(&message);
    }
    UnhookWinEvent(hook);
    if (found == nullptr) {
        std::fputs("no TANU window came\n", stderr);
        return 1;
    }
    DWORD process = 0;
    GetWindowThreadProcessId(found, &process);
    HANDLE running = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process);
    if (running != nullptr) {
        WaitForInputIdle(running, 120000);
    }
    for (int id = 500; id <= 513; ++id) {
        wchar_t text[600] = {};
        SendMessageW(GetDlgItem(found, id), WM_GETTEXT, 600, reinterpret_cast<LPARAM>(text));
        char utf8[1800] = {};
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
        std::printf("%d %s\n", id, utf8);
    }
    std::fflush(stdout);
    PostMessageW(found, WM_CLOSE, 0, 0);
    if (running != nullptr) {
        WaitForSingleObject(running, 120000);
        CloseHandle(running);
    }
    return 0;
}
