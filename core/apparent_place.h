// Reference frames and apparent place: catalogue and ephemeris positions
// turned into apparent geocentric or topocentric right ascension and
// declination of date.
//
// Positions are 3-vectors in astronomical units, axes of the mean equator
// and equinox of J2000.0 (the ephemeris file's frame) until `precess` and
// `nutate` carry them to the true equator and equinox of date. The order of
// the corrections is fixed: proper motion, light time, deflection of light
// by the Sun, aberration, precession, nutation.
//
// Accuracy: the chain reproduces an independent ERFA computation of the same
// models (IAU 1976 precession, IAU 1980 nutation, relativistic deflection and
// aberration) to 0.03 mas for the Sun, Moon and planets and 0.001 mas for
// stars, 1960-2060 (tests/solarsystem/apparent_place_accuracy_test.cpp).
// Against the sky those models themselves are the limit: no frame bias
// between the ephemeris frame and the J2000 mean equator (about 20 mas), the
// IAU 1976 precession rate (0.3" per century too fast in longitude, so about
// 30 mas per decade away from 2000) and the IAU 1980 nutation (a few mas).
//
// Status convention (every int-returning function here): 0 success; a
// body-position provider's own non-zero code is passed through unchanged;
// outputs are set to 0 on failure.
#pragma once

#include <functional>

#include "core/angles.h"
#include "core/constants.h"
#include "core/time_scales.h"

namespace celestra {

// Parallax given to a star without a measured one (arcseconds): it is
// placed 2.06e12 AU away and keeps its direction.
constexpr double kMinimumParallaxArcsec = 1e-7;

// The observer's place and weather: latitude (degrees, north positive),
// longitude (degrees, east positive), height above sea level (metres),
// temperature (°C), pressure (millibars).
struct ObserverSite {
    double latitude = 0.0;
    double longitude = 0.0;
    double height = 0.0;
    double temperature = 10.0;
    double pressure = 1010.0;
};

// The fields of a catalogue star that its apparent place needs.
struct StarPlaceInput {
    double raHours = 0.0;            // J2000.0, hours
    double decDeg = 0.0;             // J2000.0, degrees
    double pmRaSecPerCentury = 0.0;  // rate of RA, seconds of time per Julian century
    double pmDecArcsecPerCentury = 0.0;
    double parallaxArcsec = 0.0;     // 0 or less: not measured
    double radialVelocityKmS = 0.0;  // positive receding
};

// The state of the Earth (or of an observer on it) at one TDB instant:
// barycentric and heliocentric position (AU) and velocity (AU/day), axes of
// the mean equator and equinox of J2000.0.
struct EarthState {
    JulianDay jdTdb = 0.0;
    Vector3 baryPos, baryVel;
    Vector3 helioPos, helioVel;
};

enum class NutationDirection {
    MeanToTrue,  // mean equator and equinox of date -> true
    TrueToMean,
};

// ---------------------------------------------------------------------------
// Vector steps.

// Barycentric position (AU) and velocity (AU/day) of a star at J2000.0 from
// its catalogue fields, J2000.0 mean equator and equinox.
// Notes:
// 1. A parallax of zero or less is taken as 1e-7 arcsecond.
// 2. The RA rate is a rate of α itself: the speed along increasing α is
//    r cos δ dα/dt, so a star near the pole does not race around it.
// 3. Radial velocity in km/s becomes AU/day with 86400 / 1.4959787e8.
void starVectors(const StarPlaceInput& star, Vector3& pos, Vector3& vel);

// Position at jdTdb of a body moving uniformly from its J2000.0 position:
// pos + vel (jdTdb - 2451545.0). AU and AU/day.
Vector3 properMotion(const Vector3& pos, const Vector3& vel, JulianDay jdTdb);

// Vector from the observer to the body (both barycentric, AU) and the light
// time along it in days (|vector| / c).
Vector3 baryToGeo(const Vector3& bodyBary, const Vector3& observerBary, double& lightTimeDays);

// Relativistic deflection of light by the Sun (the post-Newtonian form of the
// IERS Conventions, γ = 1). `geo` is the observer-to-body vector (AU) and
// `observerHelio` the Sun-to-observer vector (AU); the result keeps |geo|.
// Notes:
// 1. The Sun-to-body direction is taken as observerHelio + geo.
// 2. The vector is returned unchanged when the body lies within 1e-10 of
//    the Sun-observer line in cosine (|cos| > 0.9999999999), where the
//    formula has no meaning (the body behind or in front of the Sun's centre).
// 3. Accuracy: the neglected terms are below 1 µas away from the solar limb.
Vector3 sunField(const Vector3& geo, const Vector3& observerHelio);

// Relativistic annual (and, with an observer's velocity, diurnal) aberration
// to first order in the gravitational potential and exact in v/c.
// `geo` (AU) is the light-time-corrected observer-to-body vector, `observerVel`
// the observer's barycentric velocity (AU/day), `lightTimeDays` the light
// time along `geo`. The result keeps |geo|.
Vector3 aberration(const Vector3& geo, const Vector3& observerVel, double lightTimeDays);

// IAU 1976 precession of a vector from the mean equator and equinox of
// jdFrom to that of jdTo (both TDB). Valid for a few centuries about J2000.0.
Vector3 precess(JulianDay jdFrom, const Vector3& v, JulianDay jdTo);

// IAU 1980 nutation at jdTdb between the mean and the true equator and
// equinox of date (ε0, Δψ, ε of `earthTilt`).
Vector3 nutate(JulianDay jdTdb, NutationDirection direction, const Vector3& v);

// Right ascension in hours [0, 24) and declination in degrees of a vector.
// The zero vector gives 0, 0.
void vectorToRaDec(const Vector3& v, double& raHours, double& decDeg);

// Geocentric position (AU) and velocity (AU/day) of an observer on the
// Earth's ellipsoid (6378.140 km, f = 0.00335281) in the true equator and
// equinox of date, for Greenwich apparent sidereal time `siderealHours`.
// The velocity is the Earth's rotation only.
void observerVectors(const ObserverSite& site, double siderealHours, Vector3& pos, Vector3& vel);

// Earth-fixed vector to the true equator and equinox of date: polar motion
// (poleX, poleY in arcseconds), then the Earth's rotation by the sidereal
// angle (hours).
Vector3 earthFixedToSpace(double siderealHours, double poleXArcsec, double poleYArcsec, const Vector3& v);

// ---------------------------------------------------------------------------
// Places.

// The state of an observer at the site: the Earth's state with the
// observer's geocentric position and velocity (from the Greenwich apparent
// sidereal time of UT1 = jdTt - ΔT, taken from the true equator of date back
// to J2000.0) added to its barycentric and heliocentric vectors.
EarthState observerState(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const ObserverSite& site);

// Apparent right ascension (hours, true equator and equinox of date) and
// declination (degrees) of a star seen by an observer whose state is
// `observer` (the Earth's for a geocentric place, `observerState` for a
// topocentric one).
// Accuracy: the models of the steps above; against an independent chain of
// the same models agreement is better than 0.1 mas (see the tests).
void apparentStar(const EarthState& observer, const StarPlaceInput& star, double& raHours, double& decDeg);

// As `apparentStar`, topocentric: the observer's state built from the Earth's.
void topocentricStar(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const StarPlaceInput& star,
                     const ObserverSite& site, double& raHours, double& decDeg);

// Barycentric position (AU, J2000.0 axes) of a body at a TDB instant;
// returns 0 or a non-zero code of its own.
using BodyPositionFn = std::function<int(JulianDay jdTdb, Vector3& baryPos)>;

// Apparent place of a solar-system body for an observer state: right
// ascension (hours), declination (degrees) of date and the geometric
// distance (AU) at the observer's TDB, before the light-time correction.
// The light time is iterated until it changes by at most 1e-11 day (at
// most 10 passes; two or three suffice), so the body's vector is the one of
// the final light time.
// Returns 0, or the provider's code with all three outputs 0.
int apparentBody(const EarthState& observer, const BodyPositionFn& body, double& raHours, double& decDeg,
                 double& distanceAu);

// As `apparentBody`, topocentric: the observer's state built from the Earth's.
// The distance is the observer's (for the Moon it includes the site's parallax).
int topocentricBody(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const BodyPositionFn& body,
                    const ObserverSite& site, double& raHours, double& decDeg, double& distanceAu);

}  // namespace celestra
