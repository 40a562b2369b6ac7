// The Print command through a printer port that hands out a recording page.
#include "chart/chart_painter.h"
#include "document/document_texts.h"
#include "document/printing.h"
#include "form/chart_content.h"
#include "form_snapshot.h"
#include "recording_surface.h"
#include "scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace tanu {
namespace {

using testing::RecordingSurface;
using testing::StartedForm;

// A landscape letter page at 1/100 inch, printable area inset by a quarter inch.
constexpr IntRect PageBounds{25, 25, 1050, 800};

class FakePrinter : public PrinterPort {
public:
    DrawingSurface* beginJob(std::u16string_view jobName, std::u16string& reason) override {
        jobs.emplace_back(jobName);
        if (!available) {
            reason = failure;
            return nullptr;
        }
        return &page;
    }
    void endJob() override {
        ++endedJobs;
        callsWhenEnded = page.calls.size();
    }

    RecordingSurface page{PageBounds};
    bool available = true;
    std::u16string failure;
    std::vector<std::u16string> jobs;
    int endedJobs = 0;
    std::size_t callsWhenEnded = 0;
};

class Printing : public ::testing::Test {
protected:
    Printing() {
        form.host.enter(FirstTextField, u"Anna");
        form.host.enter(BirthDateField, u"2016/1/1");
        form.host.enter(DomainField + 2, u"7");
        form.host.click(SecondTextField);
    }

    StartedForm form;
    ImageSet images = testing::namedImageSet();
    FakePrinter printer;
};

TEST_F(Printing, PaintsOneJobInPrintModeAndChangesNothing) {
    const testing::FormSnapshot before = testing::snapshot(form);
    const int repaints = form.host.repaints;

    printChart(form.state, images, printer);

    EXPECT_EQ(printer.jobs, std::vector<std::u16string>{u"TANU Print"});
    EXPECT_EQ(printer.endedJobs, 1);
    ASSERT_FALSE(printer.page.calls.empty());
    EXPECT_EQ(printer.callsWhenEnded, printer.page.calls.size()); // painted before the job ended

    RecordingSurface printMode{PageBounds};
    paintChart(printMode, chartContentOf(form.state), images, true);
    EXPECT_EQ(printer.page.texts(), printMode.texts());
    RecordingSurface windowMode{PageBounds};
    paintChart(windowMode, chartContentOf(form.state), images, false);
    EXPECT_NE(printer.page.texts(), windowMode.texts());
    const auto strings = printer.page.named("drawString");
    EXPECT_TRUE(std::any_of(strings.begin(), strings.end(), [](const testing::RecordedCall* call) {
        return call->utf8 == "Anna";
    }));

    EXPECT_EQ(testing::snapshot(form), before);
    EXPECT_EQ(form.host.repaints, repaints);
    EXPECT_TRUE(form.host.messages.empty());
}

TEST_F(Printing, SaysSoWhenThereIsNoPrinter) {
    struct Case {
        std::u16string reason;
        std::u16string text;
    };
    const std::vector<Case> cases{
        {u"No default printer is set.",
         u"The chart could not be printed.\n\nNo default printer is set."},
        {u"", u"The chart could not be printed."},
    };
    for (const Case& c : cases) {
        form.host.messages.clear();
        printer.available = false;
        printer.failure = c.reason;
        const testing::FormSnapshot before = testing::snapshot(form);

        printChart(form.state, images, printer);

        EXPECT_EQ(printer.endedJobs, 0);
        EXPECT_TRUE(printer.page.calls.empty());
        ASSERT_EQ(form.host.messages.size(), 1u);
        EXPECT_EQ(form.host.messages[0].caption, PrintFailedCaption);
        EXPECT_EQ(form.host.messages[0].text, c.text);
        EXPECT_EQ(testing::snapshot(form), before);
    }
}

} // namespace
} // namespace tanu
