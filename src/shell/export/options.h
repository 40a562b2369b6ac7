// The command line of tanu-export.
#pragma once

#include "model/dates.h"

#include <optional>
#include <string>
#include <vector>

namespace tanu::exporter {

enum class Format { Png, Pdf, Svg };
enum class Page { A4, Letter };

struct Options {
    Format format = Format::Png;
    int scale = 1;
    Page page = Page::A4;
    std::optional<std::string> output;    // -o: one input; "-" is standard output
    std::optional<std::string> outputDir; // otherwise beside each input
    std::optional<CalendarDate> on;       // the day the age is computed for; today if unset
    unsigned jobs = 0;                    // 0: one per core
    bool help = false;
    bool version = false;
    std::vector<std::string> inputs;
};

// The options, or a one-line reason for a usage error.
struct ParsedOptions {
    Options options;
    std::string error;
};
ParsedOptions parseOptions(const std::vector<std::string>& args);

const char* extensionOf(Format format);

// Where the picture of one input goes, when -o does not say.
std::string outputPathFor(const std::string& input, const Options& options);

} // namespace tanu::exporter
