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

// Standard error goes nowhere while one of these lives: the PNG library under Qt's image reader
// prints its own raw errors about a damaged picture there, and the program says in its own
// words what it could not use. Only while no other thread writes to standard error.
class StandardErrorSilenced {
public:
    StandardErrorSilenced();
    ~StandardErrorSilenced();
    StandardErrorSilenced(const StandardErrorSilenced&) = delete;
    StandardErrorSilenced& operator=(const StandardErrorSilenced&) = delete;

private:
    int saved_;
};

} // namespace tanu::exporter
