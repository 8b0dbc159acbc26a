// Rise, upper transit and set of the Sun, the Moon, a planet or a catalogue
// star, and the beginning and end of civil and nautical twilight, within one
// UTC day at one place.
//
// Method: the body's apparent geocentric place is read from the ephemeris at
// 6-hour nodes from 6 h before the day to 6 h after it and interpolated
// (cubic, on the position vector); the topocentric altitude at any instant
// follows from that place, the site's position on the ellipsoid and the
// sidereal time. The altitude is sampled every 10 minutes, every extremum the
// samples show is located to half a second, and each sign change of the
// altitude minus the event altitude between those points is refined by a
// bracketing root finder; transits are the zeros of the hour angle. Nothing
// outside the day is reported, and "always above" or "always below" comes
// from the same samples, so an event can neither be missed nor invented by a
// guess that converged on the wrong day.
//
// Accuracy: against a bisection on the apparent topocentric altitude computed
// with ERFA from the same ephemeris, a year of Sun and Moon events at
// latitudes 0° to 89° N and S (tests/solarsystem/rise_set_accuracy_test.cpp)
// has no event missed or invented; the Sun's rises, sets, twilights and
// transits agree within 0.05 s, the Moon's within 0.05 s RMS and 3 s at
// worst, at 89° where its altitude changes by a quarter of a degree an hour. The standard event altitudes
// themselves (34′ of refraction) make any published rise time good to about a
// minute only.
#pragma once

#include <string>
#include <vector>

#include "core/apparent_place.h"
#include "core/time_scales.h"
#include "solarsystem/planets.h"

namespace celestra {

// The event altitude h0 (degrees) of each kind:
//   RiseSet, the Sun          -0°50′ (34′ of refraction and a 16′ semidiameter)
//   RiseSet, the Moon         -34′ minus its topocentric semidiameter at that instant
//   RiseSet, planets, stars   -34′
//   CivilTwilight             the Sun's centre -6°
//   NauticalTwilight          the Sun's centre -12°
enum class RiseSetKind {
    RiseSet,
    CivilTwilight,
    NauticalTwilight,
};

// What rises: a body by number (1..11 except 3) or a catalogue star.
// The twilight kinds always follow the Sun, whatever is named here.
struct RiseSetTarget {
    bool isStar = false;
    int body = kSun;
    StarPlaceInput star;
};
inline RiseSetTarget riseSetBody(int body) {
    RiseSetTarget t;
    t.body = body;
    return t;
}
inline RiseSetTarget riseSetStar(const StarPlaceInput& star) {
    RiseSetTarget t;
    t.isStar = true;
    t.star = star;
    return t;
}

// ---------------------------------------------------------------------------
// The event finder.

enum class HorizonDayState {
    Crossings,    // at least one rise or set of this kind within the day
    AlwaysAbove,  // above the event altitude through the whole day
    AlwaysBelow,  // below it through the whole day
};

// The events of one kind, one body, one UTC day, one site.
struct HorizonDayEvents {
    Status status = Status::Ok;  // or the failing place's status (BadArgument: a bad request); nothing else is set then
    HorizonDayState state = HorizonDayState::AlwaysBelow;
    // UTC Julian days within [jd0h, jd0h + 1), ascending. Rises and sets
    // are the crossings of the event altitude upward and downward; transits
    // are the upper transits (topocentric hour angle 0), whatever the kind.
    std::vector<JulianDay> rises, sets, transits;
};

// A body's apparent geocentric place through one UTC day (and 6 h either
// side), read from the ephemeris once; its events for any number of sites
// and kinds then cost no further ephemeris reads. An almanac's table of
// latitudes loads one track per body and day.
class HorizonTrack {
public:
    // `jd0h`: 0h UTC of the day (a Julian day ending in .5); `deltaTSeconds`:
    // ΔT for the day (deltaT(jd0h)), which turns the Earth (UT1 = TT - ΔT, TT
    // from the day's own TAI - UTC). Returns 0, 2 when `context` has no
    // ephemeris, or the failing place's code (the day outside the file).
    Status load(const PlaceContext* context, const RiseSetTarget& target, JulianDay jd0h, double deltaTSeconds);

    // The events of `kind` at `site` (latitude -90..90, longitude in
    // degrees, height in metres). The twilight kinds need a track of the
    // Sun: on any other track they give status 1, as does a track that did
    // not load.
    HorizonDayEvents events(const ObserverSite& site, RiseSetKind kind) const;
    // Several kinds at one site, sharing one altitude profile (the Sun's
    // rise and set and its two twilights cost little more than one kind).
    std::vector<HorizonDayEvents> events(const ObserverSite& site, const std::vector<RiseSetKind>& kinds) const;

    JulianDay day() const { return jd0h_; }

private:
    struct Site;
    struct Point;
    static Site siteOf(const ObserverSite& observer);
    // The profile at day fraction x (0 at jd0h); also the plain altitude and the distance.
    Point at(const Site& site, double x, double& altitudeDeg, double& distanceKm) const;

    static constexpr int kNodes = 7;  // jd0h - 6 h .. jd0h + 30 h
    Status status_ = Status::OutsideEphemeris;
    bool isSun_ = false, isMoon_ = false, isStar_ = false;
    JulianDay jd0h_ = 0.0;
    double siderealAt0h_ = 0.0;  // Greenwich apparent sidereal time at jd0h, hours
    Vector3 node_[kNodes];       // geocentric apparent positions, AU (stars: unit vectors)
};

// The events of one kind of one body on the UTC day starting at `jd0h`:
// HorizonTrack::load, then events. `context` may be null (status 2).
HorizonDayEvents horizonDayEvents(const PlaceContext* context, const RiseSetTarget& target, RiseSetKind kind,
                                  JulianDay jd0h, double deltaTSeconds, const ObserverSite& site);

// ---------------------------------------------------------------------------
// The page's result: three texts and three local times.

// The result texts besides clock times.
extern const char* const kRiseSetUnavailable;  // "???": no ephemeris, or the place failed
extern const char* const kCircumpolar;         // "circ-polar" (rise field): above all day
extern const char* const kNoSet;               // "--no set--": no set (or twilight end) in the day
extern const char* const kTwilightAllNight;    // "--bright--": twilight never ends that day
extern const char* const kNoRise;              // "--no rise--": no rise (or twilight start) in the day
extern const char* const kNoTransit;           // "--no transit--": no upper transit in the day
// The zone labels a page shows beside the offset.
extern const char* const kDaylightSavingTimeLabel;  // "Daylight Saving Time"
extern const char* const kStandardTimeLabel;        // "Standard Time"

struct RiseTransitSet {
    // Rise (or twilight start), transit, set (or twilight end): "hh:mm:ss"
    // local time of the first such event of the UTC day, or one of the texts above.
    std::string riseText, transitText, setText;
    // Local hours of those events: UT hours (0 <= UT < 24) plus the zone
    // offset, not wrapped; 0 where there is no event.
    double riseHours = 0.0, transitHours = 0.0, setHours = 0.0;
    bool hasRise = false, hasTransit = false, hasSet = false;
    // How many of each the day holds: more than one rise or set happens to
    // the Moon near the poles, two transits to a body near the date line.
    int riseCount = 0, transitCount = 0, setCount = 0;
    Status status = Status::Ok;  // or the failing place's status (then every text is "???")

    bool moreEvents() const { return riseCount > 1 || transitCount > 1 || setCount > 1; }
};

// The Julian day of 0h UTC of a civil date (ends in .5).
JulianDay julianDayAt0h(int year, int month, int day);

// `jd0h`: 0h UTC of the date; `deltaTSeconds`: ΔT for that date (deltaT());
// `zoneOffsetDays`: local minus UTC in days. `context` may be null (no
// ephemeris): every text is then "???". The events are those of the UTC day
// (horizonDayEvents); a field without its event says why: "circ-polar" and
// "--no set--" ("--bright--" for twilight) when the body stays above the
// event altitude all day, "--no rise--" twice when it stays below, and
// "--no rise--", "--no set--" or "--no transit--" alone when only that
// event is missing from the day.
RiseTransitSet riseTransitSet(const PlaceContext* context, const RiseSetTarget& target, JulianDay jd0h,
                              double deltaTSeconds, const ObserverSite& site, double zoneOffsetDays, RiseSetKind kind);

}  // namespace celestra
