// The command table and runCommand: which commands commit the focused field first, and that
// each command reaches its own function.
#include "app/commands.h"

#include "fake_document_port.h"
#include "recording_surface.h"
#include "scripted_host.h"

#include <gtest/gtest.h>

namespace tanu {
namespace {

class NoPrinter : public PrinterPort {
public:
    DrawingSurface* beginJob(std::u16string_view, std::u16string& reason) override {
        ++jobs;
        reason = u"none";
        return nullptr;
    }
    void endJob() override {}
    int jobs = 0;
};

class CountingShell : public CommandShell {
public:
    void showAboutBox() override { ++aboutBoxes; }
    void closeMainWindow() override { ++closes; }
    int aboutBoxes = 0;
    int closes = 0;
};

TEST(Commands, EachCommitsFirstOrNotAndReachesItsFunction) {
    const struct {
        Command command;
        bool commitsFirst;
    } cases[] = {{Command::New, false},   {Command::Open, true},  {Command::Save, true},
                 {Command::Print, false}, {Command::Exit, false}, {Command::About, true}};
    for (const auto& c : cases) {
        testing::StartedForm form;
        testing::FakeDocumentPort documents;
        NoPrinter printer;
        CountingShell shell;
        const ImageSet images;
        CommandContext context{form.state, images, documents, printer, shell};
        // An unacceptable date typed and not yet left: committing it shows "Invalid date".
        form.host.click(BirthDateField);
        form.host.type(u"1970/1/1");

        runCommand(c.command, context);

        const auto invalidDates = std::count_if(
            form.host.messages.begin(), form.host.messages.end(),
            [](const testing::ShownMessage& m) { return m.caption == InvalidDateCaption; });
        const int at = static_cast<int>(c.command);
        EXPECT_EQ(invalidDates, c.commitsFirst ? 1 : 0) << at;
        EXPECT_EQ(commandInfo(c.command).commitsFirst, c.commitsFirst) << at;
        EXPECT_EQ(documents.openDialogs, c.command == Command::Open ? 1 : 0) << at;
        EXPECT_EQ(documents.saveDialogs, c.command == Command::Save ? 1 : 0) << at;
        EXPECT_EQ(printer.jobs, c.command == Command::Print ? 1 : 0) << at;
        EXPECT_EQ(shell.aboutBoxes, c.command == Command::About ? 1 : 0) << at;
        EXPECT_EQ(shell.closes, c.command == Command::Exit ? 1 : 0) << at;
        EXPECT_EQ(form.host.fieldText(BirthDateField),
                  c.command == Command::New ? u"YYYY/MM/DD" : u"1970/1/1")
            << at;
    }
}

TEST(Commands, TableHasTheMenusCaptionsAndKeys) {
    std::u16string file;
    std::u16string help;
    for (const CommandInfo& info : Commands) {
        (info.menu == Menu::File ? file : help) +=
            std::u16string(info.separatorBefore ? u"- " : u"") + std::u16string(info.caption) +
            u" ";
    }
    EXPECT_EQ(file, u"&New &Open &Save &Print - E&xit ");
    EXPECT_EQ(help, u"&About ... ");
    const KeyChord none{};
    EXPECT_EQ(commandInfo(Command::New).shortcut, (KeyChord{true, false, u'N'}));
    EXPECT_EQ(commandInfo(Command::Print).shortcut, (KeyChord{true, false, u'P'}));
    // Exit closes with the platform's own keys; Ctrl+X stays Cut in the fields.
    EXPECT_EQ(commandInfo(Command::Exit).shortcut, none);
    EXPECT_TRUE(commandInfo(Command::Exit).platformQuitKeys);
    EXPECT_EQ(commandInfo(Command::About).alsoBound[0], (KeyChord{false, true, u'?'}));
    EXPECT_EQ(commandInfo(Command::About).alsoBound[1], (KeyChord{false, true, u'/'}));
    EXPECT_EQ(commandInfo(Command::About).id, 104);
    EXPECT_EQ(commandInfo(Command::Exit).id, 109);
}

} // namespace
} // namespace tanu
