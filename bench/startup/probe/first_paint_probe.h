// Start-up measurement for the bench's own programs (never the shipped one): with
// TANU_BENCH_FIRST_PAINT=1 in the environment, the first paint of the main window prints a
// steady-clock timestamp and the program quits once the event loop is idle again. The start-up
// bench reads the timestamp from standard output and the memory from outside.
#pragma once

namespace tanu::qt {

bool firstPaintProbeEnabled();

// Call at the end of the main window's paint; acts only on the first call of the process.
void reportFirstPaint();

} // namespace tanu::qt
