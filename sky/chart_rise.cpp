#include "sky/chart_rise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace celestra {

namespace {
constexpr double kMinutesPerDay = 1440.0;
constexpr int64_t kCoarseStepMinutes = 10;
}  // namespace

std::optional<double> nextChartRise(const ChartPlaceAt& placeAt, double fromJdUtc, double spanDays) {
    if (!std::isfinite(fromJdUtc) || !(spanDays > 0.0)) return std::nullopt;
    // Minutes counted from JD 0, which begins at a whole UTC minute (noon).
    const auto shownAt = [&placeAt](int64_t minute) {
        const auto place = placeAt(static_cast<double>(minute) / kMinutesPerDay);
        return place && place->shown();
    };
    const int64_t first = static_cast<int64_t>(std::floor(fromJdUtc * kMinutesPerDay)) + 1;
    const int64_t last = static_cast<int64_t>(std::floor((fromJdUtc + spanDays) * kMinutesPerDay));
    for (int64_t previous = first - 1; previous < last;) {
        const int64_t sample = std::min(previous + kCoarseStepMinutes, last);
        if (shownAt(sample)) {
            for (int64_t minute = previous + 1; minute < sample; ++minute)
                if (shownAt(minute)) return static_cast<double>(minute) / kMinutesPerDay;
            return static_cast<double>(sample) / kMinutesPerDay;
        }
        previous = sample;
    }
    return std::nullopt;
}

}  // namespace celestra
