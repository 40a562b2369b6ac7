// Charts written to standard output (-o -).
#pragma once

#include <string>
#include <string_view>

namespace tanu::exporter {

// Gives each of standard input, output and error that the caller left closed /dev/null in its
// place, so that no file the program opens later becomes one of them (a chart meant for
// standard output would otherwise go into whatever file took its number). Call it first.
void occupyClosedStandardStreams();

// Writes all of bytes to standard output; false with the reason when it cannot, also when the
// caller closed it.
bool writeToStandardOutput(std::string_view bytes, std::string& reason);

} // namespace tanu::exporter
