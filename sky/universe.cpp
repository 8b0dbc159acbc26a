#include "sky/universe.h"

#include <sys/resource.h>
#include <unistd.h>

#include <cerrno>

#include "catalogs/deep_sky.h"
#include "core/log.h"
#include "core/time_scales.h"
#include "solarsystem/ephemeris.h"

namespace celestra {

namespace {

// Status texts. The suffixes keep the line one width as the dots grow; the
// final texts carry their trailing blanks for the same reason.
constexpr const char* kStageSuffix[kStageCount] = {".     ", "..    ", "...   ", ".... ", "Comets.. ", "..... "};
constexpr const char* kAnimatingText = "Animating";
constexpr const char* kChartBaseText = "Calc.";
constexpr const char* kRealtimeText = "Realtime      ";
constexpr const char* kStoppedText = "Stopped       ";

// The worker runs below normal priority: on Linux the nice value belongs to
// the thread, so raising it slows only the worker. Failure (a sandbox that
// forbids it) leaves the normal priority, which is harmless.
void lowerThreadPriority() {
    const id_t thread = static_cast<id_t>(gettid());
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, thread);
    if (errno == 0 && nice < 5 && setpriority(PRIO_PROCESS, thread, 5) != 0)
        debugLog("Universe worker: priority not lowered\n");
}

bool isMessierObject(int k) { return k >= kFirstMessierObject && k < kFirstCaldwellObject; }
bool isCaldwellObject(int k) { return k >= kFirstCaldwellObject && k < kCatalogueObjectCount; }

}  // namespace

bool CUniverse::StageGate::Changed(const CObserverState& observer, double toleranceDays) const {
    return !lastRun || !observer.IsSameAs(*lastRun, toleranceDays);
}

CUniverse::CUniverse(const UniverseConfig& config) {
    table_.reserve(kCatalogueObjectCount);
    for (int k = 0; k < kCatalogueObjectCount; ++k) table_.push_back(catalogueObject(k));
    motions_ = catalogueMotions();
    visibleList_.reserve(kCatalogueObjectCount);
    workList_.reserve(kCatalogueObjectCount);
    workZenithDistance_.assign(kCatalogueObjectCount, 0);
    workAzimuth_.assign(kCatalogueObjectCount, 0);
    workRaHours_.assign(kCatalogueObjectCount, 0.0);
    workDecDeg_.assign(kCatalogueObjectCount, 0.0);
    chart_.objectZenithDistance.assign(kCatalogueObjectCount, 0);
    chart_.objectAzimuth.assign(kCatalogueObjectCount, 0);
    chart_.objectRaHours.assign(kCatalogueObjectCount, 0.0);
    chart_.objectDecDeg.assign(kCatalogueObjectCount, 0.0);
    chart_.visibleObjects.reserve(kCatalogueObjectCount);

    // The reader is the process-wide one, which the dialogs' place functions share.
    EphemerisFile& reader = processEphemeris();
    std::string path, error;
    // On failure the reader is closed: a file another model left open is not this model's.
    if (!openProgramEphemeris(reader, config.ephemerisPath, path, &error)) {
        startupMessage_ = kEphemerisMissingMessage;
        debugLog("%s\n", error.c_str());
    } else {
        debugLog("Ephemeris: %s\n", path.c_str());
    }
    places_ = makePlaceContext(reader);
    spanDays_ = static_cast<int>(places_.endJd - places_.startJd);
    if (config.dailyCachePath) orbitalPaths_.setCachePath(*config.dailyCachePath);
    orbitalPaths_.setStopFlag(&stop_);  // the program's end does not wait for a build of the table
    cometFolder_ = config.cometFolder;
    if (!cometFolder_.empty()) loadComets(comets_, cometFolder_);

    worker_ = std::thread([this] { WorkerMain(); });
}

CUniverse::~CUniverse() {
    stop_.store(true);
    wake_.Signal();
    worker_.join();
    closeEphemeris();
}

void CUniverse::SetProgressListener(ProgressListener listener) {
    std::lock_guard<std::mutex> lock(listenerMutex_);
    progressListener_ = std::move(listener);
}

void CUniverse::SetStatusListener(StatusListener listener) {
    std::lock_guard<std::mutex> lock(listenerMutex_);
    statusListener_ = std::move(listener);
}

void CUniverse::ForceListRebuild() {
    std::lock_guard<std::mutex> lock(stateMutex_);
    forceRebuild_ = true;
}

void CUniverse::SetMarkedObject(int object) {
    std::lock_guard<std::mutex> lock(stateMutex_);
    if (object == markedObject_) return;
    markedObject_ = object;
    forceRebuild_ = true;
}

std::string CUniverse::StatusText() const {
    std::lock_guard<std::mutex> lock(statusMutex_);
    return statusText_;
}

CObserverState CUniverse::Observer() const { return LockedCopy(observer_); }
CUniverseViewDrawState CUniverse::DrawState() const { return LockedCopy(drawState_); }
std::vector<int32_t> CUniverse::VisibleList() const { return LockedCopy(visibleList_); }

ChartData CUniverse::ChartCopy() const {
    std::shared_lock<std::shared_mutex> lock(chartMutex_);
    return chart_;
}

// Steps 3 and 4 of Update, under stateMutex_. An entry is listed unless all
// of these hold: no figure link, the filter on, not a Messier object while
// Messier objects are selected, not a Caldwell object while Caldwell objects
// are. Such an entry is skipped when fainter than the limit; a bright enough
// deep-sky one with no deep-sky selection ends the list there (the deep-sky
// entries follow the stars, so the rest would all be deep-sky objects). The
// marked object is listed whatever the rules.
void CUniverse::RebuildVisibleListLocked() {
    const bool filterOn = magnitudeFilterOn(drawState_);
    const int32_t selection = drawState_.deepSkySelection;
    const int32_t limit = drawState_.magnitudeLimit;
    std::vector<int32_t> list;
    list.reserve(kCatalogueObjectCount);
    for (int k = 0; k < kCatalogueObjectCount; ++k) {
        const StarEntry* e = table_[static_cast<size_t>(k)];
        const bool filtered = e->figureLink1 == -1 && e->figureLink2 == -1 && filterOn &&
                              !(isMessierObject(k) && (selection & 1) != 0) &&
                              !(isCaldwellObject(k) && (selection & 2) != 0) && k != markedObject_;
        if (filtered) {
            if (e->magnitude > limit) continue;
            if (k >= kFirstMessierObject && selection == 0) {
                if (markedObject_ > k) list.push_back(markedObject_);
                break;
            }
        }
        list.push_back(k);
    }
    // An unchanged list keeps its generation, so a star stage computing for
    // it may still mark it current.
    if (list != visibleList_) {
        visibleList_.swap(list);
        ++listGeneration_;
    }
}

bool CUniverse::Update(const CObserverState& observer, const CUniverseViewDrawState& drawState, bool notify) {
    bool rebuilt = false;
    double instant;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        observer_ = observer;
        drawState_ = drawState;
        const bool orrery = orreryMode_.load();

        const bool filterOn = magnitudeFilterOn(drawState);
        bool rebuild = forceRebuild_ || filterOn != magnitudeFilterOn(listSnapshot_);
        if ((filterOn || orrery) && (drawState.deepSkySelection != listSnapshot_.deepSkySelection ||
                                     drawState.magnitudeLimit != listSnapshot_.magnitudeLimit))
            rebuild = true;
        if (rebuild) {
            forceRebuild_ = false;
            listValid_.fetch_and(~1);
            listSnapshot_ = drawState;
        }
        if ((listValid_.load() & 1) == 0) {
            RebuildVisibleListLocked();
            rebuilt = true;
        }
        instant = observer_.instant;
    }
    {
        // The status line shows the same text; a listener repaints it.
        const std::string text = StatusText();
        StatusListener listener;
        {
            std::lock_guard<std::mutex> lock(listenerMutex_);
            listener = statusListener_;
        }
        if (listener) listener(text);
    }
    if (notify) {
        {
            std::lock_guard<std::mutex> lock(idleMutex_);
            ++requested_;
        }
        wake_.Signal();
    } else {
        Recompute(instant);
    }
    return rebuilt;
}

void CUniverse::SetStatus(const std::string& text) {
    {
        std::lock_guard<std::mutex> lock(statusMutex_);
        statusText_ = text;
    }
    StatusListener listener;
    {
        std::lock_guard<std::mutex> lock(listenerMutex_);
        listener = statusListener_;
    }
    if (listener) listener(text);
}

void CUniverse::Post(int32_t flags) {
    ProgressListener listener;
    {
        std::lock_guard<std::mutex> lock(listenerMutex_);
        listener = progressListener_;
    }
    if (listener) listener(flags);
}

void CUniverse::CompleteStage(int32_t bit, bool post) {
    const int32_t flags = stageFlags_.fetch_or(bit) | bit;
    if (post) Post(flags);
}

void CUniverse::Recompute(double instantJdUtc) {
    std::lock_guard<std::mutex> oneAtATime(recomputeMutex_);
    recomputes_.fetch_add(1);

    CObserverState observer;
    CUniverseViewDrawState drawState;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        observer_.instant = instantJdUtc;
        observer = observer_;
        drawState = drawState_;
    }
    const bool animating = animating_.load();
    const bool orrery = orreryMode_.load();
    const std::string base = animating ? kAnimatingText : orrery ? "" : kChartBaseText;

    if (orrery) {
        // The orrery computes its own positions.
        stageFlags_.exchange(kAllStages);
        SetStatus(base);
        Post(kAllStages);
        return;
    }

    stageFlags_.exchange(0);
    SetStatus(base + kStageSuffix[0]);
    if (!animating) Post(0);
    deltaT_.store(deltaT(instantJdUtc));
    taiMinusUtc_.store(taiMinusUtc(instantJdUtc));

    // Each stage in running order: its text, its work, then its bit, and
    // for some a report to the chart at once.
    int index = 0;
    auto stage = [&](int32_t bit, bool post, auto&& run) {
        if (index > 0) SetStatus(base + kStageSuffix[index]);  // the opening text is the first stage's
        run();
        CompleteStage(bit, post);
        ++index;
    };
    stage(kStageStars, false, [&] { RunStars(observer); });
    stage(kStageBodies, true, [&] { RunBodies(observer); });
    stage(kStageBodyDetails, true, [&] { RunBodyDetails(observer); });
    stage(kStageGrid, false, [&] { RunGrid(observer); });
    stage(kStageComets, false, [&] { RunComets(observer, drawState); });
    stage(kStageOrbitalPaths, false, [&] { RunOrbitalPaths(observer, drawState); });

    SetStatus(animating ? kAnimatingText : drawState.realTime != 0 ? kRealtimeText : kStoppedText);
    stageFlags_.exchange(kAllStages);
    Post(kAllStages);
}

bool CUniverse::EnterStage(int stage, const CObserverState& observer, double toleranceDays) {
    StageGate& gate = gates_[static_cast<size_t>(stage)];
    if (!gate.Changed(observer, toleranceDays)) return false;
    gate.lastRun = observer;
    stageRuns_[static_cast<size_t>(stage)].fetch_add(1);
    return true;
}

// Stage one. A changed observer makes the positions stale (listValid bit 0
// clear); so does a rebuilt list. With the bit set there is nothing to do.
void CUniverse::RunStars(const CObserverState& observer) {
    if (gates_[0].Changed(observer, kStarsTolerance)) listValid_.fetch_and(~1);
    if ((listValid_.load() & 1) != 0) return;
    gates_[0].lastRun = observer;
    stageRuns_[0].fetch_add(1);

    uint64_t generation;
    {
        std::lock_guard<std::mutex> lock(stateMutex_);
        workList_.assign(visibleList_.begin(), visibleList_.end());
        generation = listGeneration_;
    }
    truePlacesFixed(FrameFor(observer), motions_, workList_.data(), workList_.size(), workZenithDistance_.data(),
                    workAzimuth_.data(), workRaHours_.data(), workDecDeg_.data());
    {
        // Every listed entry was written, so the buffers can trade places:
        // the painter's copy becomes the next run's scratch space.
        std::unique_lock<std::shared_mutex> lock(chartMutex_);
        chart_.visibleObjects.swap(workList_);
        chart_.objectZenithDistance.swap(workZenithDistance_);
        chart_.objectAzimuth.swap(workAzimuth_);
        chart_.objectRaHours.swap(workRaHours_);
        chart_.objectDecDeg.swap(workDecDeg_);
        chart_.starsInstant = observer.instant;
    }
    {
        // Current only if no Update rebuilt the list meanwhile.
        std::lock_guard<std::mutex> lock(stateMutex_);
        if (generation == listGeneration_) listValid_.fetch_or(1);
    }
}

void CUniverse::RunBodies(const CObserverState& observer) {
    if (!EnterStage(1, observer, kBodiesTolerance)) return;
    computeBodies(places_, observer, workBodies_);
    std::unique_lock<std::shared_mutex> lock(chartMutex_);
    chart_.bodies = workBodies_;
}

void CUniverse::RunBodyDetails(const CObserverState& observer) {
    if (!EnterStage(2, observer, kBodyDetailsTolerance)) return;
    computeBodyDetails(places_, observer.instant, FrameFor(observer), workDetails_);
    std::unique_lock<std::shared_mutex> lock(chartMutex_);
    chart_.bodyDetails = workDetails_;
}

void CUniverse::RunGrid(const CObserverState& observer) {
    if (!EnterStage(3, observer, kGridTolerance)) return;
    computeGrid(FrameFor(observer), workGrid_);
    std::unique_lock<std::shared_mutex> lock(chartMutex_);
    chart_.grid = workGrid_;
}

// Stage five. The comet list keeps its own copy of the observer (and of the
// magnitude limit and track step), so the step is asked on every run.
void CUniverse::RunComets(const CObserverState& observer, const CUniverseViewDrawState& drawState) {
    CometStepInputs inputs;
    inputs.magnitudeLimit = drawState.cometMagnitudeLimit;
    inputs.cometsOn = cometsOn(drawState);
    inputs.zoom = drawState.zoom;
    const CometStepResult result = updateComets(comets_, observer, inputs, places_, workCometTracks_);
    if (result == CometStepResult::Recomputed) stageRuns_[4].fetch_add(1);
    if (result != CometStepResult::Recomputed && result != CometStepResult::Cleared) return;
    std::unique_lock<std::shared_mutex> lock(chartMutex_);
    chart_.cometTracks = workCometTracks_;
}

void CUniverse::RunOrbitalPaths(const CObserverState& observer, const CUniverseViewDrawState& drawState) {
    if (!EnterStage(5, observer, kOrbitalPathsTolerance)) return;
    // The table's one-time build reports through the status line.
    const ProgressFn progress = [this](const std::string& text) { SetStatus(text); };
    computeOrbitalPaths(orbitalPaths_, places_, observer, orbitalPathsOn(drawState), progress);
    TrackWindow window;
    std::vector<float> records;
    copyTrackWindow(orbitalPaths_, window, records);
    std::unique_lock<std::shared_mutex> lock(chartMutex_);
    chart_.trackWindow = window;
    chart_.track.swap(records);
    chart_.trackValid = orbitalPaths_.trackValid();
}

const HorizonFrame& CUniverse::FrameFor(const CObserverState& observer) {
    if (!frameObserver_ || !observer.IsSameAs(*frameObserver_, kExactInstant)) {
        frame_ = makeHorizonFrame(places_, observer);
        frameObserver_ = observer;
    }
    return frame_;
}

void CUniverse::WorkerMain() {
    lowerThreadPriority();
    for (;;) {
        wake_.Wait();
        if (stop_.load()) break;
        uint64_t covers;
        {
            std::lock_guard<std::mutex> lock(idleMutex_);
            covers = requested_;
        }
        double instant;
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            instant = observer_.instant;
        }
        Recompute(instant);
        {
            std::lock_guard<std::mutex> lock(idleMutex_);
            completed_ = covers;
        }
        idleChanged_.notify_all();
    }
}

bool CUniverse::WaitUntilIdle(std::chrono::milliseconds timeout) const {
    std::unique_lock<std::mutex> lock(idleMutex_);
    return idleChanged_.wait_for(lock, timeout, [this] { return completed_ == requested_; });
}

}  // namespace celestra
