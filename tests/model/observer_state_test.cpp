#include "model/observer_state.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/time_scales.h"

namespace celestra {
namespace {

constexpr double kSecond = 1.0 / 86400.0;
// Tolerances of the six recompute stages, in seconds of instant.
constexpr double kStageTolerances[] = {30.0, 42.0, 48.0, 51.0, 51.0, 51.6};

// Which stages a step of `seconds` would recompute.
std::vector<int> stagesRecomputed(const CObserverState& before, const CObserverState& after) {
    std::vector<int> stages;
    for (int i = 0; i < 6; ++i)
        if (!after.IsSameAs(before, kStageTolerances[i] * kSecond)) stages.push_back(i + 1);
    return stages;
}

TEST(ObserverState, DefaultsOfANewState) {
    const CObserverState s(2451545.0, 0.0);
    EXPECT_EQ(s.flags, 0);
    EXPECT_EQ(s.latitude, 47.55);
    EXPECT_EQ(s.longitude, -122.3);
    EXPECT_EQ(s.height, 1.0);
    EXPECT_EQ(s.temperature, 10.0);
    EXPECT_EQ(s.pressure, 1010.0);
    EXPECT_EQ(s.latitudeDegrees, 47);
    EXPECT_EQ(s.longitudeDegrees, -122);
    EXPECT_EQ(s.refraction, 1);
    // A state from the clock: the clock's instant and the zone's offset then.
    setClockForTesting(2460598.75);
    const CObserverState now;
    setClockForTesting(0.0);
    EXPECT_EQ(now.instant, 2460598.75);
    EXPECT_EQ(now.zoneOffset, platformZoneOffsetAt(2460598.75).offsetDays);
}

TEST(ObserverState, StepsOfTheInstantAgainstTheStageTolerances) {
    const CObserverState before(2460000.5, 0.0);
    CObserverState after = before;
    after.instant = before.instant + 20 * kSecond;
    EXPECT_EQ(stagesRecomputed(before, after), std::vector<int>{});
    after.instant = before.instant + 31 * kSecond;
    EXPECT_EQ(stagesRecomputed(before, after), (std::vector<int>{1}));
    after.instant = before.instant + 50 * kSecond;
    EXPECT_EQ(stagesRecomputed(before, after), (std::vector<int>{1, 2, 3}));
    after.instant = before.instant - 50 * kSecond;  // backwards counts the same
    EXPECT_EQ(stagesRecomputed(before, after), (std::vector<int>{1, 2, 3}));
}

TEST(ObserverState, AnyChangeOfPlaceOrAtmosphereRecomputesEveryStage) {
    const CObserverState before(2460000.5, 0.0);
    const std::vector<int> all = {1, 2, 3, 4, 5, 6};
    auto changed = [&](auto mutate) {
        CObserverState s = before;
        mutate(s);
        return stagesRecomputed(before, s);
    };
    EXPECT_EQ(changed([](CObserverState& s) { s.temperature += 0.1; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.pressure -= 1.0; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.height = 2.0; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.latitude = 90.0; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.longitude += 1e-9; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.zoneOffset = 1.0 / 24; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.refraction = 0; }), all);
    EXPECT_EQ(changed([](CObserverState& s) { s.flags |= CObserverState::kTestedFlagBit; }), all);
    // Other flag bits and the entered degrees/minutes do not take part.
    EXPECT_EQ(changed([](CObserverState& s) { s.flags |= 0x1 | 0x4; }), std::vector<int>{});
    EXPECT_EQ(changed([](CObserverState& s) { s.latitudeMinutes = 30; }), std::vector<int>{});
}

TEST(ObserverState, NotANumberCountsAsAChange) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const CObserverState a(2460000.5, 0.0);
    for (double CObserverState::*field :
         {&CObserverState::instant, &CObserverState::zoneOffset, &CObserverState::latitude, &CObserverState::longitude,
          &CObserverState::height, &CObserverState::temperature, &CObserverState::pressure}) {
        CObserverState b = a;
        b.*field = nan;
        EXPECT_FALSE(b.IsSameAs(a, 1.0));
        EXPECT_FALSE(a.IsSameAs(b, 1.0));
        EXPECT_FALSE(b.IsSameAs(b, 1.0));  // even against itself
    }
    EXPECT_FALSE(a.IsSameAs(a, nan));
    EXPECT_TRUE(a.IsSameAs(a, 1e-9));
}

}  // namespace
}  // namespace celestra
