// The GDI+ flat API as MinGW-w64 offers it: its flat header needs the rest of <gdiplus.h> around
// it, and its functions live in Gdiplus::DllExports.
#pragma once

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

namespace tanu::win32::gdip {

using namespace Gdiplus::DllExports;

using Gdiplus::GpBitmap;
using Gdiplus::GpBrush;
using Gdiplus::GpFont;
using Gdiplus::GpFontFamily;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpMatrix;
using Gdiplus::GpPen;
using Gdiplus::GpSolidFill;
using Gdiplus::GpStatus;
using Gdiplus::GpStringFormat;

} // namespace tanu::win32::gdip
