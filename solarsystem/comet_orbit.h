// Two-body motion of a comet about the Sun from its perihelion elements, for
// every eccentricity: ellipse, parabola, hyperbola and the near-parabolic
// orbits between them, through one universal-variable Kepler equation.
//
// Units: AU, days, degrees at the interface. Frame of the elements: the
// ecliptic and equinox of J2000.0; frame of the results: the mean equator and
// equinox of J2000.0 (the ephemeris file's axes), reached with the J2000
// obliquity 23.4392911°. The perihelion time is TT; it is used as TDB (the
// two differ by under 2 ms, a few tens of metres of a comet's path).
//
// Status codes: 0 success; 1 bad elements (q not positive, e negative, a
// non-finite value) or a non-finite instant; 2 the Kepler equation did not
// converge (not met in the tests; the outputs are then 0).
#pragma once

#include "core/angles.h"
#include "core/constants.h"
#include "core/time_scales.h"

namespace celestra {

// The comet moves under the Sun's GM alone (kSunGm of core/constants.h): its
// own mass is neglected.

struct CometElements {
    double perihelionDistanceAu = 1.0;  // q > 0
    double eccentricity = 0.0;          // e >= 0
    double inclinationDeg = 0.0;        // i, ecliptic J2000
    double nodeDeg = 0.0;               // Ω, ecliptic J2000
    double perihelionArgDeg = 0.0;      // ω, from the node
    JulianDay perihelionTime = kJ2000;  // T, TT
};

// The elements prepared for repeated positions: the perihelion and the
// direction of motion there as unit vectors of the J2000 equator (the
// Gaussian vectors P and Q), and the orbit's shape.
struct CometOrbit {
    double q = 0.0;
    double e = 0.0;
    JulianDay perihelionTime = 0.0;
    double alpha = 0.0;       // 1/a = (1 - e)/q, 1/AU; 0 for the parabola, negative for a hyperbola
    double periodDays = 0.0;  // ellipses only; 0 otherwise
    Vector3 p, qDir;          // perihelion direction, direction of the velocity at perihelion
    bool valid = false;
};

// Prepares the elements. Returns 0, or 1 (the orbit is marked invalid) for
// q <= 0, e < 0 or a non-finite element.
int prepareCometOrbit(const CometElements& elements, CometOrbit& orbit);

// Stumpff functions c2(z) = (1 - cos √z)/z and c3(z) = (√z - sin √z)/z^3/2,
// continued through z = 0 (1/2, 1/6) and to negative z with cosh and sinh.
// A power series is used for |z| < 1, so the near-parabolic orbits lose no
// digits to cancellation. Beyond z = -5e5 the values overflow to +inf.
void stumpff(double z, double& c2, double& c3);

// Position (AU) and, when vel is given, velocity (AU/day) in the orbit's
// plane, x toward perihelion and y along the motion there, at dtDays after
// perihelion.
// Notes:
// 1. The universal anomaly χ solves √μ dt = e χ³ c3(αχ²) + q χ, whose
//    derivative in χ is the radius r ≥ q > 0: the function is increasing for
//    every e, so a bracketed Newton iteration (bisection when a step leaves
//    the bracket or is not finite) always converges, to 1e-15 relative.
// 2. An ellipse's dt is first reduced to within half a period of perihelion.
// 3. Accuracy: positions agree with a numerical integration of the two-body
//    problem to better than 1e-9 AU per AU of distance (tests).
int cometPlanePosition(const CometOrbit& orbit, double dtDays, double& x, double& y, double* vx = nullptr,
                       double* vy = nullptr);

// Heliocentric position (AU) and optionally velocity (AU/day) at TDB
// instant jdTdb, mean equator and equinox of J2000.0. Codes as above; the
// outputs are zero on failure.
int cometHeliocentric(const CometOrbit& orbit, JulianDay jdTdb, Vector3& pos, Vector3* vel = nullptr);

}  // namespace celestra
