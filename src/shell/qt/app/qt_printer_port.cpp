#include "qt_printer_port.h"
#include "document/document_texts.h"

#include "qt_text.h"
#include "shell/qt/surface/qpainter_surface.h"

#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace tanu::qt {

std::unique_ptr<QPrinter> defaultPrinter(std::u16string& reason) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        reason = NoDefaultPrinterReason;
        return nullptr;
    }
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

PrinterSource pdfPrinter(QString path, QPageSize::PageSizeId paper) {
    return [path = std::move(path), paper](std::u16string&) {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(path);
        printer->setPageSize(QPageSize(paper));
        return printer;
    };
}

QtPrinterPort::QtPrinterPort(PrinterSource source) : source_(std::move(source)) {}

QtPrinterPort::~QtPrinterPort() {
    release();
}

DrawingSurface* QtPrinterPort::beginJob(std::u16string_view jobName, std::u16string& reason) {
    release();
    printer_ = source_(reason);
    if (!printer_) {
        return nullptr;
    }
    printer_->setPageOrientation(PrintLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer_->setDocName(toQString(jobName));
    // Before the painter begins: afterwards the device keeps its own resolution, and scaling
    // the painter instead would scale point-sized fonts as well.
    printer_->setResolution(PrintUnitsPerInch);
    painter_ = std::make_unique<QPainter>();
    if (!painter_->begin(printer_.get())) {
        reason = PrintJobRefusedReason;
        release();
        return nullptr;
    }
    surface_ = std::make_unique<QPainterSurface>(*painter_);
    return surface_.get();
}

void QtPrinterPort::endJob() {
    release();
}

void QtPrinterPort::release() {
    surface_.reset();
    if (painter_ && painter_->isActive()) {
        painter_->end(); // hands the page and the job over
    }
    painter_.reset();
    printer_.reset();
}

} // namespace tanu::qt
