// Ports for the shell tests: the real Qt file reads and writes behind scripted dialogs, and a
// printer port that counts its jobs.
#pragma once

#include "qt_document_port.h"
#include "qt_printer_port.h"

#include <optional>
#include <string>

namespace tanu::qt::testing {

class ScriptedDialogs final : public QtDocumentPort {
public:
    std::optional<std::u16string> chooseOpenPath() override {
        ++openAsked;
        return openPath;
    }
    std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) override {
        ++saveAsked;
        proposed = proposedName;
        return savePath;
    }

    std::optional<std::u16string> openPath;
    std::optional<std::u16string> savePath;
    int openAsked = 0;
    int saveAsked = 0;
    std::u16string proposed;
};

class CountingPrinter final : public PrinterPort {
public:
    explicit CountingPrinter(PrinterSource source) : port_(std::move(source)) {}

    DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) override {
        ++jobs;
        lastJobName = jobName;
        return port_.beginJob(jobName, reason);
    }
    void endJob() override { port_.endJob(); }

    int jobs = 0;
    std::u16string lastJobName;

private:
    QtPrinterPort port_;
};

} // namespace tanu::qt::testing
