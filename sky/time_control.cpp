#include "sky/time_control.h"

#include "model/draw_state.h"
#include "model/observer_state.h"

namespace celestra {

TimeControl::TimeControl(TimeControlHost& host, CObserverState& observer, CUniverseViewDrawState& drawState)
    : host_(host), observer_(observer), drawState_(drawState) {}

void TimeControl::setUnitIndex(int index) {
    if (index >= 0 && index < static_cast<int>(kTimeUnits.size())) unitIndex_ = index;
}

bool TimeControl::realTime() const { return drawState_.realTime != 0; }

bool TimeControl::setInstant(double jd) {
    double first = 0.0, last = 0.0;
    host_.ephemerisRange(first, last);
    // Without an ephemeris (range 0, 0) every instant is outside it. A NaN
    // fails both comparisons, so test for being inside.
    if (!(jd >= first && jd <= last)) {
        stopRequested_ = true;
        return false;
    }
    if (jd != 0.0) observer_.instant = jd;
    host_.updateModel(false);
    drawState_.realTime = 0;
    host_.updateModel(true);
    return true;
}

bool TimeControl::step(int sign) { return setInstant(observer_.instant + (sign < 0 ? -stepDays() : stepDays())); }

void TimeControl::animate(int direction) {
    direction_ = direction < 0 ? -1 : 1;
    stopRequested_ = false;
    tick();
}

void TimeControl::tick() {
    if (!animating_) {
        host_.startAnimationTimer();
        animating_ = true;
        expiries_ = 0;
    }
    if (menuTracking_ && !stopRequested_) return;
    if (!stopRequested_ && host_.stageFlags() == kAllStagesDone) step(direction_);
    if (stopRequested_) {
        host_.stopAnimationTimer();
        animating_ = false;
        host_.updateModel(true);
    }
}

bool TimeControl::animationTimerExpired() {
    if (!animating_) return false;
    return (++expiries_ % 2) == 0;
}

void TimeControl::realtime() {
    stopRequested_ = true;
    drawState_.realTime = 1;
    host_.updateModel(true);
    const double now = host_.clockNowUtc();
    if (now != 0.0) observer_.instant = now;
    host_.updateModel(true);
}

bool TimeControl::realtimeTimerExpired(bool viewIdle) {
    if (drawState_.realTime == 0 || !viewIdle) return false;
    observer_.instant = host_.clockNowUtc();
    host_.updateModel(true);
    return true;
}

void TimeControl::takeClockInstant() {
    const double now = host_.clockNowUtc();
    if (now != 0.0) observer_.instant = now;
}

}  // namespace celestra
