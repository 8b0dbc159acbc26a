// The nautical almanac: three days of daily pages (72 hours of six bodies,
// the 58 stars, the day's data) with and without the rise, set and
// twilight table of 31 latitudes; and the sight planner's evening plan.
//
// Measured (RelWithDebInfo, GCC 12, 2-core build machine, shared; CPU time):
//   BM_AlmanacThreeDays/pages_only        see the closing note of the change
//   BM_AlmanacThreeDays/with_table
//   BM_PlanEvening
#include <benchmark/benchmark.h>

#include <string>

#include "navigation/nautical_almanac.h"
#include "navigation/sight_planner.h"

namespace {

using namespace celestra;

const PlaceContext* almanacContext(benchmark::State& state) {
    static EphemerisFile reader;
    static const bool opened = reader.open(std::string(CELESTRA_SHARED_DATA) + "/ephemeris/de405_1959-2060_rebuilt.bin");
    static const PlaceContext context = opened ? makePlaceContext(reader) : PlaceContext{};
    if (!opened) state.SkipWithError("the DE405 file of the shared reference data is absent");
    return opened ? &context : nullptr;
}

void BM_AlmanacThreeDays(benchmark::State& state, bool withTable) {
    const PlaceContext* context = almanacContext(state);
    if (!context) return;
    int day = 0;
    for (auto _ : state) {
        // A new page each time, as the page's date buttons give: nothing reused.
        NauticalAlmanac almanac;
        const JulianDay jd = julianDayFromCalendar(2024, 1, 1, 0.0) + 3 * (day++ % 100);
        const CalendarDate c = calendarFromJulianDay(jd);
        benchmark::DoNotOptimize(computeAlmanac(*context, c.year, c.month, c.day, 3, withTable, almanac));
    }
}
BENCHMARK_CAPTURE(BM_AlmanacThreeDays, pages_only, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_AlmanacThreeDays, with_table, true)->Unit(benchmark::kMillisecond);

void BM_PlanEvening(benchmark::State& state) {
    const PlaceContext* context = almanacContext(state);
    if (!context) return;
    PlanRequest request;
    request.latitude = 36.5;
    request.longitude = -24.3;
    request.year = 2024;
    request.month = 3;
    request.day = 20;
    request.count = 5;
    for (auto _ : state) benchmark::DoNotOptimize(planSights(*context, request));
}
BENCHMARK(BM_PlanEvening)->Unit(benchmark::kMillisecond);

}  // namespace
