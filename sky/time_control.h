// How the chart's instant moves: real-time following of the clock, single
// steps of a chosen unit, and animation that repeats steps on a 400 ms timer
// only when the previous recompute has finished.
//
// The instant is the view's observer state's Julian day on the UTC scale;
// the real-time flag is the drawing state's field 1. Every change ends in
// an update of the sky model through the host.
#pragma once

#include <array>
#include <cstddef>

namespace celestra {

class CObserverState;
class CUniverseViewDrawState;

// What the time control needs from the chart view and its sky model.
class TimeControlHost {
public:
    virtual ~TimeControlHost() = default;
    // The model's Update: without notification it recomputes before
    // returning; with it, the worker recomputes and the chart is told.
    virtual void updateModel(bool notifyChart) = 0;
    // The model's completed-stage bits (63 when the last recompute is done).
    virtual int stageFlags() const = 0;
    // The ephemeris file's first and last Julian day (0, 0 when none is open).
    virtual void ephemerisRange(double& firstJd, double& lastJd) const = 0;
    // The clock's current UTC Julian day.
    virtual double clockNowUtc() const = 0;
    // Timer 2: started at 400 ms, stopped.
    virtual void startAnimationTimer() = 0;
    virtual void stopAnimationTimer() = 0;
};

constexpr int kAllStagesDone = 63;
constexpr int kAnimationTimerMs = 400;
constexpr int kRealtimeTimerMs = 1000;

struct TimeUnit {
    const char* menuText;
    double days;
};
// "Month" is always 31 days.
constexpr std::array<TimeUnit, 6> kTimeUnits = {{
    {"1 Minute", 1.0 / 1440.0},
    {"10 Minutes", 10.0 / 1440.0},
    {"Hour", 1.0 / 24.0},
    {"Day", 1.0},
    {"Week", 7.0},
    {"Month", 31.0},
}};

class TimeControl {
public:
    TimeControl(TimeControlHost& host, CObserverState& observer, CUniverseViewDrawState& drawState);

    int unitIndex() const { return unitIndex_; }
    void setUnitIndex(int index);  // 0..5; others ignored
    double stepDays() const { return kTimeUnits[static_cast<std::size_t>(unitIndex_)].days; }

    int animationDirection() const { return direction_; }
    bool animating() const { return animating_; }
    bool stopRequested() const { return stopRequested_; }
    bool realTime() const;

    // While the time pop-up menu is shown, animation ticks wait.
    void setMenuTracking(bool shown) { menuTracking_ = shown; }

    // Sets the instant: refused (false, the animation asked to stop, nothing
    // changed) outside the ephemeris range; else the instant is taken (a
    // zero J keeps the old one), the model recomputes at once, real time is
    // left and the chart is notified through the worker.
    bool setInstant(double jd);
    bool step(int sign);  // instant ± one unit

    // "Animate +" / "Animate -": direction, clear the stop request, one tick.
    // A running animation keeps its timer and only turns.
    void animate(int direction);
    // "Animate Stop", and Return, Escape or Space while animating.
    void requestStop() { stopRequested_ = true; }
    // The animation tick (command 32784): starts the timer when needed, steps
    // when the model has finished (stage bits 63), stops on a request.
    void tick();
    // Each expiry of timer 2: true every second one, when the view should
    // post the animation tick (a step is attempted every 800 ms).
    bool animationTimerExpired();

    // "Realtime": stop any animation, real time on, the instant from the clock.
    void realtime();
    // Timer 1: while real time runs and the view is idle, the clock's instant.
    // True when the instant was taken.
    bool realtimeTimerExpired(bool viewIdle);
    // The chart shows for the first time: the clock's instant, whatever the document held.
    void takeClockInstant();

private:
    TimeControlHost& host_;
    CObserverState& observer_;
    CUniverseViewDrawState& drawState_;
    int unitIndex_ = 0;
    int direction_ = 0;
    bool stopRequested_ = false;
    bool animating_ = false;
    bool menuTracking_ = false;
    int expiries_ = 0;
};

}  // namespace celestra
