#include "app/commands.h"

#include "document/profile_file.h"

namespace tanu {

const CommandInfo& commandInfo(Command command) {
    for (const CommandInfo& info : Commands) {
        if (info.command == command) {
            return info;
        }
    }
    return Commands.front(); // every command is in the table
}

void runCommand(Command command, CommandContext& context) {
    if (commandInfo(command).commitsFirst) {
        commitFocusedField(context.state);
    }
    switch (command) {
    case Command::New:
        newProfile(context.state);
        break;
    case Command::Open:
        openProfile(context.state, context.documents);
        break;
    case Command::Save:
        saveProfile(context.state, context.documents);
        break;
    case Command::Print:
        // No dialog opens, so the focused field stays where it is and commits nothing.
        printChart(context.state, context.images, context.printer);
        break;
    case Command::Exit:
        // Closing asks nothing and commits nothing, whatever the focused field holds.
        context.shell.closeMainWindow();
        break;
    case Command::About:
        context.shell.showAboutBox();
        break;
    }
}

} // namespace tanu
