#include "options.h"

#include <charconv>
#include <filesystem>

namespace tanu::exporter {

namespace {

std::optional<Format> formatNamed(std::string name) {
    for (char& c : name) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    if (name == "png") {
        return Format::Png;
    }
    if (name == "pdf") {
        return Format::Pdf;
    }
    if (name == "svg") {
        return Format::Svg;
    }
    return std::nullopt;
}

std::optional<int> numberIn(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<CalendarDate> dayNamed(const std::string& text) {
    DateValue date = parseDate(text);
    checkDayInMonth(date);
    if (!date.valid) {
        return std::nullopt;
    }
    return CalendarDate{date.year, date.month, date.day};
}

} // namespace

const char* extensionOf(Format format) {
    switch (format) {
    case Format::Pdf:
        return ".pdf";
    case Format::Svg:
        return ".svg";
    case Format::Png:
        break;
    }
    return ".png";
}

namespace {

// The options that take a value, long and short.
bool takesValue(const std::string& name) {
    for (const char* known : {"--format", "-f", "--scale", "--page", "--output", "-o",
                              "--output-dir", "--on", "--jobs", "-j"}) {
        if (name == known) {
            return true;
        }
    }
    return false;
}

} // namespace

ParsedOptions parseOptions(const std::vector<std::string>& args) {
    ParsedOptions parsed;
    Options& o = parsed.options;
    bool formatGiven = false;
    bool onlyFiles = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.empty()) {
            parsed.error = "an empty argument names no profile";
            return parsed;
        }
        if (onlyFiles || arg == "-" || arg[0] != '-') {
            o.inputs.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyFiles = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            o.help = true;
            continue;
        }
        if (arg == "--version") {
            o.version = true;
            continue;
        }
        // Every other option takes a value: "--name value", "--name=value", "-x value" or
        // "-xvalue".
        std::string value;
        bool valueGiven = false;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            valueGiven = true;
        } else if (arg.size() > 2 && arg[1] != '-' && takesValue(arg.substr(0, 2))) {
            value = arg.substr(2);
            arg.resize(2);
            valueGiven = true;
        }
        if (!takesValue(arg)) {
            parsed.error = "unknown option " + arg;
            if (arg.rfind("--", 0) != 0) {
                parsed.error += " (a profile of that name is given as ./" + arg + ")";
            }
            return parsed;
        }
        if (!valueGiven) {
            if (i + 1 >= args.size()) {
                parsed.error = "option " + arg + " needs a value";
                return parsed;
            }
            value = args[++i];
        }

        if (arg == "--format" || arg == "-f") {
            const auto format = formatNamed(value);
            if (!format) {
                parsed.error = "unknown format '" + value + "' (png, pdf or svg)";
                return parsed;
            }
            o.format = *format;
            formatGiven = true;
        } else if (arg == "--scale") {
            const auto scale = numberIn(value, 1, 4);
            if (!scale) {
                parsed.error = "--scale takes a whole number from 1 to 4";
                return parsed;
            }
            o.scale = *scale;
        } else if (arg == "--page") {
            if (value == "a4" || value == "A4") {
                o.page = Page::A4;
            } else if (value == "letter") {
                o.page = Page::Letter;
            } else {
                parsed.error = "--page takes a4 or letter";
                return parsed;
            }
        } else if (arg == "-o" || arg == "--output") {
            o.output = value;
        } else if (arg == "--output-dir") {
            o.outputDir = value;
        } else if (arg == "--on") {
            o.on = dayNamed(value);
            if (!o.on) {
                parsed.error = "--on takes a date as YYYY/MM/DD";
                return parsed;
            }
        } else if (arg == "-j" || arg == "--jobs") {
            const auto jobs = numberIn(value, 1, 256);
            if (!jobs) {
                parsed.error = "--jobs takes a whole number from 1 to 256";
                return parsed;
            }
            o.jobs = static_cast<unsigned>(*jobs);
        } else {
            parsed.error = "unknown option " + arg;
            return parsed;
        }
    }
    if (o.help || o.version) {
        return parsed;
    }
    if (o.inputs.empty()) {
        parsed.error = "no profile named";
    } else if (o.output && o.inputs.size() > 1) {
        parsed.error = "-o names the output of one profile; use --output-dir for several";
    } else if (o.output && o.outputDir) {
        parsed.error = "-o and --output-dir do not go together";
    } else if (o.output && !formatGiven && *o.output != "-") {
        // The format follows from the name unless it was given.
        std::string extension = std::filesystem::path(*o.output).extension().string();
        if (!extension.empty()) {
            extension.erase(0, 1);
        }
        if (const auto format = formatNamed(extension)) {
            o.format = *format;
        }
    }
    for (const std::string& input : o.inputs) {
        if (input == "-") {
            parsed.error = "profiles are read from files, not from standard input";
        }
    }
    return parsed;
}

std::string outputPathFor(const std::string& input, const Options& options) {
    const std::filesystem::path in(input);
    std::filesystem::path name = in.filename();
    name.replace_extension(extensionOf(options.format));
    const std::filesystem::path folder =
        options.outputDir ? std::filesystem::path(*options.outputDir) : in.parent_path();
    return (folder / name).string();
}

} // namespace tanu::exporter
