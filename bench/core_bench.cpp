// Time scales and angle text on the hot path of a redraw: every chart update
// converts the clock to TT and sidereal time, and status lines format angles.
//
// Measured (RelWithDebInfo, GCC 12, 2-core build machine, shared):
//   uncached ttFromUtc + apparent siderealTime   2.3 us
//   clock tick (1 s steps)                        1.4 us
//   all caches hit                                0.13 us
//   mean siderealTime                             0.05 us
//   formatAngle selectors 0 / 2 / 4               0.21 / 0.31 / 0.27 us
#include <benchmark/benchmark.h>

#include <string>

#include "core/angles.h"
#include "core/time_scales.h"

namespace {

// A new instant each call, more than 0.25 day apart, so the ΔT, TAI-UTC and
// nutation caches all miss.
void BM_TtAndApparentSiderealTime_Uncached(benchmark::State& state) {
    double jd = 2451545.0;
    for (auto _ : state) {
        jd += 0.3;
        if (jd > 2460000.0) jd = 2451545.0;
        const double tt = celestra::ttFromUtc(jd);
        benchmark::DoNotOptimize(celestra::siderealTime(tt, celestra::deltaT(jd), false));
    }
}
BENCHMARK(BM_TtAndApparentSiderealTime_Uncached);

// The real-time clock: one second per call. ΔT comes from its cache; the
// nutation (kept for 1e-6 day = 0.0864 s) and TAI-UTC (kept for an equal
// argument only) are recomputed every call.
void BM_TtAndApparentSiderealTime_ClockTick(benchmark::State& state) {
    double jd = 2460000.5;
    for (auto _ : state) {
        jd += 1.0 / 86400.0;
        const double tt = celestra::ttFromUtc(jd);
        benchmark::DoNotOptimize(celestra::siderealTime(tt, celestra::deltaT(jd), false));
    }
}
BENCHMARK(BM_TtAndApparentSiderealTime_ClockTick);

// The same instant again: every cache hits.
void BM_TtAndApparentSiderealTime_Cached(benchmark::State& state) {
    const double jd = 2460000.5;
    for (auto _ : state) {
        const double tt = celestra::ttFromUtc(jd);
        benchmark::DoNotOptimize(celestra::siderealTime(tt, celestra::deltaT(jd), false));
    }
}
BENCHMARK(BM_TtAndApparentSiderealTime_Cached);

void BM_MeanSiderealTime(benchmark::State& state) {
    double jd = 2451545.0;
    for (auto _ : state) {
        jd += 0.3;
        benchmark::DoNotOptimize(celestra::siderealTime(jd, 69.0, true));
    }
}
BENCHMARK(BM_MeanSiderealTime);

void BM_FormatAngle(benchmark::State& state) {
    std::string out;
    double v = -179.0;
    const int selector = static_cast<int>(state.range(0));
    for (auto _ : state) {
        v += 0.0137;
        if (v > 179.0) v = -179.0;
        celestra::formatAngle(v, selector, celestra::AngleSignStyle::Latitude, false, out);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_FormatAngle)->Arg(0)->Arg(2)->Arg(4);

}  // namespace
