#include "batch.h"

#include "profile_loader.h"
#include "render.h"
#include "standard_output.h"

#include "model/text.h"
#include "shell/files/program_folders.h"
#include "shell/files/safe_files.h"
#include "shell/qt/surface/qt_artwork.h"

#include <QFile>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <unistd.h>

namespace tanu::exporter {

namespace {

// A message box's text on one line.
std::string oneLine(std::u16string_view text) {
    std::string line = utf8FromUtf16(text);
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

// Writes finished outputs and gets them to the disk on threads of their own, as many as there
// are workers: syncing a file waits on the disk longer than drawing the next chart takes. At most
// capacity outputs wait.
class Committer {
public:
    Committer(std::size_t capacity, Progress& progress, std::atomic<std::size_t>& failures)
        : capacity_(capacity), progress_(progress), failures_(failures) {
        for (std::size_t k = 0; k < capacity; ++k) {
            threads_.emplace_back([this] { run(); });
        }
    }
    ~Committer() {
        {
            const std::lock_guard<std::mutex> hold(lock_);
            closing_ = true;
        }
        ready_.notify_all();
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
    std::vector<std::jthread> threads_; // last: joined before the rest goes
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

// Above scale 1 the double-size pictures, where there are any, so that the artwork is as sharp
// as the lines and texts drawn at that resolution.
ImageSet loadArtwork(const std::vector<std::filesystem::path>& folders, int scale) {
    qt::QtImageDecoder decoder(scale > 1);
    return loadImageSet(folders, decoder);
}

// What the charts are drawn without, and why: said once, whatever the number of workers.
void reportArtwork(const ImageSet& images, const std::vector<std::filesystem::path>& folders,
                   Progress& progress) {
    for (const std::u16string& problem : images.problems) {
        progress.report("warning: " + utf8FromUtf16(problem) + " The charts are drawn without it.");
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
        names += (names.empty() ? "" : ", ") + utf8FromUtf16(name);
    }
    const bool one = images.missing.size() == 1;
    const std::string what = images.missing.size() == AllPictures ? "no chart picture was"
                             : one                                ? names + " was not"
                                                                  : names + " were not";
    progress.report("warning: " + what + " found in " + searched +
                    "; the charts are drawn without " + (one ? "it" : "them"));
}

} // namespace

std::size_t runBatch(const Options& options, const OutputPlan& plan, const Clock& today) {
    const std::size_t total = plan.charts.size();
    unsigned jobs = options.jobs != 0 ? options.jobs : std::thread::hardware_concurrency();
    jobs = static_cast<unsigned>(std::min<std::size_t>(std::max(jobs, 1u), total));

    Progress progress(total);
    std::atomic<std::size_t> next{0};
    std::atomic<std::size_t> failures{0};
    // One set of pictures for every worker, read before any of them starts, while nothing else
    // writes to standard error.
    const std::vector<std::filesystem::path> artworkFolders = files::programArtworkFolders();
    const ImageSet images = [&] {
        const StandardErrorSilenced quiet;
        return loadArtwork(artworkFolders, options.format == Format::Png ? options.scale : 1);
    }();
    reportArtwork(images, artworkFolders, progress);
    {
        Committer committer(jobs, progress, failures);
        const auto work = [&] {
            for (std::size_t i = next++; i < total; i = next++) {
                exportOne(plan.charts[i], options, today, images, progress, committer, failures);
            }
        };
        std::vector<std::jthread> workers;
        for (unsigned k = 1; k < jobs; ++k) {
            workers.emplace_back(work);
        }
        work();
    } // every worker done, every output committed
    progress.end();
    return failures;
}

} // namespace tanu::exporter
