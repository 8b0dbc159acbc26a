// Shared set-up of the universe model tests: a model over the default
// ephemeris the build writes (or over no ephemeris), a fixed instant, and a
// recorder of what the listeners heard.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "sky/universe.h"
#include "tests/support/test_support.h"

namespace celestra::test {

constexpr double kSecond = 1.0 / 86400.0;
// 2023-02-24 12:00 UTC, inside the ephemeris (1959-12-10 to 2060-01-30).
constexpr double kInstant = 2460000.0;

inline UniverseConfig configWithoutEphemeris() {
    UniverseConfig config;
    config.ephemerisPath = "/nonexistent/celestra.405";
    return config;
}

inline UniverseConfig configWithEphemeris(const std::string& cacheDir = "") {
    UniverseConfig config;
    config.ephemerisPath = builtEphemeris();
    const std::string dir = cacheDir.empty() ? makeTempDir() : cacheDir;
    config.dailyCachePath = dir + "/celestra.40C";
    return config;
}

inline CObserverState observerAt(double jdUtc) { return CObserverState(jdUtc, 0.0); }

// The default drawing state with the comets option on (a fresh model has it
// off until a document is loaded).
inline CUniverseViewDrawState drawStateWithComets() {
    CUniverseViewDrawState d;
    d.overlays[kCometsOverlay] = 1;
    return d;
}

// What the listeners heard, from whichever thread.
struct Heard {
    std::mutex mutex;
    std::vector<int32_t> posts;
    std::vector<std::string> texts;
    std::vector<int32_t> flagsAtText;  // stageFlags when each text was set

    void attach(CUniverse& u) {
        u.SetProgressListener([this](int32_t flags) {
            std::lock_guard<std::mutex> lock(mutex);
            posts.push_back(flags);
        });
        u.SetStatusListener([this, &u](const std::string& text) {
            std::lock_guard<std::mutex> lock(mutex);
            texts.push_back(text);
            flagsAtText.push_back(u.StageFlags());
        });
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex);
        posts.clear();
        texts.clear();
        flagsAtText.clear();
    }
};

// Run counts of the six stages, in running order.
inline std::vector<long> stageRuns(const CUniverse& u) {
    std::vector<long> runs;
    for (int i = 0; i < kStageCount; ++i) runs.push_back(u.StageRunCount(i));
    return runs;
}

// The stages (1..6) whose counts grew between two readings.
inline std::vector<int> stagesThatRan(const std::vector<long>& before, const std::vector<long>& after) {
    std::vector<int> ran;
    for (size_t i = 0; i < before.size(); ++i)
        if (after[i] > before[i]) ran.push_back(static_cast<int>(i) + 1);
    return ran;
}

}  // namespace celestra::test
