// The Print command: the chart on one landscape page of the default printer.
#pragma once

#include "chart/chart_artwork.h"
#include "chart/drawing_surface.h"
#include "form/entry_form.h"

#include <string>
#include <string_view>

namespace tanu {

class PrinterPort {
public:
    virtual ~PrinterPort() = default;

    // Starts a job named jobName of one landscape page on the default printer, with the
    // printer's own settings otherwise, and returns the surface of that page: one surface unit
    // is 1/100 inch, its visible bounds are the printable area. Null, with a short reason, when
    // there is no default printer or the job cannot start; endJob is then not called.
    virtual DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) = 0;

    // Ends the page and the job and hands it to the spooler; the surface is gone afterwards.
    virtual void endJob() = 0;
};

// Prints the chart with the field texts; changes no state, repaints nothing, moves no focus.
void printChart(const FormState& state, const ImageSet& images, PrinterPort& port);

} // namespace tanu
