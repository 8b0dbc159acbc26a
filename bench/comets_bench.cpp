// The comet step and its parts: the Kepler solution alone, and a full
// recompute of the tracks (21 topocentric apparent places per comet).
//
// Figures (RelWithDebInfo, -O2, shared 2-core development machine, one
// thread, DE405 1959-2060 file, median of 3 runs):
//   BM_KeplerSolution   six conics, sungrazer to hyperbola   381 ns/position (2.6 million/s)
//   BM_CometStep/500    500 comets, 10500 places             64.5 ms CPU per recompute
// The step runs at most once per 52.8 s of the chart's clock, on the worker.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "solarsystem/comets.h"

namespace {

using namespace celestra;

// q, e pairs from sungrazers to hyperbolae, as a comet list holds them.
constexpr double kConics[][2] = {{0.006, 0.99995}, {0.59, 0.967}, {1.2, 0.5}, {2.5, 1.0}, {0.3, 1.00001}, {2.0, 3.36}};

void BM_KeplerSolution(benchmark::State& state) {
    CometOrbit orbits[6];
    for (int i = 0; i < 6; ++i)
        prepareCometOrbit(CometElements{kConics[i][0], kConics[i][1], 40, 80, 120, kJ2000}, orbits[i]);
    double dt = -400.0;
    Vector3 pos;
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(cometHeliocentric(orbits[i], kJ2000 + dt, pos));
        benchmark::DoNotOptimize(pos);
        i = (i + 1) % 6;
        dt = dt > 400.0 ? -400.0 : dt + 0.37;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_KeplerSolution);

void BM_CometStep(benchmark::State& state) {
    static EphemerisFile file;
    static const bool ok = file.open(CELESTRA_BUILT_EPHEMERIS);
    if (!ok) {
        state.SkipWithError("the default ephemeris celestra.405 was not built");
        return;
    }
    const PlaceContext context = makePlaceContext(file);
    CometList list;
    for (int64_t k = 0; k < state.range(0); ++k) {
        CometRecord c;
        c.name = "comet " + std::to_string(k);
        const double* conic = kConics[k % 6];
        prepareCometOrbit(CometElements{conic[0], conic[1], 7.0 * k, 11.0 * k, 13.0 * k, kJ2000 + 3.0 * k}, c.orbit);
        list.records.push_back(c);
    }
    CObserverState observer(kJ2000 + 200.0, 0.0);
    std::vector<CometTrack> tracks;
    for (auto _ : state) {
        observer.instant += 0.001;  // beyond the 52.8 s tolerance: a recompute every time
        benchmark::DoNotOptimize(updateComets(list, observer, CometStepInputs{}, context, tracks));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * kCometTrackPoints);
}
BENCHMARK(BM_CometStep)->Arg(500)->Unit(benchmark::kMillisecond);

}  // namespace
