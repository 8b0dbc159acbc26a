// The star chart's fast altitude and azimuth for many fixed points of the
// sky (catalogue objects, grid nodes, ecliptic points), written so that the
// whole catalogue fits in a fraction of a millisecond.
//
// It is the chart's simplified conversion: hour angle from the local
// apparent sidereal time and the place as given (no precession, nutation,
// aberration or refraction), latitude clamped to ±89.9999°, results as
// zenith distance 90° - h and azimuth A from north through east, each stored
// as 16.16 fixed point (toFixed16 of core/horizon.h).
//
// Each direction is kept as a unit vector, so one instant costs one rotation,
// a square root and two arctangents per object instead of six trigonometric
// calls. The arctangent is a series accurate to 1e-9 rad (6e-8°), well below
// the 1.5e-5° step of the 16.16 output; results agree with the spherical
// formulas (sin h = cos δ cos H cos φ + sin δ sin φ, cos A = (sin δ - sin h
// sin φ) / (cos h cos φ), A = 360° - A west of the meridian) to one unit of
// the last place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace celestra {

// Unit vectors (x toward RA 0h, y toward RA 6h, z toward the pole) of a list
// of equatorial places, stored by component.
struct ChartDirections {
    std::vector<double> x, y, z;

    std::size_t size() const { return x.size(); }
    void add(double raHours, double decDeg);
};

// The directions of the 9329 catalogue objects (0..9109 bright stars,
// 9110..9219 Messier, 9220..9328 Caldwell), indexed by combined object
// number, from the catalogue's right ascension and declination.
ChartDirections catalogueDirections();

// The rotation from the equator to the observer's horizon at one instant.
struct ChartRotation {
    double cosLst = 1.0, sinLst = 0.0;  // local apparent sidereal time
    double sinLat = 0.0, cosLat = 1.0;  // clamped latitude
};

// Latitude in degrees is clamped to [-89.9999, 89.9999] (a NaN is used as
// 0); sidereal time in hours.
ChartRotation chartRotation(double localSiderealHours, double latitudeDeg);

// Zenith distance and azimuth (degrees, azimuth in [0, 360)) of one
// direction. At the zenith the azimuth is 0.
void chartZenithAzimuthDeg(const ChartRotation& rotation, double x, double y, double z, double& zenithDistanceDeg,
                           double& azimuthDeg);


// For each k in objects[0..n): zenith distance and azimuth of direction
// objects[k] into zenithDistance[objects[k]] and azimuth[objects[k]] (the
// per-object arrays must hold every listed index).
void chartPositionsFixed(const ChartRotation& rotation, const ChartDirections& directions, const int32_t* objects,
                         std::size_t n, int32_t* zenithDistance, int32_t* azimuth);

// The same for every direction in order: out[i] for directions[i].
void chartPositionsFixed(const ChartRotation& rotation, const ChartDirections& directions, int32_t* zenithDistance,
                         int32_t* azimuth);

// atan2(y, x) in radians, (-π, π]; atan2(0, 0) is 0. Error below 1e-9 rad.
double chartAtan2(double y, double x);

}  // namespace celestra
