#include "chart/chart_painter.h"
#include "form/chart_content.h"

#include "recording_surface.h"
#include "scripted_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>
#include <vector>

namespace tanu {
namespace {

using testing::RecordingSurface;
using testing::StartedForm;

std::vector<std::string> paintCalls(const FormState& state, const ImageSet& images, bool printMode,
                                    IntRect visible = {0, 0, 912, 699}) {
    RecordingSurface surface(visible);
    paintChart(surface, chartContentOf(state), images, printMode);
    return surface.texts();
}

// The badge calls of a paint, as "picture x y".
std::vector<std::string> badgeDraws(const RecordingSurface& surface) {
    std::vector<std::string> out;
    for (const auto* call : surface.named("drawImage")) {
        if (call->text.rfind("drawImage badge", 0) == 0) {
            out.push_back(call->text.substr(std::string("drawImage ").size()));
        }
    }
    return out;
}

TEST(PaintChart, AfterNewDrawsEverythingButWedgesInOrder) {
    StartedForm form;
    newProfile(form.state);
    const ImageSet images = testing::namedImageSet();

    std::vector<std::string> expected = {
        "clear FFFFFFFF",
        "setAntiAlias on",
        "setCompositing SourceOver",
        "drawImage background 0 0 912 699",
        "drawImage oneYearLegend 750 59 144 118",
        // rings and spokes
        "setAntiAlias on",
        "setCompositing SourceOver",
    };
    for (int r = 51; r <= 195; r += 18) {
        expected.push_back("drawEllipse FF000000 1.8 " + std::to_string(456 - r) + " " +
                           std::to_string(349 - r) + " " + std::to_string(2 * r) + " " +
                           std::to_string(2 * r));
    }
    expected.push_back("worldTransform");
    for (int a = 18; a < 360; a += 36) {
        expected.push_back("translateWorld 456 349");
        expected.push_back("rotateWorld " + std::to_string(a));
        expected.push_back("drawLine FF000000 1.8 0 0 195 0");
        expected.push_back("setWorldTransform 1 0 0 1 0 0");
    }
    for (const char* badge :
         {"badge10 448 148 16 12", "badge10 448 538 16 12", "badge8 448 184 16 12",
          "badge8 448 502 16 12", "badge6 448 220 16 12", "badge6 448 466 16 12",
          "badge4 448 256 16 12", "badge4 448 430 16 12", "badge2 448 292 16 12",
          "badge2 448 394 16 12"}) {
        expected.push_back(std::string("drawImage ") + badge);
    }
    expected.push_back("drawString \"Age: -\" Arial 10 bold Near FF000000 218 94 200 20");

    EXPECT_EQ(paintCalls(form.state, images, false), expected);
}

TEST(PaintChart, PenIsTheSinglePrecisionNearestOnePointEight) {
    StartedForm form;
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);
    const auto ellipses = surface.named("drawEllipse");
    const auto lines = surface.named("drawLine");
    ASSERT_EQ(ellipses.size(), 9u);
    ASSERT_EQ(lines.size(), 10u);
    for (const auto* call : ellipses) {
        EXPECT_EQ(call->numbers[0], static_cast<double>(1.8f));
    }
    for (const auto* call : lines) {
        EXPECT_EQ(call->numbers[0], static_cast<double>(1.8f));
    }
}

struct BadgeCase {
    std::uint32_t low;
    std::uint32_t high;
    std::vector<std::string> badges;
};

class Badges : public ::testing::TestWithParam<BadgeCase> {};

TEST_P(Badges, OutermostRingThenEverySecondInwardsAboveThenBelow) {
    StartedForm form;
    rebuildRings(form.state.model, GetParam().low, GetParam().high);
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);
    EXPECT_EQ(badgeDraws(surface), GetParam().badges);
}

INSTANTIATE_TEST_SUITE_P(
    Scales, Badges,
    ::testing::Values(
        // Nine rings: positions 8, 6, 4, 2 and 0, the innermost included.
        BadgeCase{7,
                  15,
                  {"badge15 448 148 16 12", "badge15 448 538 16 12", "badge13 448 184 16 12",
                   "badge13 448 502 16 12", "badge11 448 220 16 12", "badge11 448 466 16 12",
                   "badge9 448 256 16 12", "badge9 448 430 16 12", "badge7 448 292 16 12",
                   "badge7 448 394 16 12"}},
        // Six rings (radii 50, 79, 108, 137, 166, 195): positions 5, 3 and 1 only.
        BadgeCase{2,
                  7,
                  {"badge7 448 148 16 12", "badge7 448 538 16 12", "badge5 448 206 16 12",
                   "badge5 448 480 16 12", "badge3 448 264 16 12", "badge3 448 422 16 12"}},
        // Eleven rings two years apart, radii 55 to 195.
        BadgeCase{2,
                  22,
                  {"badge22 448 148 16 12", "badge22 448 538 16 12", "badge18 448 176 16 12",
                   "badge18 448 510 16 12", "badge14 448 204 16 12", "badge14 448 482 16 12",
                   "badge10 448 232 16 12", "badge10 448 454 16 12", "badge6 448 260 16 12",
                   "badge6 448 426 16 12", "badge2 448 288 16 12", "badge2 448 398 16 12"}}),
    [](const ::testing::TestParamInfo<BadgeCase>& param) {
        return "From" + std::to_string(param.param.low) + "To" + std::to_string(param.param.high);
    });

struct LegendCase {
    std::vector<std::uint32_t> years; // innermost first
    const char* legend;
};

class Legend : public ::testing::TestWithParam<LegendCase> {};

TEST_P(Legend, ChosenByTheStepBetweenTheTwoInnermostRings) {
    StartedForm form;
    form.state.model.rings.clear();
    std::int32_t radius = 51;
    for (const std::uint32_t years : GetParam().years) {
        form.state.model.rings.push_back({years, radius});
        radius += 18;
    }
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);
    const auto draws = surface.texts("drawImage");
    ASSERT_GE(draws.size(), 2u);
    EXPECT_EQ(draws[1], std::string("drawImage ") + GetParam().legend + " 750 59 144 118");
}

INSTANTIATE_TEST_SUITE_P(
    Steps, Legend,
    ::testing::Values(LegendCase{{7, 8, 9, 10, 11, 12}, "oneYearLegend"},
                      LegendCase{{9, 11, 13, 15, 17, 19, 21}, "twoYearsLegend"},
                      LegendCase{{5, 5}, "oneYearLegend"},   // step 0
                      LegendCase{{5, 8}, "twoYearsLegend"},  // step 3
                      LegendCase{{6, 5}, "twoYearsLegend"}), // wraps around to a huge step
    [](const ::testing::TestParamInfo<LegendCase>& param) {
        return "Step" + std::to_string(param.index);
    });

struct WedgeCase {
    std::size_t domain;
    const char* colour;
    int start;
};

class Wedge : public ::testing::TestWithParam<WedgeCase> {};

TEST_P(Wedge, ColourAndUnreducedStartAngleOfEachDomain) {
    StartedForm form; // scale 7..15, radii 51..195
    form.state.model.domainValues[GetParam().domain] = 11;
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);
    EXPECT_EQ(surface.texts("fillPie"),
              std::vector<std::string>{std::string("fillPie ") + GetParam().colour +
                                       " 333 226 246 246 " + std::to_string(GetParam().start) +
                                       " 36"});
}

INSTANTIATE_TEST_SUITE_P(
    Domains, Wedge,
    ::testing::Values(WedgeCase{0, "FF5CFF88", 270}, WedgeCase{1, "FF5CFF88", 306},
                      WedgeCase{2, "FF5CFF88", 342}, WedgeCase{3, "FF5CFF88", 378},
                      WedgeCase{4, "FFFF7CFD", 414}, WedgeCase{5, "FFF9FD86", 450},
                      WedgeCase{6, "FFF9FD86", 486}, WedgeCase{7, "FFFFA053", 522},
                      WedgeCase{8, "FF9087FE", 558}, WedgeCase{9, "FF9087FE", 594}),
    [](const ::testing::TestParamInfo<WedgeCase>& param) {
        return "Domain" + std::to_string(param.param.domain);
    });

TEST(PaintChart, WedgesReachTheRingThatHoldsTheValueAndCopyOverTheBackground) {
    StartedForm form;
    rebuildRings(form.state.model, 2, 22); // 2, 4, ..., 22 at radii 55, 69, ..., 195
    form.state.model.domainValues = {5, 0, 6, 22, 0, 0, 2, 0, 1, 21};
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);

    const std::vector<std::string> expected = {
        "setCompositing SourceCopy", "fillPie FF5CFF88 373 266 166 166 270 36", // 5 -> ring 6
        "setCompositing SourceCopy", "fillPie FF5CFF88 373 266 166 166 342 36", // 6 on ring 6
        "setCompositing SourceCopy", "fillPie FF5CFF88 261 154 390 390 378 36", // 22 outermost
        "setCompositing SourceCopy", "fillPie FFF9FD86 401 294 110 110 486 36", // 2 innermost
        "setCompositing SourceCopy", "fillPie FF9087FE 401 294 110 110 558 36", // 1 below all
        "setCompositing SourceCopy", "fillPie FF9087FE 261 154 390 390 594 36", // 21 -> 22
        "setAntiAlias on",           "setCompositing SourceOver",
    };
    const auto calls = surface.texts();
    // From the legend up to the first ring.
    const auto first =
        std::find(calls.begin(), calls.end(), "drawImage twoYearsLegend 750 59 144 118");
    ASSERT_NE(first, calls.end());
    EXPECT_EQ(std::vector<std::string>(first + 1, first + 1 + static_cast<long>(expected.size())),
              expected);
}

TEST(PaintChart, SpokesRunFromTheCentreToTheOutermostRingOnTheWedgeBorders) {
    StartedForm form;
    rebuildRings(form.state.model, 2, 7); // outermost radius 195
    RecordingSurface surface({0, 0, 1100, 850});
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), true);
    const auto lines = surface.named("drawLine");
    ASSERT_EQ(lines.size(), 10u);
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const double angle = (18.0 + 36.0 * static_cast<double>(j)) * 3.14159265358979 / 180.0;
        const auto [cx, cy] = testing::applyTransform(lines[j]->transform, 0, 0);
        const auto [ex, ey] = testing::applyTransform(lines[j]->transform, 195, 0);
        // The page centring (94, 75) stays under each spoke.
        EXPECT_NEAR(cx, 456 + 94, 1e-3);
        EXPECT_NEAR(cy, 349 + 75, 1e-3);
        EXPECT_NEAR(ex, 456 + 94 + 195 * std::cos(angle), 1e-3) << j;
        EXPECT_NEAR(ey, 349 + 75 + 195 * std::sin(angle), 1e-3) << j;
    }
    // Restored to the centring after each spoke, so the badges stand where they belong.
    for (const auto* call : surface.named("setWorldTransform")) {
        EXPECT_EQ(call->text, "setWorldTransform 1 0 0 1 94 75");
    }
    const auto badges = surface.named("drawImage");
    ASSERT_FALSE(badges.empty());
    EXPECT_FLOAT_EQ(badges.back()->transform.dx, 94);
    EXPECT_FLOAT_EQ(badges.back()->transform.m11, 1);
}

struct PageCase {
    int width;
    int height;
    const char* translation;
};

class PrintCentring : public ::testing::TestWithParam<PageCase> {};

TEST_P(PrintCentring, ClearsThenTranslatesByHalfTheSpareRoomTruncatedTowardZero) {
    StartedForm form;
    const auto calls = paintCalls(form.state, testing::namedImageSet(), true,
                                  {17, 23, GetParam().width, GetParam().height});
    ASSERT_GE(calls.size(), 4u);
    EXPECT_EQ(calls[0], "clear FFFFFFFF");
    EXPECT_EQ(calls[1], "visibleBounds");
    EXPECT_EQ(calls[2], std::string("translateWorld ") + GetParam().translation);
    EXPECT_EQ(calls[3], "setAntiAlias on");
}

INSTANTIATE_TEST_SUITE_P(Pages, PrintCentring,
                         ::testing::Values(PageCase{1100, 850, "94 75"}, PageCase{912, 699, "0 0"},
                                           PageCase{911, 698, "0 0"}, PageCase{910, 697, "-1 -1"},
                                           PageCase{900, 699, "-6 0"}, PageCase{0, 0, "-456 -349"}),
                         [](const ::testing::TestParamInfo<PageCase>& param) {
                             return "Page" + std::to_string(param.param.width) + "x" +
                                    std::to_string(param.param.height);
                         });

TEST(PaintChart, ScreenModeNeitherCentresNorPrintsFieldTexts) {
    StartedForm form;
    form.host.setFieldText(DomainField, u"9");
    RecordingSurface surface({0, 0, 1100, 850});
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), false);
    EXPECT_TRUE(surface.named("visibleBounds").empty());
    EXPECT_EQ(surface.named("translateWorld").size(), 10u); // the spokes' only
    EXPECT_EQ(surface.texts("drawString"),
              std::vector<std::string>{
                  "drawString \"Age: -\" Arial 10 bold Near FF000000 218 94 200 20"});
}

TEST(PaintChart, PrintModeDrawsTheFieldTextsAfterTheAgeLine) {
    StartedForm form;
    form.state.ageText = u"12";
    const std::u16string domainTexts[10] = {u"10", u"",   u"12", u"13", u"14",
                                            u"15", u"16", u"",   u"8",  u"9"};
    for (int k = 0; k < 10; ++k) {
        form.host.setFieldText(DomainField + k, domainTexts[k]);
    }
    form.host.setFieldText(FirstTextField, u"Ana \u00e9 \u4e2d");
    form.host.setFieldText(SecondTextField, std::u16string(600, u'x'));
    // The two date fields still show their placeholder, which prints as it stands.

    RecordingSurface surface({0, 0, 912, 699});
    paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), true);
    const auto strings = surface.named("drawString");
    const std::vector<std::string> expected = {
        "drawString \"Age: 12\" Arial 10 bold Near FF000000 218 94 200 20",
        "drawString \"10\" Arial 10 bold Center FF000000 500 127 60 20",
        "drawString \"\" Arial 10 bold Center FF000000 645 221 60 20",
        "drawString \"12\" Arial 10 bold Center FF000000 666 338 60 20",
        "drawString \"13\" Arial 10 bold Center FF000000 629 476 60 20",
        "drawString \"14\" Arial 10 bold Center FF000000 518 577 60 20",
        "drawString \"15\" Arial 10 bold Center FF000000 359 576 60 20",
        "drawString \"16\" Arial 10 bold Center FF000000 206 477 60 20",
        "drawString \"\" Arial 10 bold Center FF000000 180 339 60 20",
        "drawString \"8\" Arial 10 bold Center FF000000 226 210 60 20",
        "drawString \"9\" Arial 10 bold Center FF000000 357 128 60 20",
        "drawString \"Ana \xc3\xa9 \xe4\xb8\xad\" Arial 10 bold Near FF000000 73 72 200 20",
        "drawString \"YYYY/MM/DD\" Arial 10 bold Near FF000000 115 95 200 20",
        "drawString \"YYYY/MM/DD\" Arial 10 bold Near FF000000 180 118 200 20",
        "drawString \"" + std::string(499, 'x') + "\" Arial 10 bold Near FF000000 115 141 200 20",
    };
    EXPECT_EQ(surface.texts("drawString"), expected);
    // The texts come last of all.
    EXPECT_EQ(surface.calls.back().op, "drawString");
    EXPECT_EQ(surface.calls[surface.calls.size() - expected.size()].text, expected[0]);
}

TEST(PaintChart, ChangesNothingItReads) {
    StartedForm form;
    form.host.enter(BirthDateField, u"2014/3/4");
    form.host.enter(DomainField + 2, u"14");
    const ChartModel modelBefore = form.state.model;
    const std::u16string ageBefore = form.state.ageText;
    const ImageSet images = testing::namedImageSet();
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), images, true);
    EXPECT_EQ(form.state.ageText, ageBefore);
    EXPECT_EQ(form.state.model.domainValues, modelBefore.domainValues);
    ASSERT_EQ(form.state.model.rings.size(), modelBefore.rings.size());
    for (std::size_t i = 0; i < modelBefore.rings.size(); ++i) {
        EXPECT_EQ(form.state.model.rings[i].years, modelBefore.rings[i].years);
        EXPECT_EQ(form.state.model.rings[i].radius, modelBefore.rings[i].radius);
    }
    EXPECT_EQ(testing::toUtf8(form.host.fieldText(DomainField + 2)), "14");
}

TEST(PaintChart, MissingPicturesFailQuietlyAndTheRestIsDrawn) {
    StartedForm form;
    form.state.model.domainValues[0] = 9;
    ImageSet images = testing::namedImageSet();
    images.background.reset(); // decoding failed
    images.oneYearLegend.reset();
    images.badges[7 - 2].reset();

    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), images, false);
    const auto draws = surface.texts("drawImage");
    ASSERT_GE(draws.size(), 2u);
    EXPECT_EQ(draws[0], "drawImage null 0 0 912 699");
    EXPECT_EQ(draws[1], "drawImage null 750 59 144 118");
    // Rings of 7 years lose their badge; the others keep theirs.
    EXPECT_EQ(badgeDraws(surface),
              (std::vector<std::string>{"badge15 448 148 16 12", "badge15 448 538 16 12",
                                        "badge13 448 184 16 12", "badge13 448 502 16 12",
                                        "badge11 448 220 16 12", "badge11 448 466 16 12",
                                        "badge9 448 256 16 12", "badge9 448 430 16 12"}));
    EXPECT_EQ(draws[draws.size() - 2], "drawImage null 448 292 16 12");
    EXPECT_EQ(draws.back(), "drawImage null 448 394 16 12");
    EXPECT_EQ(surface.named("fillPie").size(), 1u);
    EXPECT_EQ(surface.named("drawEllipse").size(), 9u);
    EXPECT_EQ(surface.named("drawString").size(), 1u);
}

TEST(PaintChart, AnEmptyImageSetStillDrawsTheChartOnWhite) {
    StartedForm form;
    form.state.model.domainValues[4] = 12;
    const ImageSet nothing;
    RecordingSurface surface;
    paintChart(surface, chartContentOf(form.state), nothing, false);
    for (const auto& draw : surface.texts("drawImage")) {
        EXPECT_EQ(draw.rfind("drawImage null ", 0), 0u) << draw;
    }
    EXPECT_EQ(surface.calls.front().text, "clear FFFFFFFF");
    EXPECT_EQ(surface.named("fillPie").size(), 1u);
    EXPECT_EQ(surface.named("drawLine").size(), 10u);
}

// Models the painter can meet only when something upstream went wrong: it must draw what it
// can without reading past the rings or the badges, and never fill a pie of negative size.
struct BrokenCase {
    const char* name;
    std::vector<RingMark> rings;
    std::array<std::uint32_t, DomainCount> values;
    std::size_t badgeDraws;
    std::size_t pies;
    std::size_t spokes;
    std::size_t legends;
};

class BrokenGuarantees : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(BrokenGuarantees, DrawWhatItCanAndNothingOutOfRange) {
    for (const bool printMode : {false, true}) {
        StartedForm form;
        form.state.model.rings = GetParam().rings;
        form.state.model.domainValues = GetParam().values;
        RecordingSurface surface;
        paintChart(surface, chartContentOf(form.state), testing::namedImageSet(), printMode);
        EXPECT_EQ(badgeDraws(surface).size(), GetParam().badgeDraws);
        EXPECT_EQ(surface.named("fillPie").size(), GetParam().pies);
        EXPECT_EQ(surface.named("drawLine").size(), GetParam().spokes);
        std::size_t legends = 0;
        for (const auto& draw : surface.texts("drawImage")) {
            if (draw.find("Legend") != std::string::npos) {
                ++legends;
            }
        }
        EXPECT_EQ(legends, GetParam().legends);
        for (const auto* pie : surface.named("fillPie")) {
            EXPECT_GE(pie->numbers[2], 0);
            EXPECT_GE(pie->numbers[3], 0);
        }
        // The age line is always there.
        EXPECT_EQ(surface.texts("drawString").front().rfind("drawString \"Age: ", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BrokenGuarantees,
    ::testing::Values(BrokenCase{"NoRings", {}, {5, 7, 0, 0, 0, 0, 0, 0, 0, 22}, 0, 0, 0, 0},
                      BrokenCase{
                          "OneRing", {{10, 195}}, {5, 11, 0, 0, 0, 0, 0, 0, 0, 10}, 2, 2, 10, 0},
                      BrokenCase{"YearsOutsideTheBadges",
                                 {{0, 51}, {1, 80}, {23, 110}, {100, 140}, {4000000000u, 195}},
                                 {1, 23, 24, 0, 0, 0, 0, 0, 0, 0},
                                 0,
                                 3,
                                 10,
                                 1},
                      BrokenCase{"ValueAboveTheOutermostRing",
                                 {{7, 51}, {8, 69}, {9, 87}, {10, 105}, {11, 123}, {12, 141}},
                                 {13, 22, 12, 0, 0, 0, 0, 0, 0, 0xFFFFFFFFu},
                                 6,
                                 1,
                                 10,
                                 1},
                      BrokenCase{"NegativeAndHugeRadii",
                                 {{2, -40}, {4, 2147483647}, {6, -2147483647 - 1}},
                                 {2, 4, 6, 0, 0, 0, 0, 0, 0, 0},
                                 4,
                                 1,
                                 10,
                                 1}),
    [](const ::testing::TestParamInfo<BrokenCase>& param) {
        return std::string(param.param.name);
    });

} // namespace
} // namespace tanu
