#include "atomic_output.h"
#include "options.h"
#include "png_reader.h"

#include "chart/chart_painter.h"
#include "document/profile_file.h"
#include "form/chart_content.h"
#include "qt_pixels.h"
#include "scripted_host.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell/qt/surface/qt_artwork.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
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
#include <libdeflate.h>
#include <set>
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
    QtImageDecoder decoder(scale > 1);
    images = loadImageSet(std::filesystem::path(TANU_DATA_DIR), decoder);
    QImage image(ChartWidth * scale, ChartHeight * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    QPainter painter(&image);
    {
        QPainterSurface surface(painter);
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
    };
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

std::span<const std::uint8_t> bytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every chart picture, 1x and 2x, with all five row filters among them.
TEST(PlainPng, ReadsEveryChartPictureAsQtDoes) {
    ensureGuiApplication();
    int pictures = 0;
    for (QDirIterator it(QStringLiteral(TANU_DATA_DIR), {QStringLiteral("*.png")}); it.hasNext();) {
        const QString file = it.next();
        const std::optional<QImage> ours = exporter::decodePlainPng(bytesOf(readAll(file)));
        ASSERT_TRUE(ours.has_value()) << file.toStdString();
        const QImage qt(file);
        EXPECT_EQ(ours->format(), qt.format()) << file.toStdString();
        EXPECT_TRUE(*ours == qt) << file.toStdString();
        EXPECT_EQ(ours->dotsPerMeterX(), qt.dotsPerMeterX()) << file.toStdString();
        ++pictures;
    }
    EXPECT_GE(pictures, 2 * 25);
}

struct Chunk {
    QByteArray type;
    QByteArray data;
};

std::vector<Chunk> chunksOf(const QByteArray& png) {
    std::vector<Chunk> chunks;
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(png.constData()) + at;
        const qsizetype length = p[0] << 24 | p[1] << 16 | p[2] << 8 | p[3];
        chunks.push_back({png.mid(at + 4, 4), png.mid(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

QByteArray pngOf(const std::vector<Chunk>& chunks) {
    QByteArray out("\x89PNG\r\n\x1a\n");
    const auto put32 = [&out](std::uint32_t value) {
        for (int shift = 24; shift >= 0; shift -= 8) {
            out.append(static_cast<char>((value >> shift) & 0xff));
        }
    };
    for (const Chunk& chunk : chunks) {
        const QByteArray body = chunk.type + chunk.data;
        put32(static_cast<std::uint32_t>(chunk.data.size()));
        out.append(body);
        put32(libdeflate_crc32(0, body.constData(), static_cast<std::size_t>(body.size())));
    }
    return out;
}

// Files it must not read itself: it answers nothing and Qt's loader decides.
TEST(PlainPng, LeavesDamagedAndOtherFilesToQt) {
    ensureGuiApplication();
    const QByteArray png = readAll(QStringLiteral(TANU_DATA_DIR "/wedge.png"));
    std::vector<Chunk> chunks = chunksOf(png);
    ASSERT_EQ(pngOf(chunks), png);
    ASSERT_EQ(chunks.front().type, "IHDR");
    const auto changed = [&chunks](const std::function<void(std::vector<Chunk>&)>& change) {
        std::vector<Chunk> copy = chunks;
        change(copy);
        return pngOf(copy);
    };
    QByteArray badCrc = png;
    badCrc[8 + 8 + 2] ^= 0x40; // in IHDR's width, its CRC left as it was

    const struct {
        const char* what;
        QByteArray file;
    } rows[] = {
        {"truncated", png.left(png.size() - 20)},
        {"a chunk's CRC wrong", badCrc},
        {"the data's own checksum wrong", changed([](auto& c) {
             for (Chunk& chunk : c) {
                 if (chunk.type == "IDAT") {
                     chunk.data[chunk.data.size() - 1] ^= 0x01;
                 }
             }
         })},
        {"16 bits a channel", changed([](auto& c) { c.front().data[8] = 16; })},
        {"interlaced", changed([](auto& c) { c.front().data[12] = 1; })},
        {"a gamma chunk", changed([](auto& c) {
             c.insert(c.begin() + 1, Chunk{"gAMA", QByteArray("\0\0\xb1\x8f", 4)});
         })},
        {"not a PNG", QByteArray("GIF89a") + png.mid(6)},
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("picture.png"));
    for (const auto& row : rows) {
        EXPECT_FALSE(exporter::decodePlainPng(bytesOf(row.file)).has_value()) << row.what;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(row.file);
        file.close();
        EXPECT_TRUE(exporter::loadPicture(path) == QImage::fromData(row.file)) << row.what;
    }
}

TEST(AtomicOutput, AFailedOrInterruptedWriteLeavesNothing) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string target = dir.filePath(QStringLiteral("chart.png")).toStdString();
    const auto files = [&] {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };

    // Interrupted with the temporary file complete, just before it would be renamed.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        exporter::removeTemporariesOnSignal();
        std::string reason;
        exporter::writeAtomically(target, std::string(100000, 'x'), reason,
                                  [] { std::raise(SIGTERM); });
        _exit(0); // not reached: the signal ends the process
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_TRUE(files().isEmpty()) << files().join(' ').toStdString();

    // The rename fails: the target is a folder.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("chart.png")));
    std::string reason;
    EXPECT_FALSE(exporter::writeAtomically(target, "bytes", reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(files(), QStringList{QStringLiteral("chart.png")});
}

} // namespace
} // namespace tanu
