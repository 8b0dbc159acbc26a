// Sun, Moon and planets: apparent places, distances, horizon places,
// magnitudes and the Moon's phase, all from the ephemeris file's barycentric
// states through the apparent-place pipeline of core/apparent_place.h.
//
// Time scales: the *Utc entry points take a UTC Julian day and derive TT
// (leap seconds) and ΔT from it; the others take TT, read the ephemeris at
// TDB = TT + (TDB - TT) and turn the Earth with UT1 = TT - ΔT.
//
// Accuracy: that of core/apparent_place.h (0.03 mas against an independent
// computation of the same models); distances are geometric, at TDB.
//
// Results: Status::Ok; BadArgument for a body number outside 1..11;
// OutsideEphemeris when the Earth's or the body's state cannot be had (no
// file open, the instant outside it, a damaged record: the reader's damage()
// tells the last apart). Every failure sets the outputs to 0.
#pragma once

#include <array>
#include <cstdint>

#include "core/apparent_place.h"
#include "core/horizon.h"
#include "core/status.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/observer_snapshot.h"

namespace celestra {

// What the place functions need from the sky model: the reader, the eleven
// body records (index = BodyNumber - 1, named "Mercury" .. "Moon") and the
// reader's covered range (TDB Julian days; 0, 0 when no file is open).
struct PlaceContext {
    EphemerisFile* ephemeris = nullptr;
    std::array<SolarSystemBody, 11> bodies;
    double startJd = 0.0;
    double endJd = 0.0;

    const SolarSystemBody& earth() const { return bodies[kEarth - 1]; }
};

// A context over `reader` with the eleven standard body records and the range of the open file.
PlaceContext makePlaceContext(EphemerisFile& reader);

// The Earth's state at TT instant jdTt: TDB, barycentric and heliocentric
// position and velocity. The last successful result is kept per thread and
// reused while the instant stays within 1e-6 day of it (for the same
// reader), so a frame of many bodies reads the Earth once. On failure the
// kept result is dropped and `out` zeroed.
Status earthState(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& earth, EarthState& out);
// Evaluations of the Earth's state (cache misses) made by this thread.
long earthStateEvaluations();

// Apparent geocentric right ascension (hours) and declination (degrees),
// true equator and equinox of date, and the geometric distance (AU) at TDB.
Status geocentricPlace(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& body, const SolarSystemBody& earth,
                       double& raHours, double& decDeg, double& distanceAu);

// The same for an observer at `site`; the distance is the observer's.
Status topocentricPlace(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& body,
                        const SolarSystemBody& earth, double deltaTSeconds, const ObserverSite& site, double& raHours,
                        double& decDeg, double& distanceAu);

// The UTC entry points: TT and ΔT from the same UTC instant, the body by its number.
Status geocentricPlaceUtc(const PlaceContext& context, JulianDay jdUtc, int body, double& raHours, double& decDeg,
                          double& distanceAu);
Status topocentricPlaceUtc(const PlaceContext& context, JulianDay jdUtc, int body, const ObserverSite& site,
                           double& raHours, double& decDeg, double& distanceAu);

// Apparent places of a star at a UTC instant (the Earth's state from the reader).
Status geocentricStarUtc(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star, double& raHours,
                         double& decDeg);
Status topocentricStarUtc(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star,
                          const ObserverSite& site, double& raHours, double& decDeg);

enum class PlaceForm { Geocentric, Topocentric };

struct HorizonResult {
    double altitudeDeg = 90.0;
    double azimuthDeg = 0.0;
    double raHours = 0.0;  // the place used
    double decDeg = 0.0;
    double distanceAu = 0.0;  // bodies only
};

// Altitude and azimuth (degrees) of a body or a star at a UTC instant for
// the site: its place in the given form, then the horizon transformation
// with the site's temperature and pressure when `refraction` is set.
// On failure the result holds altitude 90, azimuth 0 and a zero place.
Status horizonPlace(const PlaceContext& context, JulianDay jdUtc, int body, const ObserverSite& site, bool refraction,
                    PlaceForm form, HorizonResult& out);
Status horizonPlace(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star, const ObserverSite& site,
                    bool refraction, PlaceForm form, HorizonResult& out);

// Apparent visual magnitude of a body at a UTC instant, from its
// geocentric distance and phase angle (the classical Explanatory
// Supplement expressions; no ring term for Saturn). The Sun is -26.73 and
// the Earth 1.0 at any instant. On failure the magnitude is 0.
Status planetMagnitude(const PlaceContext& context, int body, JulianDay jdUtc, double& magnitude);

// Moon phase quantities from apparent places (hours, degrees) and distances (AU).
// Elongation ψ of the Moon from the Sun, degrees [0, 180].
double moonElongation(double sunRaHours, double sunDecDeg, double moonRaHours, double moonDecDeg);
// Phase angle i (Sun-Moon-Earth), degrees [0, 360).
double moonPhaseAngle(double elongationDeg, double sunDistanceAu, double moonDistanceAu);
// Illuminated fraction (1 + cos i) / 2.
double illuminatedFraction(double phaseAngleDeg);
// Position angle of the bright limb's midpoint, from north through east, degrees [0, 360).
double brightLimbAngle(double sunRaHours, double sunDecDeg, double moonRaHours, double moonDecDeg);

struct MoonPhase {
    double elongationDeg = 0.0;
    double phaseAngleDeg = 0.0;
    double illuminatedFraction = 0.0;
    double brightLimbDeg = 0.0;
};
// All four from the geocentric places of the Sun and the Moon at one UTC instant.
Status moonPhase(const PlaceContext& context, JulianDay jdUtc, MoonPhase& out);

// Equatorial diameter in km of a body (1..11), 0 for any other number.
double bodyDiameterKm(int body);

// What the chart draws a body from.
struct BodySlot {
    double distanceAu = 0.0;
    int32_t zenithDistanceFixed = 0;  // 16.16 degrees
    int32_t azimuthFixed = 0;         // 16.16 degrees
    double angularDiameterDeg = 0.0;
    double raHours = 0.0;  // topocentric apparent place of date, unrefracted
    double decDeg = 0.0;
};

struct BodySlots {
    std::array<BodySlot, 11> slot;  // index = BodyNumber - 1
    ObserverSnapshot computedFor;
    bool valid = false;
};

// Clock tolerance of the bodies' update: any change of the instant.
constexpr double kBodiesInstantTolerance = kExactInstant;

// One step of the sky model's update: the topocentric places of the bodies
// for the observer, their zenith distance and azimuth (with refraction from
// the site's weather when the observer's option, value 15, is on), distance
// and angular diameter. Nothing is done when
// the instant lies outside the reader's range (slots marked invalid) or the
// observer has not changed beyond the tolerance since the last run. A body
// whose place fails gets distance 0 and keeps its other slots. Returns true
// when it recomputed.
bool updateBodies(const PlaceContext& context, const ObserverSnapshot& observer, BodySlots& slots);

}  // namespace celestra
