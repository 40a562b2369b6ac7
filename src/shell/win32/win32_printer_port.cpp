#include "shell/win32/win32_printer_port.h"

#include "document/document_texts.h"
#include "shell/win32/gdiplus_surface.h"
#include "shell/win32/win32_text.h"

#include <windows.h>

#include <winspool.h>

#include <vector>

namespace tanu::win32 {

namespace {

std::wstring defaultPrinter() {
    DWORD length = 0;
    GetDefaultPrinterW(nullptr, &length);
    if (length == 0) {
        return {};
    }
    std::wstring name(length, L'\0');
    if (GetDefaultPrinterW(name.data(), &length) == 0) {
        return {};
    }
    name.resize(wcslen(name.c_str()));
    return name;
}

// The printer's own settings, turned to landscape; empty when the driver gives none.
std::vector<std::byte> landscapeSettings(std::wstring& printer) {
    HANDLE handle = nullptr;
    if (OpenPrinterW(printer.data(), &handle, nullptr) == 0) {
        return {};
    }
    std::vector<std::byte> settings;
    const LONG size = DocumentPropertiesW(nullptr, handle, printer.data(), nullptr, nullptr, 0);
    if (size > 0) {
        settings.resize(static_cast<std::size_t>(size));
        auto* mode = reinterpret_cast<DEVMODEW*>(settings.data());
        if (DocumentPropertiesW(nullptr, handle, printer.data(), mode, nullptr, DM_OUT_BUFFER) ==
            IDOK) {
            mode->dmFields |= DM_ORIENTATION;
            mode->dmOrientation = DMORIENT_LANDSCAPE;
            if (DocumentPropertiesW(nullptr, handle, printer.data(), mode, mode,
                                    DM_IN_BUFFER | DM_OUT_BUFFER) != IDOK) {
                settings.clear();
            }
        } else {
            settings.clear();
        }
    }
    ClosePrinter(handle);
    return settings;
}

} // namespace

Win32PrinterPort::~Win32PrinterPort() {
    if (page_ != nullptr) {
        endJob();
    }
}

DrawingSurface* Win32PrinterPort::beginJob(std::u16string_view jobName, std::u16string& reason) {
    page_ = startPage(jobName, reason);
    if (page_ == nullptr) {
        return nullptr;
    }
    surface_ = std::make_unique<GdiplusSurface>(page_);
    surface_->usePageUnitsPerInch(PrintUnitsPerInch);
    return surface_.get();
}

void Win32PrinterPort::endJob() {
    // GDI+ flushes its drawing into the device context when its graphics object goes.
    surface_.reset();
    if (page_ != nullptr) {
        finishPage(page_);
        page_ = nullptr;
    }
}

HDC__* Win32PrinterPort::startPage(std::u16string_view jobName, std::u16string& reason) {
    std::wstring printer = defaultPrinter();
    if (printer.empty()) {
        reason = NoDefaultPrinterReason;
        return nullptr;
    }
    std::vector<std::byte> settings = landscapeSettings(printer);
    const auto* mode =
        settings.empty() ? nullptr : reinterpret_cast<const DEVMODEW*>(settings.data());
    HDC page = CreateDCW(L"WINSPOOL", printer.c_str(), nullptr, mode);
    if (page == nullptr) {
        reason = PrintJobRefusedReason;
        return nullptr;
    }
    const std::wstring name = win32::wide(jobName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    if (StartDocW(page, &document) <= 0) {
        DeleteDC(page);
        reason = PrintJobRefusedReason;
        return nullptr;
    }
    if (StartPage(page) <= 0) {
        AbortDoc(page);
        DeleteDC(page);
        reason = PrintJobRefusedReason;
        return nullptr;
    }
    return page;
}

void Win32PrinterPort::finishPage(HDC__* page) {
    EndPage(page);
    EndDoc(page);
    DeleteDC(page);
}

} // namespace tanu::win32
