// Horizon coordinates: the full transformation of an apparent place of date
// into zenith distance and azimuth with atmospheric refraction, the
// refraction itself, and the fast altitude and azimuth of the star chart.
//
// Azimuth is measured from north through east, degrees [0, 360).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/apparent_place.h"

namespace celestra {

enum RefractionOption : int {
    kRefractionNone = 0,
    kRefractionStandard = 1,  // 1010 exp(-height / 9100) mbar and 10 °C
    kRefractionSite = 2,      // the site's own temperature and pressure
};

struct HorizontalPlace {
    double zenithDistanceDeg = 0.0;
    double azimuthDeg = 0.0;
    double raHours = 0.0;  // displaced by refraction when it applies
    double decDeg = 0.0;
};

// Refraction in degrees (apparent minus true altitude) for an apparent
// zenith distance in degrees; Bennett's formula scaled by pressure and
// temperature. 0 outside zenith distances 0.1-91 degrees.
// Accuracy: about 0.1 arcminute above 15° altitude, a few arcminutes at the
// horizon where the real atmosphere varies more than that.
double refraction(const ObserverSite& site, int option, double zenithDistanceDeg);

// The apparent (refracted) zenith distance of a true one, degrees: the
// fixed point of zd = true - refraction(zd), iterated until a pass moves it
// by at most 5e-5 degree (at most 50 passes; near the horizon each pass
// shrinks the error tenfold). Without a refraction option, or below the
// 91° where refraction ends, the true zenith distance is returned. The
// refraction of the last pass goes to `refractionDeg` when it is given.
double apparentZenithDistance(const ObserverSite& site, int option, double trueZenithDistanceDeg,
                              double* refractionDeg = nullptr);

// Zenith distance and azimuth (degrees) of an apparent place of date
// (right ascension in hours, declination in degrees, true equator and
// equinox of date) at TT instant jdTt, with UT1 = TT - ΔT.
// Notes:
// 1. Pole offsets in arcseconds (0 in every call of the program).
// 2. With a refraction option other than 0 the zenith distance is the
//    apparent one (iterated to 5e-5 degree) and the returned right
//    ascension and declination are displaced along the vertical; without it,
//    or when the refraction is 0 or the object is within 0.01° of the
//    zenith, the input place is returned.
// 3. The zenith itself has azimuth 0.
HorizontalPlace equatorialToHorizontal(JulianDay jdTt, double deltaTSeconds, double poleXArcsec, double poleYArcsec,
                                       const ObserverSite& site, double raHours, double decDeg, int refractionOption);

// The fast conversion, approximate and for drawing only: no precession,
// nutation, aberration or refraction; the place is used as given. The star
// chart's own places go through sky/star_positions.h; this serves the comet
// tracks (fed apparent places of date, refracted by their caller) and the
// orbital paths' daily dots. `lstHours` is the local apparent sidereal
// time, latitude in degrees (clamped to ±89.9999).
// Accuracy: exact spherical trigonometry for a place of date; a J2000
// catalogue place comes out about 20′ off in 2024 (precession alone).
struct ChartFrame {
    double localSiderealHours = 0.0;
    double sinLatitude = 0.0;
    double cosLatitude = 1.0;
};
ChartFrame makeChartFrame(double localSiderealHours, double latitudeDeg);

// Zenith distance 90 - h and azimuth A (degrees) of one object.
// Notes:
// 1. At the zenith the denominator cos h cos φ is floored at 1e-9 and the
//    cosine of the azimuth clamped to [-1, 1], so the result is finite.
// 2. A is 360 - acos(...) when the object is west of the meridian (sin H >= 0).
void chartZenithAzimuth(const ChartFrame& frame, double raHours, double decDeg, double& zenithDistanceDeg,
                        double& azimuthDeg);

// Degrees as 16.16 fixed point: the value as a single-precision float times
// 65536, truncated toward zero. A value that does not fit (|value| >= 32767)
// or is not a number gives 0.
int32_t toFixed16(double degrees);
inline double fromFixed16(int32_t fixed) { return fixed / 65536.0; }

}  // namespace celestra
