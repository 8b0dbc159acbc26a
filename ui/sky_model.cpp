#include "ui/sky_model.h"

#include <cstdlib>
#include <cstring>

namespace celestra {

namespace {
constexpr const char* kBuildPrefix = "One time init: ";
}  // namespace

SkyModel::SkyModel(const UniverseConfig& config, QObject* parent)
    : QObject(parent), universe_(std::make_unique<CUniverse>(config)) {
    // Both listeners run on the recomputing thread: they only count and queue.
    universe_->SetProgressListener([this](int32_t flags) {
        ++generation_;
        emit stagesDone(flags);
    });
    universe_->SetStatusListener([this](const std::string& text) {
        if (text.rfind(kBuildPrefix, 0) == 0) {
            building_ = true;
            emit buildProgress(std::atoi(text.c_str() + std::strlen(kBuildPrefix)), QString::fromStdString(text));
        } else if (building_.exchange(false)) {
            emit buildProgress(100, QString());
        }
    });
}

SkyModel::~SkyModel() {
    universe_->SetProgressListener({});
    universe_->SetStatusListener({});
}

void SkyModel::Update(const CObserverState& observer, const CUniverseViewDrawState& state) {
    {
        std::lock_guard lock(observerMutex_);
        observer_ = observer;
    }
    CUniverseViewDrawState withPaths = state;
    withPaths.overlays[kOrbitalPathsOverlay] = orbitalPaths_ ? 1 : 0;
    universe_->Update(observer, withPaths, true);
    ++generation_;
}

std::shared_ptr<const SkySnapshot> SkyModel::snapshot() {
    const uint64_t generation = generation_.load();
    if (snapshot_ && generation == snapshotGeneration_) return snapshot_;
    auto fresh = std::make_shared<SkySnapshot>();
    CObserverState observer;
    {
        std::lock_guard lock(observerMutex_);
        observer = observer_;
    }
    const double first = firstJd(), last = lastJd();
    universe_->ReadChart([&](const ChartData& chart) { snapshotFromChart(chart, observer, first, last, *fresh); });
    snapshot_ = std::move(fresh);
    snapshotGeneration_ = generation;
    return snapshot_;
}

void SkyModel::waitIdle() { universe_->WaitUntilIdle(std::chrono::seconds(60)); }

}  // namespace celestra
