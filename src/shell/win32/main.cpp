// The Windows program: GDI+ and the artwork up, the main window, its message loop, and
// everything down again in reverse order.
#include "chart/chart_artwork.h"
#include "shell/files/program_folders.h"
#include "shell/win32/gdiplus_artwork.h"
#include "shell/win32/main_window.h"
#include "shell/win32/win32_document_port.h"
#include "shell/win32/win32_printer_port.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    using namespace tanu;
    GdiplusSession gdiplus;
    int exitCode = 0;
    {
        GdiplusImageDecoder decoder;
        ImageSet images = loadImageSet(files::programArtworkFolders(), decoder);
        Win32DocumentPort documents;
        Win32PrinterPort printer;
        {
            MainWindow window(instance, images, documents, printer, localToday);
            if (window.create(showCommand) == nullptr) {
                return 1;
            }
            documents.setOwner(window.window());
            exitCode = window.runMessageLoop();
        }
    } // every bitmap goes here, before GDI+ does
    return exitCode;
}
