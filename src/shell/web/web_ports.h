// The page as the window: its <input> fields, its <dialog> message boxes, its chart canvas, the
// browser's file pickers and downloads, and its print. Every modal step (a message box, a file
// picker, the About box, printing) waits for the user through Asyncify, so the core runs its
// commands in the same order as on the desktop.
#pragma once

#include "app/commands.h"
#include "chart/chart_artwork.h"
#include "document/document_port.h"
#include "document/printing.h"
#include "form/chart_view.h"
#include "form/entry_form.h"
#include "form/field_host.h"
#include "form/message_port.h"

#include "canvas_surface.h"

#include <memory>
#include <set>
#include <vector>

namespace tanu::web {

class PageFieldHost final : public FieldHost, public MessagePort, public ChartView {
public:
    void attach(FormState& state, const ImageSet& images) {
        state_ = &state;
        images_ = &images;
    }

    void createField(int id, FieldRect rect) override;
    std::u16string fieldText(int id) const override;
    void setFieldText(int id, std::u16string_view text) override;
    void setFieldEnabled(int id, bool enabled) override;
    void setFocus(int id) override;
    void selectText(int id, int start, int end) override;
    void showMessage(std::u16string_view caption, std::u16string_view text,
                     MessageIcon icon) override;
    // The chart is drawn again at once, as a window updates when it is invalidated.
    void chartChanged() override { paint(); }

    void paint();
    // Reports to the form where the focus has gone since the last report: the field that lost
    // it first, then the one that gained it. The browser's focus events only ask for this, so a
    // report never describes a focus that has moved on meanwhile.
    void syncFocus();
    // A modal step takes the focus from the fields: the loss is reported now, and the gain when
    // the step ends and the browser gives the focus back.
    void beforeModal();

private:
    int activeField() const;

    FormState* state_ = nullptr;
    const ImageSet* images_ = nullptr;
    std::vector<int> order_;
    std::set<int> disabled_;
    int reported_ = -1;
};

class PageDocumentPort final : public DocumentPort {
public:
    explicit PageDocumentPort(PageFieldHost& host) : host_(host) {}
    std::optional<std::u16string> chooseOpenPath() override;
    std::optional<std::u16string> chooseSavePath(std::u16string_view proposedName) override;
    ReadResult readFile(const std::u16string& path, std::size_t maxBytes) override;
    WriteResult writeFileAtomically(const std::u16string& path, std::string_view bytes) override;

private:
    PageFieldHost& host_;
};

// One landscape page, drawn on a canvas of its own and handed to the browser's print.
class PagePrinterPort final : public PrinterPort {
public:
    explicit PagePrinterPort(PageFieldHost& host) : host_(host) {}
    DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) override;
    void endJob() override;

private:
    PageFieldHost& host_;
    std::unique_ptr<CanvasSurface> page_;
};

class PageCommandShell final : public CommandShell {
public:
    explicit PageCommandShell(PageFieldHost& host) : host_(host) {}
    void showAboutBox() override;
    // A page cannot close its own tab; the menu offers no Exit.
    void closeMainWindow() override {}

private:
    PageFieldHost& host_;
};

// The name of the file the page chose or was given last (a picker, a drop).
std::u16string chosenFileName();

// Builds the page's menu bar from the command table, and its About box.
void buildPage();

} // namespace tanu::web
