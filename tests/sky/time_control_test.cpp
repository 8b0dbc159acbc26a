// The time control against a scripted host: unit steps, the ephemeris
// range, leaving real time, and the animation's wait for finished recomputes.
#include "sky/time_control.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/draw_state.h"
#include "model/observer_state.h"

namespace celestra {
namespace {

class FakeHost : public TimeControlHost {
public:
    void updateModel(bool notify) override { updates.push_back(notify); }
    int stageFlags() const override { return flags; }
    void ephemerisRange(double& first, double& last) const override {
        first = firstJd;
        last = lastJd;
    }
    double clockNowUtc() const override { return now; }
    void startAnimationTimer() override {
        ++timerStarts;
        timerRunning = true;
    }
    void stopAnimationTimer() override { timerRunning = false; }

    std::vector<bool> updates;
    int flags = kAllStagesDone;
    double firstJd = 2436912.5;
    double lastJd = 2473488.5;
    double now = 2460000.25;
    int timerStarts = 0;
    bool timerRunning = false;
};

struct Fixture : testing::Test {
    Fixture() : observer(2460000.0, 0.0), time(host, observer, state) {}
    FakeHost host;
    CObserverState observer;
    CUniverseViewDrawState state;
    TimeControl time;
};

TEST_F(Fixture, UnitStepsAndMonthsOfThirtyOneDays) {
    EXPECT_EQ(time.unitIndex(), 0);
    EXPECT_DOUBLE_EQ(time.stepDays(), 1.0 / 1440.0);
    time.setUnitIndex(5);
    ASSERT_STREQ(kTimeUnits[5].menuText, "Month");
    for (int i = 0; i < 12; ++i) ASSERT_TRUE(time.step(+1));
    EXPECT_DOUBLE_EQ(observer.instant, 2460000.0 + 372.0);
    time.setUnitIndex(6);  // no such unit: unchanged
    EXPECT_EQ(time.unitIndex(), 5);
    time.setUnitIndex(2);
    ASSERT_TRUE(time.step(-1));
    EXPECT_DOUBLE_EQ(observer.instant, 2460000.0 + 372.0 - 1.0 / 24.0);
}

TEST_F(Fixture, AStepLeavesRealTimeAndUpdatesTwice) {
    ASSERT_EQ(state.realTime, 1);
    ASSERT_TRUE(time.step(+1));
    EXPECT_EQ(state.realTime, 0);
    // First at once on the caller's thread, then through the worker to the chart.
    EXPECT_EQ(host.updates, (std::vector<bool>{false, true}));
}

TEST_F(Fixture, StepsOutsideTheEphemerisAreRefused) {
    observer.instant = host.firstJd;
    time.setUnitIndex(0);
    EXPECT_FALSE(time.step(-1));
    EXPECT_EQ(observer.instant, host.firstJd);
    EXPECT_TRUE(time.stopRequested());
    EXPECT_TRUE(host.updates.empty());
    EXPECT_EQ(state.realTime, 1);  // refused: still real time
    // The first day itself is inside.
    observer.instant = host.firstJd + 1.0 / 1440.0;
    EXPECT_TRUE(time.step(-1));
    EXPECT_EQ(observer.instant, host.firstJd);
    // The last day, and no ephemeris at all.
    observer.instant = host.lastJd;
    EXPECT_FALSE(time.step(+1));
    host.firstJd = host.lastJd = 0.0;
    EXPECT_FALSE(time.setInstant(2460000.0));
}

TEST_F(Fixture, AnimationStepsOnlyWhenTheRecomputeIsDone) {
    time.setUnitIndex(3);
    host.flags = 0x01 | 0x02;  // a recompute still running
    time.animate(+1);
    EXPECT_TRUE(time.animating());
    EXPECT_TRUE(host.timerRunning);
    EXPECT_EQ(observer.instant, 2460000.0);
    // The timer posts a tick every second expiry.
    EXPECT_FALSE(time.animationTimerExpired());
    EXPECT_TRUE(time.animationTimerExpired());
    time.tick();
    EXPECT_EQ(observer.instant, 2460000.0);  // still not 63: delayed, not skipped
    host.flags = kAllStagesDone;
    time.tick();
    EXPECT_EQ(observer.instant, 2460001.0);
    time.tick();
    EXPECT_EQ(observer.instant, 2460002.0);  // one step per tick, never two
    // Reversing keeps the timer.
    time.animate(-1);
    EXPECT_EQ(host.timerStarts, 1);
    EXPECT_EQ(time.animationDirection(), -1);
    EXPECT_EQ(observer.instant, 2460001.0);
    // Stop: the next tick stops the timer and updates through the worker.
    time.requestStop();
    host.updates.clear();
    time.tick();
    EXPECT_FALSE(time.animating());
    EXPECT_FALSE(host.timerRunning);
    EXPECT_EQ(observer.instant, 2460001.0);
    EXPECT_EQ(host.updates, (std::vector<bool>{true}));
}

TEST_F(Fixture, AnimationWaitsWhileTheMenuIsShownAndStopsAtTheRangeEnd) {
    time.setUnitIndex(5);
    time.animate(+1);
    const double after = observer.instant;
    time.setMenuTracking(true);
    time.tick();
    EXPECT_EQ(observer.instant, after);
    time.setMenuTracking(false);
    observer.instant = host.lastJd - 10.0;
    time.tick();  // a month on would leave the ephemeris
    EXPECT_FALSE(time.animating());
    EXPECT_EQ(observer.instant, host.lastJd - 10.0);
}

TEST_F(Fixture, RealtimeTakesTheClockAndStopsAnimation) {
    time.animate(+1);
    ASSERT_EQ(state.realTime, 0);
    time.realtime();
    EXPECT_EQ(state.realTime, 1);
    EXPECT_EQ(observer.instant, host.now);
    EXPECT_TRUE(time.stopRequested());
    time.tick();
    EXPECT_FALSE(time.animating());
    // Timer 1 follows the clock only when idle and in real time.
    host.now += 1.0 / 86400.0;
    EXPECT_FALSE(time.realtimeTimerExpired(false));
    EXPECT_TRUE(time.realtimeTimerExpired(true));
    EXPECT_EQ(observer.instant, host.now);
    state.realTime = 0;
    host.now += 1.0;
    EXPECT_FALSE(time.realtimeTimerExpired(true));
    EXPECT_NE(observer.instant, host.now);
}

TEST_F(Fixture, FirstShowTakesTheClockWhateverTheDocumentHeld) {
    observer.instant = 2451545.0;
    time.takeClockInstant();
    EXPECT_EQ(observer.instant, host.now);
    host.now = 0.0;  // a clock that gives nothing keeps the instant
    time.takeClockInstant();
    EXPECT_EQ(observer.instant, 2460000.25);
}

}  // namespace
}  // namespace celestra
