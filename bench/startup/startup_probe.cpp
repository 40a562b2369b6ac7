// The TANU program as the start-up bench runs it: the same start as the shipped program, with
// the first-paint probe watching the chart's first paint.
#include "first_paint_probe.h"
#include "tanu_app.h"

int main(int argc, char** argv) {
    return tanu::qt::runTanu(argc, argv, [](tanu::qt::TanuApplication& tanu) {
        tanu.window().chart().afterPaint = [] { tanu::qt::reportFirstPaint(); };
    });
}
