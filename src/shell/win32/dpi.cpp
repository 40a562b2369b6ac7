#include "shell/win32/dpi.h"

#include <algorithm>
#include <cmath>

namespace tanu::win32 {

namespace {

// The per-monitor calls of Windows 10, looked up so that the program still starts on older
// systems, where the system's density applies to every monitor.
template <typename Function> Function user32Function(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

} // namespace

UINT dpiOf(HWND window) {
    using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowCall>("GetDpiForWindow");
    if (getDpiForWindow != nullptr && window != nullptr) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi != 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : StandardDpi;
}

SIZE windowSizeFor(SIZE client, DWORD style, UINT dpi) {
    using AdjustCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustCall>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, client.cx, client.cy};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, TRUE, 0, dpi)) {
        frame = RECT{0, 0, client.cx, client.cy};
        AdjustWindowRect(&frame, style, TRUE);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void placeWithClientSize(HWND window, int x, int y, SIZE client, DWORD style, UINT dpi) {
    SIZE size = windowSizeFor(client, style, dpi);
    SetWindowPos(window, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT got{};
    GetClientRect(window, &got);
    if (got.right != client.cx || got.bottom != client.cy) {
        size.cx += client.cx - got.right;
        size.cy += client.cy - got.bottom;
        SetWindowPos(window, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

double chartScaleFor(const RECT& place, DWORD style, UINT dpi) {
    const double wanted = static_cast<double>(dpi) / StandardDpi;
    if (wanted <= 1.0) {
        return 1.0;
    }
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&place, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return wanted;
    }
    const RECT& work = monitor.rcWork;
    const SIZE client = clientSizeFor(wanted);
    const SIZE frame = windowSizeFor(client, style, dpi);
    const double fitWidth =
        static_cast<double>(work.right - work.left - (frame.cx - client.cx)) / ChartWidth;
    const double fitHeight =
        static_cast<double>(work.bottom - work.top - (frame.cy - client.cy)) / ChartHeight;
    return std::max(1.0, std::min({wanted, fitWidth, fitHeight}));
}

int scaled(int length, double scale) {
    return static_cast<int>(std::lround(length * scale));
}

IntRect scaled(IntRect rect, double scale) {
    const int left = scaled(rect.x, scale);
    const int top = scaled(rect.y, scale);
    return {left, top, scaled(rect.x + rect.width, scale) - left,
            scaled(rect.y + rect.height, scale) - top};
}

SIZE clientSizeFor(double scale) {
    return {scaled(ChartWidth, scale), scaled(ChartHeight, scale)};
}

} // namespace tanu::win32
