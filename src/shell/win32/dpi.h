// The screen's density for a program that is aware of each monitor's own: the chart keeps its
// 912 x 699 units and is drawn, with its fields and their font, at device pixels per unit.
#pragma once

#include "chart/layout.h"

#include <windows.h>

namespace tanu::win32 {

inline constexpr UINT StandardDpi = 96;

// The window's monitor's dots per inch (the system's on Windows before 10).
UINT dpiOf(HWND window);

// The outer size of a window with that client size, style and a menu bar, at the density.
SIZE windowSizeFor(SIZE client, DWORD style, UINT dpi);

// Places the window with its top left corner at (x, y) so that its client area has exactly that
// size: the frame as the density gives it, then corrected by what the frame really takes (a
// menu bar that wraps, a theme's border).
void placeWithClientSize(HWND window, int x, int y, SIZE client, DWORD style, UINT dpi);

// Device pixels per chart unit at the density: dpi / 96, but smaller where the window would
// not fit the work area of the monitor under place, and never below 1.
double chartScaleFor(const RECT& place, DWORD style, UINT dpi);

// A chart length in device pixels, rounded to the nearest.
int scaled(int length, double scale);
// A chart rectangle in device pixels: its edges are scaled, so neighbours stay neighbours.
IntRect scaled(IntRect rect, double scale);
// The client size the chart takes at the scale.
SIZE clientSizeFor(double scale);

} // namespace tanu::win32
