// Print on Windows: one landscape page of the default printer, drawn with GDI+ in 1/100 inch.
#pragma once

#include "document/printing.h"
#include "shell/win32/gdiplus_surface.h"

#include <memory>
#include <string>

namespace tanu::win32 {

class Win32PrinterPort : public PrinterPort {
public:
    ~Win32PrinterPort() override;

    DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) final;
    void endJob() final;

protected:
    // The device context of the job's one started page, or null with a reason. The page's
    // origin is the printable area's corner, as on a printer.
    virtual HDC__* startPage(std::u16string_view jobName, std::u16string& reason);
    // Ends the page and the job and releases the device context.
    virtual void finishPage(HDC__* page);

private:
    HDC__* page_ = nullptr;
    std::unique_ptr<GdiplusSurface> surface_;
};

} // namespace tanu::win32
