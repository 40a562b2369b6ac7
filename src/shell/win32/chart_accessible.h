// The chart as screen readers see it: the main window's client area named "Profile chart",
// with a description of what it shows, kept up to date as the profile changes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tanu::win32 {

// The answer to WM_GETOBJECT for the window's client area: the system's own accessible object
// for it, with the chart's name and the description describe() gives. Zero for other objects,
// which the default handling answers.
LRESULT chartAccessibleObject(HWND window, WPARAM flags, LPARAM objectId,
                              std::function<std::u16string()> describe);

// Tells screen readers that the chart's description has changed.
void announceChartChanged(HWND window);

} // namespace tanu::win32
