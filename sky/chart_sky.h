// What the star chart draws, gathered once per recompute of the universe
// model: horizontal places of the listed catalogue objects, the bodies, the
// Moon's phase with the directions of north and east at it, the ecliptic,
// the equatorial grid and the orbital-path tracks. Everything is zenith
// distance and azimuth in degrees; the chart projects it once per view
// change and paints from that, never from the model's arrays.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/draw_state.h"
#include "model/observer_state.h"

namespace celestra {

struct ChartData;

struct HorizontalPoint {
    float zenithDistance = 0.0f;  // degrees, 0 at the zenith, above 90 below the horizon
    float azimuth = 0.0f;         // degrees from north through east
};

struct SkyObject {
    int32_t object = 0;     // combined catalogue number 0..9328
    int32_t magnitude = 0;  // thousandths of a magnitude
    HorizontalPoint place;
    double raHours = 0.0;  // topocentric apparent place of date (unrefracted), hours
    double decDeg = 0.0;   // and degrees
};

struct SkyBody {
    int body = 0;  // 1..11
    bool valid = false;
    HorizontalPoint place;
    double raHours = 0.0;  // topocentric apparent place of date (unrefracted)
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
    double value = 0.0;  // hours for a right-ascension line, degrees for a parallel
    bool rightAscension = false;
    int labelIndex = -1;  // the point its label goes to (-1 none)
};

struct OrbitalTrack {
    int body = 0;                       // 1, 2, 4, 5, 6, 10
    std::vector<HorizontalPoint> days;  // one point a day across the window
    int currentDay = -1;                // index in `days` of the current date
};

// One selected comet as the chart draws it: its track of places from ten
// track steps before the instant to ten after (each at the same clock time
// of its own date), the present point among them, and its magnitudes.
struct SkyCometPoint {
    HorizontalPoint place;
    bool valid = false;  // false: no place for that date (outside the ephemeris)
    std::string label;   // "month.day" of the point's UTC date
};
struct SkyComet {
    int comet = 0;  // index in the comet list; stable until the list is reloaded
    std::string name;
    double absoluteMagnitude = 0.0;  // H
    double apparentMagnitude = 0.0;  // at the instant
    std::vector<SkyCometPoint> points;
    int present = 0;       // index in `points` of the instant
    double raHours = 0.0;  // the present point's topocentric apparent place of date
    double decDeg = 0.0;
    // A point a little beyond the present place, away from the Sun: the
    // chart takes the direction of the tail from it. Unset without a Sun.
    bool hasTailPoint = false;
    HorizontalPoint tailPoint;

    const SkyCometPoint& presentPoint() const { return points[static_cast<size_t>(present)]; }
};

struct SkySnapshot {
    double instantUtc = 0.0;
    double zoneOffsetDays = 0.0;
    double latitude = 0.0;
    double longitude = 0.0;
    double gmstHours = 0.0;  // apparent sidereal times, hours
    double lstHours = 0.0;
    bool instantInEphemeris = false;
    // The observer's weather and whether altitudes are refracted (the
    // observer's option), for turning a place of the chart back into a
    // right ascension and declination.
    ObserverSite site;
    bool refraction = false;

    std::vector<SkyObject> objects;  // the visible list in catalogue order
    // Index in `objects` of each combined catalogue number, -1 when not listed.
    std::vector<int32_t> indexOfObject;
    std::array<SkyBody, 11> bodies;  // index = body number - 1
    MoonDisc moon;
    SkyLine ecliptic;
    std::vector<SkyLine> equatorialGrid;
    std::vector<OrbitalTrack> tracks;
    std::vector<SkyComet> comets;  // empty while the comets option is off

    const SkyComet* cometByIndex(int comet) const {
        for (const SkyComet& c : comets)
            if (c.comet == comet) return &c;
        return nullptr;
    }

    const SkyObject* objectByNumber(int object) const {
        if (object < 0 || object >= static_cast<int>(indexOfObject.size())) return nullptr;
        const int32_t i = indexOfObject[static_cast<size_t>(object)];
        return i < 0 ? nullptr : &objects[static_cast<size_t>(i)];
    }
};

// Status texts of the chart after a recompute, and the hover text outside the ephemeris.
constexpr const char* kStatusRealtime = "Realtime      ";
constexpr const char* kStatusStopped = "Stopped       ";
constexpr const char* kEphemerisInvalidText = "Ephemeris date invalid!";

// The snapshot of what the model last published, for the observer whose
// place and zone it belongs to. `ephemerisFirst` and `ephemerisLast`
// (Julian days, 0 without an ephemeris) decide whether the instant is
// inside the file, and the day the tracks mark as today.
void snapshotFromChart(const ChartData& chart, const CObserverState& observer, double ephemerisFirst,
                       double ephemerisLast, SkySnapshot& out);

// Points `stepDeg` north and east of a place on the sky, in horizontal
// coordinates, at latitude `latitudeDeg` (the north celestial pole stands at
// that altitude due north). Seen from inside the sphere east lies 90°
// counter-clockwise of north. Near the pole north is undefined: the
// points are then the place itself.
void skyAxisPoints(double zenithDistanceDeg, double azimuthDeg, double latitudeDeg, double stepDeg,
                   HorizontalPoint& north, HorizontalPoint& east);

// The point `stepDeg` beyond a place on the great circle from another place
// through it (from the Sun through a comet: towards its tail). False, with
// `out` the place itself, when the two places coincide or are opposite.
bool awayFromPoint(double zenithDistanceDeg, double azimuthDeg, double fromZenithDistanceDeg, double fromAzimuthDeg,
                   double stepDeg, HorizontalPoint& out);

// Right ascension (hours) and declination (degrees) of date of a horizontal
// place at local apparent sidereal time `lstHours` and latitude
// `latitudeDeg`: the inverse of the horizon transformation, without
// refraction.
void equatorialOfHorizontal(double zenithDistanceDeg, double azimuthDeg, double lstHours, double latitudeDeg,
                            double& raHours, double& decDeg);

// The same for a place as the chart draws it: the snapshot's refraction
// taken off first when its observer's option is on.
void equatorialOfChartPlace(const SkySnapshot& sky, double zenithDistanceDeg, double azimuthDeg, double& raHours,
                            double& decDeg);

}  // namespace celestra
