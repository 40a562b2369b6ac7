// The installed program: `cmake --install` into a temporary folder lays out the tree a package
// ships, and the program started from there finds its artwork in share/tanu/data and opens the
// profile named on its command line.
//
// The program is watched from outside, as a user would see it: Qt's "minimal" platform, asked
// with QT_DEBUG_BACKINGSTORE, writes every frame of the window into the working folder as a
// PNG; once one is whole the program is ended by SIGTERM, as a desktop session ends it, and must
// still end with 0.
#include "chart/chart_painter.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileSystemWatcher>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

constexpr int ChartTop = 699; // the chart is the window's last 699 rows, under the menu bar

// The background's title in its blue, which nothing else draws, in the chart whose top row is
// top.
int titlePixels(const QImage& chart, int top) {
    int title = 0;
    for (int y = top + 10; y < top + 45; ++y) {
        for (int x = 10; x < 110; ++x) {
            const QRgb p = chart.pixel(x, y);
            title +=
                std::abs(qRed(p) - 0x2E) + std::abs(qGreen(p) - 0x5E) + std::abs(qBlue(p) - 0x8C) <
                        24
                    ? 1
                    : 0;
        }
    }
    return title;
}

// Waits, on the frames' folder and files rather than on a clock, until the program has written
// a whole frame of its window; false if it ends first or nothing comes within a minute.
bool waitForWholeFrame(const QString& frames, QProcess& program) {
    QFileSystemWatcher watcher({frames});
    QEventLoop loop;
    bool whole = false;
    const auto look = [&] {
        const QDir folder(frames);
        for (const QString& name : folder.entryList({"output*.png"}, QDir::Files, QDir::Name)) {
            watcher.addPath(folder.filePath(name));
            if (!QImage(folder.filePath(name)).isNull()) {
                whole = true;
                loop.quit();
                return;
            }
        }
    };
    QObject::connect(&watcher, &QFileSystemWatcher::directoryChanged, look);
    QObject::connect(&watcher, &QFileSystemWatcher::fileChanged, look);
    QObject::connect(&program, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit); // a deadline, not a delay
    look();
    if (!whole) {
        loop.exec();
    }
    return whole;
}

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
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(frames);
    program.start(installed("bin/tanu"), {profile});
    // Once its window is drawn, the program is ended as a desktop session ends it.
    ASSERT_TRUE(waitForWholeFrame(frames, program)) << "the window was never drawn";
    program.terminate();
    ASSERT_TRUE(program.waitForFinished(60000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();

    const QStringList written = QDir(frames).entryList({"output*.png"}, QDir::Files, QDir::Name);
    ASSERT_FALSE(written.isEmpty()) << "the window was never drawn";
    const QImage window(QDir(frames).filePath(written.last()));
    ASSERT_GE(window.height(), ChartTop);
    ASSERT_GE(window.width(), tanu::ChartWidth);
    const int top = window.height() - ChartTop;

    EXPECT_GT(titlePixels(window, top), 100) << "the background picture is missing";

    // The profile: domain 1's wedge, just up and right of the centre, and an empty domain 2.
    const QRgb wedge = window.pixel(tanu::CentreX + 4, top + tanu::CentreY - 12);
    const tanu::Argb expected = tanu::wedgeColour(0);
    EXPECT_EQ(qRgb(qRed(wedge), qGreen(wedge), qBlue(wedge)), expected | 0xFF000000u)
        << "the profile's first domain is not drawn";
    EXPECT_EQ(window.pixel(tanu::CentreX + 10, top + tanu::CentreY - 7), qRgb(255, 255, 255));
}

// The installed export finds the shipped pictures under share, and a user's own picture before
// them, picture by picture.
TEST_F(InstalledProgramTest, TheExportFindsTheShippedPicturesAndAUsersOwnFirst) {
#ifndef TANU_INSTALLED_EXPORT
    GTEST_SKIP() << "this build has no tanu-export";
#endif
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString profile = work.filePath("ann.tanu");
    {
        QFile out(profile);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Ann\r\n2015/3/10\r\nYYYY/MM/DD\r\n\r\n"
                  "9\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n8\r\n");
    }
    const QString userData = work.filePath("user-data");
    ASSERT_TRUE(QDir().mkpath(userData + "/tanu/data"));
    QImage green(912, 699, QImage::Format_RGB32);
    green.fill(qRgb(0, 200, 0));

    for (const bool ownBackground : {false, true}) {
        SCOPED_TRACE(ownBackground ? "the user's background" : "the shipped pictures");
        if (ownBackground) {
            ASSERT_TRUE(green.save(userData + "/tanu/data/background.png"));
        }
        QProcess exporter;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), userData);
        exporter.setProcessEnvironment(environment);
        const QString chart = work.filePath(ownBackground ? "own.png" : "shipped.png");
        exporter.start(installed("bin/tanu-export"),
                       {QStringLiteral("--on"), QStringLiteral("2026/12/06"), QStringLiteral("-o"),
                        chart, profile});
        ASSERT_TRUE(exporter.waitForFinished(60000));
        const QString errors = QString::fromUtf8(exporter.readAllStandardError());
        EXPECT_EQ(exporter.exitCode(), 0) << errors.toStdString();
        EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();
        const QImage picture(chart);
        ASSERT_EQ(picture.size(), QSize(912, 699));
        EXPECT_EQ(titlePixels(picture, 0) > 100, !ownBackground);
        EXPECT_EQ(picture.pixel(5, 5), ownBackground ? qRgb(0, 200, 0) : qRgb(255, 255, 255));
        // The legend still comes from the shipped set.
        EXPECT_NE(picture.pixel(tanu::LegendRect.x + 72, tanu::LegendRect.y + 100),
                  qRgb(0, 200, 0));
    }

    // A picture found nowhere is named with every folder it was looked for in.
    ASSERT_TRUE(QFile::remove(installed("share/tanu/data/badge7.png")));
    QProcess exporter;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), userData);
    exporter.setProcessEnvironment(environment);
    exporter.start(installed("bin/tanu-export"),
                   {QStringLiteral("-o"), work.filePath("x.png"), profile});
    ASSERT_TRUE(exporter.waitForFinished(60000));
    EXPECT_EQ(exporter.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(exporter.readAllStandardError()),
              QStringLiteral("tanu-export: warning: badge7.png was not found in %1/tanu/data, "
                             "/usr/local/share/tanu/data, %2, %3; the charts are drawn without "
                             "it\n")
                  .arg(userData, installed("bin/data"), installed("share/tanu/data")));
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
