// Draws TANU's chart pictures. The code is the editable form of the artwork: run the generator
// to rebuild the PNG files instead of touching them by hand.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <vector>

namespace tanu::artwork {

// The chart's fixed pixel space.
inline constexpr int ChartWidth = 912;
inline constexpr int ChartHeight = 699;
inline constexpr int CentreX = 456;
inline constexpr int CentreY = 349;
inline constexpr int OuterRadius = 195;
// The soft collar drawn just outside the outermost ring; it stays clear of the nearest fields.
inline constexpr double CollarOuterRadius = 205.5;

inline constexpr int DomainCount = 10;
inline constexpr int FirstBadgeYears = 2;
inline constexpr int LastBadgeYears = 22;
inline constexpr QSize BadgeSize{16, 12};
inline constexpr QSize LegendSize{144, 118};
inline constexpr QSize WedgeSize{32, 32};

// Places where the program draws over the backdrop; the backdrop must leave them readable.
inline constexpr QRect LegendBox{750, 59, 144, 118};
inline constexpr QRect AgeTextBox{218, 94, 202, 20};

inline constexpr std::array<QRect, DomainCount> DomainFields{{
    {517, 127, 25, 20},
    {662, 221, 25, 20},
    {683, 338, 25, 20},
    {646, 476, 25, 20},
    {535, 577, 25, 20},
    {376, 576, 25, 20},
    {223, 477, 25, 20},
    {197, 339, 25, 20},
    {243, 210, 25, 20},
    {374, 128, 25, 20},
}};

struct HeaderField {
    QRect rect;
    const char* label;
};

inline constexpr std::array<HeaderField, 4> HeaderFields{{
    {{73, 69, 197, 20}, "Name:"},
    {{115, 92, 98, 20}, "Date of birth:"},
    {{180, 115, 90, 20}, "Date of assessment:"},
    {{115, 138, 155, 20}, "Assessed by:"},
}};

// The wedge colour of each domain, as the chart fills it.
QColor wedgeColour(int domain);

// "Liberation Sans" (or "DejaVu Sans" where it is missing) at an exact pixel size, so the
// pictures come out the same on every machine with the same fonts.
QFont artFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// Where a domain's label and its colour swatch go beside its field.
struct DomainLabel {
    QString text;
    QRect textRect; // the measured ink-free box the text is laid out in
    QRect swatch;
};
DomainLabel domainLabel(int domain);

// Where a header field's label goes: right-aligned, ending a few pixels before the field.
struct HeaderLabel {
    QString text;
    QFont font;
    QRect textRect;
};
HeaderLabel headerLabel(int index);

// Boxes the backdrop's texts occupy (title, footer), for layout checks.
std::vector<QRect> textBlocks();

QImage drawBackground();
QImage drawLegend(int yearsPerRing); // 1 or 2
QImage drawBadge(int years);         // 2..22
QImage drawWedge();

// The whole chart as the program would show it, for judging the artwork. ringYears runs from the
// innermost ring outwards; values holds one age-equivalent per domain (0 = empty).
struct PreviewScene {
    std::vector<int> ringYears;
    std::array<int, DomainCount> values{};
    bool withFieldTexts = true;
    bool asPrinted = false; // no fields; their texts drawn where the printout puts them
};
QImage drawPreview(const PreviewScene& scene);

// Writes every picture into folder; false with a message on the first failure.
bool writeArtwork(const QString& folder, QString& error);

} // namespace tanu::artwork
