// Draws TANU's chart pictures. The code is the editable form of the artwork: run the generator
// to rebuild the PNG files instead of touching them by hand.
//
// The chart's geometry (pixel space, centre, outermost ring, field places, wedge colours, the
// year range of the badges) comes from the program's core, so the pictures cannot drift away
// from what the program draws over them. Only the artwork's own layout lives here.
#pragma once

#include "chart/chart_painter.h"
#include "chart/layout.h"
#include "form/entry_form.h"
#include "model/chart_model.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tanu::artwork {

// The soft collar drawn just outside the outermost ring; it stays clear of the nearest fields.
inline constexpr double CollarOuterRadius = 205.5;

// The picture sizes the painter scales the pictures into; drawn at that size so that nothing
// is resampled on the window.
inline constexpr QSize BadgeSize{16, 12};
inline constexpr QSize LegendSize{LegendRect.width, LegendRect.height};
inline constexpr QSize WedgeSize{32, 32};

// Places where the painter draws over the backdrop; the backdrop must leave them readable.
inline constexpr QRect LegendBox{LegendRect.x, LegendRect.y, LegendRect.width, LegendRect.height};
inline constexpr QRect AgeTextBox{AgeTextRect.x, AgeTextRect.y, AgeTextRect.width,
                                  AgeTextRect.height};

// A field's place on the window as the entry form puts it there.
QRect fieldBox(int fieldId);
// The field of a domain (0..9).
QRect domainFieldBox(std::size_t domain);

// The label the backdrop writes before each header field, top to bottom.
struct HeaderField {
    int id;
    const char* label;
};

inline constexpr std::array<HeaderField, 4> HeaderFields{{
    {FirstTextField, "Name:"},
    {BirthDateField, "Date of birth:"},
    {SecondDateField, "Date of assessment:"},
    {SecondTextField, "Assessed by:"},
}};

// The wedge colour of a domain, as the painter fills it.
QColor domainColour(std::size_t domain);

// "Liberation Sans" (or "DejaVu Sans" where it is missing) at an exact pixel size, so the
// pictures come out the same on every machine with the same fonts.
QFont artFont(int pixelSize, QFont::Weight weight = QFont::Normal);

// Where a domain's label and its colour swatch go beside its field.
struct DomainLabel {
    QString text;
    QRect textRect; // the measured ink-free box the text is laid out in
    QRect swatch;
};
DomainLabel domainLabel(std::size_t domain);

// Where a header field's label goes: right-aligned, ending a few pixels before the field.
struct HeaderLabel {
    QString text;
    QFont font;
    QRect textRect;
};
HeaderLabel headerLabel(std::size_t index);

// Boxes the backdrop's texts occupy (title, footer), for layout checks.
std::vector<QRect> textBlocks();

// Each picture at its chart size, or at a whole multiple of it for high-density screens (the
// same drawing, not a resampled copy).
QImage drawBackground(int scale = 1);
QImage drawLegend(int yearsPerRing, int scale = 1);   // 1 or 2 years per ring
QImage drawBadge(std::uint32_t years, int scale = 1); // MinYears..MaxYears
QImage drawWedge(int scale = 1);

// The whole chart as the program would show it, for judging the artwork: the program's own
// painter over freshly drawn pictures, with the scale rebuilt from low to high and one value
// per domain (0 = empty).
struct PreviewScene {
    std::uint32_t low = 7;
    std::uint32_t high = 15;
    std::array<std::uint32_t, DomainCount> values{};
    bool withHeaderTexts = true; // a sample student; otherwise the header fields as at start
    bool asPrinted = false;      // no fields; the painter prints their texts in their place
};
QImage drawPreview(const PreviewScene& scene);

// Writes every picture into folder, each also at twice its size under Qt's "@2x" name
// (background@2x.png, ...); false with a message on the first failure.
bool writeArtwork(const QString& folder, QString& error);

} // namespace tanu::artwork
