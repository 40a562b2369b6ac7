#include "options.h"
#include "output_plan.h"

#include "chart/chart_painter.h"
#include "document/profile_file.h"
#include "form/chart_content.h"
#include "qt_pixels.h"
#include "scripted_host.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell/qt/surface/qt_artwork.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <csignal>
#include <functional>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// fontconfig keeps a few allocations to itself for the life of the process; they are not ours.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace tanu {
namespace {

using exporter::Format;

void ensureGuiApplication() {
    static QGuiApplication* app = [] {
        static int argc = 1;
        static char name[] = "tanu_export_tests";
        static char* argv[] = {name, nullptr};
        return new QGuiApplication(argc, argv); // lives until the process ends
    }();
    (void)app;
}

// Sam, born 2015/03/14, with a value in every domain.
const char* const FullProfile = "Sam Example\r\n2015/03/14\r\n2024/06/01\r\nJ. Teacher\r\n"
                                "7\r\n9\r\n10\r\n6\r\n8\r\n5\r\n9\r\n4\r\n10\r\n8\r\n";

struct ExportRun {
    int exitCode;
    QString errors;
};

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApplication();
        ASSERT_TRUE(dir_.isValid());
    }

    QString path(const QString& name) const { return dir_.filePath(name); }

    void writeFile(const QString& name, const QByteArray& bytes) const {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    static ExportRun run(const QStringList& args) {
        QProcess process;
        process.start(QStringLiteral(TANU_EXPORT_EXECUTABLE), args);
        process.waitForFinished(-1);
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromUtf8(process.readAllStandardError())};
    }

    QStringList entries(const QString& folder) const {
        return QDir(path(folder)).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    QTemporaryDir dir_;
};

// What the window prints for the file: opened by the Open command, painted in print mode, with
// the double-size pictures above scale 1 as on a high-density screen.
QImage windowPrintPicture(const std::string& bytes, CalendarDate today, int scale) {
    class OneFile final : public DocumentPort {
    public:
        explicit OneFile(std::string bytes) : bytes_(std::move(bytes)) {}
        std::optional<std::u16string> chooseOpenPath() override { return std::nullopt; }
        std::optional<std::u16string> chooseSavePath(std::u16string_view) override {
            return std::nullopt;
        }
        ReadResult readFile(const std::u16string&, std::size_t) override {
            return {true, bytes_, {}};
        }
        WriteResult writeFileAtomically(const std::u16string&, std::string_view) override {
            return {};
        }

    private:
        std::string bytes_;
    } file(bytes);
    testing::StartedForm form([today] { return today; });
    openProfileFile(form.state, file, u"sam.tanu");

    ImageSet images;
    qt::QtImageDecoder decoder(scale > 1);
    images = loadImageSet(std::filesystem::path(TANU_DATA_DIR), decoder);
    QImage image(ChartWidth * scale, ChartHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    {
        qt::QPainterSurface surface(painter);
        paintChart(surface, chartContentOf(form.state), images, true);
    }
    painter.end();
    image.setDevicePixelRatio(1);
    return image.convertToFormat(QImage::Format_RGB32);
}

TEST_F(ExportTest, PngIsTheWindowsPrintedPictureAtEveryScale) {
    writeFile("sam.tanu", FullProfile);
    // At 2 the double-size pictures are copied pixel for pixel; at 3 they are resampled.
    for (const int scale : {1, 2, 3}) {
        SCOPED_TRACE(scale);
        const QString out = path(QStringLiteral("sam%1.png").arg(scale));
        const ExportRun result =
            run({QStringLiteral("--on"), QStringLiteral("2026/12/06"), QStringLiteral("--scale"),
                 QString::number(scale), QStringLiteral("-o"), out, path("sam.tanu")});
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();
        const QImage exported(out);
        ASSERT_EQ(exported.size(), QSize(912 * scale, 699 * scale));
        EXPECT_TRUE(exported.convertToFormat(QImage::Format_RGB32) ==
                    windowPrintPicture(FullProfile, {2026, 12, 6}, scale));
    }
}

TEST_F(ExportTest, OnChangesTheAgeAndTheSameInputGivesTheSameBytes) {
    writeFile("sam.tanu", FullProfile);
    const auto exportOn = [&](const char* day, const char* name) {
        const ExportRun result = run({QStringLiteral("--on"), QString::fromLatin1(day),
                                      QStringLiteral("-o"), path(name), path("sam.tanu")});
        EXPECT_EQ(result.exitCode, 0) << result.errors.toStdString();
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    };
    const QByteArray first = exportOn("2026/12/06", "a.png");
    const QByteArray again = exportOn("2026/12/06", "b.png");
    const QByteArray younger = exportOn("2020/01/01", "c.png");
    EXPECT_EQ(first, again);
    const QRect ageText(218, 94, 200, 20);
    EXPECT_NE(QImage::fromData(first).copy(ageText), QImage::fromData(younger).copy(ageText));
}

TEST_F(ExportTest, PdfIsOneLandscapePageWithTheChartCentred) {
    writeFile("sam.tanu", FullProfile);
    ASSERT_EQ(run({QStringLiteral("-o"), path("sam.png"), path("sam.tanu")}).exitCode, 0);
    const QRect chartInk = testing::inkBounds(QImage(path("sam.png")), 235);

    struct Row {
        const char* page;
        QSize pagePixels; // at 100 dpi, one pixel per chart unit
    };
    for (const Row& row : {Row{"a4", {1169, 827}}, Row{"letter", {1100, 850}}}) {
        SCOPED_TRACE(row.page);
        const QString pdf = path(QStringLiteral("sam-%1.pdf").arg(row.page));
        const ExportRun result = run({QStringLiteral("--page"), QString::fromLatin1(row.page),
                                      QStringLiteral("-o"), pdf, path("sam.tanu")});
        ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

        const QString prefix = path(QStringLiteral("page-%1").arg(row.page));
        ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                    {QStringLiteral("-r"), QStringLiteral("100"),
                                     QStringLiteral("-png"), pdf, prefix}),
                  0);
        const QStringList pages =
            QDir(dir_.path())
                .entryList({QStringLiteral("page-%1*.png").arg(row.page)}, QDir::Files);
        ASSERT_EQ(pages.size(), 1);
        const QImage page(dir_.filePath(pages.front()));
        EXPECT_NEAR(page.width(), row.pagePixels.width(), 1);
        EXPECT_NEAR(page.height(), row.pagePixels.height(), 1);

        const QPoint offset((page.width() - 912) / 2, (page.height() - 699) / 2);
        const QRect ink = testing::inkBounds(page, 235);
        EXPECT_NEAR(ink.left(), chartInk.left() + offset.x(), 2);
        EXPECT_NEAR(ink.top(), chartInk.top() + offset.y(), 2);
        EXPECT_NEAR(ink.right(), chartInk.right() + offset.x(), 2);
        EXPECT_NEAR(ink.bottom(), chartInk.bottom() + offset.y(), 2);
    }
}

TEST_F(ExportTest, SvgParsesAndHoldsTheTenWedgesAndTheFieldTexts) {
    writeFile("sam.tanu", FullProfile);
    const ExportRun result = run({QStringLiteral("-o"), path("sam.svg"), path("sam.tanu")});
    ASSERT_EQ(result.exitCode, 0) << result.errors.toStdString();

    std::set<QString> wedgeFills;
    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        wedgeFills.insert(QColor::fromRgb(wedgeColour(domain)).name());
    }
    QFile file(path("sam.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader svg(&file);
    std::vector<QString> fills{QString()};
    int wedges = 0;
    QString texts;
    while (!svg.atEnd()) {
        svg.readNext();
        if (svg.isStartElement()) {
            const QString fill = svg.attributes().value(QStringLiteral("fill")).toString();
            fills.push_back(fill.isEmpty() ? fills.back() : fill);
            if (svg.name() == QStringLiteral("path") && wedgeFills.count(fills.back()) != 0) {
                ++wedges;
            }
        } else if (svg.isEndElement()) {
            fills.pop_back();
        } else if (svg.isCharacters()) {
            texts += svg.text();
        }
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(wedges, 10);
    EXPECT_TRUE(texts.contains(QStringLiteral("Sam Example")));
    EXPECT_TRUE(texts.contains(QStringLiteral("J. Teacher")));
}

TEST_F(ExportTest, BatchExportsTheGoodFilesAndNamesTheBadOne) {
    writeFile("anna.tanu", FullProfile);
    writeFile("short.tanu", "Only\r\nthree\r\nlines\r\n");
    writeFile("ben.tanu", FullProfile);
    ASSERT_TRUE(QDir(dir_.path()).mkdir(QStringLiteral("out")));
    const ExportRun result =
        run({QStringLiteral("--jobs"), QStringLiteral("2"), QStringLiteral("--output-dir"),
             path("out"), path("anna.tanu"), path("short.tanu"), path("ben.tanu")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.errors.contains(QStringLiteral("short.tanu: The file \"short.tanu\" is "
                                                      "not a TANU profile")))
        << result.errors.toStdString();
    EXPECT_EQ(entries("out"), (QStringList{QStringLiteral("anna.png"), QStringLiteral("ben.png")}));
}

TEST(ExportOptions, ParsesOrRefuses) {
    struct Row {
        std::vector<std::string> args;
        std::string error; // a part of the message; empty: accepted
        Format format;
        std::string firstOutput;
    };
    const Row rows[] = {
        {{"a/b.tanu"}, "", Format::Png, "a/b.png"},
        {{"--format=svg", "--output-dir", "out", "a/b.tanu", "c.tanu"},
         "",
         Format::Svg,
         "out/b.svg"},
        {{"-o", "report.PDF", "b.tanu"}, "", Format::Pdf, ""},
        {{"-f", "png", "-o", "x.pdf", "b.tanu"}, "", Format::Png, ""},
        {{"--", "-odd.tanu"}, "", Format::Png, "-odd.png"},
        {{}, "no profile named", Format::Png, ""},
        {{"-o", "x.png", "a.tanu", "b.tanu"},
         "-o names the output of one profile",
         Format::Png,
         ""},
        {{"--scale", "5", "a.tanu"}, "--scale takes", Format::Png, ""},
        {{"--on", "2023/02/29", "a.tanu"}, "--on takes", Format::Png, ""},
        {{"--format", "gif", "a.tanu"}, "unknown format", Format::Png, ""},
        {{"--jobs"}, "needs a value", Format::Png, ""},
        {{"--scale", "4", "--jobs", "256", "a.tanu"}, "", Format::Png, "a.png"},
        {{"-j1", "-fsvg", "-oa.svg", "a.tanu"}, "", Format::Svg, ""},
        {{"--scale", "2x", "a.tanu"}, "--scale takes", Format::Png, ""},
        {{"--jobs", "0", "a.tanu"}, "--jobs takes", Format::Png, ""},
        {{"-o", "x.png", "--output-dir", "d", "a.tanu"}, "do not go together", Format::Png, ""},
        {{"a.tanu", "-"}, "not from standard input", Format::Png, ""},
        {{"a.tanu", "-x.tanu"}, "unknown option -x.tanu (a profile", Format::Png, ""},
        {{"--frobnicate=1", "a.tanu"}, "unknown option --frobnicate", Format::Png, ""},
        {{"a.tanu", ""}, "an empty argument", Format::Png, ""},
    };
    for (const char* help : {"-h", "--help"}) {
        EXPECT_TRUE(exporter::parseOptions({help}).options.help) << help;
    }
    EXPECT_EQ(exporter::parseOptions({"a.tanu", "--frobnicate"}).error,
              "unknown option --frobnicate");
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const exporter::ParsedOptions parsed = exporter::parseOptions(row.args);
        if (!row.error.empty()) {
            EXPECT_NE(parsed.error.find(row.error), std::string::npos) << parsed.error;
            continue;
        }
        ASSERT_EQ(parsed.error, "");
        EXPECT_EQ(parsed.options.format, row.format);
        if (!row.firstOutput.empty()) {
            EXPECT_EQ(exporter::outputPathFor(parsed.options.inputs.front(), parsed.options),
                      row.firstOutput);
        }
    }
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Which charts are drawn and which profiles are refused, before anything is drawn.
TEST_F(ExportTest, APlanNeverReplacesAProfileNorWritesTwoChartsToOneFile) {
    for (const char* name : {"a.tanu", "prof.png", "x.svg", "sub1/x.tanu", "sub2/x.tanu"}) {
        QDir().mkpath(QFileInfo(path(name)).path());
        writeFile(name, FullProfile);
    }
    QFile::link(path("a.tanu"), path("alias.tanu"));
    // The same folder by another name: sub1/x.tanu and linked/x.TANU, two profiles, would both
    // write sub1/x.png.
    QFile::link(path("sub1"), path("linked"));
    writeFile("sub1/x.TANU", FullProfile);
    const auto inDir = [this](const char* name) { return path(name).toStdString(); };
    struct Row {
        std::vector<std::string> args;
        std::vector<std::string> drawn;   // inputs whose charts are drawn
        std::vector<std::string> refused; // parts of the refusals, one each
    };
    const Row rows[] = {
        {{"-o", inDir("a.tanu"), inDir("a.tanu")}, {}, {"would replace the profile"}},
        {{"-o", inDir("alias.tanu"), inDir("a.tanu")}, {}, {"would replace the profile"}},
        {{inDir("prof.png")}, {}, {"prof.png: not exported: its chart"}},
        {{"--format", "svg", inDir("x.svg"), inDir("a.tanu")},
         {inDir("a.tanu")},
         {"x.svg: not exported"}},
        // Another input's chart would replace this profile.
        {{"--output-dir", inDir("."), inDir("sub1/x.tanu"), inDir("prof.png")},
         {inDir("sub1/x.tanu")},
         {"prof.png would replace the profile"}},
        {{"--output-dir", inDir("out"), inDir("sub1/x.tanu"), inDir("a.tanu"),
          inDir("sub2/x.tanu")},
         {inDir("a.tanu")},
         {inDir("sub1/x.tanu") + ", " + inDir("sub2/x.tanu") + ": not exported"}},
        {{"--format", "png", inDir("sub1/x.tanu"), inDir("linked/x.TANU")},
         {},
         {inDir("sub1/x.tanu") + ", " + inDir("linked/x.TANU") + ": not exported"}},
        // The same profile twice, once through a link, is drawn once.
        {{inDir("a.tanu"), inDir("alias.tanu"), inDir("a.tanu")}, {inDir("a.tanu")}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::PrintToString(row.args));
        const exporter::ParsedOptions parsed = exporter::parseOptions(row.args);
        ASSERT_EQ(parsed.error, "");
        const exporter::OutputPlan plan = exporter::planOutputs(parsed.options);
        std::vector<std::string> drawn;
        for (const exporter::PlannedChart& chart : plan.charts) {
            drawn.push_back(chart.input);
        }
        EXPECT_EQ(drawn, row.drawn);
        ASSERT_EQ(plan.refusals.size(), row.refused.size())
            << ::testing::PrintToString(plan.refusals);
        for (std::size_t k = 0; k < row.refused.size(); ++k) {
            EXPECT_NE(plan.refusals[k].find(row.refused[k]), std::string::npos) << plan.refusals[k];
        }
    }
}

// What the export may never do to a file, end to end.
TEST_F(ExportTest, NothingIsLostOrLoosenedAndTheRestIsStillExported) {
    writeFile("same.tanu", FullProfile);
    writeFile("anna.tanu", FullProfile);
    writeFile("chart.png", "an old chart");
    QFile::setPermissions(path("chart.png"), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_EQ(::mkfifo(path("pipe.png").toLocal8Bit().constData(), 0600), 0);

    const ExportRun same = run({QStringLiteral("-o"), path("same.tanu"), path("same.tanu")});
    EXPECT_EQ(same.exitCode, 1);
    EXPECT_TRUE(same.errors.contains(QStringLiteral("would replace the profile")))
        << same.errors.toStdString();
    EXPECT_EQ(readAll(path("same.tanu")), QByteArray(FullProfile));

    const ExportRun pipe = run({QStringLiteral("-o"), path("pipe.png"), path("anna.tanu")});
    EXPECT_EQ(pipe.exitCode, 1);
    EXPECT_TRUE(pipe.errors.contains(QStringLiteral("not a regular file")))
        << pipe.errors.toStdString();
    struct stat pipeInfo {};
    ASSERT_EQ(::stat(path("pipe.png").toLocal8Bit().constData(), &pipeInfo), 0);
    EXPECT_TRUE(S_ISFIFO(pipeInfo.st_mode));

    // Replaced, as the help says, but no more readable than it was.
    ASSERT_EQ(run({QStringLiteral("-o"), path("chart.png"), path("anna.tanu")}).exitCode, 0);
    struct stat chartInfo {};
    ASSERT_EQ(::stat(path("chart.png").toLocal8Bit().constData(), &chartInfo), 0);
    EXPECT_EQ(chartInfo.st_mode & 0777, 0600u);
    EXPECT_FALSE(QImage(path("chart.png")).isNull());

    // A folder that does not exist yet is made; a name near the system's limit still works.
    const QString longName = QString(245, QLatin1Char('n')) + QStringLiteral(".tanu");
    writeFile(longName, FullProfile);
    const ExportRun batch = run(
        {QStringLiteral("--output-dir"), path("new/charts"), path("anna.tanu"), path(longName)});
    EXPECT_EQ(batch.exitCode, 0) << batch.errors.toStdString();
    EXPECT_EQ(entries("new/charts").size(), 2);

    const ExportRun unknown = run({QStringLiteral("--frobnicate"), path("anna.tanu")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(entries(QStringLiteral(".")).filter(QStringLiteral(".tmp")), QStringList());
}

// Standard output takes the chart whole, or the export fails and says why.
TEST_F(ExportTest, StandardOutputTakesTheChartOrTheExportFails) {
    writeFile("anna.tanu", FullProfile);
    ASSERT_EQ(run({QStringLiteral("-o"), path("anna.png"), path("anna.tanu")}).exitCode, 0);
    const struct {
        const char* redirect;
        int exitCode;
        const char* says;
    } rows[] = {{">\"$2\"", 0, ""},
                {">/dev/full", 1, "No space left on device"},
                {">&-", 1, "standard output is closed"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.redirect);
        QProcess shell;
        shell.start(QStringLiteral("/bin/sh"),
                    {QStringLiteral("-c"),
                     QStringLiteral("exec \"$0\" -o - \"$1\" %1").arg(QLatin1String(row.redirect)),
                     QStringLiteral(TANU_EXPORT_EXECUTABLE), path("anna.tanu"), path("piped.png")});
        shell.waitForFinished(-1);
        EXPECT_EQ(shell.exitCode(), row.exitCode);
        const QString errors = QString::fromUtf8(shell.readAllStandardError());
        EXPECT_TRUE(errors.contains(QLatin1String(row.says))) << errors.toStdString();
        if (row.exitCode == 0) {
            EXPECT_TRUE(readAll(path("piped.png")) == readAll(path("anna.png")));
        }
    }
}

// A picture that is there but cannot be used is named once in the program's own words, whatever
// the number of workers; the picture library's own complaints stay out.
TEST_F(ExportTest, APictureThatCannotBeUsedIsNamedOnce) {
    const QString own = path("own/tanu/data");
    ASSERT_TRUE(QDir().mkpath(own));
    writeFile("own/tanu/data/background.png",
              readAll(QStringLiteral(TANU_DATA_DIR "/background.png")).left(3000));
    writeFile("anna.tanu", FullProfile);
    writeFile("ben.tanu", FullProfile);
    writeFile("cleo.tanu", FullProfile);
    for (const char* jobs : {"1", "2"}) {
        SCOPED_TRACE(jobs);
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), path("own"));
        process.setProcessEnvironment(environment);
        // More profiles than workers: each waits its turn to hand over its chart.
        process.start(QStringLiteral(TANU_EXPORT_EXECUTABLE),
                      {QStringLiteral("--jobs"), QString::fromLatin1(jobs),
                       QStringLiteral("--output-dir"), path(QStringLiteral("out%1").arg(jobs)),
                       path("anna.tanu"), path("ben.tanu"), path("cleo.tanu")});
        process.waitForFinished(-1);
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
                  QStringLiteral("tanu-export: warning: The picture \"%1/background.png\" is not "
                                 "used: it is not a picture TANU can read. The charts are drawn "
                                 "without it.\n")
                      .arg(own));
        EXPECT_EQ(entries(QStringLiteral("out%1").arg(jobs)).size(), 3);
    }
}

} // namespace
} // namespace tanu
