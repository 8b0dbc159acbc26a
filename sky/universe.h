// The universe model: what the chart draws from. It holds the observer's
// state and the chart's drawing state as last given to Update, the
// catalogue object table with the list of objects the magnitude filter lets
// through, and the positions the chart draws; it recomputes the sky for a
// new instant or observer in six stages on a worker thread. The document
// (sights, custom places, colour schemes) is not here: its one copy is the
// program's DocumentData, which the GUI loads and saves.
//
// Threads. The UI thread (or several: the GUI, the command line, tests) calls
// Update, the accessors and the setters. The worker thread runs Recompute
// when Update signals it; Update without notification runs Recompute on the
// caller's thread. Recomputes never overlap (one mutex around the stage
// sequence), so the per-stage state and the solar-system caches see one
// writer at a time. A stage computes into buffers of its own and publishes
// its results under an exclusive lock; the chart reads them under a shared
// lock (ReadChart), so a painter never meets half-written positions.
// stageFlags and listValid are atomics; the status text is copied under a
// lock. The ephemeris reader locks itself; the Earth-state, ΔT and nutation
// caches are per thread.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <shared_mutex>
#include <string>
#include <thread>
#include <vector>

#include "catalogs/star_catalog.h"
#include "model/draw_state.h"
#include "model/observer_state.h"
#include "sky/auto_reset_event.h"
#include "sky/star_positions.h"
#include "sky/universe_stages.h"
#include "solarsystem/comets.h"
#include "solarsystem/daily_ephemeris.h"
#include "solarsystem/planets.h"

namespace celestra {

// Bits of stageFlags, in the order the stages complete.
constexpr int32_t kStageStars = 0x01;
constexpr int32_t kStageBodies = 0x02;
constexpr int32_t kStageBodyDetails = 0x10;
constexpr int32_t kStageGrid = 0x04;
constexpr int32_t kStageComets = 0x20;
constexpr int32_t kStageOrbitalPaths = 0x08;
constexpr int32_t kAllStages = 0x3F;
constexpr int kStageCount = 6;

// Clock tolerances of the stages' change tests, days. Everything the chart
// places by the sky's rotation follows every change of the instant; the
// comets' tracks and the daily paths, a minute's work of a few pixels, wait
// for about a minute of change.
constexpr double kStarsTolerance = kExactInstant;
constexpr double kBodiesTolerance = kBodiesInstantTolerance;  // as updateBodies
constexpr double kBodyDetailsTolerance = kExactInstant;
constexpr double kGridTolerance = kExactInstant;
constexpr double kCometsTolerance = kCometsInstantTolerance;       // 52.8 s, kept by the comet list
constexpr double kOrbitalPathsTolerance = kTrackInstantTolerance;  // 51.6 s, as the daily track

// The number of the progress message the GUI turns the listener into
// (first user message 1024 + 100); the listener receives stageFlags.
constexpr int kProgressMessage = 1124;

// Shown once by the GUI when construction found no ephemeris file.
inline constexpr const char* kEphemerisMissingMessage =
    "Ephemeris data file is missing. Planetary data will be incorrect. Please reinstall Celestra.";

// Drawing-state switches the model reads. Field 6 is the magnitude filter
// (1: list only what passes the magnitude limit and the deep-sky selection;
// 0: list every catalogue object). Field 12 is the comets' magnitude limit
// ("Comets    Mag:", thousandths; 10.0 by default, 5.0 after a document
// load). Overlay entry 10 is the comets option and entry 11 "Orbital
// Paths": both off in the constant table; a document load switches the
// comets on, while the paths (with their one-time build of the daily
// places) wait until the user asks.
inline bool magnitudeFilterOn(const CUniverseViewDrawState& s) { return s.magnitudeFilter != 0; }
inline void setMagnitudeFilter(CUniverseViewDrawState& s, bool on) { s.magnitudeFilter = on ? 1 : 0; }
constexpr int kCometsOverlay = 10;
constexpr int kOrbitalPathsOverlay = 11;
inline bool cometsOn(const CUniverseViewDrawState& s) { return s.overlays[kCometsOverlay] != 0; }
inline bool orbitalPathsOn(const CUniverseViewDrawState& s) { return s.overlays[kOrbitalPathsOverlay] != 0; }

struct UniverseConfig {
    // Ephemeris file; empty: the usual search (findEphemerisFile).
    std::string ephemerisPath;
    // Where the orbital paths' daily table is cached; unset: the user's
    // cache folder (dailyCachePath()).
    std::optional<std::string> dailyCachePath;
    // Folder of the comet element files (the data folder); empty: the list
    // starts empty.
    std::string cometFolder;
};

// What the chart draws from, as the stages last published it.
struct ChartData {
    // Stage one. The list the positions were computed for, and per combined
    // object number (0..9328) the apparent topocentric place: 16.16 zenith
    // distance (refracted when the observer's option is on) and azimuth, and
    // the right ascension (hours) and declination (degrees) of date; entries
    // of objects not in that list are stale.
    std::vector<int32_t> visibleObjects;
    std::vector<int32_t> objectZenithDistance;
    std::vector<int32_t> objectAzimuth;
    std::vector<double> objectRaHours;
    std::vector<double> objectDecDeg;
    double starsInstant = 0.0;  // UTC Julian day of the star positions
    // Stage two: distance, 16.16 zenith distance and azimuth, angular diameter
    // per body (index BodyNumber - 1); `valid` false outside the ephemeris.
    BodySlots bodies;
    // Stage three.
    BodyDetails bodyDetails;
    // Stage four.
    GridNodes grid;
    // Stage five: one 21-point track per selected comet (empty while the
    // comets option is off).
    std::vector<CometTrack> cometTracks;
    // Stage six: days [first, end) of the daily table around the current
    // date; per day 6 path bodies × (zenith distance, azimuth) in degrees.
    TrackWindow trackWindow;
    std::vector<float> track;
    bool trackValid = false;
};

class CUniverse {
public:
    // Called with stageFlags after stages two and three and at the end of a
    // recompute (and at its start unless animating). It runs on the thread
    // that recomputes (mostly the worker) and must only queue: the GUI
    // turns it into a queued signal. It must not call Update.
    using ProgressListener = std::function<void(int32_t stageFlags)>;
    // Called with the new status text whenever it changes (same thread rules).
    using StatusListener = std::function<void(const std::string& text)>;

    // Opens the ephemeris, names the bodies and the custom places, builds
    // the catalogue directions and starts the worker.
    explicit CUniverse(const UniverseConfig& config = {});
    // Stops the worker (flag and wake-up) and closes the ephemeris.
    ~CUniverse();
    CUniverse(const CUniverse&) = delete;
    CUniverse& operator=(const CUniverse&) = delete;

    // kEphemerisMissingMessage when no ephemeris could be opened, else empty.
    const std::string& StartupMessage() const { return startupMessage_; }

    void SetProgressListener(ProgressListener listener);
    void SetStatusListener(StatusListener listener);

    // Takes a new observer and drawing state (the drawing state is also the
    // persisted one unless in orrery mode), rebuilds the visible list when
    // the filter inputs changed, then recomputes: with `notify` on the
    // worker (Update returns at once), without it here before returning.
    // Returns true when the visible list was rebuilt.
    bool Update(const CObserverState& observer, const CUniverseViewDrawState& drawState, bool notify);

    // The six stages for the current observer at `instantJdUtc` (UTC).
    // Recomputes never overlap: one on another thread is waited for (the
    // orbital paths' one-time table build can take a second).
    void Recompute(double instantJdUtc);

    // Orrery mode: a recompute only reports all stages done.
    void SetOrreryMode(bool on) { orreryMode_.store(on); }
    bool OrreryMode() const { return orreryMode_.load(); }
    // Set by the time control while an animation runs.
    void SetAnimating(bool on) { animating_.store(on); }
    bool Animating() const { return animating_.load(); }
    // The next Update rebuilds the visible list (after catalogue data changed).
    void ForceListRebuild();
    // A catalogue object listed whatever the filter (Find marks what it
    // centres on); -1 for none. The next Update rebuilds the list when it changed.
    void SetMarkedObject(int object);
    int MarkedObject() const { return LockedCopy(markedObject_); }

    int32_t StageFlags() const { return stageFlags_.load(); }
    int32_t ListValid() const { return listValid_.load(); }
    std::string StatusText() const;

    // The ephemeris's first and last day (TDB Julian days) and its whole days; 0 without a file.
    double EphemerisStart() const { return places_.startJd; }
    double EphemerisEnd() const { return places_.endJd; }
    int EphemerisSpanDays() const { return spanDays_; }
    // ΔT and TAI - UTC (seconds) of the last recompute's instant.
    double CurrentDeltaT() const { return deltaT_.load(); }
    double CurrentTaiMinusUtc() const { return taiMinusUtc_.load(); }

    CObserverState Observer() const;
    CUniverseViewDrawState DrawState() const;
    std::vector<int32_t> VisibleList() const;

    // Calls reader(const ChartData&) under the shared lock; keep it short.
    template <class Reader>
    void ReadChart(Reader&& reader) const {
        std::shared_lock<std::shared_mutex> lock(chartMutex_);
        reader(static_cast<const ChartData&>(chart_));
    }
    ChartData ChartCopy() const;

    // The reader and the eleven bodies ("Mercury" .. "Moon", numbers 1..11,
    // type 0) for the place functions the dialogs call.
    const PlaceContext& Places() const { return places_; }

    // The comet list (it has its own lock): reloaded after a download.
    CometList& Comets() { return comets_; }
    // The folder the comet element files are read from ("" when none).
    const std::string& CometFolder() const { return cometFolder_; }

    // Diagnostics: how often stage i (0..5, in running order) found its
    // inputs changed and ran, and how many recomputes ran.
    long StageRunCount(int stage) const { return stageRuns_[static_cast<size_t>(stage)].load(); }
    long RecomputeCount() const { return recomputes_.load(); }
    // Waits until the worker has finished every recompute requested so far.
    bool WaitUntilIdle(std::chrono::milliseconds timeout) const;

private:
    struct StageGate {
        std::optional<CObserverState> lastRun;
        // True when `observer` differs from the last run (or there was none).
        bool Changed(const CObserverState& observer, double toleranceDays) const;
    };

    // A copy of one of the inputs, taken under stateMutex_.
    template <class T>
    T LockedCopy(const T& member) const {
        std::lock_guard<std::mutex> lock(stateMutex_);
        return member;
    }

    void WorkerMain();
    // The frame of `observer`, computed when the observer changed (recomputeMutex_).
    const HorizonFrame& FrameFor(const CObserverState& observer);
    void RebuildVisibleListLocked();
    void SetStatus(const std::string& text);
    void Post(int32_t flags);
    void CompleteStage(int32_t bit, bool post);
    // The gate of stage `stage` (0..5): true, with the observer kept and the
    // run counted, when the observer changed beyond the tolerance.
    bool EnterStage(int stage, const CObserverState& observer, double toleranceDays);

    void RunStars(const CObserverState& observer);
    void RunBodies(const CObserverState& observer);
    void RunBodyDetails(const CObserverState& observer);
    void RunGrid(const CObserverState& observer);
    void RunComets(const CObserverState& observer, const CUniverseViewDrawState& drawState);
    void RunOrbitalPaths(const CObserverState& observer, const CUniverseViewDrawState& drawState);

    // Set at construction, then read only.
    PlaceContext places_;
    int spanDays_ = 0;
    std::string cometFolder_;
    std::string startupMessage_;
    CatalogueMotions motions_;
    std::vector<const StarEntry*> table_;  // the 9329 catalogue records

    // Inputs (stateMutex_).
    mutable std::mutex stateMutex_;
    CObserverState observer_;
    CUniverseViewDrawState drawState_;
    CUniverseViewDrawState listSnapshot_;
    std::vector<int32_t> visibleList_;
    uint64_t listGeneration_ = 0;
    bool forceRebuild_ = true;  // the list has never been built
    int markedObject_ = -1;

    std::atomic<int32_t> stageFlags_{0};
    std::atomic<int32_t> listValid_{0};
    std::atomic<bool> orreryMode_{false};
    std::atomic<bool> animating_{false};
    std::atomic<double> deltaT_{0.0};
    std::atomic<double> taiMinusUtc_{0.0};

    // The stage sequence and its working state (recomputeMutex_).
    std::mutex recomputeMutex_;
    std::array<StageGate, kStageCount> gates_;
    std::vector<int32_t> workList_;
    std::vector<int32_t> workZenithDistance_, workAzimuth_;
    std::vector<double> workRaHours_, workDecDeg_;
    // The horizon frame of the observer the stages last ran for.
    std::optional<CObserverState> frameObserver_;
    HorizonFrame frame_;
    BodySlots workBodies_;
    BodyDetails workDetails_;
    GridNodes workGrid_;
    OrbitalPaths orbitalPaths_;
    std::vector<CometTrack> workCometTracks_;
    CometList comets_;  // its own lock; the UI thread reloads it

    // Published results (chartMutex_).
    mutable std::shared_mutex chartMutex_;
    ChartData chart_;

    mutable std::mutex statusMutex_;
    std::string statusText_;

    std::mutex listenerMutex_;
    ProgressListener progressListener_;
    StatusListener statusListener_;

    std::array<std::atomic<long>, kStageCount> stageRuns_{};
    std::atomic<long> recomputes_{0};

    // Worker.
    AutoResetEvent wake_;
    std::atomic<bool> stop_{false};
    mutable std::mutex idleMutex_;
    mutable std::condition_variable idleChanged_;
    uint64_t requested_ = 0;  // recomputes asked of the worker (idleMutex_)
    uint64_t completed_ = 0;  // the requests covered by finished runs
    std::thread worker_;
};

}  // namespace celestra
