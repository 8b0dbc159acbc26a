#include "sky/orrery.h"

#include <cmath>

#include "core/time_scales.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/planets.h"

namespace celestra {
namespace {

constexpr double kDeg = 0.017453292519943295;

Vector3 cross(const Vector3& a, const Vector3& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double length(const Vector3& a) { return std::sqrt(dot(a, a)); }
Vector3 scaled(const Vector3& a, double k) { return {a.x * k, a.y * k, a.z * k}; }

}  // namespace

Vector3 eclipticOfEquatorial(const Vector3& v) {
    const double c = std::cos(kObliquityJ2000Deg * kDeg), s = std::sin(kObliquityJ2000Deg * kDeg);
    return {v.x, c * v.y + s * v.z, -s * v.y + c * v.z};
}

std::vector<Vector3> keplerOrbit(const Vector3& r, const Vector3& v, int points) {
    const double rl = length(r);
    const Vector3 h = cross(r, v);
    const double hl = length(h);
    if (rl <= 0.0 || hl <= 0.0 || points < 3) return {};
    // Eccentricity vector e = v×h/GM - r/|r|; semi-major axis from the energy.
    Vector3 e = cross(v, h);
    e = scaled(e, 1.0 / kSunGm);
    e -= scaled(r, 1.0 / rl);
    const double ecc = length(e);
    const double energy = dot(v, v) / 2.0 - kSunGm / rl;
    if (ecc >= 1.0 || energy >= 0.0) return {};
    const double a = -kSunGm / (2.0 * energy);
    // P towards perihelion, Q 90° ahead of it in the plane of motion.
    Vector3 p = ecc > 1e-12 ? scaled(e, 1.0 / ecc) : scaled(r, 1.0 / rl);
    const Vector3 q = scaled(cross(h, p), 1.0 / hl);
    const double b = a * std::sqrt(1.0 - ecc * ecc);
    std::vector<Vector3> out;
    out.reserve(static_cast<size_t>(points));
    for (int i = 0; i < points; ++i) {
        const double E = 2.0 * 3.14159265358979323846 * i / points;
        const double x = a * (std::cos(E) - ecc), y = b * std::sin(E);
        out.push_back({p.x * x + q.x * y, p.y * x + q.y * y, p.z * x + q.z * y});
    }
    return out;
}

OrreryPoint orreryView(const Vector3& ecl, double rotationDeg, double tiltDeg) {
    const double cr = std::cos(rotationDeg * kDeg), sr = std::sin(rotationDeg * kDeg);
    const double x = cr * ecl.x - sr * ecl.y;
    const double y = sr * ecl.x + cr * ecl.y;
    const double ct = std::cos(tiltDeg * kDeg), st = std::sin(tiltDeg * kDeg);
    // Looking down the pole, +y of the ecliptic is up the screen; the tilt
    // swings the far side (+y) away from the viewer.
    OrreryPoint o;
    o.x = x;
    o.y = -(y * ct + ecl.z * st);
    o.depth = y * st - ecl.z * ct;
    return o;
}

std::array<OrreryPlanet, 9> orreryPlanets(const PlaceContext& context, double jdUtc) {
    std::array<OrreryPlanet, 9> out{};
    if (!context.ephemeris) return out;
    const double jdTt = ttFromUtc(jdUtc);
    for (int body = 1; body <= 9; ++body) {
        Vector3 pos, vel;
        if (context.ephemeris->solarSystemState(jdTt, body, 1, pos, vel) != 0) continue;
        OrreryPlanet& planet = out[static_cast<size_t>(body - 1)];
        planet.valid = true;
        planet.position = eclipticOfEquatorial(pos);
        for (const Vector3& p : keplerOrbit(pos, vel, 180)) planet.orbit.push_back(eclipticOfEquatorial(p));
    }
    return out;
}

}  // namespace celestra
