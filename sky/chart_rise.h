// When the chart next shows an object that is below its horizon now:
// "Find..." steps the time there. The test is the chart's own (the place
// its stages compute, above 0° as drawn), not a rise with the standard
// altitude of -34' for refraction, which would leave the object just under
// the drawn horizon.
#pragma once

#include <functional>
#include <optional>

#include "sky/universe_stages.h"

namespace celestra {

// The place of one object at a UTC instant; nullopt where it cannot be
// computed (a body outside the ephemeris).
using ChartPlaceAt = std::function<std::optional<ChartPlace>(double jdUtc)>;

// How far ahead "Find..." looks, days.
constexpr double kChartRiseSearchDays = 3.0;

// The first whole UTC minute after `fromJdUtc`, at most `spanDays` later,
// at which `placeAt` gives a place the chart shows (ChartPlace::shown). The
// span is sampled every 10 minutes and the first sample that shows the
// object is narrowed to the minute, so an object that is up for less than
// 10 minutes at a time (one grazing the horizon) can be passed over. A place
// that cannot be computed counts as not shown. nullopt when none is found.
std::optional<double> nextChartRise(const ChartPlaceAt& placeAt, double fromJdUtc, double spanDays);

}  // namespace celestra
