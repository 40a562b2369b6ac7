#include "artwork.h"

#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <cmath>
#include <numbers>

namespace tanu::artwork {
namespace {

// One calm palette for every picture: white paper, slate inks and one muted blue accent.
const QColor Paper{0xFF, 0xFF, 0xFF};
const QColor Tint{0xF3, 0xF5, 0xF8};
const QColor Hairline{0xD2, 0xD8, 0xE0};
const QColor FieldEdge{0xB4, 0xBD, 0xC8};
const QColor InkStrong{0x1F, 0x2A, 0x37};
const QColor Ink{0x3B, 0x47, 0x57};
const QColor InkSoft{0x6B, 0x77, 0x85};
const QColor Accent{0x2E, 0x5E, 0x8C};

constexpr int Margin = 16;
constexpr int TitleRuleY = 52;
constexpr int FooterRuleY = 664;
constexpr int MinLabelPixels = 11;
constexpr int HeaderLabelPixels = 13;
constexpr int HeaderLabelGap = 6;
constexpr int HeaderLabelLeft = 8;
constexpr int DomainLabelPixels = 12;
constexpr int SwatchSize = 10;
constexpr int SwatchGap = 5; // between field and swatch
constexpr int TextGap = 4;   // between swatch and text
constexpr double CollarInner = 196.0;
constexpr double CollarOuter = CollarOuterRadius;

const QString TitleText = QStringLiteral("TANU");
const QString SubtitleText = QStringLiteral("Developmental profile");
const QString TaglineText = QStringLiteral("Age-equivalent values across ten domains");
const QString FooterText =
    QStringLiteral("Each wedge reaches the ring of the domain\u2019s age-equivalent value.");
const QString FooterRightText = QStringLiteral("Values in whole years, 2\u201322");

QColor mix(const QColor& a, const QColor& b, double t) {
    auto channel = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()));
}

QImage blankImage(QSize size, const QColor& fill) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    // 96 dpi, so point-sized text in the preview matches the window.
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(fill);
    return image;
}

void beginArt(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
}

// The width of a text as laid out, rounded up to whole pixels.
int textWidth(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

// Draws text with its baseline placed so that the digits and capitals sit centred in box.
void drawCentredCaps(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment h) {
    QFontMetricsF metrics(painter.font());
    const QRectF ink = metrics.tightBoundingRect(QStringLiteral("0H"));
    const double baseline = std::round(box.center().y() - (ink.top() + ink.bottom()) / 2.0);
    const double width = metrics.horizontalAdvance(text);
    double x = box.left();
    if (h & Qt::AlignHCenter) {
        x = box.center().x() - width / 2.0;
    } else if (h & Qt::AlignRight) {
        x = box.right() - width;
    }
    painter.drawText(QPointF(x, baseline), text);
}

QPointF polar(double radius, double degreesClockwise) {
    const double a = degreesClockwise * std::numbers::pi / 180.0;
    return {CentreX + radius * std::cos(a), CentreY + radius * std::sin(a)};
}

// Qt counts angles anticlockwise in sixteenths of a degree; the chart counts them clockwise.
int qtAngle(double degreesClockwise) {
    return static_cast<int>(std::lround(-degreesClockwise * 16.0));
}

void drawTitle(QPainter& painter) {
    const QFont title = artFont(26, QFont::Bold);
    const QFont subtitle = artFont(15);
    const QFont tagline = artFont(12);
    const int baseline = 38;

    painter.setPen(Accent);
    painter.setFont(title);
    painter.drawText(QPoint(Margin, baseline), TitleText);

    painter.setPen(Ink);
    painter.setFont(subtitle);
    painter.drawText(QPoint(Margin + textWidth(title, TitleText) + 10, baseline), SubtitleText);

    painter.setPen(InkSoft);
    painter.setFont(tagline);
    painter.drawText(QPoint(ChartWidth - Margin - textWidth(tagline, TaglineText), baseline),
                     TaglineText);

    painter.setPen(QPen(Hairline, 1.0));
    painter.drawLine(QPointF(Margin, TitleRuleY + 0.5),
                     QPointF(ChartWidth - Margin, TitleRuleY + 0.5));
}

void drawFooter(QPainter& painter) {
    const QFont font = artFont(12);
    painter.setPen(QPen(Hairline, 1.0));
    painter.drawLine(QPointF(Margin, FooterRuleY + 0.5),
                     QPointF(ChartWidth - Margin, FooterRuleY + 0.5));
    painter.setFont(font);
    painter.setPen(InkSoft);
    const QRect line(Margin, FooterRuleY + 8, ChartWidth - 2 * Margin, 18);
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, FooterText);
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter, FooterRightText);
}

// A white box with a light edge where each field sits. On screen the field covers it; on paper,
// where the fields are not drawn, it frames the printed text.
void drawFieldBed(QPainter& painter, const QRect& field) {
    painter.setPen(QPen(FieldEdge, 1.0));
    painter.setBrush(Paper);
    painter.drawRoundedRect(QRectF(field).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);
}

void drawHeader(QPainter& painter) {
    for (int i = 0; i < static_cast<int>(HeaderFields.size()); ++i) {
        const HeaderLabel label = headerLabel(i);
        painter.setFont(label.font);
        painter.setPen(Ink);
        drawCentredCaps(painter, label.textRect, label.text, Qt::AlignRight);
        drawFieldBed(painter, HeaderFields[static_cast<std::size_t>(i)].rect);
    }
}

void drawCollar(QPainter& painter) {
    // A pale band in each domain's colour just outside the outermost ring, so a wedge's colour
    // can be matched to its domain even where the wedge is short.
    const QRectF outer(CentreX - CollarOuter, CentreY - CollarOuter, 2 * CollarOuter,
                       2 * CollarOuter);
    const QRectF inner(CentreX - CollarInner, CentreY - CollarInner, 2 * CollarInner,
                       2 * CollarInner);
    for (int domain = 0; domain < DomainCount; ++domain) {
        const double start = 270.0 + 36.0 * domain;
        QPainterPath band;
        band.arcMoveTo(outer, -start);
        band.arcTo(outer, -start, -36.0);
        band.arcTo(inner, -(start + 36.0), 36.0);
        band.closeSubpath();
        painter.fillPath(band, mix(wedgeColour(domain), Paper, 0.55));
    }
    // White seams where the spokes meet the collar.
    painter.setPen(QPen(Paper, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (int spoke = 0; spoke < DomainCount; ++spoke) {
        const double angle = 18.0 + 36.0 * spoke;
        painter.drawLine(polar(CollarInner - 0.5, angle), polar(CollarOuter + 0.5, angle));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Hairline, 1.0));
    painter.drawEllipse(outer);
}

void drawDomainLabels(QPainter& painter) {
    for (int domain = 0; domain < DomainCount; ++domain) {
        const DomainLabel label = domainLabel(domain);
        drawFieldBed(painter, DomainFields[static_cast<std::size_t>(domain)]);

        painter.setPen(QPen(mix(wedgeColour(domain), InkStrong, 0.45), 1.0));
        painter.setBrush(wedgeColour(domain));
        painter.drawRoundedRect(QRectF(label.swatch).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);

        painter.setFont(artFont(DomainLabelPixels, QFont::DemiBold));
        painter.setPen(Ink);
        drawCentredCaps(painter, label.textRect, label.text, Qt::AlignLeft);
    }
}

// A sample profile: ring radii as the program builds them, from the outside in.
std::vector<int> ringRadii(std::size_t count) {
    std::vector<int> radii(count);
    const int step = count > 1 ? 147 / static_cast<int>(count - 1) : 0;
    for (std::size_t i = 0; i < count; ++i) {
        radii[count - 1 - i] = OuterRadius - static_cast<int>(i) * step;
    }
    return radii;
}

} // namespace

QColor wedgeColour(int domain) {
    static const std::array<QColor, DomainCount> colours{
        QColor(0x5C, 0xFF, 0x88), QColor(0x5C, 0xFF, 0x88), QColor(0x5C, 0xFF, 0x88),
        QColor(0x5C, 0xFF, 0x88), QColor(0xFF, 0x7C, 0xFD), QColor(0xF9, 0xFD, 0x86),
        QColor(0xF9, 0xFD, 0x86), QColor(0xFF, 0xA0, 0x53), QColor(0x90, 0x87, 0xFE),
        QColor(0x90, 0x87, 0xFE)};
    return colours[static_cast<std::size_t>(domain)];
}

QFont artFont(int pixelSize, QFont::Weight weight) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setKerning(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Grey-scale edges only: colour fringes would depend on the screen's sub-pixel order.
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

HeaderLabel headerLabel(int index) {
    const HeaderField& field = HeaderFields[static_cast<std::size_t>(index)];
    HeaderLabel label;
    label.text = QString::fromLatin1(field.label);
    const int right = field.rect.left() - HeaderLabelGap;
    int pixels = HeaderLabelPixels;
    label.font = artFont(pixels);
    while (pixels > MinLabelPixels && right - textWidth(label.font, label.text) < HeaderLabelLeft) {
        label.font = artFont(--pixels);
    }
    const int width = textWidth(label.font, label.text);
    label.textRect = QRect(right - width, field.rect.top(), width, field.rect.height());
    return label;
}

DomainLabel domainLabel(int domain) {
    const QRect& field = DomainFields[static_cast<std::size_t>(domain)];
    DomainLabel label;
    label.text = QStringLiteral("Domain %1").arg(domain + 1);
    const int width = textWidth(artFont(DomainLabelPixels, QFont::DemiBold), label.text);
    const int swatchTop = field.center().y() - SwatchSize / 2 + 1;
    // Labels sit on the outer side of their field: right of the fields on the right half of the
    // circle, left of those on the left half.
    if (field.center().x() >= CentreX) {
        label.swatch = QRect(field.right() + 1 + SwatchGap, swatchTop, SwatchSize, SwatchSize);
        label.textRect =
            QRect(label.swatch.right() + 1 + TextGap, field.top(), width, field.height());
    } else {
        label.swatch =
            QRect(field.left() - SwatchGap - SwatchSize, swatchTop, SwatchSize, SwatchSize);
        label.textRect =
            QRect(label.swatch.left() - TextGap - width, field.top(), width, field.height());
    }
    return label;
}

std::vector<QRect> textBlocks() {
    const QFont title = artFont(26, QFont::Bold);
    const QFont subtitle = artFont(15);
    const QFont tagline = artFont(12);
    const int titleWidth = textWidth(title, TitleText) + 10 + textWidth(subtitle, SubtitleText);
    const int taglineWidth = textWidth(tagline, TaglineText);
    return {
        QRect(Margin, 10, titleWidth, TitleRuleY - 10),
        QRect(ChartWidth - Margin - taglineWidth, 10, taglineWidth, TitleRuleY - 10),
        QRect(Margin, FooterRuleY, ChartWidth - 2 * Margin, ChartHeight - FooterRuleY - 4),
    };
}

QImage drawBackground() {
    QImage image = blankImage(QSize(ChartWidth, ChartHeight), Paper);
    QPainter painter(&image);
    beginArt(painter);
    drawTitle(painter);
    drawHeader(painter);
    drawCollar(painter);
    drawDomainLabels(painter);
    drawFooter(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawLegend(int yearsPerRing) {
    QImage image = blankImage(LegendSize, Qt::transparent);
    QPainter painter(&image);
    beginArt(painter);

    const QRectF card =
        QRectF(0, 0, LegendSize.width(), LegendSize.height()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(Hairline, 1.0));
    painter.setBrush(Tint);
    painter.drawRoundedRect(card, 6.0, 6.0);

    painter.setFont(artFont(11, QFont::Bold));
    painter.setPen(InkSoft);
    drawCentredCaps(painter, QRectF(10, 6, 124, 16), QStringLiteral("RING SCALE"), Qt::AlignLeft);

    // Three rings of the chart's upper half, a wedge reaching the middle one and the year badges
    // on the vertical, as on the chart itself.
    const QPointF centre(72.0, 82.0);
    const std::array<double, 3> radii{18.0, 34.0, 50.0};
    const QRectF wedgeBox(centre.x() - radii[1], centre.y() - radii[1], 2 * radii[1], 2 * radii[1]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(wedgeColour(0));
    painter.drawPie(wedgeBox, qtAngle(306.0), qtAngle(36.0));

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(InkStrong, 1.4, Qt::SolidLine, Qt::FlatCap));
    for (double r : radii) {
        painter.drawArc(QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    painter.drawLine(QPointF(centre.x() - radii[2] - 4, centre.y()),
                     QPointF(centre.x() + radii[2] + 4, centre.y()));
    for (double angle : {198.0, 234.0, 306.0, 342.0}) {
        const double a = angle * std::numbers::pi / 180.0;
        painter.drawLine(centre, centre + QPointF(radii[2] * std::cos(a), radii[2] * std::sin(a)));
    }

    const QFont badgeFont = artFont(9, QFont::Bold);
    for (std::size_t i = 0; i < radii.size(); ++i) {
        const QRectF badge(centre.x() - 7.5, centre.y() - radii[i] - 5.5, 15, 11);
        painter.setPen(QPen(InkStrong, 1.0));
        painter.setBrush(Paper);
        painter.drawRoundedRect(badge, 2.0, 2.0);
        painter.setFont(badgeFont);
        drawCentredCaps(painter, badge, QString::number((static_cast<int>(i) + 3) * yearsPerRing),
                        Qt::AlignHCenter);
    }

    painter.setFont(artFont(13, QFont::Bold));
    painter.setPen(InkStrong);
    const QString caption = yearsPerRing == 1
                                ? QStringLiteral("1 ring = 1 year")
                                : QStringLiteral("1 ring = %1 years").arg(yearsPerRing);
    drawCentredCaps(painter, QRectF(0, 92, LegendSize.width(), 18), caption, Qt::AlignHCenter);
    painter.end();
    return image;
}

QImage drawBadge(int years) {
    QImage image = blankImage(BadgeSize, Qt::transparent);
    QPainter painter(&image);
    beginArt(painter);
    painter.setPen(QPen(InkStrong, 1.0));
    painter.setBrush(Paper);
    painter.drawRoundedRect(QRectF(0.5, 0.5, BadgeSize.width() - 1.0, BadgeSize.height() - 1.0),
                            2.5, 2.5);
    QFont font = artFont(10, QFont::Bold);
    if (years >= 10) {
        // Two digits set a pixel closer keep a pixel of white on each side inside the frame.
        font.setLetterSpacing(QFont::AbsoluteSpacing, -1.0);
    }
    painter.setFont(font);
    drawCentredCaps(painter, QRectF(1, 1, BadgeSize.width() - 2, BadgeSize.height() - 2),
                    QString::number(years), Qt::AlignHCenter);
    painter.end();
    return image;
}

QImage drawWedge() {
    QImage image = blankImage(WedgeSize, Qt::transparent);
    QPainter painter(&image);
    beginArt(painter);
    // A 36-degree wedge opening up and to the right, its apex placed so that the whole pie sits
    // centred in the picture.
    const QPointF apex(6.0, 28.0);
    const double r = 25.0;
    const QRectF box(apex.x() - r, apex.y() - r, 2 * r, 2 * r);
    painter.setPen(QPen(InkStrong, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(wedgeColour(0));
    painter.drawPie(box, qtAngle(288.0), qtAngle(36.0));
    painter.end();
    return image;
}

QImage drawPreview(const PreviewScene& scene) {
    QImage image = blankImage(QSize(ChartWidth, ChartHeight), Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(QRect(0, 0, ChartWidth, ChartHeight), drawBackground());

    const std::vector<int> radii = ringRadii(scene.ringYears.size());
    const int step = scene.ringYears.size() > 1 ? scene.ringYears[1] - scene.ringYears[0] : 1;
    painter.drawImage(LegendBox, drawLegend(step <= 1 ? 1 : 2));

    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (int domain = 0; domain < DomainCount; ++domain) {
        const int value = scene.values[static_cast<std::size_t>(domain)];
        if (value == 0) {
            continue;
        }
        int r = -1;
        for (std::size_t i = 0; i < radii.size(); ++i) {
            if (scene.ringYears[i] >= value) {
                r = radii[i];
                break;
            }
        }
        if (r < 0) {
            continue;
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(wedgeColour(domain));
        painter.drawPie(QRect(CentreX - r, CentreY - r, 2 * r, 2 * r),
                        qtAngle(270.0 + 36.0 * domain), qtAngle(36.0));
    }
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, 1.8));
    for (int r : radii) {
        painter.drawEllipse(QRect(CentreX - r, CentreY - r, 2 * r, 2 * r));
    }
    const int outermost = radii.empty() ? 0 : radii.back();
    for (int a = 18; a < 360; a += 36) {
        painter.drawLine(QPointF(CentreX, CentreY), polar(outermost, a));
    }

    for (int k = static_cast<int>(radii.size()) - 1; k >= 0; k -= 2) {
        const QImage badge = drawBadge(scene.ringYears[static_cast<std::size_t>(k)]);
        const int r = radii[static_cast<std::size_t>(k)];
        painter.drawImage(QRect(448, 343 - r, 16, 12), badge);
        painter.drawImage(QRect(448, 343 + r, 16, 12), badge);
    }

    QFont ageFont(QStringLiteral("Liberation Sans"));
    ageFont.setPointSize(10);
    ageFont.setBold(true);
    painter.setFont(ageFont);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(218, 94, 200, 20), Qt::AlignLeft, QStringLiteral("Age: 9"));

    const std::array<QString, 4> headerTexts{
        QStringLiteral("Sam Example"), QStringLiteral("2015/03/14"), QStringLiteral("2024/06/01"),
        QStringLiteral("J. Teacher")};
    auto valueText = [&](int domain) {
        const int value = scene.values[static_cast<std::size_t>(domain)];
        return value == 0 ? QString() : QString::number(value);
    };
    if (scene.asPrinted) {
        // On paper there are no fields: their texts are drawn in the chart's own font instead.
        for (int domain = 0; domain < DomainCount; ++domain) {
            const QRect& field = DomainFields[static_cast<std::size_t>(domain)];
            painter.drawText(QRectF(field.left() + 13 - 30, field.top(), 60, 20),
                             Qt::AlignHCenter | Qt::AlignTop, valueText(domain));
        }
        for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
            const QRect& field = HeaderFields[i].rect;
            painter.drawText(QRectF(field.left(), field.top() + 3, 200, 20),
                             Qt::AlignLeft | Qt::AlignTop, headerTexts[i]);
        }
        painter.end();
        return image;
    }

    // The fields as the window shows them: white line edits with a grey frame.
    QFont fieldFont(QStringLiteral("Liberation Sans"));
    fieldFont.setPixelSize(12);
    painter.setFont(fieldFont);
    auto drawField = [&](const QRect& rect, const QString& text, Qt::Alignment align) {
        painter.setPen(QPen(QColor(0x8A, 0x8A, 0x8A), 1.0));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        if (scene.withFieldTexts) {
            painter.setPen(Qt::black);
            painter.drawText(rect.adjusted(3, 0, -3, 0),
                             static_cast<int>((align | Qt::AlignVCenter).toInt()), text);
        }
    };
    for (int domain = 0; domain < DomainCount; ++domain) {
        drawField(DomainFields[static_cast<std::size_t>(domain)], valueText(domain),
                  Qt::AlignHCenter);
    }
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        drawField(HeaderFields[i].rect, headerTexts[i], Qt::AlignLeft);
    }
    painter.end();
    return image;
}

bool writeArtwork(const QString& folder, QString& error) {
    auto save = [&](const QImage& image, const QString& name) {
        QImageWriter writer(folder + QLatin1Char('/') + name, "png");
        writer.setQuality(0); // the strongest compression; PNG stays lossless
        if (!writer.write(image)) {
            error = name + QStringLiteral(": ") + writer.errorString();
            return false;
        }
        return true;
    };
    if (!save(drawBackground(), QStringLiteral("background.png")) ||
        !save(drawWedge(), QStringLiteral("wedge.png")) ||
        !save(drawLegend(1), QStringLiteral("one_year.png")) ||
        !save(drawLegend(2), QStringLiteral("two_years.png"))) {
        return false;
    }
    for (int years = FirstBadgeYears; years <= LastBadgeYears; ++years) {
        if (!save(drawBadge(years), QStringLiteral("badge%1.png").arg(years))) {
            return false;
        }
    }
    return true;
}

} // namespace tanu::artwork
