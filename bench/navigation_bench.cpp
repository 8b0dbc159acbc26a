// Sight reduction and the fix: one reduceSight (a star and the Moon) and one
// estimateFix over 8 star sights whose lines miss the AP by up to 18 miles
// (two passes: the first step, 8 re-reductions, the closing step).
//
// Measured (RelWithDebInfo, GCC 12, 2-core build machine, shared; CPU time,
// the wall time was 1.1-1.4 times that on an idle machine):
//   BM_Reduce/star               2.4-2.5 us
//   BM_Reduce/moon               3.0-3.3 us
//   BM_EstimateFix8              19-21 us
//
// The nautical almanac: three days of daily pages (72 hours of six bodies,
// the 58 stars, the day's data) with and without the rise, set and twilight
// table of 31 latitudes; and the sight planner's evening plan of five bodies.
//   BM_AlmanacThreeDays/pages_only   0.58-0.66 ms
//   BM_AlmanacThreeDays/with_table   5.1 ms (the wall time 10 ms on the loaded machine)
//   BM_PlanEvening                   5.0-5.5 ms
#include <benchmark/benchmark.h>

#include <string>

#include "navigation/fix_estimate.h"
#include "navigation/nautical_almanac.h"
#include "navigation/sight_planner.h"

namespace {

using namespace celestra;

const PlaceContext* navigationContext(benchmark::State& state) {
    static EphemerisFile reader;
    static const bool opened = reader.open(CELESTRA_BUILT_EPHEMERIS);
    static const PlaceContext context = opened ? makePlaceContext(reader) : PlaceContext{};
    if (!opened) state.SkipWithError("the default ephemeris celestra.405 was not built");
    return opened ? &context : nullptr;
}

CMeasure benchSight(bool star, int index, double utc) {
    CMeasure m(CObserverState(2460390.33, 0.0));
    m.observer.latitude = 36.5;
    m.observer.longitude = -24.3;
    m.isStar = star ? 1 : 0;
    m.bodyIndex = index;
    m.observationTime = utc;
    m.active = 1;
    return m;
}

void BM_Reduce(benchmark::State& state, bool star, int index, double utc) {
    const PlaceContext* context = navigationContext(state);
    if (!context) return;
    CMeasure m = benchSight(star, index, utc);
    for (auto _ : state) {
        // A new instant each time, as successive sights have: no place is reused.
        utc += 1.0 / 1440.0;
        m.observationTime = utc;
        benchmark::DoNotOptimize(reduceSight(m, *context, 30.0));
    }
}
BENCHMARK_CAPTURE(BM_Reduce, star, true, 2491, 2460390.33);
BENCHMARK_CAPTURE(BM_Reduce, moon, false, kMoon, 2460446.0);

void BM_EstimateFix8(benchmark::State& state) {
    const PlaceContext* context = navigationContext(state);
    if (!context) return;
    ObservationList list;
    const int stars[] = {2491, 424, 1457, 3982, 2943, 2990, 1708, 2061};
    for (int i = 0; i < 8; ++i) {
        CMeasure m = benchSight(true, stars[i], 2460390.33 + i * 2.0 / 1440.0);
        reduceSight(m, *context, 35.0);
        reduceSight(m, *context, m.hc + (i % 3 - 1) * 0.3);  // intercepts of a few miles
        list.Append(m);
    }
    for (auto _ : state) benchmark::DoNotOptimize(estimateFix(list.At(0), *context, list));
    state.counters["passes"] = list.fix.iterations;
}
BENCHMARK(BM_EstimateFix8);

void BM_AlmanacThreeDays(benchmark::State& state, bool withTable) {
    const PlaceContext* context = navigationContext(state);
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
    const PlaceContext* context = navigationContext(state);
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
