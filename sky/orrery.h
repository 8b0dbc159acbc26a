// The orrery: the planets' heliocentric places from the ephemeris, their
// orbits as the two-body ellipses through those places, and the view that
// looks at the ecliptic from above at a tilt.
#pragma once

#include <array>
#include <vector>

#include "core/angles.h"

namespace celestra {

struct PlaceContext;

// Heliocentric ecliptic (J2000) position, AU, of the planets 1..9 (Mercury
// .. Pluto; index = body - 1) at UTC instant jdUtc, with their orbits: 180
// points each. `valid` is false for a body the ephemeris cannot give.
struct OrreryPlanet {
    bool valid = false;
    Vector3 position;
    std::vector<Vector3> orbit;
};
std::array<OrreryPlanet, 9> orreryPlanets(const PlaceContext& context, double jdUtc);

// The ellipse (AU) of a heliocentric state: position (AU) and velocity
// (AU/day) about the Sun, sampled at `points` equal steps of eccentric
// anomaly. Empty for a state that is not bound (e >= 1) or degenerate.
std::vector<Vector3> keplerOrbit(const Vector3& position, const Vector3& velocity, int points);

// J2000 equatorial -> ecliptic (rotation about x by the obliquity).
Vector3 eclipticOfEquatorial(const Vector3& v);

// The view: turned by `rotationDeg` about the ecliptic pole, then tilted
// `tiltDeg` from looking straight down. x right, y down the screen (AU),
// depth > 0 behind the plane through the Sun facing the viewer.
struct OrreryPoint {
    double x = 0.0;
    double y = 0.0;
    double depth = 0.0;
};
OrreryPoint orreryView(const Vector3& ecliptic, double rotationDeg, double tiltDeg);

// Pixels per AU for the orrery's zoom (2.0, 4.0, ...): at zoom 2 the
// smaller half of the window holds 32 AU (beyond Neptune).
inline double orreryPixelsPerAu(double zoom, double halfSizePixels) { return halfSizePixels * zoom / 64.0; }

}  // namespace celestra
