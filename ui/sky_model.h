// The chart's sky model: computes sky snapshots on a worker thread and
// tells the chart through a queued signal after each recompute. An update
// without notification is computed on the caller's thread before it returns
// (the time steps need the new sky at once); it leaves the orbital paths of
// the last worker run in place, so it never waits for the worker.
#pragma once

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "sky/chart_sky.h"

namespace celestra {

class SkyModel : public QObject {
    Q_OBJECT
public:
    explicit SkyModel(QObject* parent = nullptr);
    ~SkyModel() override;

    // Opens the ephemeris; the message says why when there is none.
    bool openEphemeris(const std::string& path, std::string& error);
    double firstJd() const { return workerSky_.firstJd(); }
    double lastJd() const { return workerSky_.lastJd(); }

    // Copies the states in and recomputes: on the worker with `notify`
    // (the chart hears of it through stagesDone), else right here.
    void Update(const CObserverState& observer, const CUniverseViewDrawState& state, bool notify);
    // The daily-place option ("Orbital Paths").
    void setOrbitalPaths(bool on) { orbitalPaths_ = on; }
    bool orbitalPaths() const { return orbitalPaths_; }
    void setAnimating(bool on) { animating_ = on; }

    int stageFlags() const { return stageFlags_.load(); }
    QString statusText() const;
    std::shared_ptr<const SkySnapshot> snapshot() const;

    // Waits (tests, benchmarks and the command line) until the worker has no work left.
    void waitIdle();

signals:
    // Posted after each worker recompute, with the completed-stage bits.
    void stagesDone(int stageFlags);
    // The one-time build of the daily places: 0..100 (100 when done).
    void buildProgress(int percent, const QString& text);

private:
    struct Request {
        CObserverState observer;
        CUniverseViewDrawState state;
    };
    void run();
    void publish(std::shared_ptr<SkySnapshot> snapshot, const QString& status);
    QString finalStatus(const CUniverseViewDrawState& state) const;

    ChartSky workerSky_;
    ChartSky callerSky_;
    std::atomic<bool> orbitalPaths_{true};
    std::atomic<bool> animating_{false};
    std::atomic<int> stageFlags_{63};

    mutable std::mutex mutex_;  // guards everything below
    std::condition_variable wake_;
    std::optional<Request> pending_;
    bool busy_ = false;
    bool stop_ = false;
    std::shared_ptr<const SkySnapshot> snapshot_;
    QString status_;
    std::thread worker_;
};

}  // namespace celestra
