#include "ui/sky_model.h"

#include <sys/resource.h>
#include <unistd.h>

namespace celestra {

namespace {
constexpr int kWorkerNice = 5;
}  // namespace

SkyModel::SkyModel(QObject* parent) : QObject(parent) {
    snapshot_ = std::make_shared<SkySnapshot>();
    worker_ = std::thread([this] {
        // Below normal priority (a nice level of its own, as Linux threads
        // have), so drawing and input come first; never idle-only, which
        // would starve it while other programs keep the processors busy.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
        run();
    });
}

SkyModel::~SkyModel() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    worker_.join();
}

bool SkyModel::openEphemeris(const std::string& path, std::string& error) {
    std::lock_guard lock(mutex_);
    return workerSky_.openEphemeris(path, error) && callerSky_.openEphemeris(path, error);
}

QString SkyModel::finalStatus(const CUniverseViewDrawState& state) const {
    if (animating_) return QString::fromLatin1(kStatusAnimating);
    return QString::fromLatin1(state.realTime ? kStatusRealtime : kStatusStopped);
}

void SkyModel::Update(const CObserverState& observer, const CUniverseViewDrawState& state, bool notify) {
    if (notify) {
        {
            std::lock_guard lock(mutex_);
            pending_ = Request{observer, state};
        }
        wake_.notify_all();
        return;
    }
    auto snapshot = std::make_shared<SkySnapshot>();
    callerSky_.compute(observer, state, false, *snapshot);
    {
        // Keep the last tracks: they move by a day's step at most, and the
        // worker run that follows replaces them.
        std::lock_guard lock(mutex_);
        snapshot->tracks = snapshot_->tracks;
    }
    publish(std::move(snapshot), finalStatus(state));
}

void SkyModel::publish(std::shared_ptr<SkySnapshot> snapshot, const QString& status) {
    std::lock_guard lock(mutex_);
    snapshot_ = std::move(snapshot);
    status_ = status;
}

QString SkyModel::statusText() const {
    std::lock_guard lock(mutex_);
    return status_;
}

std::shared_ptr<const SkySnapshot> SkyModel::snapshot() const {
    std::lock_guard lock(mutex_);
    return snapshot_;
}

void SkyModel::waitIdle() {
    std::unique_lock lock(mutex_);
    wake_.wait(lock, [this] { return stop_ || (!pending_ && !busy_); });
}

void SkyModel::run() {
    for (;;) {
        Request request;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return stop_ || pending_.has_value(); });
            if (stop_) return;
            request = std::move(*pending_);
            pending_.reset();
            busy_ = true;
            stageFlags_ = 0;
            status_ = animating_ ? QStringLiteral("Animating") : QStringLiteral("Calc.     ");
        }
        auto snapshot = std::make_shared<SkySnapshot>();
        bool building = false;
        workerSky_.compute(request.observer, request.state, orbitalPaths_, *snapshot,
                           [&](const std::string& text, int percent) {
                               building = true;
                               {
                                   std::lock_guard lock(mutex_);
                                   status_ = QString::fromStdString(text);
                               }
                               emit buildProgress(percent, QString::fromStdString(text));
                           });
        if (building) emit buildProgress(100, QString());
        publish(std::move(snapshot), finalStatus(request.state));
        stageFlags_ = 63;
        emit stagesDone(63);
        {
            std::lock_guard lock(mutex_);
            busy_ = false;
        }
        wake_.notify_all();
    }
}

}  // namespace celestra
