#include "model/chart_model.h"

#include <algorithm>
#include <limits>

namespace tanu {

namespace {

void widenOneStep(std::uint32_t& low, std::uint32_t& high) {
    if (low > MinYears) {
        --low;
    } else {
        ++high;
    }
}

} // namespace

void widenSpan(std::uint32_t& low, std::uint32_t& high) {
    while (high - low < MinYearSpan) {
        widenOneStep(low, high);
    }
    const std::uint32_t span = high - low;
    if (span > MaxOneYearSpan && span % 2 == 1) {
        widenOneStep(low, high);
    }
}

void rebuildRings(ChartModel& model, std::uint32_t low, std::uint32_t high) {
    model.rings.clear();
    // No caller hands over a pair outside 2 <= low < high <= 22; should one ever arrive, keep
    // the scale drawable (badges exist only for 2..22, and a zero span would divide by zero).
    low = std::clamp(low, MinYears, MaxYears);
    high = std::clamp(high, MinYears, MaxYears);
    if (low > high) {
        std::swap(low, high);
    }
    if (low == high) {
        widenSpan(low, high);
    }

    const std::uint32_t span = high - low;
    const std::uint32_t yearStep = span <= MaxOneYearSpan ? 1 : 2;
    const std::uint32_t count = span / yearStep + 1;
    const std::uint32_t radiusStep = static_cast<std::uint32_t>(RingBandWidth) / (count - 1);

    model.rings.resize(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        RingMark& ring = model.rings[count - 1 - i];
        ring.years = high - i * yearStep;
        ring.radius = OutermostRadius - static_cast<std::int32_t>(i * radiusStep);
    }
}

std::uint32_t lowestValue(const ChartModel& model) {
    std::uint32_t lowest = std::numeric_limits<std::uint32_t>::max(); // above any value
    bool found = false;
    for (const std::uint32_t value : model.domainValues) {
        if (value == 0) {
            continue;
        }
        found = true;
        lowest = std::min(lowest, value);
    }
    return found ? lowest : 0;
}

std::uint32_t highestValue(const ChartModel& model) {
    return *std::max_element(model.domainValues.begin(), model.domainValues.end());
}

std::uint32_t clampToYears(std::int64_t value) {
    if (value == 0) {
        return 0;
    }
    return static_cast<std::uint32_t>(std::clamp<std::int64_t>(value, MinYears, MaxYears));
}

void rebuildScaleForAge(ChartModel& model, std::int32_t age) {
    const std::uint32_t years = clampToYears(std::max(age, 1));
    std::uint32_t high = years;
    const std::uint32_t lowest = lowestValue(model);
    std::uint32_t low = lowest < high ? lowest : high;
    const bool noValues = low == 0;
    if (noValues) {
        low = years;
        high = years;
    }
    widenSpan(low, high);
    rebuildRings(model, low, high);
    clampValuesToScale(model);
}

void rebuildScaleAroundValues(ChartModel& model, std::int32_t age) {
    std::uint32_t low = lowestValue(model);
    std::uint32_t high = highestValue(model);
    if (!(static_cast<std::int32_t>(high) > age)) {
        high = static_cast<std::uint32_t>(age);
    }
    high = clampToYears(std::max<std::int64_t>(high, 1));
    low = low == 0 ? high : clampToYears(low);
    widenSpan(low, high);
    rebuildRings(model, low, high);
}

Legend legendOf(const ChartModel& model) {
    if (model.rings.size() < 2) {
        return Legend::None;
    }
    // A wrapped-around difference counts as a wide step.
    return model.rings[1].years - model.rings[0].years <= 1 ? Legend::OneYear : Legend::TwoYears;
}

void clampValuesToScale(ChartModel& model) {
    if (model.rings.size() < 2) {
        return;
    }
    const std::uint32_t upper = model.rings.back().years;
    std::uint32_t lower = model.rings[0].years;
    if (model.rings[1].years - model.rings[0].years > 1) {
        lower -= 1;
    }
    for (std::uint32_t& value : model.domainValues) {
        if (value == 0) {
            continue;
        }
        if (value > upper) {
            value = upper;
        }
        if (value < lower) {
            value = lower;
        }
    }
}

std::int32_t radiusForValue(const ChartModel& model, std::uint32_t value) {
    for (const RingMark& ring : model.rings) {
        if (ring.years >= value) {
            return ring.radius;
        }
    }
    return -1;
}

bool isDrawable(const ChartModel& model) {
    const auto& rings = model.rings;
    if (rings.size() < MinRingCount || rings.size() > MaxRingCount ||
        rings.back().radius != OutermostRadius) {
        return false;
    }
    const std::uint32_t yearStep = rings[1].years - rings[0].years;
    const std::int32_t radiusStep = rings[1].radius - rings[0].radius;
    if (yearStep != 1 && yearStep != 2) {
        return false;
    }
    for (std::size_t i = 0; i < rings.size(); ++i) {
        if (rings[i].years < MinYears || rings[i].years > MaxYears) {
            return false;
        }
        if (i > 0 && (rings[i].years - rings[i - 1].years != yearStep ||
                      rings[i].radius - rings[i - 1].radius != radiusStep)) {
            return false;
        }
    }
    const std::uint32_t lower = rings.front().years - (yearStep == 2 ? 1 : 0);
    for (const std::uint32_t v : model.domainValues) {
        if (v != 0 && (v < MinYears || v > MaxYears || v < lower || v > rings.back().years)) {
            return false;
        }
    }
    return true;
}

} // namespace tanu
