// tanu-export: the printed chart of profiles as PNG, PDF or SVG files, without a window.
#include "large_memory.h"
#include "options.h"
#include "output_plan.h"
#include "png_reader.h"
#include "profile_loader.h"
#include "render.h"
#include "standard_output.h"

#include "chart/chart_artwork.h"
#include "shell/files/program_folders.h"
#include "shell/files/safe_files.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell/qt/surface/qt_artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QString>

#include <libdeflate.h>

#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unistd.h>
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

std::string toUtf8(std::u16string_view text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())).toStdString();
}

// A message box's text on one line.
std::string oneLine(std::u16string_view text) {
    std::string line = toUtf8(text);
    std::string out;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] != '\n') {
            out.push_back(line[i]);
        } else if (!out.empty() && out.back() != ' ') {
            out.push_back(' ');
        }
    }
    return out;
}

class Progress {
public:
    explicit Progress(std::size_t total) : total_(total), shown_(::isatty(STDERR_FILENO) == 1) {}

    void report(const std::string& line) {
        const std::lock_guard<std::mutex> hold(lock_);
        clear();
        std::fprintf(stderr, "tanu-export: %s\n", line.c_str());
    }
    void finished(const std::string& file) {
        const std::lock_guard<std::mutex> hold(lock_);
        ++done_;
        if (shown_) {
            clear();
            std::fprintf(stderr, "[%zu/%zu] %s", done_, total_, file.c_str());
            std::fflush(stderr);
            dirty_ = true;
        }
    }
    void end() {
        const std::lock_guard<std::mutex> hold(lock_);
        clear();
    }

private:
    void clear() {
        if (dirty_) {
            std::fputs("\r\033[K", stderr);
            dirty_ = false;
        }
    }

    std::mutex lock_;
    std::size_t total_;
    std::size_t done_ = 0;
    bool shown_;
    bool dirty_ = false;
};

// Writes finished outputs and gets them to the disk on a thread of its own: syncing a file waits
// on the disk longer than drawing the next chart takes. At most capacity outputs wait.
class Committer {
public:
    Committer(std::size_t capacity, Progress& progress, std::atomic<std::size_t>& failures)
        : capacity_(capacity), progress_(progress), failures_(failures),
          thread_([this] { run(); }) {}
    ~Committer() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            closing_ = true;
        }
        ready_.notify_one();
    }
    Committer(const Committer&) = delete;
    Committer& operator=(const Committer&) = delete;

    void add(std::string input, std::string target, std::string bytes) {
        std::unique_lock<std::mutex> hold(lock_);
        space_.wait(hold, [this] { return queue_.size() < capacity_; });
        queue_.push_back({std::move(input), std::move(target), std::move(bytes)});
        ready_.notify_one();
    }

private:
    struct Item {
        std::string input;
        std::string target;
        std::string bytes;
    };

    void run() {
        for (;;) {
            Item item;
            {
                std::unique_lock<std::mutex> hold(lock_);
                ready_.wait(hold, [this] { return closing_ || !queue_.empty(); });
                if (queue_.empty()) {
                    return;
                }
                item = std::move(queue_.front());
                queue_.pop_front();
            }
            space_.notify_all();
            const WriteResult written = files::writeFileAtomically(item.target, item.bytes);
            if (!written.ok) {
                progress_.report(item.input + ": cannot write " + item.target + ": " +
                                 oneLine(written.reason));
                ++failures_;
            }
            progress_.finished(item.input);
        }
    }

    std::size_t capacity_;
    Progress& progress_;
    std::atomic<std::size_t>& failures_;
    std::mutex lock_;
    std::condition_variable ready_;
    std::condition_variable space_;
    std::deque<Item> queue_;
    bool closing_ = false;
    std::jthread thread_; // last: joined before the rest goes
};

// Exports one profile: failures are reported and counted, and a chart for a file is handed to
// the committer.
void exportOne(const PlannedChart& chart, const Options& options, const Clock& today,
               const ImageSet& images, Progress& progress, Committer& committer,
               std::atomic<std::size_t>& failures) {
    const std::string& input = chart.input;
    const std::u16string display = QFile::decodeName(input.c_str()).toStdU16String();
    const LoadedProfile profile = loadProfile(input, display, today);
    if (!profile.loaded) {
        progress.report(input + ": " + oneLine(profile.failure));
        ++failures;
        progress.finished(input);
        return;
    }
    for (const std::u16string& warning : profile.warnings) {
        progress.report(input + ": warning: " + oneLine(warning));
    }
    std::string reason;
    try {
        std::string bytes = renderChart(profile.content, images, options);
        if (chart.output != "-") {
            committer.add(input, chart.output, std::move(bytes));
            return;
        }
        if (writeToStandardOutput(bytes, reason)) {
            progress.finished(input);
            return;
        }
        reason = "cannot write standard output: " + reason;
    } catch (const std::exception& error) {
        reason = std::string("cannot draw the chart: ") + error.what();
    }
    progress.report(input + ": " + reason);
    ++failures;
    progress.finished(input);
}

// Qt's notes about the offscreen platform (no runtime folder, say) are no business of the user;
// only its errors are.
void reportQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "tanu-export: %s\n", qPrintable(message));
    }
}

// Above scale 1 the double-size pictures, where there are any, so that the artwork is as sharp
// as the lines and texts drawn at that resolution.
ImageSet loadArtwork(const std::vector<std::filesystem::path>& folders, int scale) {
    QtImageDecoder decoder(scale > 1, loadPicture);
    return loadImageSet(folders, decoder);
}

// What the charts are drawn without, and why: said once, whatever the number of workers.
void reportArtwork(const ImageSet& images, const std::vector<std::filesystem::path>& folders,
                   Progress& progress) {
    for (const std::u16string& problem : images.problems) {
        progress.report("warning: " + toUtf8(problem) + " The charts are drawn without it.");
    }
    if (images.missing.empty()) {
        return;
    }
    std::string searched;
    for (const std::filesystem::path& folder : folders) {
        searched += (searched.empty() ? "" : ", ") + folder.string();
    }
    constexpr std::size_t AllPictures = 4 + BadgeCount;
    std::string names;
    for (const std::u16string& name : images.missing) {
        names += (names.empty() ? "" : ", ") + toUtf8(name);
    }
    const bool one = images.missing.size() == 1;
    const std::string what = images.missing.size() == AllPictures ? "no chart picture was"
                             : one                                ? names + " was not"
                                                                  : names + " were not";
    progress.report("warning: " + what + " found in " + searched +
                    "; the charts are drawn without " + (one ? "it" : "them"));
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

    // Every chart allocates the same few large buffers; kept in the heap instead of being
    // mapped and unmapped each time, they cost no page faults after the first chart.
    mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
    // The compressor's tables (0.7 MB) would otherwise cost a page fault per page.
    libdeflate_set_memory_allocator(allocateLarge, releaseLarge);

    // No window is opened: the offscreen platform needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    qInstallMessageHandler(reportQtErrors);
    QGuiApplication application(argc, argv);
    // The font system comes up on another core while this one reads the pictures: on a cold
    // start each takes as long as drawing the chart.
    std::jthread fontsReady([] { prepareFont(ChartFont{}); });
    files::removeTemporariesOnSignal();

    const Clock today = options.on ? Clock([day = *options.on] { return day; }) : Clock(localToday);
    const std::size_t total = plan.charts.size();
    unsigned jobs = options.jobs != 0 ? options.jobs : std::thread::hardware_concurrency();
    jobs = static_cast<unsigned>(std::min<std::size_t>(std::max(jobs, 1u), total));

    Progress progress(total);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failures{plan.refusals.size()};
    std::optional<Committer> committer;
    committer.emplace(jobs, progress, failures);
    const std::vector<std::filesystem::path> artworkFolders = files::programArtworkFolders();
    const int artworkScale = options.format == Format::Png ? options.scale : 1;
    // Each worker has its own pictures: the surface keeps resampled copies in them. They are
    // read before any worker starts, while nothing else writes to standard error.
    std::vector<ImageSet> pictures;
    {
        const StandardErrorSilenced quiet;
        for (unsigned k = 0; k < jobs; ++k) {
            pictures.push_back(loadArtwork(artworkFolders, artworkScale));
        }
    }
    reportArtwork(pictures.front(), artworkFolders, progress);
    const auto work = [&](const ImageSet& images) {
        for (std::size_t i = next++; i < total; i = next++) {
            exportOne(plan.charts[i], options, today, images, progress, *committer, failures);
        }
    };
    if (jobs == 1) {
        work(pictures.front());
    } else {
        std::vector<std::jthread> workers;
        for (const ImageSet& images : pictures) {
            workers.emplace_back(work, std::cref(images));
        }
    }
    committer.reset(); // every output committed
    progress.end();
    fontsReady.join();
    // Every output is in place. Taking down Qt and the font system would only add 2 to 3 ms to
    // the time a script waits for us.
    std::fflush(nullptr);
    std::_Exit(failures == 0 ? 0 : 1);
}
