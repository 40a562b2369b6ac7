// The installed program: `cmake --install` into a temporary folder lays out the tree a package
// ships, and the program started from there finds its artwork in share/tanu/data and opens the
// profile named on its command line.
//
// The program is watched from outside, as a user would see it: Qt's "minimal" platform, asked
// with QT_DEBUG_BACKINGSTORE, writes every frame of the window into the working folder as a
// PNG, and the first-paint probe the start-up bench uses ends the run after the first paint.
#include "chart/chart_painter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

constexpr int ChartTop = 699; // the chart is the window's last 699 rows, under the menu bar

class InstalledProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        QProcess install;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DESTDIR"), root_.path());
        install.setProcessEnvironment(environment);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(TANU_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(TANU_BUILD_DIR),
                       QStringLiteral("--prefix"), QStringLiteral("/usr")});
        ASSERT_TRUE(install.waitForFinished(120000));
        ASSERT_EQ(install.exitCode(), 0) << install.readAll().toStdString();
    }

    QString installed(const QString& path) const { return root_.filePath("usr/" + path); }

    QTemporaryDir root_;
};

TEST_F(InstalledProgramTest, LaysOutTheDesktopProgram) {
    const char* files[] = {
        "bin/tanu",
        "share/tanu/data/background.png",
        "share/tanu/data/background@2x.png",
        "share/tanu/data/badge22.png",
        "share/tanu/data/two_years@2x.png",
        "share/applications/org.tanu.Tanu.desktop",
        "share/metainfo/org.tanu.Tanu.metainfo.xml",
        "share/mime/packages/tanu.xml",
        "share/icons/hicolor/16x16/apps/tanu.png",
        "share/icons/hicolor/256x256/apps/tanu.png",
        "share/icons/hicolor/scalable/apps/tanu.svg",
        "share/icons/hicolor/scalable/mimetypes/application-x-tanu.svg",
        "share/man/man1/tanu.1.gz",
        "share/doc/tanu/copyright",
    };
    for (const char* file : files) {
        EXPECT_TRUE(QFile::exists(installed(QString::fromLatin1(file)))) << file;
    }
    EXPECT_TRUE(QFileInfo(installed("bin/tanu")).isExecutable());
    // The artwork is found under share, not beside the executable.
    EXPECT_FALSE(QFile::exists(installed("bin/data")));
    // Only what the source's data folder holds, all of it.
    EXPECT_EQ(QDir(installed("share/tanu/data")).entryList(QDir::Files),
              QDir(QStringLiteral(TANU_BUILD_DIR "/bin/data")).entryList(QDir::Files));
}

TEST_F(InstalledProgramTest, StartsWithItsArtworkAndTheFileNamedOnTheCommandLine) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString profile = work.filePath("ann.tanu");
    {
        QFile out(profile);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Ann Smith\r\n2015/3/10\r\n2024/6/1\r\nMr Jones\r\n"
                  "9\r\n0\r\n0\r\n7\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n");
    }
    const QString frames = work.filePath("frames");
    ASSERT_TRUE(QDir().mkpath(frames));

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("minimal:enable_fonts"));
    environment.insert(QStringLiteral("QT_DEBUG_BACKINGSTORE"), QStringLiteral("1"));
    // Test builds have the first-paint probe (TANU_FIRST_PAINT_PROBE): the program quits by
    // itself once its window is drawn. The package is built without it.
    environment.insert(QStringLiteral("TANU_BENCH_FIRST_PAINT"), QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(frames);
    program.start(installed("bin/tanu"), {profile});
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const QStringList written = QDir(frames).entryList({"output*.png"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(written.isEmpty()) << "the window was never drawn";
    const QImage window(QDir(frames).filePath(written.last()));
    ASSERT_GE(window.height(), ChartTop);
    ASSERT_GE(window.width(), tanu::ChartWidth);
    const int top = window.height() - ChartTop;

    // The artwork: the background's title in its blue, which nothing else draws.
    int title = 0;
    for (int y = top + 10; y < top + 45; ++y) {
        for (int x = 10; x < 110; ++x) {
            const QRgb p = window.pixel(x, y);
            title +=
                std::abs(qRed(p) - 0x2E) + std::abs(qGreen(p) - 0x5E) + std::abs(qBlue(p) - 0x8C) <
                        24
                    ? 1
                    : 0;
        }
    }
    EXPECT_GT(title, 100) << "the background picture is missing";

    // The profile: domain 1's wedge, just up and right of the centre, and an empty domain 2.
    const QRgb wedge = window.pixel(tanu::CentreX + 4, top + tanu::CentreY - 12);
    const tanu::Argb expected = tanu::wedgeColour(0);
    EXPECT_EQ(qRgb(qRed(wedge), qGreen(wedge), qBlue(wedge)), expected | 0xFF000000u)
        << "the profile's first domain is not drawn";
    EXPECT_EQ(window.pixel(tanu::CentreX + 10, top + tanu::CentreY - 7), qRgb(255, 255, 255));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
