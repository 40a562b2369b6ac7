// Print jobs through QPrinter: the default printer in the program, a PDF file in tests.
#pragma once

#include "document/printing.h"

#include <QPageSize>
#include <QPrinter>
#include <QString>

#include <functional>
#include <memory>

class QPainter;

namespace tanu::qt {

class QPainterSurface;

// Makes the printer a job goes to, or null with a short reason.
using PrinterSource = std::function<std::unique_ptr<QPrinter>(std::u16string& reason)>;

// The user's default printer at high resolution; null when none is set.
std::unique_ptr<QPrinter> defaultPrinter(std::u16string& reason);

// A PDF file of the given paper size in place of a printer.
PrinterSource pdfPrinter(QString path, QPageSize::PageSizeId paper);

class QtPrinterPort final : public PrinterPort {
public:
    explicit QtPrinterPort(PrinterSource source = defaultPrinter);
    ~QtPrinterPort() override;

    DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) override;
    void endJob() override;

private:
    void release();

    PrinterSource source_;
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<QPainterSurface> surface_;
};

} // namespace tanu::qt
