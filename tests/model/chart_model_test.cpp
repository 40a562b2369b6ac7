#include "model/chart_model.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace tanu {
namespace {

std::vector<std::uint32_t> yearsOf(const ChartModel& model) {
    std::vector<std::uint32_t> years;
    for (const RingMark& ring : model.rings) {
        years.push_back(ring.years);
    }
    return years;
}

std::vector<std::int32_t> radiiOf(const ChartModel& model) {
    std::vector<std::int32_t> radii;
    for (const RingMark& ring : model.rings) {
        radii.push_back(ring.radius);
    }
    return radii;
}

struct WidenCase {
    std::uint32_t low, high, wantLow, wantHigh;
};

TEST(WidenSpan, WorkedExamples) {
    const WidenCase cases[] = {
        {2, 10, 2, 10}, {7, 15, 7, 15}, {3, 5, 2, 7},     {2, 3, 2, 7},
        {7, 7, 2, 7},   {8, 9, 4, 9},   {22, 22, 17, 22}, {10, 21, 9, 21},
        {4, 15, 3, 15}, {2, 13, 2, 14}, {2, 21, 2, 22},   {12, 22, 12, 22},
    };
    for (const WidenCase& c : cases) {
        std::uint32_t low = c.low;
        std::uint32_t high = c.high;
        widenSpan(low, high);
        EXPECT_EQ(std::make_pair(low, high), std::make_pair(c.wantLow, c.wantHigh))
            << "(" << c.low << ", " << c.high << ")";
    }
}

struct RebuildCase {
    std::uint32_t low, high;
    std::vector<std::uint32_t> years;
    std::vector<std::int32_t> radii;
};

TEST(RebuildRings, BuildsTheScaleFromTheOutsideIn) {
    const RebuildCase cases[] = {
        {7, 15, {7, 8, 9, 10, 11, 12, 13, 14, 15}, {51, 69, 87, 105, 123, 141, 159, 177, 195}},
        {9, 21, {9, 11, 13, 15, 17, 19, 21}, {51, 75, 99, 123, 147, 171, 195}},
        {2,
         22,
         {2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22},
         {55, 69, 83, 97, 111, 125, 139, 153, 167, 181, 195}},
        {12,
         22,
         {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22},
         {55, 69, 83, 97, 111, 125, 139, 153, 167, 181, 195}},
        {2, 7, {2, 3, 4, 5, 6, 7}, {50, 79, 108, 137, 166, 195}},
        {2, 10, {2, 3, 4, 5, 6, 7, 8, 9, 10}, {51, 69, 87, 105, 123, 141, 159, 177, 195}},
    };
    for (const RebuildCase& c : cases) {
        ChartModel model;
        model.rings = {{99, 1}}; // replaced, never appended to
        rebuildRings(model, c.low, c.high);
        EXPECT_EQ(yearsOf(model), c.years) << "(" << c.low << ", " << c.high << ")";
        EXPECT_EQ(radiiOf(model), c.radii) << "(" << c.low << ", " << c.high << ")";
    }
}

TEST(RebuildRings, InnermostRadiusFollowsTheRingCount) {
    // count -> innermost radius, on both scales where the count occurs on both
    const std::pair<std::uint32_t, std::int32_t> byCount[] = {{6, 50}, {7, 51},  {8, 48},
                                                              {9, 51}, {10, 51}, {11, 55}};
    for (const auto& [count, innermost] : byCount) {
        ChartModel oneYear;
        rebuildRings(oneYear, 22 - (count - 1), 22);
        ASSERT_EQ(oneYear.rings.size(), count);
        EXPECT_EQ(oneYear.rings.front().radius, innermost) << count;
        if (count >= 7) {
            ChartModel twoYears;
            rebuildRings(twoYears, 22 - 2 * (count - 1), 22);
            ASSERT_EQ(twoYears.rings.size(), count);
            EXPECT_EQ(twoYears.rings.front().radius, innermost) << count;
        }
    }
}

// Every pair the commits can hand over, widened then rebuilt, gives a scale the painter can draw.
TEST(ScaleProperties, EveryPairInRange) {
    for (std::uint32_t low0 = 2; low0 <= 22; ++low0) {
        for (std::uint32_t high0 = low0; high0 <= 22; ++high0) {
            std::uint32_t low = low0;
            std::uint32_t high = high0;
            widenSpan(low, high);
            SCOPED_TRACE(testing::Message()
                         << "(" << low0 << ", " << high0 << ") -> (" << low << ", " << high << ")");
            ASSERT_GE(low, 2u);
            ASSERT_LE(low, high);
            ASSERT_LE(high, 22u);
            ASSERT_GE(high - low, 5u);
            if (high - low > 10) {
                ASSERT_EQ((high - low) % 2, 0u);
            }
            if (high0 - low0 >= 5 && !(high0 - low0 > 10 && (high0 - low0) % 2 == 1)) {
                ASSERT_EQ(std::make_pair(low, high), std::make_pair(low0, high0));
            }
            ChartModel model;
            rebuildRings(model, low, high);
            ASSERT_GE(model.rings.size(), 6u);
            ASSERT_LE(model.rings.size(), 11u);
            EXPECT_EQ(model.rings.front().years, low);
            EXPECT_EQ(model.rings.back().years, high);
            EXPECT_EQ(model.rings.back().radius, 195);
            const std::uint32_t yearStep = model.rings[1].years - model.rings[0].years;
            const std::int32_t radiusStep = model.rings[1].radius - model.rings[0].radius;
            EXPECT_TRUE(yearStep == 1 || yearStep == 2);
            EXPECT_GT(radiusStep, 0);
            for (std::size_t i = 1; i < model.rings.size(); ++i) {
                EXPECT_EQ(model.rings[i].years - model.rings[i - 1].years, yearStep);
                EXPECT_EQ(model.rings[i].radius - model.rings[i - 1].radius, radiusStep);
            }
        }
    }
}

TEST(RebuildRings, PairsNoCallerMakesStillGiveADrawableScale) {
    const std::pair<std::uint32_t, std::uint32_t> pairs[] = {
        {5, 5}, {10, 3}, {0, 0}, {0, 40}, {30, 30}};
    for (const auto& [low, high] : pairs) {
        ChartModel model;
        rebuildRings(model, low, high);
        ASSERT_GE(model.rings.size(), 2u) << low << "," << high;
        for (const RingMark& ring : model.rings) {
            EXPECT_GE(ring.years, 2u);
            EXPECT_LE(ring.years, 22u);
        }
        EXPECT_EQ(model.rings.back().radius, 195);
    }
}

TEST(IsDrawable, TellsBrokenModelsFromGoodOnes) {
    const auto scale = [](std::uint32_t low, std::uint32_t high,
                          std::array<std::uint32_t, DomainCount> values) {
        ChartModel model;
        rebuildRings(model, low, high);
        model.domainValues = values;
        return model;
    };
    EXPECT_TRUE(isDrawable(scale(7, 15, {7, 15, 0})));
    EXPECT_TRUE(isDrawable(scale(9, 21, {8, 10, 21}))); // one year short of a two-year scale
    EXPECT_FALSE(isDrawable(scale(9, 21, {7})));
    EXPECT_FALSE(isDrawable(scale(7, 15, {16})));
    EXPECT_FALSE(isDrawable(scale(7, 15, {6})));
    EXPECT_FALSE(isDrawable(scale(2, 3, {}))); // too few rings
    ChartModel uneven = scale(7, 15, {});
    uneven.rings[3].radius += 1;
    EXPECT_FALSE(isDrawable(uneven));
    EXPECT_FALSE(isDrawable(ChartModel{}));
}

TEST(LowestAndHighest, SkipEmptyDomains) {
    ChartModel model;
    EXPECT_EQ(lowestValue(model), 0u);
    EXPECT_EQ(highestValue(model), 0u);

    model.domainValues = {0, 5, 0, 3, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(lowestValue(model), 3u);
    EXPECT_EQ(highestValue(model), 5u);

    model.domainValues = {0, 0, 0, 0, 0, 0, 0, 0, 0, 17};
    EXPECT_EQ(highestValue(model), 17u);
    EXPECT_EQ(lowestValue(model), 17u);
}

TEST(ClampValuesToScale, PullsValuesIntoTheScale) {
    ChartModel twoYear;
    rebuildRings(twoYear, 9, 21);
    twoYear.domainValues = {22, 7, 8, 10, 0, 21, 9, 0, 0, 0};
    clampValuesToScale(twoYear);
    const std::array<std::uint32_t, 10> wantTwo{21, 8, 8, 10, 0, 21, 9, 0, 0, 0};
    EXPECT_EQ(twoYear.domainValues, wantTwo);

    ChartModel oneYear;
    rebuildRings(oneYear, 4, 9);
    oneYear.domainValues = {3, 0, 4, 9, 10, 0, 0, 0, 0, 2};
    clampValuesToScale(oneYear);
    const std::array<std::uint32_t, 10> wantOne{4, 0, 4, 9, 9, 0, 0, 0, 0, 4};
    EXPECT_EQ(oneYear.domainValues, wantOne);
}

TEST(RadiusForValue, FirstRingThatReachesTheValue) {
    ChartModel empty;
    EXPECT_EQ(radiusForValue(empty, 5), -1);

    ChartModel model;
    rebuildRings(model, 7, 15);
    EXPECT_EQ(radiusForValue(model, 7), 51);
    EXPECT_EQ(radiusForValue(model, 2), 51);
    EXPECT_EQ(radiusForValue(model, 10), 105);
    EXPECT_EQ(radiusForValue(model, 15), 195);
    EXPECT_EQ(radiusForValue(model, 16), -1);

    ChartModel twoYear;
    rebuildRings(twoYear, 9, 21);
    EXPECT_EQ(radiusForValue(twoYear, 10), 75); // between rings: the outer one
    EXPECT_EQ(radiusForValue(twoYear, 11), 75);
}

} // namespace
} // namespace tanu
