// The year-ring scale and the ten domain values, and the arithmetic that keeps them consistent.
// The whole scale rule lives here (the clamp to MinYears..MaxYears, the scale an age gives, the
// scale around the values, the legend a scale shows); the form, the file and the painter ask.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tanu {

inline constexpr std::size_t DomainCount = 10;
inline constexpr std::uint32_t MinYears = 2;
inline constexpr std::uint32_t MaxYears = 22;
inline constexpr std::int32_t OutermostRadius = 195;
// How far in the innermost ring stands from the outermost one; the rings between share it out in
// equal whole steps (the remainder goes to the innermost ring's radius).
inline constexpr std::int32_t RingBandWidth = 147;
// The narrowest scale in years, and the widest span still drawn one ring a year; a wider span is
// drawn one ring every two years.
inline constexpr std::uint32_t MinYearSpan = 5;
inline constexpr std::uint32_t MaxOneYearSpan = 10;
// 6 to 11 rings: a span of 5 to 10 years a year at a time, or of up to 20 two at a time.
inline constexpr std::size_t MinRingCount = MinYearSpan + 1;
inline constexpr std::size_t MaxRingCount = MaxOneYearSpan + 1;

struct RingMark {
    std::uint32_t years = 0;
    std::int32_t radius = 0;
};

struct ChartModel {
    // Innermost ring first; the outermost has radius 195.
    std::vector<RingMark> rings;
    // Indexed by domain 0..9; 0 means empty, anything else lies in 2..22.
    std::array<std::uint32_t, DomainCount> domainValues{};
};

// Widens (low, high) to a span of at least 5 years; a span above 10 is made even.
void widenSpan(std::uint32_t& low, std::uint32_t& high);

// Replaces the rings by the scale from low to high (one ring a year up to a span of 10,
// one ring every two years above that), filled from the outside in.
void rebuildRings(ChartModel& model, std::uint32_t low, std::uint32_t high);

// The smallest non-zero value, or 0 when every domain is empty.
std::uint32_t lowestValue(const ChartModel& model);

// The largest value, or 0 when every domain is empty.
std::uint32_t highestValue(const ChartModel& model);

// A domain value as the profile keeps it: 0 (no value) stays 0, anything else is brought into
// MinYears..MaxYears (negative numbers and 1 to 2, anything above 22 to 22).
std::uint32_t clampToYears(std::int64_t value);

// Pulls every non-zero value into the scale; needs at least two rings.
void clampValuesToScale(ChartModel& model);

// The scale a date of birth gives: from the lowest value, or the age where that is lower, up to the
// age, each within MinYears..MaxYears and widened; every value is then pulled into it. Without
// values, the scale is widened around the age alone.
void rebuildScaleForAge(ChartModel& model, std::int32_t age);

// The scale around the values as they are: from the lowest value up to the highest value or the
// age, whichever is higher, each within MinYears..MaxYears and widened; no value moves. An age
// of 0 (no date of birth) leaves the values alone to decide.
void rebuildScaleAroundValues(ChartModel& model, std::int32_t age);

// The legend a scale shows: one year a ring, two years a ring, or none below two rings.
enum class Legend { None, OneYear, TwoYears };
Legend legendOf(const ChartModel& model);

// What every operation on the profile keeps: 6 to 11 rings of 2..22 years rising by a constant
// step of 1 or 2 and a constant radius step up to the outermost radius, and every value 0 or
// inside the scale (down to one year below the innermost ring on the two-year scale).
bool isDrawable(const ChartModel& model);

// The radius of the innermost ring whose years reach the value, or -1 when none does.
std::int32_t radiusForValue(const ChartModel& model, std::uint32_t value);

} // namespace tanu
