// TANU's program icon: a small profile chart on a tile. One list of shapes is the drawing; it is
// painted into PNGs of every size, written out as SVG for the icon theme, and packed into the
// Windows icon files.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRectF>
#include <QString>

#include <vector>

namespace tanu::artwork {

// The icon is drawn in a square of this many units; every size scales it.
inline constexpr double IconUnits = 256.0;

struct IconShape {
    enum class Kind { RoundedRect, Circle, Pie };
    Kind kind;
    QRectF box;        // in icon units
    double corner = 0; // RoundedRect: corner radius
    double start = 0;  // Pie: degrees clockwise from the positive x axis
    double sweep = 0;  // Pie: degrees clockwise
    QColor fill;       // invalid: not filled
    QColor stroke;     // invalid: no outline
    double strokeWidth = 0;
};

// The drawing, back to front.
std::vector<IconShape> iconShapes();

// The icon as a square picture of size pixels, straight (not premultiplied) ARGB.
QImage drawIcon(int size);
// The icon as an SVG document.
QByteArray iconSvg();

// One picture of a Windows icon file: its size and colour depth (4, 8 or 32 bits per pixel).
struct IcoEntry {
    int size;
    int bitsPerPixel;
};
// The ICO file holding the icon at each entry's size and depth: 32-bit pictures with their
// alpha, 8-bit and 4-bit ones mapped onto a fixed palette with a transparency mask.
QByteArray iconIco(const std::vector<IcoEntry>& entries);

// The class icon's and the small icon's pictures.
std::vector<IcoEntry> largeIconEntries();
std::vector<IcoEntry> smallIconEntries();

// The square sizes written for the Linux icon theme.
std::vector<int> themeIconSizes();

// Writes hicolor/<n>x<n>/apps/tanu.png for each theme size, hicolor/scalable/apps/tanu.svg and
// windows/tanu.ico (class icon) and windows/tanu_small.ico (small icon) under folder.
bool writeIcons(const QString& folder, QString& error);

} // namespace tanu::artwork
