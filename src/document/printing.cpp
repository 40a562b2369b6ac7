#include "document/printing.h"

#include "chart/chart_painter.h"
#include "document/profile_file.h"
#include "form/chart_content.h"

namespace tanu {

void printChart(const FormState& state, const ImageSet& images, PrinterPort& port) {
    std::u16string reason;
    DrawingSurface* page = port.beginJob(PrintJobName, reason);
    if (page == nullptr) {
        // Printing nothing without a word would leave the user waiting at the printer.
        state.messages->showMessage(PrintFailedCaption, fillMessage(PrintFailedText, {reason}),
                                    MessageIcon::Warning);
        return;
    }
    paintChart(*page, chartContentOf(state), images, true);
    port.endJob();
}

} // namespace tanu
