// The Windows program: GDI+ and the artwork up, the main window, its message loop, and
// everything down again in reverse order.
#include "chart/chart_artwork.h"
#include "document/profile_file.h"
#include "shell/files/program_folders.h"
#include "shell/win32/gdiplus_artwork.h"
#include "shell/win32/main_window.h"
#include "shell/win32/win32_document_port.h"
#include "shell/win32/win32_printer_port.h"
#include "shell/win32/win32_text.h"

#include <shellapi.h>

#include <string>
#include <vector>

namespace {

// The command line as Windows splits it: quotes group, backslashes escape quotes.
std::vector<std::u16string> commandLineArguments() {
    std::vector<std::u16string> arguments;
    int count = 0;
    wchar_t** split = CommandLineToArgvW(GetCommandLineW(), &count);
    if (split != nullptr) {
        for (int i = 0; i < count; ++i) {
            arguments.push_back(tanu::win32::utf16(split[i]));
        }
        LocalFree(split);
    }
    return arguments;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace tanu;
    using namespace tanu::win32;
    // COM on the window's thread: screen readers reach the chart's accessible object through it,
    // and the file dialogs and the picture decoder use it.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    GdiplusSession gdiplus;
    int exitCode = 0;
    {
        // With their double-size drawings: the window may meet a dense screen at any time.
        GdiplusImageDecoder decoder(true);
        ImageSet images = loadImageSet(files::programArtworkFolders(), decoder);
        Win32DocumentPort documents;
        Win32PrinterPort printer;
        {
            MainWindow window(instance, images, documents, printer, localToday);
            if (window.create(showCommand) == nullptr) {
                return 1;
            }
            documents.setOwner(window.window());
            // A double-clicked profile opens as File > Open would open it.
            if (const auto file = profileNamedAtStart(commandLineArguments())) {
                openProfileFile(window.state(), documents, *file);
            }
            exitCode = window.runMessageLoop();
        }
    } // every bitmap goes here, before GDI+ does
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return exitCode;
}
