// Sight planning: which bodies to shoot at civil twilight (or at a given
// instant) from a place, with the altitude and azimuth to preset on the
// sextant, and the best set of three to five of them.
//
// The candidates are the navigational stars (the almanac's 57 and Polaris),
// Venus, Mars, Jupiter, Saturn and the Moon. Hc is the computed altitude of
// the sight reduction (apparent geocentric place, airless, at the place with
// apparent sidereal time), Zn the true azimuth from north through east.
//
// The best set: among all sets of `count` candidates, those whose smallest
// azimuth gap (going round the horizon between neighbours) is largest (at
// best 360° / count: three bodies 120° apart, four 90°), so that the lines
// of position cross at wide angles and an error common to every sight
// (refraction, index error, a wrong height of eye) moves them all alike and
// leaves the fix in the middle of the figure. Of the sets within 10° of that
// widest smallest gap, the one whose faintest body is brightest wins (at
// twilight a set is as usable as its faintest body), then the one whose
// altitudes lie nearest 45° in sum (away from the large refraction near the
// horizon and the azimuth errors near the zenith). The search considers the
// 24 brightest candidates.
#pragma once

#include <string>
#include <vector>

#include "solarsystem/planets.h"

namespace celestra {

enum class PlanTwilight { Morning, Evening };

constexpr int kPlanMinCount = 3;
constexpr int kPlanMaxCount = 5;
// Candidates the best-set search considers, the brightest first.
constexpr size_t kPlanSearchCandidates = 24;
// Sets whose smallest gap is this close to the widest one compete on brightness.
constexpr double kPlanGapToleranceDeg = 10.0;
// The altitude the tie-break prefers, degrees.
constexpr double kPlanPreferredAltitudeDeg = 45.0;

struct PlanRequest {
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
    // The place's date: the local mean solar day (from 0h at the longitude).
    int year = 2000, month = 1, day = 1;
    PlanTwilight twilight = PlanTwilight::Evening;
    bool atInstant = false;  // use `utc` instead of the twilight
    JulianDay utc = 0.0;
    double minAltitude = 15.0;  // degrees
    double maxAltitude = 70.0;
    int count = 3;  // 3..5
};

struct PlanBody {
    std::string name;
    int star = 0;               // Bright Star number; 0 for a planet or the Moon
    int body = 0;               // body number (kVenus .. kMoon); 0 for a star
    double hc = 0.0, zn = 0.0;  // degrees
    double magnitude = 0.0;
};

struct SightPlan {
    // Failed: the Sun does not cross 6° below the horizon that way on that
    // day (`note` says so). BadArgument: a limit or the count out of range,
    // or not a date. OutsideEphemeris: a place could not be computed.
    Status status = Status::Ok;
    JulianDay utc = 0.0;           // the instant planned for
    std::vector<PlanBody> bodies;  // every candidate within the limits, by azimuth
    std::vector<size_t> best;      // indices into `bodies`, by azimuth
    // Why the set is short, or why there is none: "Only 2 bodies lie between
    // 15° and 70°; a set of 3 needs 3."
    std::string note;
};

// The plan for the request.
SightPlan planSights(const PlaceContext& context, const PlanRequest& request);

// The best set of `count` among `bodies` by the rule above (indices into
// `bodies`, by azimuth); all of them when there are no more than `count`.
std::vector<size_t> chooseBestSet(const std::vector<PlanBody>& bodies, int count);

// The smallest azimuth gap between neighbours of a set, going round the
// horizon (360 for a single body), degrees.
double smallestAzimuthGap(std::vector<double> azimuths);

// The UTC instant of the Sun's centre crossing 6° below the horizon, rising
// (morning) or setting (evening), on the local mean day of the date at the
// place. Failed when there is no such crossing that day (the Sun stays above
// or below); the place's status when the ephemeris fails.
Status civilTwilightInstant(const PlaceContext& context, double latitude, double longitude, int year, int month,
                            int day, PlanTwilight twilight, JulianDay& utc);

}  // namespace celestra
