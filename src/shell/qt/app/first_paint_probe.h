// Start-up measurement: with TANU_BENCH_FIRST_PAINT=1 in the environment, the first paint of
// the main window prints a monotonic timestamp and, once the event loop is idle again, the
// process's resident memory, then quits. The start-up bench reads both from standard output.
#pragma once

namespace tanu::qt {

bool firstPaintProbeEnabled();

// Call at the end of the main window's paint; acts only on the first call of the process.
void reportFirstPaint();

} // namespace tanu::qt
