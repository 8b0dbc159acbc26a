// Rise, upper transit and set of the Sun, the Moon, a planet or a catalogue
// star, and the beginning and end of civil and nautical twilight, for one
// civil date at one place: the classical three-position method. The body's
// apparent geocentric place at 0h UTC of the day before, the day itself and
// the day after is interpolated quadratically, and each event is refined by
// Newton steps on the altitude (rise, set) or the hour angle (transit).
//
// Accuracy: within a few seconds of a direct search on the body's
// topocentric altitude for the Sun and the Moon away from the polar circles;
// the standard altitudes themselves (34′ of refraction) are good to about a
// minute of time only, like any published rise time.
#pragma once

#include <string>

#include "core/apparent_place.h"
#include "core/time_scales.h"
#include "solarsystem/planets.h"

namespace celestra {

enum class RiseSetKind {
    RiseSet,           // the body's own rise and set
    CivilTwilight,     // the Sun 6° below the horizon (zenith distance 96°)
    NauticalTwilight,  // the Sun 12° below (102°)
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

// The result texts besides clock times.
extern const char* const kRiseSetUnavailable;  // "???": no ephemeris, or the place failed
extern const char* const kCircumpolar;         // "circ-polar" (rise field)
extern const char* const kNoSet;               // "--no set--"
extern const char* const kTwilightAllNight;    // "--bright--": twilight never ends
extern const char* const kNoRise;              // "--no rise--" (rise and set fields)
// The zone labels a page shows beside the offset.
extern const char* const kDaylightSavingTimeLabel;  // "Daylight Saving Time"
extern const char* const kStandardTimeLabel;        // "Standard Time"

struct RiseTransitSet {
    // Rise (or twilight start), transit, set (or twilight end): "hh:mm:ss"
    // local time, or one of the texts above.
    std::string riseText, transitText, setText;
    // Local hours: UT hours + zone offset, not wrapped (an event refined
    // past midnight can lie outside [0, 24)); 0 where there is no event.
    double riseHours = 0.0, transitHours = 0.0, setHours = 0.0;
    bool hasRise = false, hasTransit = false, hasSet = false;
    // The UTC day each event fell on, relative to the date: 0, or -1 / +1
    // when the refinement left the day. The Moon skips one rise, one transit
    // and one set a month; on such a day the method converges on the
    // neighbouring day's event, and these say so.
    int riseDayOffset = 0, transitDayOffset = 0, setDayOffset = 0;
    // Zenith distance of the event, degrees (Moon: with its semidiameter and parallax).
    double z0Deg = 0.0;
    int status = 0;  // 0, or the code of the failing place (then every text is "???")
};

// The Julian day of 0h UTC of a civil date (ends in .5).
JulianDay julianDayAt0h(int year, int month, int day);

// `jd0h`: 0h UTC of the date; `deltaTSeconds`: ΔT for that date (deltaT());
// `zoneOffsetDays`: local minus UTC in days. `context` may be null (no
// ephemeris): every text is then "???". The three positions are the apparent
// geocentric ones at 0h UTC of the day before, the day itself and the day
// after; the Moon's semidiameter and horizontal parallax come from its
// geocentric distance at 0h of the day itself. The sidereal time at 0h is
// that of the UTC instant converted to TT with ΔT subtracted, the rule of
// every sidereal time in the program.
RiseTransitSet riseTransitSet(const PlaceContext* context, const RiseSetTarget& target, JulianDay jd0h,
                              double deltaTSeconds, const ObserverSite& site, double zoneOffsetDays,
                              RiseSetKind kind);

}  // namespace celestra
