#include "solarsystem/comet_orbit.h"

#include <cmath>

namespace celestra {

namespace {

bool finite(double v) { return std::isfinite(v); }

// The Kepler function F(χ) = e χ³ c3(αχ²) + q χ - √μ dt and its derivative r.
void keplerFunction(const CometOrbit& o, double chi, double rootMuDt, double& f, double& r, double& c2, double& c3) {
    const double chi2 = chi * chi;
    stumpff(o.alpha * chi2, c2, c3);
    f = o.e * chi2 * chi * c3 + o.q * chi - rootMuDt;
    r = o.q + o.e * chi2 * c2;
}

}  // namespace

int prepareCometOrbit(const CometElements& el, CometOrbit& orbit) {
    orbit = CometOrbit{};
    const double q = el.perihelionDistanceAu, e = el.eccentricity;
    if (!(q > 0.0) || !(e >= 0.0) || !finite(q) || !finite(e) || !finite(el.inclinationDeg) || !finite(el.nodeDeg) ||
        !finite(el.perihelionArgDeg) || !finite(el.perihelionTime))
        return 1;
    orbit.q = q;
    orbit.e = e;
    orbit.perihelionTime = el.perihelionTime;
    orbit.alpha = (1.0 - e) / q;
    if (orbit.alpha > 0.0) orbit.periodDays = 2.0 * kPi / std::sqrt(kSunGm * orbit.alpha * orbit.alpha * orbit.alpha);

    // Perifocal axes in the ecliptic: Rz(Ω) Rx(i) Rz(ω), columns 1 and 2.
    const double so = std::sin(el.nodeDeg * kDegToRad), co = std::cos(el.nodeDeg * kDegToRad);
    const double si = std::sin(el.inclinationDeg * kDegToRad), ci = std::cos(el.inclinationDeg * kDegToRad);
    const double sw = std::sin(el.perihelionArgDeg * kDegToRad), cw = std::cos(el.perihelionArgDeg * kDegToRad);
    const Vector3 pEcl{co * cw - so * sw * ci, so * cw + co * sw * ci, sw * si};
    const Vector3 qEcl{-co * sw - so * cw * ci, -so * sw + co * cw * ci, cw * si};
    // Ecliptic to equator of J2000: a rotation about x by -ε.
    const double se = std::sin(kObliquityJ2000Deg * kDegToRad), ce = std::cos(kObliquityJ2000Deg * kDegToRad);
    const auto toEquator = [se, ce](const Vector3& v) {
        return Vector3{v.x, v.y * ce - v.z * se, v.y * se + v.z * ce};
    };
    orbit.p = toEquator(pEcl);
    orbit.qDir = toEquator(qEcl);
    orbit.valid = true;
    return 0;
}

void stumpff(double z, double& c2, double& c3) {
    if (std::fabs(z) < 1.0) {
        // c2 = Σ (-z)^k/(2k+2)!, c3 = Σ (-z)^k/(2k+3)!; 12 terms leave < 1e-26.
        double term2 = 0.5, term3 = 1.0 / 6.0;
        c2 = term2;
        c3 = term3;
        for (int k = 1; k < 12; ++k) {
            term2 *= -z / ((2 * k + 1) * (2 * k + 2));
            term3 *= -z / ((2 * k + 2) * (2 * k + 3));
            c2 += term2;
            c3 += term3;
        }
    } else if (z > 0.0) {
        const double s = std::sqrt(z);
        c2 = (1.0 - std::cos(s)) / z;
        c3 = (s - std::sin(s)) / (z * s);
    } else {
        const double s = std::sqrt(-z);
        c2 = (std::cosh(s) - 1.0) / -z;
        c3 = (std::sinh(s) - s) / (-z * s);
    }
}

int cometPlanePosition(const CometOrbit& o, double dtDays, double& x, double& y, double* vx, double* vy) {
    x = y = 0.0;
    if (vx) *vx = 0.0;
    if (vy) *vy = 0.0;
    if (!o.valid || !finite(dtDays)) return 1;
    if (o.periodDays > 0.0) dtDays = std::remainder(dtDays, o.periodDays);

    // F is odd in χ: solve for |dt| and give χ the sign of dt.
    const double rootMu = std::sqrt(kSunGm);
    const double target = rootMu * std::fabs(dtDays);
    double lo = 0.0;
    // F(χ) >= qχ - target, so target/q brackets the root; an ellipse's root
    // lies within half a turn of eccentric anomaly, χ = π √a.
    double hi = target / o.q;
    if (o.alpha > 0.0) hi = std::fmin(hi, kPi / std::sqrt(o.alpha));

    // Start from the parabola's cubic e χ³/6 + q χ = target (Cardano), exact for e = 1.
    double chi;
    if (o.e > 0.0) {
        const double a = 6.0 * o.q / o.e, b = 3.0 * target / o.e;  // χ³ + a χ - 2b = 0
        const double d = std::sqrt(b * b + a * a * a / 27.0);
        chi = std::cbrt(b + d) + std::cbrt(b - d);
    } else {
        chi = target / o.q;
    }
    if (!(chi > lo && chi < hi)) chi = 0.5 * (lo + hi);

    double f = 0.0, r = o.q, c2 = 0.5, c3 = 1.0 / 6.0;
    bool converged = target == 0.0;
    if (converged) chi = 0.0;
    for (int iteration = 0; iteration < 200 && !converged; ++iteration) {
        keplerFunction(o, chi, target, f, r, c2, c3);
        if (f == 0.0) break;
        if (f > 0.0 || !finite(f)) hi = chi;
        else lo = chi;
        double next = chi - f / r;
        if (!finite(next) || !(next > lo && next < hi)) next = 0.5 * (lo + hi);
        converged = std::fabs(next - chi) <= 1e-15 * std::fabs(next) || hi - lo <= 1e-15 * hi;
        chi = next;
    }
    if (!converged && f != 0.0) return 2;
    if (dtDays < 0.0) chi = -chi;
    keplerFunction(o, chi, rootMu * dtDays, f, r, c2, c3);
    if (!finite(r)) return 2;

    // x = f q, y = g v0 with the Lagrange coefficients taken from perihelion.
    const double chi2 = chi * chi, z = o.alpha * chi2;
    x = o.q - chi2 * c2;
    y = chi * (1.0 - z * c3) * std::sqrt(o.q * (1.0 + o.e));
    if (vx) *vx = rootMu * chi * (z * c3 - 1.0) / r;
    if (vy) *vy = (1.0 - chi2 * c2 / r) * std::sqrt(kSunGm * (1.0 + o.e) / o.q);
    if (!finite(x) || !finite(y)) {
        x = y = 0.0;
        return 2;
    }
    return 0;
}

int cometHeliocentric(const CometOrbit& orbit, JulianDay jdTdb, Vector3& pos, Vector3* vel) {
    double x = 0.0, y = 0.0, vx = 0.0, vy = 0.0;
    const int rc = cometPlanePosition(orbit, jdTdb - orbit.perihelionTime, x, y, &vx, &vy);
    pos = orbit.p * x + orbit.qDir * y;
    if (vel) *vel = orbit.p * vx + orbit.qDir * vy;
    if (rc != 0) {
        pos = Vector3{};
        if (vel) *vel = Vector3{};
    }
    return rc;
}

}  // namespace celestra
