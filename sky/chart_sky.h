// What the star chart draws, computed once per change of instant, place or
// filter: horizontal places of the catalogue objects, the bodies, the Moon's
// phase, the ecliptic, the equatorial grid and the orbital-path tracks.
// Everything is zenith distance and azimuth in degrees; the chart projects
// it once per view change and paints from that, never from here.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sky/draw_state.h"
#include "sky/observer_state.h"

namespace celestra {

struct PlaceContext;
class OrbitalPaths;

struct HorizontalPoint {
    float zenithDistance = 0.0f;  // degrees, 0 at the zenith, above 90 below the horizon
    float azimuth = 0.0f;         // degrees from north through east
};

struct SkyObject {
    int32_t object = 0;      // combined catalogue number 0..9328
    int32_t magnitude = 0;   // thousandths of a magnitude
    HorizontalPoint place;
    double raHours = 0.0;    // the place the chart was computed from (J2000.0 catalogue place)
    double decDeg = 0.0;
};

struct SkyBody {
    int body = 0;  // 1..11
    bool valid = false;
    HorizontalPoint place;
    double raHours = 0.0;  // apparent topocentric place of date
    double decDeg = 0.0;
    double distanceAu = 0.0;
    double angularDiameterDeg = 0.0;
    double magnitude = 0.0;
};

struct MoonDisc {
    bool valid = false;
    double illuminatedFraction = 0.0;  // 0 new .. 1 full
    double brightLimbDeg = 0.0;        // position angle of the bright limb, north through east
    // Points a little north and east of the Moon on the sky: the chart takes
    // the screen directions of north and east at the Moon from them.
    HorizontalPoint northPoint;
    HorizontalPoint eastPoint;
};

struct SkyLine {
    std::vector<HorizontalPoint> points;
    double value = 0.0;  // hours for a right-ascension line, degrees for a declination circle
    bool rightAscension = false;
};

struct OrbitalTrack {
    int body = 0;  // 1, 2, 4, 5, 6, 10
    std::vector<HorizontalPoint> days;  // one point a day across the window
    int currentDay = 0;  // index in `days` of the current date
};

struct SkySnapshot {
    double instantUtc = 0.0;
    double zoneOffsetDays = 0.0;
    double latitude = 0.0;
    double longitude = 0.0;
    double gmstHours = 0.0;  // apparent sidereal times, hours
    double lstHours = 0.0;
    bool instantInEphemeris = false;

    std::vector<SkyObject> objects;  // the visible list in catalogue order
    // Index in `objects` of each combined catalogue number, -1 when not listed.
    std::vector<int32_t> indexOfObject;
    std::array<SkyBody, 11> bodies;  // index = body number - 1
    MoonDisc moon;
    SkyLine ecliptic;
    std::vector<SkyLine> equatorialGrid;
    std::vector<OrbitalTrack> tracks;

    const SkyObject* objectByNumber(int object) const {
        if (object < 0 || object >= static_cast<int>(indexOfObject.size())) return nullptr;
        const int32_t i = indexOfObject[static_cast<size_t>(object)];
        return i < 0 ? nullptr : &objects[static_cast<size_t>(i)];
    }
};

// Whether a catalogue object belongs on the chart for a drawing state: within
// the magnitude limit, or (stars) part of a constellation figure; deep-sky
// objects only when their catalogue is selected (field 27).
bool objectListed(int object, const CUniverseViewDrawState& state);

// Status texts of the chart after a recompute.
constexpr const char* kStatusRealtime = "Realtime      ";
constexpr const char* kStatusStopped = "Stopped       ";
constexpr const char* kStatusAnimating = "Animating";
constexpr const char* kEphemerisInvalidText = "Ephemeris date invalid!";

// Computes the snapshot for an observer and drawing state. Owns the
// ephemeris context and the orbital-path tables; not thread-safe: one
// thread computes, and hands finished snapshots to the drawing thread.
class ChartSky {
public:
    ChartSky();
    ~ChartSky();
    ChartSky(const ChartSky&) = delete;
    ChartSky& operator=(const ChartSky&) = delete;

    // Opens the ephemeris (findEphemerisFile's search when the path is
    // empty). False with a message when there is none.
    bool openEphemeris(const std::string& path, std::string& error);
    bool hasEphemeris() const { return lastJd_ > firstJd_; }
    double firstJd() const { return firstJd_; }
    double lastJd() const { return lastJd_; }

    // Progress of the one-time build of the daily places ("One time init: 33%").
    using Progress = std::function<void(const std::string& text, int percent)>;

    // Everything for one instant. `orbitalPaths` builds (first time, with
    // progress) and uses the daily place table.
    void compute(const CObserverState& observer, const CUniverseViewDrawState& state, bool orbitalPaths,
                 SkySnapshot& out, const Progress& progress = {});

private:
    std::unique_ptr<PlaceContext> context_;
    std::unique_ptr<OrbitalPaths> paths_;
    double firstJd_ = 0.0;
    double lastJd_ = 0.0;
};

}  // namespace celestra
