// Writes TANU's chart pictures into a folder:
//   tanu_artwork <folder>             the PNG files the program loads
//   tanu_artwork --icons <folder>     the program icon for the icon theme and for Windows
//   tanu_artwork --preview <folder>   whole-chart previews for judging them (not shipped)
#include "artwork.h"
#include "icon.h"

#include <QDir>
#include <QFontInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "tanu_artwork: %s\n", qPrintable(message));
    return 1;
}

bool writePreviews(const QString& folder, QString& error) {
    using tanu::artwork::PreviewScene;
    PreviewScene oneYear;
    oneYear.low = 2;
    oneYear.high = 10;
    oneYear.values = {7, 9, 10, 6, 8, 5, 9, 4, 10, 8};
    PreviewScene twoYears;
    twoYears.low = 2;
    twoYears.high = 22;
    twoYears.values = {5, 12, 22, 17, 9, 0, 14, 20, 3, 11};
    // The window as it opens: the start-up scale, no values and no student yet.
    PreviewScene empty;
    empty.withHeaderTexts = false;
    PreviewScene printed = twoYears;
    printed.asPrinted = true;
    const std::pair<const PreviewScene*, const char*> scenes[] = {
        {&printed, "preview_printed.png"},
        {&oneYear, "preview_one_year.png"},
        {&twoYears, "preview_two_years.png"},
        {&empty, "preview_empty.png"},
    };
    for (const auto& [scene, name] : scenes) {
        const QString path = folder + QLatin1Char('/') + QLatin1String(name);
        if (!tanu::artwork::drawPreview(*scene).save(path)) {
            error = QStringLiteral("cannot write ") + path;
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    // The pictures need fonts but no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments().mid(1);
    const QString mode = args.size() == 2 ? args.first() : QString();
    const bool preview = mode == QLatin1String("--preview");
    const bool icons = mode == QLatin1String("--icons");
    if (args.size() != (preview || icons ? 2 : 1)) {
        return fail(QStringLiteral("usage: tanu_artwork [--preview | --icons] <folder>"));
    }
    const QString folder = args.last();
    if (!QDir().mkpath(folder)) {
        return fail(QStringLiteral("cannot create ") + folder);
    }

    // Other families would change every measurement; refuse rather than draw with them.
    const QString family = QFontInfo(tanu::artwork::artFont(12)).family();
    if (family != QLatin1String("Liberation Sans") && family != QLatin1String("DejaVu Sans")) {
        return fail(QStringLiteral("neither Liberation Sans nor DejaVu Sans is installed (got ") +
                    family + QStringLiteral("); install fonts-liberation"));
    }

    QString error;
    const bool ok = preview ? writePreviews(folder, error)
                    : icons ? tanu::artwork::writeIcons(folder, error)
                            : tanu::artwork::writeArtwork(folder, error);
    if (!ok) {
        return fail(error);
    }
    std::printf("tanu_artwork: wrote %s pictures into %s (font: %s)\n",
                preview ? "preview" : (icons ? "icon" : "chart"),
                qPrintable(QDir(folder).absolutePath()), qPrintable(family));
    return 0;
}
