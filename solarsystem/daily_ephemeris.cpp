#include "solarsystem/daily_ephemeris.h"

#include <unistd.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/data_paths.h"
#include "core/horizon.h"
#include "core/log.h"
#include "core/regular_file.h"

namespace celestra {

static_assert(std::endian::native == std::endian::little, "the cache file is little-endian, as held in memory");
static_assert(sizeof(float) * kDailyRecordFloats == 48, "one day of the cache is 48 bytes");

namespace {

constexpr double kMaxTableBytes = 536870911.0;

bool writeAll(std::FILE* f, const void* data, size_t bytes) {
    return bytes == 0 || std::fwrite(data, 1, bytes, f) == bytes;
}

}  // namespace

int dailyDayCount(double startJd, double endJd) {
    const double span = endJd - startJd;
    if (!std::isfinite(span) || span < 1.0) return 0;
    const double days = std::trunc(span);
    if (days * kDailyRecordFloats * sizeof(float) > kMaxTableBytes) return 0;
    return static_cast<int>(days);
}

bool buildDailyPlaces(const PlaceContext& context, DailyPlaceTable& table, const ProgressFn& progress,
                      const std::atomic<bool>* stop) {
    table.places.assign(static_cast<size_t>(table.days) * kDailyRecordFloats, 0.0f);
    // The start day taken to TT once, then used as a UTC instant: each
    // sample lies about a minute after the start's time of day.
    const JulianDay t0 = ttFromUtc(table.startJd);
    // Day by day rather than body by body: the six bodies of one day share
    // the Earth's state and the ephemeris record.
    int reported = -1;
    for (int j = 0; j < table.days; ++j) {
        if (stop && stop->load(std::memory_order_relaxed)) return false;
        const int stage = static_cast<int>(static_cast<long long>(j) * kPathBodyCount / table.days);
        if (stage != reported && progress) {
            char text[32];
            std::snprintf(text, sizeof text, "One time init: %d%%", stage * 100 / kPathBodyCount);
            progress(text);
        }
        reported = stage;
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            double ra = 0.0, dec = 0.0, distance = 0.0;
            geocentricPlaceUtc(context, t0 + j, kPathBodies[slot], ra, dec, distance);
            float* record = &table.places[static_cast<size_t>(j) * kDailyRecordFloats + 2 * slot];
            record[0] = static_cast<float>(ra);
            record[1] = static_cast<float>(dec);
        }
    }
    return true;
}

bool loadDailyPlaceCache(const std::string& path, DailyPlaceTable& table) {
    if (path.empty() || table.days <= 0) return false;
    const size_t count = static_cast<size_t>(table.days) * kDailyRecordFloats;
    const uint64_t expected = 2 * sizeof(double) + count * sizeof(float);
    std::vector<uint8_t> bytes;
    InputFileError error;
    if (readRegularFile(path, expected, bytes, error) != InputFileStatus::Ok) {
        if (error.status != InputFileStatus::Missing)
            debugLog("Daily ephemeris cache %s %s\n", path.c_str(), error.reason.c_str());
        return false;
    }
    if (bytes.size() != expected) return false;
    double header[2];
    std::memcpy(header, bytes.data(), sizeof header);
    if (header[0] != table.startJd || header[1] != table.endJd) return false;
    std::vector<float> places(count);
    std::memcpy(places.data(), bytes.data() + sizeof header, count * sizeof(float));
    // A failed place is stored as zeros; anything else outside the ranges
    // (a NaN, an hour of 25) is a damaged cache, which is rebuilt.
    for (size_t i = 0; i < count; i += 2) {
        const float ra = places[i], dec = places[i + 1];
        if (!(ra >= 0.0f && ra <= 24.0f && dec >= -90.0f && dec <= 90.0f)) {
            debugLog("Daily ephemeris cache %s: day %zu holds an impossible place; rebuilding\n", path.c_str(),
                     i / kDailyRecordFloats);
            return false;
        }
    }
    table.places = std::move(places);
    return true;
}

bool saveDailyPlaceCache(const std::string& path, const DailyPlaceTable& table) {
    if (path.empty()) return false;
    const std::string temporary = path + ".tmp." + std::to_string(::getpid());
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    const double header[2] = {table.startJd, table.endJd};
    bool ok =
        writeAll(f, header, sizeof header) && writeAll(f, table.places.data(), table.places.size() * sizeof(float));
    ok = (std::fflush(f) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

std::string dailyCachePath() { return userCacheFolder() + "/celestra.40C"; }

TrackWindow trackWindow(int days, double startJd, JulianDay currentUtc) {
    TrackWindow w;
    const double d = std::trunc(currentUtc - startJd);
    if (!std::isfinite(d) || days <= 0) return w;
    const double first = std::max(0.0, d - kTrackHalfWindowDays);
    const double end = std::min(static_cast<double>(days), d + kTrackHalfWindowDays);
    if (end <= first) return w;
    w.first = static_cast<int>(first);
    w.end = static_cast<int>(end);
    return w;
}

void OrbitalPaths::setCachePath(std::string path) {
    cachePath_ = std::move(path);
    cachePathSet_ = true;
}

void OrbitalPaths::prepareTable(const PlaceContext& context, const ProgressFn& progress) {
    table_ = DailyPlaceTable{};
    table_.startJd = context.startJd;
    table_.endJd = context.endJd;
    table_.days = dailyDayCount(context.startJd, context.endJd);
    track_.assign(static_cast<size_t>(table_.days) * kDailyRecordFloats, 0.0f);
    if (!cachePathSet_) setCachePath(dailyCachePath());

    if (loadDailyPlaceCache(cachePath_, table_)) {
        tableReady_ = true;
        return;
    }
    debugLog("Cached Daily Ephemeris does not exist or was invalid, attempting creation\n");
    if (!buildDailyPlaces(context, table_, progress, stop_)) return;
    tableReady_ = true;
    const bool saved =
        !cachePath_.empty() && makeFolders(parentFolder(cachePath_)) && saveDailyPlaceCache(cachePath_, table_);
    if (!saved) debugLog("Daily ephemeris cache could not be written; kept in memory only\n");
}

bool OrbitalPaths::update(const PlaceContext& context, const ObserverSnapshot& observer, bool pathsOn,
                          const ProgressFn& progress) {
    if (!sameObserver(observer, computedFor_, kTrackInstantTolerance)) trackValid_ = false;
    if (!pathsOn || trackValid_) return false;
    computedFor_ = observer;
    if (dailyDayCount(context.startJd, context.endJd) == 0) return false;
    if (!tableReady_ || table_.startJd != context.startJd || table_.endJd != context.endJd)
        prepareTable(context, progress);
    if (!tableReady_) return false;  // stopped half-way

    const JulianDay current = observer.instant;
    window_ = trackWindow(table_.days, table_.startJd, current);
    // Every sample keeps the current time of day.
    const JulianDay firstInstant = current - (std::trunc(current - table_.startJd) - window_.first);
    for (int k = window_.first; k < window_.end; ++k) {
        const double gmst = siderealTimeFromUtc(firstInstant + (k - window_.first), true);
        const ChartFrame frame =
            makeChartFrame(localSiderealTime(gmst, observer.site.longitude), observer.site.latitude);
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            double zd = 0.0, az = 0.0;
            chartZenithAzimuth(frame, table_.raHours(k, slot), table_.decDeg(k, slot), zd, az);
            float* record = &track_[static_cast<size_t>(k) * kDailyRecordFloats + 2 * slot];
            record[0] = static_cast<float>(zd);
            record[1] = static_cast<float>(az);
        }
    }
    trackValid_ = true;
    return true;
}

}  // namespace celestra
