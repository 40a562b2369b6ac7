// The program's commands as data: what each shell puts in its menu and binds to keys, and the
// one function that runs a command whatever shell asked for it.
#pragma once

#include "chart/chart_artwork.h"
#include "document/document_port.h"
#include "document/printing.h"
#include "form/entry_form.h"

#include <array>
#include <string_view>

namespace tanu {

enum class Command { New, Open, Save, Print, Exit, About };

enum class Menu { File, Help };

// A key with its modifiers. key is an upper-case letter, a digit or punctuation as typed;
// 0 means no key at all.
struct KeyChord {
    bool ctrl = false;
    bool alt = false;
    char16_t key = 0;
    bool operator==(const KeyChord&) const = default;
};

struct CommandInfo {
    Command command;
    int id; // the command id of the Windows resources
    Menu menu;
    std::u16string_view caption;       // "&" marks the menu's keyboard letter
    bool separatorBefore;              // a line above it in its menu
    KeyChord shortcut;                 // shown in the menu and bound; none for About
    std::array<KeyChord, 2> alsoBound; // bound, not shown
    // The platform's own quit keys close the window (Alt+F4 on Windows, Ctrl+Q where the desktop
    // has such keys); the menu shows them. Ctrl+X stays Cut in the fields.
    bool platformQuitKeys;
    // A dialog takes the focus: the focused field commits first, as leaving it would.
    bool commitsFirst;
};

// In menu order.
inline constexpr std::array<CommandInfo, 6> Commands{{
    {Command::New, 105, Menu::File, u"&New", false, {true, false, u'N'}, {}, false, false},
    {Command::Open, 106, Menu::File, u"&Open", false, {true, false, u'O'}, {}, false, true},
    {Command::Save, 107, Menu::File, u"&Save", false, {true, false, u'S'}, {}, false, true},
    {Command::Print, 108, Menu::File, u"&Print", false, {true, false, u'P'}, {}, false, false},
    {Command::Exit, 109, Menu::File, u"E&xit", true, {}, {}, true, false},
    {Command::About,
     104,
     Menu::Help,
     u"&About ...",
     false,
     {},
     {{{false, true, u'?'}, {false, true, u'/'}}},
     false,
     true},
}};

const CommandInfo& commandInfo(Command command);

// What a command needs of the shell beyond the ports of the core.
class CommandShell {
public:
    virtual ~CommandShell() = default;
    // The About box, modal over the main window, until the user ends it.
    virtual void showAboutBox() = 0;
    // Closes the main window and so ends the run; asks nothing.
    virtual void closeMainWindow() = 0;
};

// Everything the commands act on.
struct CommandContext {
    FormState& state;
    const ImageSet& images;
    DocumentPort& documents;
    PrinterPort& printer;
    CommandShell& shell;
};

// Runs the command: the focused field commits first where the table says so, then the
// command's own function (newProfile, openProfile, saveProfile, printChart, or the shell's
// About box and close).
void runCommand(Command command, CommandContext& context);

} // namespace tanu
