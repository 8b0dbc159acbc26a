// The daily place table behind the chart's "Orbital Paths": apparent
// geocentric places of Mercury, Venus, Mars, Jupiter, Saturn and the Sun
// once a day over the whole ephemeris span, built once and kept in a cache
// file, and the horizontal track around the current date derived from it.
//
// Cache file (celestra.40C): start day (double), end day (double), then
// N records of 48 bytes, each six pairs of 32-bit floats (right ascension
// in hours, declination in degrees) for the six bodies in the order above;
// little-endian, as held in memory.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "solarsystem/observer_snapshot.h"
#include "solarsystem/planets.h"

namespace celestra {

constexpr int kPathBodyCount = 6;
constexpr std::array<int, kPathBodyCount> kPathBodies = {kMercury, kVenus, kMars, kJupiter, kSaturn, kSun};
constexpr int kDailyRecordFloats = 2 * kPathBodyCount;  // 48 bytes
// Clock tolerance of the track, days (51.6 s).
constexpr double kTrackInstantTolerance = 0.0005972222222222222;
// Days before and after the current date that the track covers.
constexpr int kTrackHalfWindowDays = 182;

struct DailyPlaceTable {
    double startJd = 0.0;  // the ephemeris range the table was made for
    double endJd = 0.0;
    int days = 0;               // N
    std::vector<float> places;  // days x 12 floats: (ra hours, dec degrees) per body

    float raHours(int day, int slot) const { return places[static_cast<size_t>(day) * kDailyRecordFloats + 2 * slot]; }
    float decDeg(int day, int slot) const {
        return places[static_cast<size_t>(day) * kDailyRecordFloats + 2 * slot + 1];
    }
};

// N for an ephemeris range: whole days of end - start, or 0 when the range
// is empty, not finite or the table would exceed 536870911 bytes.
int dailyDayCount(double startJd, double endJd);

// Progress text while the table is built: "One time init: %d%%".
using ProgressFn = std::function<void(const std::string& text)>;

// Fills the table for the context's reader range: day j at the UTC instant
// T0 + j, T0 the start day taken from UTC to TT once. A failed place is
// stored as zeros. Progress is reported six times (0, 16, 33, 50, 66, 83 %).
// With `stop` given and set (the program is ending), the build stops within
// a day's work and returns false; the table is then incomplete.
bool buildDailyPlaces(const PlaceContext& context, DailyPlaceTable& table, const ProgressFn& progress,
                      const std::atomic<bool>* stop = nullptr);

// Reads a cache file into `table`, whose startJd, endJd and days are set:
// succeeds only when it is a regular file, both stored days equal the
// table's exactly, exactly N x 48 bytes of places follow and every place
// is finite and possible (right ascension 0-24 h, declination ±90°).
bool loadDailyPlaceCache(const std::string& path, DailyPlaceTable& table);

// Writes the cache file atomically (a temporary file beside it, renamed over
// it). Returns false, leaving any old file untouched, when it cannot.
bool saveDailyPlaceCache(const std::string& path, const DailyPlaceTable& table);

// Where the cache is kept: $XDG_CACHE_HOME/celestra/celestra.40C (default
// ~/.cache/celestra/). One file serves every program of the installation
// and the build tree alike; it records the ephemeris span it was made for.
std::string dailyCachePath();

// Days [first, end) of the track window around the current UTC day:
// d = trunc(current - start), first = max(0, d - 182), end = min(N, d + 182).
struct TrackWindow {
    int first = 0;
    int end = 0;
};
TrackWindow trackWindow(int days, double startJd, JulianDay currentUtc);

// The orbital-path step of the sky model's update cycle.
class OrbitalPaths {
public:
    // The cache file; the default is dailyCachePath(). Its folder is
    // created when the table is first written.
    void setCachePath(std::string path);
    // A flag that, once set, abandons a build of the table under way (which
    // is then neither used nor saved): the owner is shutting down.
    void setStopFlag(const std::atomic<bool>* stop) { stop_ = stop; }

    // Clears the track when the observer changed beyond 51.6 s or in any
    // other field; with the paths on and the track not valid, builds or
    // loads the daily table (first time only) and recomputes the track.
    // Returns true when it recomputed the track.
    bool update(const PlaceContext& context, const ObserverSnapshot& observer, bool pathsOn,
                const ProgressFn& progress);

    bool trackValid() const { return trackValid_; }
    const DailyPlaceTable& places() const { return table_; }
    TrackWindow window() const { return window_; }
    // Zenith distance and azimuth (degrees) of a path body on a day of the window.
    float zenithDistanceDeg(int day, int slot) const {
        return track_[static_cast<size_t>(day) * kDailyRecordFloats + 2 * slot];
    }
    float azimuthDeg(int day, int slot) const {
        return track_[static_cast<size_t>(day) * kDailyRecordFloats + 2 * slot + 1];
    }

private:
    void prepareTable(const PlaceContext& context, const ProgressFn& progress);

    std::string cachePath_;
    bool cachePathSet_ = false;
    const std::atomic<bool>* stop_ = nullptr;
    DailyPlaceTable table_;
    bool tableReady_ = false;
    std::vector<float> track_;
    TrackWindow window_;
    ObserverSnapshot computedFor_;
    bool trackValid_ = false;
};

}  // namespace celestra
