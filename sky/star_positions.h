// The star chart's places: the apparent topocentric altitude and azimuth of
// date of every catalogue object, of the grid's and the ecliptic's points,
// at one instant, through the same steps as core/apparent_place.h (proper
// motion, parallax, light deflection by the Sun, annual and diurnal
// aberration, IAU 1976 precession, IAU 1980 nutation) and the horizon
// transformation of core/horizon.h with its refraction.
//
// What depends only on the instant and the observer (the observer's
// barycentric state, the precession-nutation matrix, the rotation to the
// horizon, the deflection and aberration constants) is computed once per
// instant in a HorizonFrame; the per-object work is a few vector operations,
// one matrix product and three arctangents, in loops without branches that
// the compiler vectorises. Refraction, iterated as the horizon
// transformation iterates it, follows for the objects near or above the
// horizon.
//
// Accuracy: against the one-object pipeline (topocentricStarUtc, then
// equatorialToHorizontal with the site's weather) the difference is below
// 0.001″ before the 16.16 fixed-point output, whose float step is 0.11″ at
// azimuth 360° (tests/sky/star_positions_test.cpp). Without the Earth's
// state (no ephemeris, or an instant outside it) aberration, deflection and
// parallax are left out and the place is then up to 21″ off (the annual
// aberration); the frame says so.
//
// Results are zenith distance 90° - h and azimuth A from north through east
// in degrees, A in [0, 360), the zenith itself at azimuth 0.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/apparent_place.h"
#include "core/rotation_matrix.h"

namespace celestra {

class CObserverState;
struct PlaceContext;

// Unit vectors (x toward RA 0h, y toward RA 6h, z toward the pole) of a list
// of equatorial places of date, stored by component.
struct ChartDirections {
    std::vector<double> x, y, z;

    std::size_t size() const { return x.size(); }
    void add(double raHours, double decDeg);
};

// Barycentric position (AU) at J2000.0 and velocity (AU/day) of catalogue
// objects, axes of the J2000 mean equator (starVectors of each record),
// stored by component.
struct CatalogueMotions {
    std::vector<double> px, py, pz, vx, vy, vz;

    std::size_t size() const { return px.size(); }
    void add(const StarPlaceInput& star);
};

// The 9329 catalogue objects (0..9109 bright stars, 9110..9219 Messier,
// 9220..9328 Caldwell), indexed by combined object number.
CatalogueMotions catalogueMotions();

// Everything of one instant and observer that the per-object steps share.
struct HorizonFrame {
    JulianDay jdUtc = 0.0;
    JulianDay jdTdb = 0.0;
    // The observer's state (Earth's centre plus the site): false when the
    // ephemeris does not cover the instant; the places then lack aberration,
    // deflection and parallax (see the header note).
    bool haveObserverState = false;
    EarthState observer;
    RotationMatrix toDate = RotationMatrix::identity();         // J2000 mean -> true equator and equinox of date
    RotationMatrix dateToHorizon = RotationMatrix::identity();  // of date -> (east, north, up)
    RotationMatrix toHorizon = RotationMatrix::identity();      // dateToHorizon × toDate
    double localSiderealHours = 0.0;                            // apparent
    double latitudeDeg = 0.0;
    ObserverSite site;
    int refraction = 0;  // kRefractionNone or kRefractionSite (core/horizon.h)

    // Deflection: the Sun-to-observer unit vector, its length (AU) and
    // 2GM/(c²|e|). Aberration: the observer's barycentric velocity (AU/day),
    // its speed over c and √(1 - β²).
    Vector3 sunToObserver;
    double sunDistance = 0.0;
    double deflectionScale = 0.0;
    Vector3 velocity;
    double beta = 0.0;
    double gammaInverse = 1.0;
};

// The frame of the observer's instant (UTC), place and weather; refraction
// when the observer's option is on. `places` gives the Earth's state; with
// no ephemeris (or outside it) the frame has no observer state.
HorizonFrame makeHorizonFrame(const PlaceContext& places, const CObserverState& observer);

// For each k in objects[0..n): the apparent topocentric place of object k of
// `motions` into zenithDistance[k] and azimuth[k] (16.16 fixed-point
// degrees, refracted when the frame says so) and raHours[k], decDeg[k] (the
// unrefracted right ascension and declination of the true equator and
// equinox of date). The per-object arrays must hold every listed index.
void truePlacesFixed(const HorizonFrame& frame, const CatalogueMotions& motions, const int32_t* objects, std::size_t n,
                     int32_t* zenithDistance, int32_t* azimuth, double* raHours, double* decDeg);

// The same for one record, unfixed: zenith distance and azimuth (degrees),
// right ascension (hours) and declination (degrees) of date.
void truePlace(const HorizonFrame& frame, const StarPlaceInput& star, double& zenithDistanceDeg, double& azimuthDeg,
               double& raHours, double& decDeg);

// Catalogue object k's (0..9328) place for the observer, as the chart's star
// stage computes it; false for a number outside the catalogue.
bool catalogueObjectPlace(const PlaceContext& places, const CObserverState& observer, int object,
                          double& zenithDistanceDeg, double& azimuthDeg, double& raHours, double& decDeg);

// Directions of date (true equator and equinox) to 16.16 zenith distance and
// azimuth, refracted when the frame says so: out[i] for directions[i].
void horizonPlacesOfDate(const HorizonFrame& frame, const ChartDirections& directions, int32_t* zenithDistance,
                         int32_t* azimuth);

// One direction of date (any length) to zenith distance and azimuth, degrees.
void horizonOfDate(const HorizonFrame& frame, const Vector3& ofDate, double& zenithDistanceDeg, double& azimuthDeg);

// atan2(y, x) in radians, (-π, π]; atan2(0, 0) is 0. Error below 1e-9 rad.
double chartAtan2(double y, double x);

}  // namespace celestra
