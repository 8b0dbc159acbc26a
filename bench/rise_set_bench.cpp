// Rise, set, transit and twilight events.
//
// Figures (CPU time, RelWithDebInfo, the shared 2-core build machine under
// load, DE405 1959-2060, Lerwick 60.15° N 1.15° W, 2025):
//   BM_SunFiveEventsOneDay     0.043 ms  (target <= 0.5 ms: rise, set, transit,
//                                        civil and nautical twilight of one day)
//   BM_MoonOneDay              0.044 ms  (rise, set and transit)
//   BM_YearOfDailyEvents       30 ms     (target <= 0.2 s: the Sun's five kinds and
//                                        the Moon's rise, transit and set, 365 days)
#include <benchmark/benchmark.h>

#include <string>

#include "built_ephemeris.h"
#include "solarsystem/rise_set.h"

namespace celestra {
namespace {

ObserverSite lerwick() {
    ObserverSite s;
    s.latitude = 60.15;
    s.longitude = -1.15;
    return s;
}

const JulianDay kFirstDay = 2460676.5;  // 2025-01-01 0h UTC

void BM_SunFiveEventsOneDay(benchmark::State& state) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) return state.SkipWithError("DE405 reference file absent");
    const PlaceContext context = makePlaceContext(*eph);
    const std::vector<RiseSetKind> kinds{RiseSetKind::RiseSet, RiseSetKind::CivilTwilight,
                                         RiseSetKind::NauticalTwilight};
    int day = 0;
    for (auto _ : state) {
        const JulianDay jd0h = kFirstDay + (day++ % 365);  // a new day each time: the ephemeris is read
        HorizonTrack track;
        track.load(&context, riseSetBody(kSun), jd0h, deltaT(jd0h));
        benchmark::DoNotOptimize(track.events(lerwick(), kinds));
    }
}
BENCHMARK(BM_SunFiveEventsOneDay);

void BM_MoonOneDay(benchmark::State& state) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) return state.SkipWithError("DE405 reference file absent");
    const PlaceContext context = makePlaceContext(*eph);
    int day = 0;
    for (auto _ : state) {
        const JulianDay jd0h = kFirstDay + (day++ % 365);
        benchmark::DoNotOptimize(
            horizonDayEvents(&context, riseSetBody(kMoon), RiseSetKind::RiseSet, jd0h, deltaT(jd0h), lerwick()));
    }
}
BENCHMARK(BM_MoonOneDay);

void BM_YearOfDailyEvents(benchmark::State& state) {
    EphemerisFile* eph = builtEphemerisForBench();
    if (!eph) return state.SkipWithError("DE405 reference file absent");
    const PlaceContext context = makePlaceContext(*eph);
    const std::vector<RiseSetKind> kinds{RiseSetKind::RiseSet, RiseSetKind::CivilTwilight,
                                         RiseSetKind::NauticalTwilight};
    for (auto _ : state) {
        for (int day = 0; day < 365; ++day) {
            const JulianDay jd0h = kFirstDay + day;
            HorizonTrack sun, moon;
            sun.load(&context, riseSetBody(kSun), jd0h, deltaT(jd0h));
            moon.load(&context, riseSetBody(kMoon), jd0h, deltaT(jd0h));
            benchmark::DoNotOptimize(sun.events(lerwick(), kinds));
            benchmark::DoNotOptimize(moon.events(lerwick(), RiseSetKind::RiseSet));
        }
    }
}
BENCHMARK(BM_YearOfDailyEvents)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace celestra
