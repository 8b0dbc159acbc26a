// Physical and astronomical constants, and the unit factors of navigation.
//
// Each value names where it comes from. Two astronomical units live here on
// purpose: the IAU (1976) value is the one every apparent-place, sight and
// almanac formula of this program is written with (its results and the
// reference figures in the tests depend on it, so it stays), the IAU (2012)
// value is the nominal one used to recognise a header and to show a distance
// on the object page. They differ by 0.7 km, 5e-12 of the value.
//
// Angle factors (π, degrees per radian, arcseconds per radian) are
// mathematics, not physics, and live in core/angles.h.
#pragma once

namespace celestra {

// --- Astronomical units and the speed of light -----------------------------

// Kilometres per astronomical unit of the IAU (1976) System of Astronomical
// Constants (A = 1.49597870e11 m): the value the stored formulas use for
// radial velocities, the observer's geocentric vector, the bodies'
// kilometre distances (semidiameter, horizontal parallax) and the distances
// shown in charts and pages.
constexpr double kAuKmIau1976 = 149597870.0;
// Kilometres per astronomical unit as fixed by IAU 2012 Resolution B2.
constexpr double kAuKmIau2012 = 149597870.7;
// Speed of light in AU per day: c = 299792.458 km/s (exact since the 1983
// definition of the metre) x 86400 s / kAuKmIau1976, as in the IAU (1976)
// system.
constexpr double kLightAuPerDay = 173.14463348;

// Gaussian gravitational constant k (AU^3/2 per day, solar mass 1), a
// defining constant of the IAU (1976) system, and the Sun's GM = k^2 in
// AU^3/day^2.
constexpr double kGaussianK = 0.01720209895;
constexpr double kSunGm = kGaussianK * kGaussianK;

// Mean obliquity of the ecliptic at J2000.0 in degrees: 84381.448" of the
// IAU (1976) precession (Lieske et al. 1977).
constexpr double kObliquityJ2000Deg = 23.4392911;

// --- Time --------------------------------------------------------------------

// The standard epoch J2000.0 (2000 January 1, 12h TT) as a Julian day, IAU
// (1976); days per Julian century.
constexpr double kJ2000 = 2451545.0;
constexpr double kDaysPerJulianCentury = 36525.0;
// TT - TAI in seconds, IAU 1991 Resolution A4 (TT = TAI + 32.184 s).
constexpr double kTtMinusTaiSeconds = 32.184;

// --- The Earth ---------------------------------------------------------------

// The observer's ellipsoid: equatorial radius (km) and flattening
// (1/298.257) of the IAU (1976) system; rotation rate (rad/s) of GRS 80.
constexpr double kEarthRadiusKm = 6378.140;
constexpr double kEarthFlattening = 0.00335281;
constexpr double kEarthRotationRadPerSec = 7.292115e-5;
// Equatorial radius (km) the sight-reduction and almanac formulas take for
// the horizontal parallax, asin(radius / distance). 10 m above the IAU
// (1976) radius; the Moon's HP moves by less than 0.01".
constexpr double kParallaxEarthRadiusKm = 6378.15;
// GRS 80 (Moritz, Bulletin Géodésique 54, 1980), the ellipsoid of the
// great-circle calculator: semi-major axis (km), first eccentricity squared
// and 1 - e^2.
constexpr double kGrs80SemiMajorKm = 6378.137;
constexpr double kGrs80E2 = 0.006694380022900903;
constexpr double kGrs80OneMinusE2 = 0.9933056199770991;

// --- Units of navigation -------------------------------------------------------

// The international nautical mile (International Hydrographic Conference,
// 1929): 1852 m exactly.
constexpr double kMetresPerNauticalMile = 1852.0;
constexpr double kKmPerNauticalMile = 1.852;
constexpr double kNauticalMilesPerKm = 0.5399568034557235;  // 1 / 1.852
// The international statute mile, 1609.344 m (yard and pound agreement,
// 1959), per nautical mile and back.
constexpr double kStatuteMilesPerNauticalMile = 1.150779448;
constexpr double kNauticalMilesPerStatuteMile = 0.8689762419184254;
// The international foot, 0.3048 m exactly (1959): feet per metre, and feet
// per nautical mile as the dip formula takes it (1852 / 0.3048 = 6076.115,
// to the tenth).
constexpr double kFeetPerMetre = 3.280839895013123;
constexpr double kFeetPerNauticalMile = 6076.1;

}  // namespace celestra
