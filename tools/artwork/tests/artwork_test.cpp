#include "../artwork.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

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
    for (int d = 0; d < DomainCount; ++d) {
        rects.push_back({QStringLiteral("domain field %1").arg(d), DomainFields[std::size_t(d)]});
    }
    for (const HeaderField& field : HeaderFields) {
        rects.push_back({QString::fromLatin1(field.label), field.rect});
    }
    return rects;
}

// Everything the backdrop writes.
std::vector<NamedRect> backdropTexts() {
    std::vector<NamedRect> rects;
    for (int d = 0; d < DomainCount; ++d) {
        const DomainLabel label = domainLabel(d);
        rects.push_back({label.text, label.textRect});
        rects.push_back({label.text + QStringLiteral(" swatch"), label.swatch});
    }
    for (int i = 0; i < static_cast<int>(HeaderFields.size()); ++i) {
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
    for (int d = 0; d < DomainCount; ++d) {
        const DomainLabel label = domainLabel(d);
        const QRect& field = DomainFields[std::size_t(d)];
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
    for (int d = 0; d < DomainCount; ++d) {
        EXPECT_GT(nearestDistance(DomainFields[std::size_t(d)]), CollarOuterRadius + 1.0) << d;
    }
}

TEST(ArtworkLayout, HeaderLabelsEndJustBeforeTheirFieldAndStayLegible) {
    const QImage background = drawBackground();
    for (int i = 0; i < static_cast<int>(HeaderFields.size()); ++i) {
        const HeaderLabel label = headerLabel(i);
        const QRect& field = HeaderFields[std::size_t(i)].rect;
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

TEST(ArtworkPictures, HaveTheirChartSizes) {
    struct Case {
        const char* name;
        std::function<QImage()> draw;
        QSize size;
    };
    const Case cases[] = {
        {"background", drawBackground, QSize(ChartWidth, ChartHeight)},
        {"one year legend", [] { return drawLegend(1); }, LegendSize},
        {"two years legend", [] { return drawLegend(2); }, LegendSize},
        {"badge 2", [] { return drawBadge(2); }, BadgeSize},
        {"badge 22", [] { return drawBadge(22); }, BadgeSize},
        {"wedge", drawWedge, WedgeSize},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.draw().size(), c.size) << c.name;
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
    for (int y = CentreY - OuterRadius; y <= CentreY + OuterRadius; ++y) {
        for (int x = CentreX - OuterRadius; x <= CentreX + OuterRadius; ++x) {
            if (distanceFromCentre(QPoint(x, y)) < OuterRadius - 1) {
                ASSERT_TRUE(isPaper(background.pixel(x, y))) << x << "," << y;
            }
        }
    }
}

TEST(ArtworkPictures, FieldBedsDoNotShowAroundTheFields) {
    // The fields cover their beds exactly; nothing of a bed may bleed past a field's edge.
    const QImage background = drawBackground();
    std::vector<QRect> fields(DomainFields.begin(), DomainFields.end());
    for (const HeaderField& field : HeaderFields) {
        fields.push_back(field.rect);
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
    for (int years = FirstBadgeYears; years <= LastBadgeYears; ++years) {
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
    for (int years = FirstBadgeYears; years <= LastBadgeYears; ++years) {
        badges.push_back(drawBadge(years));
    }
    for (std::size_t i = 0; i < badges.size(); ++i) {
        for (std::size_t j = i + 1; j < badges.size(); ++j) {
            EXPECT_NE(badges[i], badges[j]) << i + 2 << " and " << j + 2;
        }
    }
    EXPECT_NE(drawLegend(1), drawLegend(2));
}

TEST(ArtworkFiles, WritesEveryPictureTheProgramLoadsReproducibly) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    QString error;
    ASSERT_TRUE(writeArtwork(first.path(), error)) << qPrintable(error);
    ASSERT_TRUE(writeArtwork(second.path(), error)) << qPrintable(error);

    QStringList names{"background.png", "wedge.png", "one_year.png", "two_years.png"};
    for (int years = 2; years <= 22; ++years) {
        names << QStringLiteral("badge%1.png").arg(years);
    }
    EXPECT_EQ(QDir(first.path()).entryList(QDir::Files).size(), names.size());
    for (const QString& name : names) {
        QFile a(first.filePath(name));
        QFile b(second.filePath(name));
        ASSERT_TRUE(a.open(QIODevice::ReadOnly)) << qPrintable(name);
        ASSERT_TRUE(b.open(QIODevice::ReadOnly)) << qPrintable(name);
        const QByteArray bytes = a.readAll();
        EXPECT_EQ(bytes, b.readAll()) << qPrintable(name) << " differs between two runs";
        EXPECT_FALSE(QImage::fromData(bytes, "png").isNull()) << qPrintable(name);
    }
    EXPECT_EQ(QImage(first.filePath("badge22.png")).size(), BadgeSize);
    EXPECT_EQ(QImage(first.filePath("background.png")).size(), QSize(ChartWidth, ChartHeight));
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
