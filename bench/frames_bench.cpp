// Apparent places, the daily place table and the chart's fast path.
//
// Figures (CPU time, RelWithDebInfo, the shared 2-core build machine at load
// average 5, DE405 1959-2060):
//   BM_GeocentricPlanetPlace   2.6 µs   (target <= 3 µs; a new instant each call,
//                                        so the Earth and the nutation are recomputed)
//   BM_ApparentStar            0.12 µs  (target <= 2 µs; one instant, as a chart update)
//   BM_TopocentricStar         0.35 µs
//   BM_DailyPlaceTable         0.27 s   (target < 1 s; 6 x 36576 places)
//   BM_ChartPath9329           0.61 ms  (9329 objects to 16.16 zenith distance and azimuth)
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "built_ephemeris.h"
#include "core/horizon.h"
#include "solarsystem/daily_ephemeris.h"
#include "solarsystem/planets.h"

namespace celestra {
namespace {

void BM_GeocentricPlanetPlace(benchmark::State& state) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) return state.SkipWithError("the default ephemeris celestra.405 was not built");
    const PlaceContext context = makePlaceContext(*eph);
    double tt = 2460000.5, ra = 0, dec = 0, dist = 0;
    for (auto _ : state) {
        tt += 1e-3;  // a new instant: the Earth's state is read every time
        geocentricPlace(*eph, tt, context.bodies[kMars - 1], context.earth(), ra, dec, dist);
        benchmark::DoNotOptimize(ra);
        if (tt > 2460030.0) tt = 2460000.5;
    }
}
BENCHMARK(BM_GeocentricPlanetPlace);

const StarPlaceInput kSirius{6.752481, -16.716116, -3.847, -121.23, 0.37921, -5.5};

// The Earth's state at 2023-02-24 0h TT, or false (the run skipped) without the file.
bool earthForStars(benchmark::State& state, EarthState& earth) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) {
        state.SkipWithError("the default ephemeris celestra.405 was not built");
        return false;
    }
    return earthState(*eph, 2460000.5, makePlaceContext(*eph).earth(), earth) == Status::Ok;
}

void BM_ApparentStar(benchmark::State& state) {
    EarthState earth;
    if (!earthForStars(state, earth)) return;
    StarPlaceInput star = kSirius;
    double ra = 0, dec = 0;
    for (auto _ : state) {
        star.raHours += 1e-4;
        apparentStar(earth, star, ra, dec);
        benchmark::DoNotOptimize(ra);
    }
}
BENCHMARK(BM_ApparentStar);

void BM_TopocentricStar(benchmark::State& state) {
    EarthState earth;
    if (!earthForStars(state, earth)) return;
    const ObserverSite site{47.55, -122.3, 50.0};
    double ra = 0, dec = 0;
    for (auto _ : state) {
        topocentricStar(earth, 2460000.5, 69.2, kSirius, site, ra, dec);
        benchmark::DoNotOptimize(ra);
    }
}
BENCHMARK(BM_TopocentricStar);

void BM_DailyPlaceTable(benchmark::State& state) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) return state.SkipWithError("the default ephemeris celestra.405 was not built");
    const PlaceContext context = makePlaceContext(*eph);
    DailyPlaceTable table;
    table.startJd = context.startJd;
    table.endJd = context.endJd;
    table.days = dailyDayCount(context.startJd, context.endJd);
    for (auto _ : state) {
        buildDailyPlaces(context, table, nullptr);
        benchmark::DoNotOptimize(table.places.data());
    }
    state.counters["days"] = table.days;
}
BENCHMARK(BM_DailyPlaceTable)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace celestra
