#include "calculators/geodesy.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "core/constants.h"

namespace celestra {
namespace {

constexpr double kTwoPi = 2.0 * kPi;

// Rounding can push a valid cosine or sine a few ulps past ±1.
double clampUnit(double x) { return std::clamp(x, -1.0, 1.0); }

double square(double x) { return x * x; }

}  // namespace

double greatCircleDistanceSpherical(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kDegToRad, p2 = lat2 * kDegToRad;
    // West-positive longitudes; the difference is the same up to sign, which
    // the square removes.
    const double w1 = -lon1 * kDegToRad, w2 = -lon2 * kDegToRad;
    const double h =
        square(std::sin((p1 - p2) / 2.0)) + std::cos(p1) * std::cos(p2) * square(std::sin((w1 - w2) / 2.0));
    const double d = 2.0 * std::asin(std::sqrt(clampUnit(h)));
    return d * kRadToDeg * 60.0;
}

EllipsoidalDistance greatCircleDistanceEllipsoidal(double lat1, double lon1, double lat2, double lon2) {
    EllipsoidalDistance result;
    const double psi1 = std::atan(kGrs80OneMinusE2 * std::tan(lat1 * kDegToRad));
    const double psi2 = std::atan(kGrs80OneMinusE2 * std::tan(lat2 * kDegToRad));
    const double dlon = (lon2 - lon1) * kDegToRad;
    const double sigma =
        std::acos(clampUnit(std::cos(dlon) * std::cos(psi1) * std::cos(psi2) + std::sin(psi1) * std::sin(psi2)));
    const double psiLow = psi1 > psi2 ? psi2 : psi1;
    const double psiHigh = psi1 > psi2 ? psi1 : psi2;
    const double a =
        std::atan2(std::sin(sigma) * std::sin(psiLow), std::sin(psiHigh) - std::cos(sigma) * std::sin(psiLow));
    const double b = a + sigma;
    const double sinB = std::sin(b);
    // Coincident places give sigma = 0 and B = 0, so k divides by sin²B = 0.
    // Antipodal ones make both atan2 arguments vanish, leaving A (and with it
    // the whole result) to rounding noise; within 1e-7 rad (under a metre) of
    // antipodal the answer is refused. Two places on the equator have
    // sin psiHigh = 0 and need no division at all.
    const double sinHigh = std::sin(psiHigh);
    // Identical places can leave acos a rounding error above 0 (1e-8 rad), so
    // they are recognised by the well-conditioned haversine separation.
    const bool coincident = sigma == 0.0 || greatCircleDistanceSpherical(lat1, lon1, lat2, lon2) < 1e-9;
    const bool degenerate = coincident || kPi - sigma < 1e-7 || (std::fabs(sinB) < 1e-9 && sinHigh != 0.0);
    if (!degenerate) {
        const double k = sinHigh == 0.0 ? 0.0 : kGrs80E2 * square(sinHigh / sinB);
        auto s = [k](double x) { return kGrs80SemiMajorKm * (x - k * x / 4.0 + k * std::sin(2.0 * x) / 8.0); };
        const double km = s(b) - s(a);
        if (std::isfinite(km)) {
            result.nauticalMiles = km * kNauticalMilesPerKm;
            return result;
        }
    }
    result.defined = false;
    result.nauticalMiles = greatCircleDistanceSpherical(lat1, lon1, lat2, lon2);
    return result;
}

double initialCourse(double lat1, double lon1, double lat2, double lon2) {
    const double p1 = lat1 * kDegToRad, p2 = lat2 * kDegToRad;
    const double c = (-lon1 * kDegToRad) - (-lon2 * kDegToRad);
    const double tc =
        std::atan2(std::sin(c) * std::cos(p2), std::cos(p1) * std::sin(p2) - std::sin(p1) * std::cos(p2) * std::cos(c));
    return wrapFloor(tc, kTwoPi) * kRadToDeg;
}

bool rhumbLineReachesPole(double lat, double courseDeg, double arcDegrees) {
    return std::fabs(lat + arcDegrees * std::cos(courseDeg * kDegToRad)) >= 90.0;
}

bool rhumbLineUndefinedAtPole(double lat, double courseDeg) {
    if (std::fabs(lat) < 90.0) return false;
    const double course = std::fmod(std::fmod(courseDeg, 360.0) + 360.0, 360.0);
    return course != 0.0 && course != 180.0;
}

GeoPoint destinationPoint(double lat, double lon, double courseDeg, double arcDegrees, bool greatCircle) {
    const double lat1 = lat * kDegToRad;
    const double w1 = -lon * kDegToRad;
    const double tc = courseDeg * kDegToRad;
    const double d = arcDegrees * kDegToRad;
    double lat2 = 0.0, w = 0.0;
    if (greatCircle) {
        lat2 = std::asin(clampUnit(std::sin(lat1) * std::cos(d) + std::cos(lat1) * std::sin(d) * std::cos(tc)));
        const double dlon =
            std::atan2(std::sin(tc) * std::sin(d) * std::cos(lat1), std::cos(d) - std::sin(lat1) * std::sin(lat2));
        // From a pole every course runs down one meridian; atan2(0, 0)
        // would pick it by rounding, so the given longitude is kept.
        w = std::fabs(lat) < 90.0 ? w1 - dlon : w1;
    } else {
        lat2 = lat1 + d * std::cos(tc);
        // On an east-west run the stretched-latitude difference is 0/0; the
        // departure then scales with the cosine of the (unchanged) latitude.
        const double dphi = std::log(std::tan(lat2 / 2.0 + kPi / 4.0) / std::tan(lat1 / 2.0 + kPi / 4.0));
        const double q = std::fabs(lat2 - lat1) < std::sqrt(1e-15) ? std::cos(lat1) : (lat2 - lat1) / dphi;
        // From a pole the stretched latitude is infinite: the line out of it
        // is the meridian of the given longitude, which is kept.
        if (std::fabs(lat) < 90.0) w = w1 + (-d * std::sin(tc) / q);
        else w = w1;
    }
    w = wrapFloor(w + kPi, kTwoPi) - kPi;
    GeoPoint p;
    p.latitude = lat2 * kRadToDeg;
    p.longitude = -w * kRadToDeg;
    return p;
}

}  // namespace celestra
