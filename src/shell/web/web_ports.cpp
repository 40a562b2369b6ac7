#include "web_ports.h"

#include "app/system_texts.h"
#include "chart/chart_painter.h"
#include "form/accessible_texts.h"
#include "form/chart_content.h"

#include <emscripten.h>

#include <algorithm>

// The page's side is tanu.js; a string crosses as UTF-16 code units, and what the page gives
// back waits in TANU.out until it is copied.
EM_JS(void, pageCreateField,
      (int id, int x, int y, int w, int h, const char16_t* name, int nameLength),
      { TANU.fields.create(id, x, y, w, h, TANU.text(name, nameLength)); });
EM_JS(void, pageDescribeChart,
      (const char16_t* name, int nameLength, const char16_t* text, int textLength),
      { TANU.surface.describe(TANU.text(name, nameLength), TANU.text(text, textLength)); });
EM_JS(void, pageSetFieldText, (int id, const char16_t* text, int length),
      { TANU.fields.get(id).value = TANU.text(text, length); });
EM_JS(int, pagePrepareFieldText, (int id), {
    TANU.out = TANU.fields.get(id).value;
    return TANU.out.length;
});
EM_JS(int, pageOutLength, (), { return TANU.out.length; });
EM_JS(void, pageCopyOut, (char16_t* target), {
    for (let i = 0; i < TANU.out.length; ++i) {
        HEAPU16[(target >> 1) + i] = TANU.out.charCodeAt(i);
    }
});
EM_JS(void, pageSetFieldEnabled, (int id, int enabled),
      { TANU.fields.get(id).disabled = !enabled; });
EM_JS(void, pageFocus, (int id), { TANU.fields.focus(id); });
EM_JS(int, pageActiveField, (), { return TANU.fields.active(); });
EM_JS(void, pageSelect, (int id, int start, int end),
      { TANU.fields.get(id).setSelectionRange(start, end); });
EM_JS(int, pageChartCanvas, (), { return TANU.surface.chartCanvas(); });
EM_JS(double, pagePixelRatio, (), { return TANU.pixelRatio(); });
EM_ASYNC_JS(void, pageMessage,
            (const char16_t* caption, int captionLength, const char16_t* text, int textLength,
             int warning),
            {
                await TANU.dialogs.message(TANU.text(caption, captionLength),
                                           TANU.text(text, textLength), warning);
            });
EM_ASYNC_JS(void, pageAbout, (), { await TANU.dialogs.about(); });
EM_ASYNC_JS(int, pageChooseOpen, (), { return await TANU.files.chooseOpen(); });
EM_ASYNC_JS(int, pageChooseSave, (const char16_t* name, int length),
            { return await TANU.files.chooseSave(TANU.text(name, length)); });
EM_JS(int, pagePrepareFile, (const char16_t* name, int length),
      { return TANU.files.prepareRead(TANU.text(name, length)); });
EM_JS(void, pageCopyFile, (char* target, int length),
      { HEAPU8.set(TANU.files.read.subarray(0, length), target); });
EM_ASYNC_JS(int, pageWrite, (const char16_t* name, int length, const char* bytes, int size), {
    return await TANU.files.write(TANU.text(name, length), HEAPU8.slice(bytes, bytes + size));
});
EM_JS(int, pageBeginPrint, (int width, int height, double pixelsPerUnit),
      { return TANU.print.begin(width, height, pixelsPerUnit); });
EM_JS(void, pageMenu, (int menu, const char16_t* title, int titleLength),
      { TANU.menus.menu(menu, TANU.text(title, titleLength)); });
EM_JS(void, pageMenuItem,
      (int menu, int command, const char16_t* caption, int captionLength, int separator, int ctrl,
       int alt, int key, int alsoAlt1, int alsoKey1, int alsoAlt2, int alsoKey2),
      {
          TANU.menus.item(menu, command, TANU.text(caption, captionLength), separator,
                          {ctrl, alt, key}, [
                              {ctrl : 0, alt : alsoAlt1, key : alsoKey1},
                              {ctrl : 0, alt : alsoAlt2, key : alsoKey2}
                          ]);
      });
EM_ASYNC_JS(void, pageEndPrint, (), { await TANU.print.end(); });

namespace tanu::web {

namespace {

std::u16string takeOut(int length) {
    std::u16string text(static_cast<std::size_t>(length), u'\0');
    if (length > 0) {
        pageCopyOut(text.data());
    }
    return text;
}

// The printed page in 1/100 inch: what both A4 and Letter, landscape, hold within margins of a
// quarter inch, so the picture is never cut whatever paper the printer has.
constexpr IntRect PrintablePage{0, 0, 1050, 777};
constexpr double PrintPixelsPerUnit = 3.0; // 300 dots per inch

} // namespace

void PageFieldHost::createField(int id, FieldRect rect) {
    const std::u16string name = fieldAccessibleName(id);
    pageCreateField(id, rect.x, rect.y, rect.width, rect.height, name.data(), lengthOf(name));
    order_.push_back(id);
}

std::u16string PageFieldHost::fieldText(int id) const {
    return takeOut(pagePrepareFieldText(id));
}

void PageFieldHost::setFieldText(int id, std::u16string_view text) {
    pageSetFieldText(id, text.data(), lengthOf(text));
}

void PageFieldHost::setFieldEnabled(int id, bool enabled) {
    if (enabled) {
        disabled_.erase(id);
    } else {
        disabled_.insert(id);
    }
    if (!enabled && activeField() == id) {
        // The keyboard moves on to the next field that takes input before this one locks.
        const auto at =
            static_cast<std::size_t>(std::find(order_.begin(), order_.end(), id) - order_.begin());
        for (std::size_t k = 1; k < order_.size(); ++k) {
            const int next = order_[(at + k) % order_.size()];
            if (disabled_.count(next) == 0) {
                setFocus(next);
                break;
            }
        }
    }
    pageSetFieldEnabled(id, enabled ? 1 : 0);
}

void PageFieldHost::setFocus(int id) {
    pageFocus(id);
    syncFocus();
}

void PageFieldHost::selectText(int id, int start, int end) {
    pageSelect(id, start, end);
}

void PageFieldHost::showMessage(std::u16string_view caption, std::u16string_view text,
                                MessageIcon icon) {
    beforeModal();
    pageMessage(caption.data(), lengthOf(caption), text.data(), lengthOf(text),
                icon == MessageIcon::Warning ? 1 : 0);
    syncFocus();
}

void PageFieldHost::paint() {
    if (state_ == nullptr || images_ == nullptr) {
        return;
    }
    const double ratio = pagePixelRatio();
    CanvasSurface surface(pageChartCanvas(), {0, 0, ChartWidth, ChartHeight}, ratio, 96.0 / 72.0);
    paintChart(surface, chartContentOf(*state_, false), *images_, false);
    const std::u16string description = chartDescription(state_->model, state_->ageText);
    pageDescribeChart(ChartAccessibleName.data(), lengthOf(ChartAccessibleName), description.data(),
                      lengthOf(description));
}

int PageFieldHost::activeField() const {
    return pageActiveField();
}

void PageFieldHost::syncFocus() {
    if (state_ == nullptr) {
        return;
    }
    if (activeField() == reported_) {
        return;
    }
    if (reported_ >= 0) {
        const int lost = reported_;
        reported_ = -1;
        onFieldFocusLost(*state_, lost);
    }
    // The form may have moved the focus itself meanwhile, and reported it.
    const int gained = activeField();
    if (reported_ < 0 && gained >= 0) {
        reported_ = gained;
        onFieldFocusGained(*state_, gained);
    }
}

void PageFieldHost::beforeModal() {
    if (state_ == nullptr || reported_ < 0) {
        return;
    }
    const int lost = reported_;
    reported_ = -1;
    onFieldFocusLost(*state_, lost);
}

std::optional<std::u16string> PageDocumentPort::chooseOpenPath() {
    host_.beforeModal();
    std::optional<std::u16string> name;
    if (pageChooseOpen() != 0) {
        name = chosenFileName(); // before the focus report, which reads a field through TANU.out
    }
    host_.syncFocus();
    return name;
}

std::optional<std::u16string> PageDocumentPort::chooseSavePath(std::u16string_view proposedName) {
    host_.beforeModal();
    std::optional<std::u16string> name;
    if (pageChooseSave(proposedName.data(), lengthOf(proposedName)) != 0) {
        name = chosenFileName();
    }
    host_.syncFocus();
    return name;
}

ReadResult PageDocumentPort::readFile(const std::u16string& path, std::size_t maxBytes) {
    const int size = pagePrepareFile(path.data(), lengthOf(path));
    if (size < 0) {
        return {false, {}, std::u16string(u"The browser gave no such file.")};
    }
    // At most one byte more than asked for, so that a larger file shows as such.
    const auto wanted = std::min<std::size_t>(static_cast<std::size_t>(size), maxBytes + 1);
    std::string bytes(wanted, '\0');
    if (wanted > 0) {
        pageCopyFile(bytes.data(), static_cast<int>(wanted));
    }
    return {true, std::move(bytes), {}};
}

WriteResult PageDocumentPort::writeFileAtomically(const std::u16string& path,
                                                  std::string_view bytes) {
    const int ok =
        pageWrite(path.data(), lengthOf(path), bytes.data(), static_cast<int>(bytes.size()));
    if (ok == 0) {
        return {false, takeOut(pageOutLength())};
    }
    return {true, {}};
}

DrawingSurface* PagePrinterPort::beginJob(std::u16string_view, std::u16string& reason) {
    const int canvas =
        pageBeginPrint(PrintablePage.width, PrintablePage.height, PrintPixelsPerUnit);
    if (canvas < 0) {
        reason = u"The browser cannot print this page.";
        return nullptr;
    }
    page_ =
        std::make_unique<CanvasSurface>(canvas, PrintablePage, PrintPixelsPerUnit, 100.0 / 72.0);
    return page_.get();
}

void PagePrinterPort::endJob() {
    page_.reset();
    host_.beforeModal();
    pageEndPrint();
    host_.syncFocus();
}

std::u16string chosenFileName() {
    return takeOut(pageOutLength());
}

EM_JS(void, pageAboutLine, (const char16_t* text, int length, int x, int y),
      { TANU.dialogs.aboutLine(TANU.text(text, length), x, y); });
EM_JS(void, pageAboutBox,
      (const char16_t* caption, int captionLength, int width, int height, const char16_t* button,
       int buttonLength, int bx, int by, int bw, int bh),
      {
          TANU.dialogs.aboutBox(TANU.text(caption, captionLength), width, height,
                                TANU.text(button, buttonLength), bx, by, bw, bh);
      });

void buildPage() {
    pageAboutBox(AboutCaption.data(), lengthOf(AboutCaption), AboutWidthUnits, AboutHeightUnits,
                 AboutButtonText.data(), lengthOf(AboutButtonText), AboutButton.x, AboutButton.y,
                 AboutButton.width, AboutButton.height);
    for (const AboutLine& line : AboutLines) {
        pageAboutLine(line.text.data(), lengthOf(line.text), line.x, line.y);
    }
    pageMenu(0, FileMenuCaption.data(), lengthOf(FileMenuCaption));
    pageMenu(1, HelpMenuCaption.data(), lengthOf(HelpMenuCaption));
    for (const CommandInfo& info : Commands) {
        if (info.platformQuitKeys) {
            continue; // a page cannot close its tab
        }
        pageMenuItem(info.menu == Menu::File ? 0 : 1, static_cast<int>(info.command),
                     info.caption.data(), lengthOf(info.caption), info.separatorBefore ? 1 : 0,
                     info.shortcut.ctrl ? 1 : 0, info.shortcut.alt ? 1 : 0, info.shortcut.key,
                     info.alsoBound[0].alt ? 1 : 0, info.alsoBound[0].key,
                     info.alsoBound[1].alt ? 1 : 0, info.alsoBound[1].key);
    }
}

void PageCommandShell::showAboutBox() {
    host_.beforeModal();
    pageAbout();
    host_.syncFocus();
}

} // namespace tanu::web
