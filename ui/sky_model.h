// The chart's side of the universe model: passes the view's states to it,
// turns its progress reports (from the worker thread) into queued signals,
// and turns what it published into the snapshot the chart paints from.
//
// The chart never recomputes on its own thread: the model's recomputes are
// serialised, so a recompute asked for here would wait for the worker's
// run, which is seconds long while the daily places are first built. Every
// update therefore goes to the worker, and the chart repaints a few
// milliseconds later when the worker reports.
#pragma once

#include <QObject>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>

#include "sky/chart_sky.h"
#include "sky/universe.h"

namespace celestra {

class SkyModel : public QObject {
    Q_OBJECT
public:
    explicit SkyModel(const UniverseConfig& config = {}, QObject* parent = nullptr);
    ~SkyModel() override;

    CUniverse& universe() { return *universe_; }
    // The message to show once when there is no ephemeris, else empty.
    QString startupMessage() const { return QString::fromStdString(universe_->StartupMessage()); }
    double firstJd() const { return universe_->EphemerisStart(); }
    double lastJd() const { return universe_->EphemerisEnd(); }

    // The model's Update, on the worker. The "Orbital Paths" preference goes
    // in with the drawing state.
    void Update(const CObserverState& observer, const CUniverseViewDrawState& state);
    void setOrbitalPaths(bool on) { orbitalPaths_ = on; }
    bool orbitalPaths() const { return orbitalPaths_; }
    void setAnimating(bool on) { universe_->SetAnimating(on); }

    int stageFlags() const { return universe_->StageFlags(); }
    QString statusText() const { return QString::fromStdString(universe_->StatusText()); }
    // The snapshot of the last published results (rebuilt when stale).
    std::shared_ptr<const SkySnapshot> snapshot();

    // Waits (tests, benchmarks) until the worker has nothing left to do.
    void waitIdle();

signals:
    // Posted after the worker's stages, with the completed-stage bits.
    void stagesDone(int stageFlags);
    // The one-time build of the daily places: 0..100 (100 when done).
    void buildProgress(int percent, const QString& text);

private:
    std::unique_ptr<CUniverse> universe_;
    std::atomic<bool> orbitalPaths_{true};
    std::atomic<bool> building_{false};
    // Bumped by every report of the model; the snapshot is rebuilt when it moved.
    std::atomic<uint64_t> generation_{1};
    uint64_t snapshotGeneration_ = 0;
    std::mutex observerMutex_;
    CObserverState observer_;  // the place and zone the snapshot is for
    std::shared_ptr<const SkySnapshot> snapshot_;
};

}  // namespace celestra
