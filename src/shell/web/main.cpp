// TANU in the browser: the core behind the page's fields, canvas and dialogs. The page calls in
// through the functions below, one at a time (page.js queues them), since a call may wait for
// the user in a dialog.
#include "web_ports.h"

#include "app/commands.h"
#include "document/profile_file.h"

#include <emscripten.h>

namespace tanu::web {
namespace {

struct Program {
    PageFieldHost host;
    PageImageDecoder decoder;
    ImageSet images = loadImageSet(std::filesystem::path("data"), decoder);
    FormState state{host, host, host, localToday};
    PageDocumentPort documents{host};
    PagePrinterPort printer{host};
    PageCommandShell shell{host};
    CommandContext commands{state, images, documents, printer, shell};
};

Program* program = nullptr;

} // namespace
} // namespace tanu::web

using tanu::web::program;

extern "C" {

EMSCRIPTEN_KEEPALIVE void tanu_paint() {
    program->host.paint();
}

EMSCRIPTEN_KEEPALIVE void tanu_sync_focus() {
    program->host.syncFocus();
}

EMSCRIPTEN_KEEPALIVE void tanu_command(int command) {
    tanu::runCommand(static_cast<tanu::Command>(command), program->commands);
}

// A file dropped on the page opens as if chosen in the Open dialog.
EMSCRIPTEN_KEEPALIVE void tanu_open_dropped() {
    tanu::commitFocusedField(program->state);
    tanu::openProfileFile(program->state, program->documents, tanu::web::chosenFileName());
}

} // extern "C"

int main() {
    program = new tanu::web::Program;
    program->host.attach(program->state, program->images);
    tanu::web::buildPage();
    program->host.paint();
    tanu::startForm(program->state);
    tanu::reportUnusedPictures(program->state, program->images.problems);
    EM_ASM({ TANU.started(); });
    return 0;
}
