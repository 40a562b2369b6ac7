// tanu-export: the printed chart of profiles as PNG, PDF or SVG files, without a window. This is
// its command line; batch.cpp draws and writes the charts.
#include "batch.h"
#include "options.h"
#include "output_plan.h"
#include "standard_output.h"

#include "shell/files/safe_files.h"

#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace tanu;
using namespace tanu::exporter;

constexpr const char* Usage =
    "Usage: tanu-export [OPTION]... FILE.tanu...\n"
    "Draws the chart of each TANU profile as Print puts it on paper, with the texts of the\n"
    "fields, into a PNG, PDF or SVG file.\n"
    "\n"
    "  -f, --format FORMAT   png (default), pdf or svg; -o FILE.pdf or FILE.svg chooses it too\n"
    "      --scale N         PNG only: 912 x 699 pixels times N, from 1 to 4 (default 1)\n"
    "      --page SIZE       PDF only: a4 (default) or letter; one landscape page\n"
    "  -o, --output FILE     the output of a single profile; - writes to standard output\n"
    "      --output-dir DIR  where the outputs go, named after each profile (default: beside\n"
    "                        each profile); made, with its parents, when it does not exist\n"
    "      --on YYYY/MM/DD   compute the age for that day instead of today\n"
    "  -j, --jobs N          profiles drawn at once (default: the number of cores)\n"
    "  -h, --help            show this help and exit\n"
    "      --version         show the version and exit\n"
    "\n"
    "An existing file of an output's name is replaced (a link: the file it names), keeping its\n"
    "permissions. Each output is written completely and then moved into place, so a failed or\n"
    "interrupted export leaves no partial file. A profile that cannot be read is reported and the\n"
    "others are still exported. Refused before anything is drawn: an output that would be one of\n"
    "the profiles, and profiles whose outputs would be the same file; something that is not a\n"
    "regular file is never replaced.\n"
    "\n"
    "Exit status: 0 when every chart was written, 1 when any failed, 2 for a usage error.\n";

// Qt's notes about the offscreen platform (no runtime folder, say) are no business of the user;
// only its errors are.
void reportQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "tanu-export: %s\n", qPrintable(message));
    }
}

} // namespace

int main(int argc, char** argv) {
    occupyClosedStandardStreams();
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedOptions parsed = parseOptions(args);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "tanu-export: %s\nTry 'tanu-export --help' for more information.\n",
                     parsed.error.c_str());
        return 2;
    }
    const Options& options = parsed.options;
    if (options.help) {
        std::fputs(Usage, stdout);
        return 0;
    }
    if (options.version) {
        std::printf("tanu-export %s\n", TANU_VERSION);
        return 0;
    }

    if (options.outputDir) {
        std::error_code error;
        std::filesystem::create_directories(*options.outputDir, error);
        if (error) {
            std::fprintf(stderr, "tanu-export: cannot make the folder %s: %s\n",
                         options.outputDir->c_str(), error.message().c_str());
            return 1;
        }
    }
    const OutputPlan plan = planOutputs(options);
    for (const std::string& refusal : plan.refusals) {
        std::fprintf(stderr, "tanu-export: %s\n", refusal.c_str());
    }
    if (plan.charts.empty()) {
        return 1;
    }

    // No window is opened: the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(reportQtErrors);
    QGuiApplication application(argc, argv);
    files::removeTemporariesOnSignal();

    const Clock today = options.on ? Clock([day = *options.on] { return day; }) : Clock(localToday);
    const std::size_t failures = runBatch(options, plan, today) + plan.refusals.size();
    return failures == 0 ? 0 : 1;
}
