#include "artwork.h"

#include "chart/chart_artwork.h"
#include "shell/qt/surface/qpainter_surface.h"
#include "shell/qt/surface/qt_artwork.h"

#include <QFontMetricsF>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

#include <cmath>
#include <memory>
#include <numbers>
#include <string>
#include <string_view>
#include <utility>

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
// Starts just past the outermost ring's stroke; inside the circle the backdrop stays plain.
constexpr double CollarInner = OutermostRadius + 1.0;
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

QImage blankImage(QSize size, const QColor& fill, int scale = 1) {
    QImage image(size * scale, QImage::Format_ARGB32_Premultiplied);
    // 96 dpi at the chart's size, so point-sized text in the preview matches the window.
    image.setDotsPerMeterX(3780 * scale);
    image.setDotsPerMeterY(3780 * scale);
    image.fill(fill);
    return image;
}

void beginArt(QPainter& painter, int scale = 1) {
    painter.scale(scale, scale);
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
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderLabel label = headerLabel(i);
        painter.setFont(label.font);
        painter.setPen(Ink);
        drawCentredCaps(painter, label.textRect, label.text, Qt::AlignRight);
        drawFieldBed(painter, fieldBox(HeaderFields[i].id));
    }
}

void drawCollar(QPainter& painter) {
    // A pale band in each domain's colour just outside the outermost ring, so a wedge's colour
    // can be matched to its domain even where the wedge is short.
    const QRectF outer(CentreX - CollarOuter, CentreY - CollarOuter, 2 * CollarOuter,
                       2 * CollarOuter);
    const QRectF inner(CentreX - CollarInner, CentreY - CollarInner, 2 * CollarInner,
                       2 * CollarInner);
    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        const double start = 270.0 + 36.0 * static_cast<double>(domain);
        QPainterPath band;
        band.arcMoveTo(outer, -start);
        band.arcTo(outer, -start, -36.0);
        band.arcTo(inner, -(start + 36.0), 36.0);
        band.closeSubpath();
        painter.fillPath(band, mix(domainColour(domain), Paper, 0.55));
    }
    // White seams where the spokes meet the collar.
    painter.setPen(QPen(Paper, 1.6, Qt::SolidLine, Qt::FlatCap));
    for (std::size_t spoke = 0; spoke < DomainCount; ++spoke) {
        const double angle = 18.0 + 36.0 * static_cast<double>(spoke);
        painter.drawLine(polar(CollarInner - 0.5, angle), polar(CollarOuter + 0.5, angle));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Hairline, 1.0));
    painter.drawEllipse(outer);
}

void drawDomainLabels(QPainter& painter) {
    for (std::size_t domain = 0; domain < DomainCount; ++domain) {
        const DomainLabel label = domainLabel(domain);
        drawFieldBed(painter, domainFieldBox(domain));

        painter.setPen(QPen(mix(domainColour(domain), InkStrong, 0.45), 1.0));
        painter.setBrush(domainColour(domain));
        painter.drawRoundedRect(QRectF(label.swatch).adjusted(0.5, 0.5, -0.5, -0.5), 2.0, 2.0);

        painter.setFont(artFont(DomainLabelPixels, QFont::DemiBold));
        painter.setPen(Ink);
        drawCentredCaps(painter, label.textRect, label.text, Qt::AlignLeft);
    }
}

// The preview's student: assessed on the day the preview is "taken".
const CalendarDate PreviewToday{2024, 6, 1};
// The header fields in field order, for the sample student and as at start.
const std::array<std::u16string_view, 4> SampleHeaderTexts{u"Sam Example", u"2015/03/14",
                                                           u"2024/06/01", u"J. Teacher"};
const std::array<std::u16string_view, 4> StartHeaderTexts{u"", DatePlaceholder, DatePlaceholder,
                                                          u""};

std::u16string digitsOf(std::uint32_t value) {
    const std::string digits = std::to_string(value);
    return {digits.begin(), digits.end()};
}

// What the window would hold for the scene: the domain fields show the values, the age follows
// from the date of birth.
ChartContent previewContent(const PreviewScene& scene) {
    ChartContent content;
    rebuildRings(content.model, scene.low, scene.high);
    content.model.domainValues = scene.values;
    for (std::size_t k = 0; k < DomainCount; ++k) {
        const std::uint32_t value = scene.values[k];
        content.fieldTexts[k] = value == 0 ? std::u16string() : digitsOf(value);
    }
    const auto& headers = scene.withHeaderTexts ? SampleHeaderTexts : StartHeaderTexts;
    for (std::size_t k = 0; k < headers.size(); ++k) {
        content.fieldTexts[DomainCount + k] = headers[k];
    }
    if (scene.withHeaderTexts) {
        const DateValue birth = parseDateText(headers[1]);
        const std::string age = std::to_string(
            isAcceptableDate(birth, PreviewToday) ? ageFromDate(birth, PreviewToday) : 0);
        content.ageText.assign(age.begin(), age.end());
    }
    return content;
}

std::unique_ptr<Bitmap> artworkImage(QImage image) {
    return std::make_unique<qt::QtBitmap>(std::move(image));
}

// The pictures as this build draws them, handed to the painter without a round trip through
// files.
ImageSet freshImageSet() {
    ImageSet images;
    images.background = artworkImage(drawBackground());
    images.wedge = artworkImage(drawWedge());
    images.oneYearLegend = artworkImage(drawLegend(1));
    images.twoYearsLegend = artworkImage(drawLegend(2));
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        images.badges[k] = artworkImage(drawBadge(MinYears + static_cast<std::uint32_t>(k)));
    }
    return images;
}

// The fields as the window shows them over the chart: white line edits with a grey frame.
void drawFields(QPainter& painter, const ChartContent& content) {
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    for (std::size_t k = 0; k < PrintedFieldCount; ++k) {
        const int id = DomainField + static_cast<int>(k);
        const FieldRect field = fieldRect(id);
        const QRect rect(field.x, field.y, field.width, field.height);
        painter.setPen(QPen(QColor(0x8A, 0x8A, 0x8A), 1.0));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(rect).adjusted(0.5, 0.5, -0.5, -0.5));
        painter.setPen(Qt::black);
        const Qt::Alignment align = isDomainField(id) ? Qt::AlignHCenter : Qt::AlignLeft;
        painter.drawText(rect.adjusted(3, 0, -3, 0),
                         static_cast<int>((align | Qt::AlignVCenter).toInt()),
                         QString::fromStdU16String(content.fieldTexts[k]));
    }
}

} // namespace

QRect fieldBox(int fieldId) {
    const FieldRect r = fieldRect(fieldId);
    return QRect(r.x, r.y, r.width, r.height);
}

QRect domainFieldBox(std::size_t domain) {
    return fieldBox(DomainField + static_cast<int>(domain));
}

QColor domainColour(std::size_t domain) {
    return QColor::fromRgba(wedgeColour(domain));
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

HeaderLabel headerLabel(std::size_t index) {
    const HeaderField& field = HeaderFields[index];
    const QRect box = fieldBox(field.id);
    HeaderLabel label;
    label.text = QString::fromLatin1(field.label);
    const int right = box.left() - HeaderLabelGap;
    int pixels = HeaderLabelPixels;
    label.font = artFont(pixels);
    while (pixels > MinLabelPixels && right - textWidth(label.font, label.text) < HeaderLabelLeft) {
        label.font = artFont(--pixels);
    }
    const int width = textWidth(label.font, label.text);
    label.textRect = QRect(right - width, box.top(), width, box.height());
    return label;
}

DomainLabel domainLabel(std::size_t domain) {
    const QRect field = domainFieldBox(domain);
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

QImage drawBackground(int scale) {
    QImage image = blankImage(QSize(ChartWidth, ChartHeight), Paper, scale);
    QPainter painter(&image);
    beginArt(painter, scale);
    drawTitle(painter);
    drawHeader(painter);
    drawCollar(painter);
    drawDomainLabels(painter);
    drawFooter(painter);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

QImage drawLegend(int yearsPerRing, int scale) {
    QImage image = blankImage(LegendSize, Qt::transparent, scale);
    QPainter painter(&image);
    beginArt(painter, scale);

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
    painter.setBrush(domainColour(0));
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

QImage drawBadge(std::uint32_t years, int scale) {
    QImage image = blankImage(BadgeSize, Qt::transparent, scale);
    QPainter painter(&image);
    beginArt(painter, scale);
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

QImage drawWedge(int scale) {
    QImage image = blankImage(WedgeSize, Qt::transparent, scale);
    QPainter painter(&image);
    beginArt(painter, scale);
    // A 36-degree wedge opening up and to the right, its apex placed so that the whole pie sits
    // centred in the picture.
    const QPointF apex(6.0, 28.0);
    const double r = 25.0;
    const QRectF box(apex.x() - r, apex.y() - r, 2 * r, 2 * r);
    painter.setPen(QPen(InkStrong, 1.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    painter.setBrush(domainColour(0));
    painter.drawPie(box, qtAngle(288.0), qtAngle(36.0));
    painter.end();
    return image;
}

QImage drawPreview(const PreviewScene& scene) {
    const ChartContent content = previewContent(scene);

    const ImageSet images = freshImageSet();
    QImage image = blankImage(QSize(ChartWidth, ChartHeight), Qt::white);
    QPainter painter(&image);
    {
        // Gone before the fields are drawn: it draws the ring outlines it holds back as it goes.
        qt::QPainterSurface surface(painter);
        paintChart(surface, content, images, scene.asPrinted);
    }
    if (!scene.asPrinted) {
        drawFields(painter, content);
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
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@2x.png");
        if (!save(drawBackground(scale), QStringLiteral("background") + suffix) ||
            !save(drawWedge(scale), QStringLiteral("wedge") + suffix) ||
            !save(drawLegend(1, scale), QStringLiteral("one_year") + suffix) ||
            !save(drawLegend(2, scale), QStringLiteral("two_years") + suffix)) {
            return false;
        }
        for (std::uint32_t years = MinYears; years <= MaxYears; ++years) {
            if (!save(drawBadge(years, scale), QStringLiteral("badge%1").arg(years) + suffix)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace tanu::artwork
