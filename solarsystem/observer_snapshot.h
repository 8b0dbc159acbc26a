// The observer fields that decide whether a stage of the sky model's update
// must recompute, and the change test the stages share.
#pragma once

#include <cstdint>
#include <limits>

#include "core/apparent_place.h"

namespace celestra {

struct ObserverSnapshot {
    int32_t flags = 0;        // bit 1 takes part in the change test
    JulianDay instant = 0.0;  // UTC
    double zoneOffset = 0.0;  // days, local minus UTC
    ObserverSite site;
    double height = 1.0;     // metres, the stored height (value 6 of the observer)
    int32_t refraction = 1;  // 1 refraction applied to altitudes, 0 airless (value 15)
};

// The instant tolerance that only an identical instant meets: the places
// of the chart are those of its instant, whatever the step (30 s of time is
// 7.5′ of hour angle).
constexpr double kExactInstant = std::numeric_limits<double>::denorm_min();

// True when the two states count as the same for a stage with the given
// clock tolerance (days): |Δinstant| below it, flag bit 1, value 15 and
// every other field exactly equal. A NaN difference counts as a change.
bool sameObserver(const ObserverSnapshot& a, const ObserverSnapshot& b, double instantToleranceDays);

}  // namespace celestra
