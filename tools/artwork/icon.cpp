#include "icon.h"

#include "artwork.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>

namespace tanu::artwork {
namespace {

const QColor TileColour{0x2E, 0x5E, 0x8C}; // the backdrop's accent blue
const QColor DiskColour{0xFF, 0xFF, 0xFF};
const QColor RingColour{0x1F, 0x2A, 0x37};
const QColor TileEdge{0x1F, 0x3F, 0x5F};

constexpr double Centre = IconUnits / 2.0;
constexpr double DiskRadius = 100.0;
constexpr double OuterRing = 94.0;
// Each domain's wedge as a share of the outermost ring: an uneven profile reads as a chart.
constexpr std::array<double, DomainCount> WedgeReach{0.95, 0.70, 0.85, 0.60, 1.00,
                                                     0.75, 0.90, 0.55, 0.80, 0.65};

QRectF around(double radius) {
    return {Centre - radius, Centre - radius, 2 * radius, 2 * radius};
}

// Qt counts angles anticlockwise in sixteenths of a degree; the icon counts them clockwise.
int qtAngle(double degreesClockwise) {
    return static_cast<int>(std::lround(-degreesClockwise * 16.0));
}

QString number(double value) {
    QString text = QString::number(value, 'f', 2);
    while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
    }
    if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
    }
    return text;
}

QString svgPaint(const char* attribute, const QColor& colour) {
    if (!colour.isValid()) {
        return QStringLiteral(" %1=\"none\"").arg(QLatin1String(attribute));
    }
    QString text = QStringLiteral(" %1=\"%2\"").arg(QLatin1String(attribute), colour.name());
    if (colour.alpha() != 255) {
        text += QStringLiteral(" %1-opacity=\"%2\"")
                    .arg(QLatin1String(attribute), number(colour.alphaF()));
    }
    return text;
}

QPointF onCircle(const QRectF& box, double degreesClockwise) {
    const double a = degreesClockwise * std::numbers::pi / 180.0;
    return box.center() +
           QPointF(box.width() / 2.0 * std::cos(a), box.height() / 2.0 * std::sin(a));
}

// Little-endian writers for the ICO and BMP headers.
void put16(QByteArray& out, int value) {
    out.append(static_cast<char>(value & 0xFF));
    out.append(static_cast<char>((value >> 8) & 0xFF));
}

void put32(QByteArray& out, std::int64_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(static_cast<char>((value >> shift) & 0xFF));
    }
}

int rowBytes(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

// The palettes of the 4-bit and 8-bit pictures: the icon's own colours first, so that its flat
// areas keep their exact colour, then (8-bit only) a colour cube and a grey ramp for the edges.
std::vector<QRgb> iconPalette(int bitsPerPixel) {
    std::vector<QRgb> palette{qRgb(0, 0, 0), DiskColour.rgb(), TileColour.rgb(), TileEdge.rgb(),
                              RingColour.rgb()};
    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        palette.push_back(domainColour(domain).rgb());
    }
    palette.push_back(qRgb(0x80, 0x80, 0x80));
    const std::size_t size = std::size_t{1} << bitsPerPixel;
    for (int r = 0; r < 6 && palette.size() < size; ++r) {
        for (int g = 0; g < 6; ++g) {
            for (int b = 0; b < 6; ++b) {
                palette.push_back(qRgb(r * 51, g * 51, b * 51));
            }
        }
    }
    for (int grey = 1; palette.size() < size; ++grey) {
        palette.push_back(qRgb(grey * 10, grey * 10, grey * 10));
    }
    palette.resize(size);
    return palette;
}

std::size_t nearest(const std::vector<QRgb>& palette, QRgb colour) {
    std::size_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int dr = qRed(palette[i]) - qRed(colour);
        const int dg = qGreen(palette[i]) - qGreen(colour);
        const int db = qBlue(palette[i]) - qBlue(colour);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

// One picture of an ICO file as a device-independent bitmap: the header, the palette, the colour
// rows and the transparency mask, both bottom-up, as Windows expects them in an icon.
QByteArray iconBitmap(const QImage& picture, int bitsPerPixel) {
    const int size = picture.width();
    const bool opaqueOnly = bitsPerPixel < 32; // palette pictures have no alpha: the mask decides
    const std::vector<QRgb> palette = opaqueOnly ? iconPalette(bitsPerPixel) : std::vector<QRgb>{};
    const int colourStride = rowBytes(size, bitsPerPixel);
    const int maskStride = rowBytes(size, 1);

    QByteArray out;
    put32(out, 40);       // header size
    put32(out, size);     // width
    put32(out, 2 * size); // height of the colour rows and the mask together
    put16(out, 1);        // planes
    put16(out, bitsPerPixel);
    put32(out, 0); // no compression
    put32(out, static_cast<std::int64_t>(colourStride + maskStride) * size);
    put32(out, 0);
    put32(out, 0);
    put32(out, static_cast<std::int64_t>(palette.size())); // colours used
    put32(out, 0);
    for (const QRgb colour : palette) {
        out.append(static_cast<char>(qBlue(colour)));
        out.append(static_cast<char>(qGreen(colour)));
        out.append(static_cast<char>(qRed(colour)));
        out.append('\0');
    }

    QByteArray mask;
    for (int y = size - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        QByteArray colourRow(colourStride, '\0');
        QByteArray maskRow(maskStride, '\0');
        for (int x = 0; x < size; ++x) {
            const QRgb pixel = line[x];
            const bool transparent = opaqueOnly ? qAlpha(pixel) < 128 : qAlpha(pixel) == 0;
            if (transparent) {
                maskRow[x / 8] = static_cast<char>(maskRow[x / 8] | (0x80 >> (x % 8)));
            }
            if (bitsPerPixel == 32) {
                const int at = 4 * x;
                colourRow[at] = static_cast<char>(qBlue(pixel));
                colourRow[at + 1] = static_cast<char>(qGreen(pixel));
                colourRow[at + 2] = static_cast<char>(qRed(pixel));
                colourRow[at + 3] = static_cast<char>(qAlpha(pixel));
                continue;
            }
            const std::size_t index = transparent ? 0 : nearest(palette, pixel);
            if (bitsPerPixel == 8) {
                colourRow[x] = static_cast<char>(index);
            } else {
                const int shift = x % 2 == 0 ? 4 : 0;
                colourRow[x / 2] = static_cast<char>(
                    colourRow[x / 2] | static_cast<int>(index << static_cast<unsigned>(shift)));
            }
        }
        out.append(colourRow);
        mask.append(maskRow);
    }
    out.append(mask);
    return out;
}

} // namespace

std::vector<IconShape> iconShapes() {
    using Kind = IconShape::Kind;
    std::vector<IconShape> shapes;
    shapes.push_back(
        {Kind::RoundedRect, QRectF(10, 10, 236, 236), 48, 0, 0, TileColour, TileEdge, 6});
    shapes.push_back({Kind::Circle, around(DiskRadius), 0, 0, 0, DiskColour, {}, 0});
    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        // Domain 1 starts straight up and the domains follow clockwise, as on the chart; a white
        // edge parts neighbours of the same colour.
        shapes.push_back({Kind::Pie, around(OuterRing * WedgeReach[domain]), 0,
                          270.0 + 36.0 * static_cast<double>(domain), 36.0, domainColour(domain),
                          DiskColour, 3});
    }
    for (const double share : {1.0 / 3.0, 2.0 / 3.0, 1.0}) {
        shapes.push_back({Kind::Circle, around(OuterRing * share), 0, 0, 0, {}, RingColour, 6});
    }
    return shapes;
}

QImage drawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.scale(size / IconUnits, size / IconUnits);
    for (const IconShape& shape : iconShapes()) {
        painter.setBrush(shape.fill.isValid() ? QBrush(shape.fill) : QBrush(Qt::NoBrush));
        painter.setPen(shape.stroke.isValid() ? QPen(shape.stroke, shape.strokeWidth)
                                              : QPen(Qt::NoPen));
        switch (shape.kind) {
        case IconShape::Kind::RoundedRect:
            painter.drawRoundedRect(shape.box, shape.corner, shape.corner);
            break;
        case IconShape::Kind::Circle:
            painter.drawEllipse(shape.box);
            break;
        case IconShape::Kind::Pie:
            painter.drawPie(shape.box, qtAngle(shape.start), qtAngle(shape.sweep));
            break;
        }
    }
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QByteArray iconSvg() {
    QString svg =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" "
                       "viewBox=\"0 0 %1 %1\">\n")
            .arg(number(IconUnits));
    for (const IconShape& shape : iconShapes()) {
        const QString paint =
            svgPaint("fill", shape.fill) + svgPaint("stroke", shape.stroke) +
            (shape.stroke.isValid()
                 ? QStringLiteral(" stroke-width=\"%1\"").arg(number(shape.strokeWidth))
                 : QString());
        const QRectF& b = shape.box;
        switch (shape.kind) {
        case IconShape::Kind::RoundedRect:
            svg += QStringLiteral(
                       "  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\"%6/>\n")
                       .arg(number(b.x()), number(b.y()), number(b.width()), number(b.height()),
                            number(shape.corner), paint);
            break;
        case IconShape::Kind::Circle:
            svg += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\"%4/>\n")
                       .arg(number(b.center().x()), number(b.center().y()), number(b.width() / 2.0),
                            paint);
            break;
        case IconShape::Kind::Pie: {
            const QPointF from = onCircle(b, shape.start);
            const QPointF to = onCircle(b, shape.start + shape.sweep);
            // Sweep flag 1 turns clockwise in the y-down picture.
            svg += QStringLiteral("  <path d=\"M %1 %2 L %3 %4 A %5 %5 0 %6 1 %7 %8 Z\"%9/>\n")
                       .arg(number(b.center().x()), number(b.center().y()), number(from.x()),
                            number(from.y()), number(b.width() / 2.0),
                            shape.sweep > 180.0 ? QStringLiteral("1") : QStringLiteral("0"),
                            number(to.x()), number(to.y()), paint);
            break;
        }
        }
    }
    svg += QStringLiteral("</svg>\n");
    return svg.toUtf8();
}

QByteArray iconIco(const std::vector<IcoEntry>& entries) {
    std::vector<QByteArray> pictures;
    for (const IcoEntry& entry : entries) {
        pictures.push_back(iconBitmap(drawIcon(entry.size), entry.bitsPerPixel));
    }
    QByteArray out;
    put16(out, 0); // reserved
    put16(out, 1); // an icon, not a cursor
    put16(out, static_cast<int>(entries.size()));
    std::int64_t offset = 6 + 16 * static_cast<std::int64_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IcoEntry& entry = entries[i];
        out.append(static_cast<char>(entry.size >= 256 ? 0 : entry.size)); // 0 means 256
        out.append(static_cast<char>(entry.size >= 256 ? 0 : entry.size));
        out.append(static_cast<char>(entry.bitsPerPixel == 4 ? 16 : 0)); // palette entries
        out.append('\0');
        put16(out, 1); // planes
        put16(out, entry.bitsPerPixel);
        put32(out, pictures[i].size());
        put32(out, offset);
        offset += pictures[i].size();
    }
    for (const QByteArray& picture : pictures) {
        out.append(picture);
    }
    return out;
}

std::vector<IcoEntry> largeIconEntries() {
    return {{128, 32}, {96, 32}, {64, 32}, {48, 32}, {32, 32}, {16, 32}};
}

std::vector<IcoEntry> smallIconEntries() {
    return {{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}};
}

std::vector<int> themeIconSizes() {
    return {16, 24, 32, 48, 64, 96, 128, 256};
}

bool writeIcons(const QString& folder, QString& error) {
    const QDir root(folder);
    auto writeFile = [&](const QString& name, const QByteArray& bytes) {
        const QString path = root.filePath(name);
        if (!QDir().mkpath(QFileInfo(path).path())) {
            error = name + QStringLiteral(": cannot create its folder");
            return false;
        }
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(bytes) != bytes.size() || !file.flush()) {
            error = name + QStringLiteral(": ") + file.errorString();
            return false;
        }
        return true;
    };
    for (const int size : themeIconSizes()) {
        const QString name = QStringLiteral("hicolor/%1x%1/apps/tanu.png").arg(size);
        if (!QDir().mkpath(QFileInfo(root.filePath(name)).path())) {
            error = name + QStringLiteral(": cannot create its folder");
            return false;
        }
        QImageWriter writer(root.filePath(name), "png");
        writer.setQuality(0);
        if (!writer.write(drawIcon(size))) {
            error = name + QStringLiteral(": ") + writer.errorString();
            return false;
        }
    }
    return writeFile(QStringLiteral("hicolor/scalable/apps/tanu.svg"), iconSvg()) &&
           writeFile(QStringLiteral("windows/tanu.ico"), iconIco(largeIconEntries())) &&
           writeFile(QStringLiteral("windows/tanu_small.ico"), iconIco(smallIconEntries()));
}

} // namespace tanu::artwork
