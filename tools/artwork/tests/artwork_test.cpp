#include "../artwork.h"
#include "../icon.h"

#include "shell/qt/surface/qt_artwork.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace tanu::artwork {
namespace {

bool isPaper(QRgb pixel) {
    return qAlpha(pixel) == 255 && qRed(pixel) == 255 && qGreen(pixel) == 255 &&
           qBlue(pixel) == 255;
}

// Dark enough to be ink rather than an anti-aliased fringe.
bool isInk(QRgb pixel) {
    return qAlpha(pixel) > 128 && qGray(pixel) < 128;
}

// A field's place read straight from the entry form, independently of the generator's own
// conversion.
QRect formRect(int id) {
    const FieldRect r = fieldRect(id);
    return QRect(r.x, r.y, r.width, r.height);
}

QRect domainFormRect(std::size_t domain) {
    return formRect(DomainField + static_cast<int>(domain));
}

double distanceFromCentre(QPoint p) {
    return std::hypot(p.x() - CentreX, p.y() - CentreY);
}

// The nearest point of rect to the chart centre.
double nearestDistance(const QRect& rect) {
    const int x = std::clamp(CentreX, rect.left(), rect.right());
    const int y = std::clamp(CentreY, rect.top(), rect.bottom());
    return distanceFromCentre(QPoint(x, y));
}

struct NamedRect {
    QString name;
    QRect rect;
};

// Everything the program draws over the backdrop.
std::vector<NamedRect> reservedRects() {
    std::vector<NamedRect> rects{{"legend", LegendBox}, {"age text", AgeTextBox}};
    for (std::size_t d = 0; d < DomainCount; ++d) {
        rects.push_back({QStringLiteral("domain field %1").arg(d), domainFormRect(d)});
    }
    for (const HeaderField& field : HeaderFields) {
        rects.push_back({QString::fromLatin1(field.label), formRect(field.id)});
    }
    return rects;
}

// Everything the backdrop writes.
std::vector<NamedRect> backdropTexts() {
    std::vector<NamedRect> rects;
    for (std::size_t d = 0; d < DomainCount; ++d) {
        const DomainLabel label = domainLabel(d);
        rects.push_back({label.text, label.textRect});
        rects.push_back({label.text + QStringLiteral(" swatch"), label.swatch});
    }
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderLabel label = headerLabel(i);
        rects.push_back({label.text, label.textRect});
    }
    int block = 0;
    for (const QRect& rect : textBlocks()) {
        rects.push_back({QStringLiteral("text block %1").arg(block++), rect});
    }
    return rects;
}

TEST(ArtworkLayout, BackdropTextsCoverNothingTheProgramDrawsOver) {
    for (const NamedRect& text : backdropTexts()) {
        EXPECT_TRUE(QRect(0, 0, ChartWidth, ChartHeight).contains(text.rect))
            << qPrintable(text.name);
        for (const NamedRect& reserved : reservedRects()) {
            EXPECT_FALSE(text.rect.intersects(reserved.rect))
                << qPrintable(text.name) << " covers " << qPrintable(reserved.name);
        }
    }
}

TEST(ArtworkLayout, BackdropTextsDoNotOverlapEachOther) {
    const std::vector<NamedRect> texts = backdropTexts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            EXPECT_FALSE(texts[i].rect.intersects(texts[j].rect))
                << qPrintable(texts[i].name) << " and " << qPrintable(texts[j].name);
        }
    }
}

TEST(ArtworkLayout, DomainLabelsStayOutsideTheCircleBesideTheirField) {
    for (std::size_t d = 0; d < DomainCount; ++d) {
        const DomainLabel label = domainLabel(d);
        const QRect field = domainFormRect(d);
        EXPECT_EQ(label.text, QStringLiteral("Domain %1").arg(d + 1));
        EXPECT_GT(nearestDistance(label.textRect), CollarOuterRadius) << d;
        EXPECT_GT(nearestDistance(label.swatch), CollarOuterRadius) << d;
        // Beside the field: on its row, and the swatch within a few pixels of it.
        EXPECT_TRUE(field.contains(QPoint(field.center().x(), label.swatch.center().y()))) << d;
        const int gap = std::min(std::abs(label.swatch.left() - field.right()),
                                 std::abs(field.left() - label.swatch.right()));
        EXPECT_LE(gap, 8) << d;
    }
}

TEST(ArtworkLayout, CollarLeavesTheDomainFieldsClear) {
    for (std::size_t d = 0; d < DomainCount; ++d) {
        EXPECT_GT(nearestDistance(domainFormRect(d)), CollarOuterRadius + 1.0) << d;
    }
}

TEST(ArtworkLayout, HeaderLabelsEndJustBeforeTheirFieldAndStayLegible) {
    const QImage background = drawBackground();
    for (std::size_t i = 0; i < HeaderFields.size(); ++i) {
        const HeaderLabel label = headerLabel(i);
        const QRect field = formRect(HeaderFields[i].id);
        EXPECT_GE(label.font.pixelSize(), 11) << i;
        // Measured on the picture: the label's ink ends a few pixels before the field and stays
        // within the field's rows.
        int left = field.left(), right = -1, top = ChartHeight, bottom = -1;
        for (int y = field.top() - 4; y <= field.bottom() + 4; ++y) {
            for (int x = 0; x < field.left(); ++x) {
                if (isInk(background.pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << i << " has no label";
        EXPECT_GE(left, 8) << i;
        EXPECT_GE(field.left() - right, 3) << i;
        EXPECT_LE(field.left() - right, 10) << i;
        EXPECT_GE(top, field.top()) << i;
        EXPECT_LE(bottom, field.bottom()) << i;
    }
}

TEST(ArtworkPictures, HaveTheirChartSizesAndTwiceThatForHighDensity) {
    struct Case {
        const char* name;
        std::function<QImage(int)> draw;
        QSize size;
    };
    const Case cases[] = {
        {"background", [](int scale) { return drawBackground(scale); },
         QSize(ChartWidth, ChartHeight)},
        {"one year legend", [](int scale) { return drawLegend(1, scale); }, LegendSize},
        {"two years legend", [](int scale) { return drawLegend(2, scale); }, LegendSize},
        {"badge 2", [](int scale) { return drawBadge(2, scale); }, BadgeSize},
        {"badge 22", [](int scale) { return drawBadge(22, scale); }, BadgeSize},
        {"wedge", [](int scale) { return drawWedge(scale); }, WedgeSize},
    };
    for (const Case& c : cases) {
        for (const int scale : {1, 2}) {
            EXPECT_EQ(c.draw(scale).size(), c.size * scale) << c.name << " at " << scale << "x";
        }
    }
}

TEST(ArtworkPictures, BackdropKeepsTheDrawnOverPlacesClean) {
    const QImage background = drawBackground();
    EXPECT_FALSE(background.hasAlphaChannel());
    // The legend and the age line are drawn over plain paper.
    for (const QRect& box : {LegendBox, AgeTextBox}) {
        for (int y = box.top(); y <= box.bottom(); ++y) {
            for (int x = box.left(); x <= box.right(); ++x) {
                ASSERT_TRUE(isPaper(background.pixel(x, y))) << x << "," << y;
            }
        }
    }
    // Inside the outermost ring only wedges and rings belong.
    for (int y = CentreY - OutermostRadius; y <= CentreY + OutermostRadius; ++y) {
        for (int x = CentreX - OutermostRadius; x <= CentreX + OutermostRadius; ++x) {
            if (distanceFromCentre(QPoint(x, y)) < OutermostRadius - 1) {
                ASSERT_TRUE(isPaper(background.pixel(x, y))) << x << "," << y;
            }
        }
    }
}

TEST(ArtworkPictures, FieldBedsDoNotShowAroundTheFields) {
    // The fields cover their beds exactly; nothing of a bed may bleed past a field's edge.
    const QImage background = drawBackground();
    std::vector<QRect> fields;
    for (std::size_t d = 0; d < DomainCount; ++d) {
        fields.push_back(domainFormRect(d));
    }
    for (const HeaderField& field : HeaderFields) {
        fields.push_back(formRect(field.id));
    }
    for (const QRect& field : fields) {
        const QRect around = field.adjusted(-1, -1, 1, 1);
        for (int x = around.left(); x <= around.right(); ++x) {
            EXPECT_TRUE(isPaper(background.pixel(x, around.top()))) << x << "," << around.top();
            EXPECT_TRUE(isPaper(background.pixel(x, around.bottom())))
                << x << "," << around.bottom();
        }
        for (int y = around.top(); y <= around.bottom(); ++y) {
            EXPECT_TRUE(isPaper(background.pixel(around.left(), y))) << around.left() << "," << y;
            EXPECT_TRUE(isPaper(background.pixel(around.right(), y))) << around.right() << "," << y;
        }
    }
}

TEST(ArtworkPictures, BadgeNumbersSitCentredInsideTheFrame) {
    for (std::uint32_t years = MinYears; years <= MaxYears; ++years) {
        const QImage badge = drawBadge(years);
        // The frame's inside runs from (1, 1) to (14, 10); the number must keep clear of it.
        int left = BadgeSize.width(), right = -1, top = BadgeSize.height(), bottom = -1;
        for (int y = 2; y <= 9; ++y) {
            for (int x = 2; x <= 13; ++x) {
                if (isInk(badge.pixel(x, y))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0) << years << " has no number";
        // Rows 1 and 10 end in the rounded corners, which are frame, not number.
        for (int y = 2; y <= 9; ++y) {
            EXPECT_FALSE(isInk(badge.pixel(1, y))) << years << " touches the left edge";
            EXPECT_FALSE(isInk(badge.pixel(14, y))) << years << " touches the right edge";
        }
        EXPECT_LE(std::abs((left + right) - (BadgeSize.width() - 1)), 2) << years;
        EXPECT_LE(std::abs((top + bottom) - (BadgeSize.height() - 1)), 2) << years;
        // Digits at least 6 pixels tall, so they read at a glance.
        EXPECT_GE(bottom - top + 1, 6) << years;
        // The frame is closed: its middle pixels on all four sides are ink.
        EXPECT_TRUE(isInk(badge.pixel(0, 6)) && isInk(badge.pixel(15, 6))) << years;
        EXPECT_TRUE(isInk(badge.pixel(8, 0)) && isInk(badge.pixel(8, 11))) << years;
    }
}

TEST(ArtworkPictures, EveryBadgeAndLegendIsDistinct) {
    std::vector<QImage> badges;
    for (std::uint32_t years = MinYears; years <= MaxYears; ++years) {
        badges.push_back(drawBadge(years));
    }
    for (std::size_t i = 0; i < badges.size(); ++i) {
        for (std::size_t j = i + 1; j < badges.size(); ++j) {
            EXPECT_NE(badges[i], badges[j]) << i + 2 << " and " << j + 2;
        }
    }
    EXPECT_NE(drawLegend(1), drawLegend(2));
}

// The student of the generator's two-year preview: one empty domain, one at the top of the scale.
PreviewScene sampleScene() {
    PreviewScene scene;
    scene.low = 2;
    scene.high = 22;
    scene.values = {5, 12, 22, 17, 9, 0, 14, 20, 3, 11};
    return scene;
}

// A picture laid unscaled on white paper, as the painter lays it over the plain backdrop.
QImage onPaper(const QImage& picture) {
    QImage paper(picture.size(), QImage::Format_ARGB32_Premultiplied);
    paper.fill(Qt::white);
    QPainter painter(&paper);
    painter.drawImage(0, 0, picture);
    painter.end();
    return paper.convertToFormat(QImage::Format_RGB32);
}

// The pixel at a distance from the chart centre, in degrees clockwise from the positive x axis.
QRgb pixelAt(const QImage& image, double degrees, double radius) {
    const double a = degrees * std::numbers::pi / 180.0;
    return image.pixel(static_cast<int>(std::floor(CentreX + radius * std::cos(a))),
                       static_cast<int>(std::floor(CentreY + radius * std::sin(a))));
}

bool hasInk(const QImage& image, const QRect& box) {
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (isInk(image.pixel(x, y))) {
                return true;
            }
        }
    }
    return false;
}

TEST(ArtworkPreview, ShowsTheLegendThisBuildDrawsForTheScaleStep) {
    struct Case {
        std::uint32_t low;
        std::uint32_t high;
        int yearsPerRing;
    };
    for (const Case c : {Case{2, 10, 1}, Case{7, 15, 1}, Case{2, 22, 2}, Case{6, 18, 2}}) {
        PreviewScene scene;
        scene.low = c.low;
        scene.high = c.high;
        const QImage legend =
            drawPreview(scene).copy(LegendBox).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(legend, onPaper(drawLegend(c.yearsPerRing))) << c.low << ".." << c.high;
        EXPECT_NE(legend, onPaper(drawLegend(3 - c.yearsPerRing))) << c.low << ".." << c.high;
    }
}

TEST(ArtworkPreview, WedgesReachTheRingOfTheirValue) {
    const PreviewScene scene = sampleScene();
    const QImage preview = drawPreview(scene);
    ChartModel model;
    rebuildRings(model, scene.low, scene.high);
    for (std::size_t d = 0; d < DomainCount; ++d) {
        const double middle = 288.0 + 36.0 * static_cast<double>(d);
        const std::uint32_t value = scene.values[d];
        if (value == 0) {
            EXPECT_TRUE(isPaper(pixelAt(preview, middle, 30.0))) << "empty domain " << d;
            continue;
        }
        const double r = radiusForValue(model, value);
        ASSERT_GT(r, 0.0) << d;
        const QRgb colour = domainColour(d).rgba();
        EXPECT_EQ(pixelAt(preview, middle, r - 4.0), colour) << "domain " << d << " inside";
        EXPECT_NE(pixelAt(preview, middle, r + 4.0), colour) << "domain " << d << " outside";
    }
}

TEST(ArtworkPreview, AnEmptyProfileHasNoWedges) {
    const QImage preview = drawPreview(PreviewScene{});
    for (int y = CentreY - OutermostRadius; y <= CentreY + OutermostRadius; ++y) {
        for (int x = CentreX - OutermostRadius; x <= CentreX + OutermostRadius; ++x) {
            if (distanceFromCentre(QPoint(x, y)) >= OutermostRadius - 2) {
                continue;
            }
            for (std::size_t d = 0; d < DomainCount; ++d) {
                ASSERT_NE(preview.pixel(x, y), domainColour(d).rgba()) << x << "," << y;
            }
        }
    }
}

TEST(ArtworkPreview, FieldsOnScreenTheirTextsOnPaper) {
    const QRgb frame = qRgb(0x8A, 0x8A, 0x8A);
    PreviewScene atStart;
    atStart.withHeaderTexts = false;
    PreviewScene printed = sampleScene();
    printed.asPrinted = true;
    struct Case {
        const char* name;
        PreviewScene scene;
        bool framed;
        std::vector<int> emptyFields;
    };
    std::vector<int> noTextAtStart{FirstTextField, SecondTextField};
    for (std::size_t d = 0; d < DomainCount; ++d) {
        noTextAtStart.push_back(DomainField + static_cast<int>(d));
    }
    const Case cases[] = {
        // The date fields show their placeholder until a date is typed.
        {"at start", atStart, true, noTextAtStart},
        {"on screen", sampleScene(), true, {DomainField + 5}},
        {"printed", printed, false, {DomainField + 5}},
    };
    for (const Case& c : cases) {
        const QImage preview = drawPreview(c.scene);
        std::vector<int> ids;
        for (std::size_t d = 0; d < DomainCount; ++d) {
            ids.push_back(DomainField + static_cast<int>(d));
        }
        for (const HeaderField& field : HeaderFields) {
            ids.push_back(field.id);
        }
        for (const int id : ids) {
            const QRect field = formRect(id);
            const bool framed = preview.pixel(field.left(), field.center().y()) == frame &&
                                preview.pixel(field.right(), field.center().y()) == frame &&
                                preview.pixel(field.center().x(), field.top()) == frame &&
                                preview.pixel(field.center().x(), field.bottom()) == frame;
            EXPECT_EQ(framed, c.framed) << c.name << ", field " << id;
            const bool empty =
                std::find(c.emptyFields.begin(), c.emptyFields.end(), id) != c.emptyFields.end();
            EXPECT_EQ(hasInk(preview, field.adjusted(2, 2, -2, -2)), !empty)
                << c.name << ", field " << id;
        }
    }
}

TEST(ArtworkFiles, WritesEveryPictureTheProgramLoadsReproducibly) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    QString error;
    ASSERT_TRUE(writeArtwork(first.path(), error)) << qPrintable(error);
    ASSERT_TRUE(writeArtwork(second.path(), error)) << qPrintable(error);

    // The program's own loader finds every picture it needs, at the size it draws it, and takes
    // each double-size picture as the same picture.
    qt::QtImageDecoder decoder(true);
    ImageSet images;
    images = loadImageSet(first.path().toStdU16String(), decoder);
    struct Expected {
        const std::unique_ptr<Bitmap>* image;
        QString name;
        QSize size;
    };
    std::vector<Expected> expected{
        {&images.background, "background", QSize(ChartWidth, ChartHeight)},
        {&images.wedge, "wedge", WedgeSize},
        {&images.oneYearLegend, "one year legend", LegendSize},
        {&images.twoYearsLegend, "two years legend", LegendSize},
    };
    for (std::size_t k = 0; k < BadgeCount; ++k) {
        expected.push_back(
            {&images.badges[k], QStringLiteral("badge %1").arg(k + MinYears), BadgeSize});
    }
    for (const Expected& e : expected) {
        const auto* bitmap = dynamic_cast<const qt::QtBitmap*>(bitmapOf(*e.image));
        ASSERT_NE(bitmap, nullptr) << qPrintable(e.name) << " did not load";
        EXPECT_EQ(bitmap->image().size(), e.size) << qPrintable(e.name);
        EXPECT_EQ(bitmap->doubleSize().size(), e.size * 2) << qPrintable(e.name);
    }

    // Nothing else is written, and a second run writes the same bytes.
    const QStringList names = QDir(first.path()).entryList(QDir::Files);
    EXPECT_EQ(static_cast<std::size_t>(names.size()), 2 * expected.size())
        << qPrintable(names.join(' '));
    EXPECT_EQ(QDir(second.path()).entryList(QDir::Files), names);
    for (const QString& name : names) {
        QFile a(first.filePath(name));
        QFile b(second.filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly)) << qPrintable(name);
        ASSERT_TRUE(b.open(QIODevice::ReadOnly)) << qPrintable(name);
        EXPECT_EQ(a.readAll(), b.readAll()) << qPrintable(name) << " differs between two runs";
    }
}

QImage inverted(QImage image) {
    image.invertPixels();
    return image;
}

// A school's own 1x picture beside our double-size one must be drawn from its own pixels.
TEST(ArtworkFiles, DoubleSizeIsTakenOnlyForTheSamePicture) {
    QImage relabelled = drawBackground();
    {
        // Another assessment's name for domain 1, in the label's place and style.
        const DomainLabel label = domainLabel(0);
        QPainter painter(&relabelled);
        painter.fillRect(label.textRect.adjusted(0, 0, 30, 0), Qt::white);
        painter.setFont(artFont(12, QFont::DemiBold));
        painter.setPen(QColor(0x3B, 0x47, 0x57));
        painter.drawText(label.textRect.adjusted(0, 0, 30, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Reading"));
    }
    const QImage ours = drawBackground(2);
    struct Case {
        const char* name;
        QImage image;
        QImage doubleSize;
        bool same;
    };
    const Case cases[] = {
        {"our background", drawBackground(), ours, true},
        {"our badge", drawBadge(12), drawBadge(12, 2), true},
        {"our legend", drawLegend(2), drawLegend(2, 2), true},
        {"a relabelled background", relabelled, ours, false},
        {"a badge of another style", inverted(drawBadge(12)), drawBadge(12, 2), false},
        {"the other legend", drawLegend(1), drawLegend(2, 2), false},
        {"a 1x picture of another size", drawBackground().scaled(900, 699), ours, false},
        {"a double size that is not twice", drawBadge(12), drawBadge(12, 2).scaled(30, 24), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qt::showsSamePicture(c.image, c.doubleSize), c.same) << c.name;
    }

    // Through the loader: the school's background.png beside our background@2x.png.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(relabelled.save(dir.filePath("background.png")));
    ASSERT_TRUE(ours.save(dir.filePath("background@2x.png")));
    const auto bitmap =
        qt::QtImageDecoder(true)
            .decodeFile(std::filesystem::path(dir.filePath("background.png").toStdU16String()),
                        largestPictureFor({ChartWidth, ChartHeight}))
            .bitmap;
    const auto* picture = dynamic_cast<const qt::QtBitmap*>(bitmap.get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->image().size(), QSize(ChartWidth, ChartHeight));
    EXPECT_TRUE(picture->doubleSize().isNull());
    EXPECT_EQ(&picture->sourceFor(2.0), &picture->image());
}

TEST(ArtworkIcons, WritesTheThemeIconsAndWindowsIconFilesReproducibly) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    QString error;
    ASSERT_TRUE(writeIcons(first.path(), error)) << qPrintable(error);
    ASSERT_TRUE(writeIcons(second.path(), error)) << qPrintable(error);

    for (const int size : themeIconSizes()) {
        const QImage png(first.filePath(QStringLiteral("hicolor/%1x%1/apps/tanu.png").arg(size)));
        EXPECT_EQ(png.size(), QSize(size, size));
        // Transparent corners around the tile, an opaque chart in the middle.
        EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << size;
        EXPECT_EQ(qAlpha(png.pixel(size / 2, size / 2)), 255) << size;
    }
    QFile svg(first.filePath("hicolor/scalable/apps/tanu.svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray svgText = svg.readAll();
    EXPECT_TRUE(svgText.contains("<svg xmlns=\"http://www.w3.org/2000/svg\""));
    // One path per domain wedge, in the chart's colours.
    EXPECT_EQ(svgText.count("<path "), static_cast<qsizetype>(DomainCount));
    EXPECT_TRUE(svgText.contains(domainColour(4).name().toLatin1()));

    // Both Windows icons, read back by Qt's own ICO reader: every picture at its size and depth.
    struct Ico {
        const char* file;
        std::vector<IcoEntry> entries;
    };
    const Ico icos[] = {
        {"windows/tanu.ico", {{128, 32}, {96, 32}, {64, 32}, {48, 32}, {32, 32}, {16, 32}}},
        {"windows/tanu_small.ico",
         {{32, 4}, {16, 4}, {48, 8}, {32, 8}, {16, 8}, {48, 32}, {32, 32}, {16, 32}}}};
    for (const Ico& ico : icos) {
        SCOPED_TRACE(ico.file);
        QFile file(first.filePath(ico.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        auto word = [&bytes](qsizetype at) {
            return static_cast<int>(static_cast<unsigned char>(bytes.at(at))) |
                   static_cast<int>(static_cast<unsigned char>(bytes.at(at + 1))) << 8;
        };
        ASSERT_EQ(word(2), 1); // an icon
        ASSERT_EQ(word(4), static_cast<int>(ico.entries.size()));
        // Qt's own ICO reader decodes every picture, its mask turned into alpha.
        QImageReader reader(file.fileName(), "ico");
        ASSERT_EQ(reader.imageCount(), static_cast<int>(ico.entries.size()));
        for (std::size_t i = 0; i < ico.entries.size(); ++i) {
            const IcoEntry& entry = ico.entries[i];
            const qsizetype dirEntry = 6 + 16 * static_cast<qsizetype>(i);
            EXPECT_EQ(static_cast<unsigned char>(bytes.at(dirEntry)), entry.size);
            EXPECT_EQ(word(dirEntry + 6), entry.bitsPerPixel) << entry.size;
            const QImage picture = reader.read();
            ASSERT_FALSE(picture.isNull()) << reader.errorString().toStdString();
            EXPECT_EQ(picture.size(), QSize(entry.size, entry.size));
            EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << entry.size;
            EXPECT_EQ(qAlpha(picture.pixel(entry.size / 2, entry.size / 2)), 255) << entry.size;
            reader.jumpToNextImage();
        }
    }

    QDirIterator files(first.path(), QDir::Files, QDirIterator::Subdirectories);
    int count = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        const QString name = QDir(first.path()).relativeFilePath(path);
        QFile a(path);
        QFile b(second.filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << qPrintable(name);
        EXPECT_EQ(a.readAll(), b.readAll()) << qPrintable(name) << " differs between two runs";
        ++count;
    }
    EXPECT_EQ(count, static_cast<int>(themeIconSizes().size()) + 3);
}

TEST(ArtworkFiles, ReportsTheFileItCouldNotWrite) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QString error;
    EXPECT_FALSE(writeArtwork(dir.filePath("missing/folder"), error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("background.png"))) << qPrintable(error);
}

} // namespace
} // namespace tanu::artwork

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
