// Start-up measurement, built into the program only with the TANU_FIRST_PAINT_PROBE build
// option (never in the package): with TANU_BENCH_FIRST_PAINT=1 in the environment, the first
// paint of the main window prints a steady-clock timestamp and the program quits once the event
// loop is idle again. The start-up bench reads the timestamp from standard output and the
// memory from outside; the installed-program test uses the quit to end its run.
#pragma once

namespace tanu::qt {

bool firstPaintProbeEnabled();

// Call at the end of the main window's paint; acts only on the first call of the process.
void reportFirstPaint();

} // namespace tanu::qt
