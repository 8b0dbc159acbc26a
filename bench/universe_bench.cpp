// The universe model's recompute, the work behind every chart update.
//
// Targets: the star stage with full apparent places for all 9329 catalogue
// objects within 2 ms; a recompute after a one-minute step (stars, bodies,
// body details, grid) within 3 ms.
//
// Measured (RelWithDebInfo, GCC 12, 2-core build machine shared with other
// builds, load average 5.5; CPU time, median of 5):
//   star stage, 9329 objects (horizon frame: Earth state, precession,
//     nutation, horizon axes; then every apparent topocentric place with
//     refraction)                                                   846 us
//   recompute after a one-minute step, every object listed,
//     DE405 (stars, bodies, details, grid; paths off)               958 us
#include <benchmark/benchmark.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "catalogs/deep_sky.h"
#include "sky/star_positions.h"
#include "sky/universe.h"
#include "sky/universe_stages.h"
#include "solarsystem/ephemeris.h"

namespace {

using namespace celestra;

constexpr double kMinute = 1.0 / 1440.0;

// The star stage's work for the whole catalogue: the horizon frame of a new
// instant (the Earth's state, precession, nutation, the horizon's axes),
// then every object's apparent topocentric place with refraction.
void BM_StarStageAllObjects(benchmark::State& state) {
    if (::access(CELESTRA_BUILT_EPHEMERIS, R_OK) != 0) {
        state.SkipWithError("built ephemeris absent");
        return;
    }
    EphemerisFile& reader = processEphemeris();
    double start = 0.0, end = 0.0, span = 0.0;
    if (!openEphemeris(CELESTRA_BUILT_EPHEMERIS, start, end, span)) {
        state.SkipWithError("built ephemeris unreadable");
        return;
    }
    const PlaceContext places = makePlaceContext(reader);
    const CatalogueMotions motions = catalogueMotions();
    std::vector<int32_t> objects(kCatalogueObjectCount);
    for (int k = 0; k < kCatalogueObjectCount; ++k) objects[static_cast<size_t>(k)] = k;
    std::vector<int32_t> zd(kCatalogueObjectCount), az(kCatalogueObjectCount);
    std::vector<double> ra(kCatalogueObjectCount), dec(kCatalogueObjectCount);
    CObserverState observer(2460000.5, 0.0);
    for (auto _ : state) {
        observer.instant += kMinute;
        const HorizonFrame frame = makeHorizonFrame(places, observer);
        truePlacesFixed(frame, motions, objects.data(), objects.size(), zd.data(), az.data(), ra.data(), dec.data());
        benchmark::DoNotOptimize(zd.data());
        benchmark::DoNotOptimize(az.data());
    }
    closeEphemeris();
    state.SetItemsProcessed(state.iterations() * kCatalogueObjectCount);
}
BENCHMARK(BM_StarStageAllObjects)->Unit(benchmark::kMicrosecond);

// Recompute on the caller's thread after a one-minute step, every catalogue
// object listed (filter off): every stage past its tolerance runs.
void BM_RecomputeAfterOneMinute(benchmark::State& state) {
    UniverseConfig config;
    const std::string ephemeris = CELESTRA_BUILT_EPHEMERIS;
    struct stat st;
    if (::stat(ephemeris.c_str(), &st) != 0) {
        state.SkipWithError("the default ephemeris celestra.405 was not built");
        return;
    }
    config.ephemerisPath = ephemeris;
    CUniverse u(config);
    CUniverseViewDrawState d = u.DrawState();
    setMagnitudeFilter(d, false);
    CObserverState o(2460000.5, 0.0);
    u.Update(o, d, false);
    for (auto _ : state) {
        o.instant += kMinute;
        u.Update(o, d, false);
    }
    state.counters["stars"] = static_cast<double>(u.StageRunCount(0));
    state.counters["bodies"] = static_cast<double>(u.StageRunCount(1));
}
BENCHMARK(BM_RecomputeAfterOneMinute)->Unit(benchmark::kMicrosecond);

}  // namespace
