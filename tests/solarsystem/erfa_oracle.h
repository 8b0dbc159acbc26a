// An independent chain of the apparent-place models written with ERFA, the
// oracle of the accuracy tests: the reader's barycentric vectors, a
// light-time iteration written here, eraLd deflection, eraAb aberration,
// eraPmat76 precession, eraNut80/eraNumat nutation, the observer from
// eraGd2gce and GMST82 + EQEQ94, TDB from eraDtdb, star motion from eraS2pv.
// test_core and test_solarsystem link ERFA (tests/CMakeLists.txt).
#pragma once

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>

#include "core/apparent_place.h"
#include "solarsystem/ephemeris.h"

namespace celestra::test::erfa {

inline constexpr double kMjd0 = 2400000.5;
inline const double kCAuPerDay = ERFA_CMPS * 86400.0 / ERFA_DAU;

inline void put(const Vector3& v, double p[3]) {
    p[0] = v.x;
    p[1] = v.y;
    p[2] = v.z;
}
inline Vector3 get(const double p[3]) { return {p[0], p[1], p[2]}; }
inline Vector3 unit(const Vector3& v) { return v * (1.0 / v.norm()); }

// The independent chain. Observer state in the J2000 frame (AU, AU/day).
class Oracle {
public:
    explicit Oracle(EphemerisFile& eph) : eph_(eph) {}

    // Sets up the observer for TT instant tt: geocentric when site is null.
    bool observe(double tt, double deltaTSeconds, const ObserverSite* site) {
        const double ut1 = tt - deltaTSeconds / 86400.0;
        tdb_ = tt + eraDtdb(kMjd0, tt - kMjd0, ut1 - std::floor(ut1), 0.0, 0.0, 0.0) / 86400.0;
        double rp[3][3], rn[3][3], dpsi = 0.0, deps = 0.0;
        eraPmat76(kMjd0, tdb_ - kMjd0, rp);
        eraNut80(kMjd0, tdb_ - kMjd0, &dpsi, &deps);
        eraNumat(eraObl80(kMjd0, tdb_ - kMjd0), dpsi, deps, rn);
        eraRxr(rn, rp, npb_);
        Vector3 ev, hv;
        if (eph_.solarSystemState(tdb_, kEarth, kOriginBarycentre, obsBary_, obsVel_) != 0) return false;
        if (eph_.solarSystemState(tdb_, kEarth, kOriginSun, obsHelio_, hv) != 0) return false;
        if (site) {
            double xyz[3];
            eraGd2gce(6378140.0, 0.00335281, site->longitude * ERFA_DD2R, site->latitude * ERFA_DD2R, site->height,
                      xyz);
            const double gast = eraGmst82(kMjd0, ut1 - kMjd0) + eraEqeq94(kMjd0, tt - kMjd0);
            double rz[3][3], tod[3], j2000[3], todVel[3], j2000Vel[3];
            eraIr(rz);
            eraRz(-gast, rz);
            eraRxp(rz, xyz, tod);
            const double omega = 7.292115e-5;
            todVel[0] = -omega * tod[1];
            todVel[1] = omega * tod[0];
            todVel[2] = 0.0;
            eraTrxp(npb_, tod, j2000);
            eraTrxp(npb_, todVel, j2000Vel);
            const Vector3 p = get(j2000) * (1.0 / ERFA_DAU), v = get(j2000Vel) * (86400.0 / ERFA_DAU);
            obsBary_ += p;
            obsHelio_ += p;
            obsVel_ += v;
        }
        return true;
    }

    // Apparent place of a body (radians), true equator and equinox of date.
    void body(int number, double& ra, double& dec) {
        Vector3 pos, vel, sun, sunVel;
        double tau = 0.0, previous = -1.0;
        Vector3 geo;
        for (int pass = 0; pass < 20 && std::fabs(tau - previous) > 1e-12; ++pass) {
            previous = tau;
            eph_.solarSystemState(tdb_ - tau, number, kOriginBarycentre, pos, vel);
            geo = pos - obsBary_;
            tau = geo.norm() / kCAuPerDay;
        }
        eph_.solarSystemState(tdb_ - tau, kSun, kOriginBarycentre, sun, sunVel);
        finish(geo, pos - sun, ra, dec, number != kSun);
    }

    // Apparent place of a star (radians).
    void star(const StarPlaceInput& s, double& ra, double& dec) {
        const double parallax = s.parallaxArcsec > 0.0 ? s.parallaxArcsec : 1e-7;
        const double perDay = 1.0 / (ERFA_DR2AS * 36525.0);
        double pv[2][3];
        eraS2pv(s.raHours * 15.0 * ERFA_DD2R, s.decDeg * ERFA_DD2R, ERFA_DR2AS / parallax,
                s.pmRaSecPerCentury * 15.0 * perDay, s.pmDecArcsecPerCentury * perDay,
                s.radialVelocityKmS * 86400.0 / 1.4959787e8, pv);
        const Vector3 pos = get(pv[0]) + get(pv[1]) * (tdb_ - ERFA_DJ00);
        Vector3 sun, sunVel;
        eph_.solarSystemState(tdb_, kSun, kOriginBarycentre, sun, sunVel);
        finish(pos - obsBary_, pos - sun, ra, dec, true);
    }

    Vector3 sunDirection() const { return unit(obsHelio_ * -1.0); }
    // The geometric distance of a body from the observer at the observer's
    // TDB (AU): where it is, not where its light left it (for the Moon that
    // is up to 38 km apart, the system's barycentric motion in 1.3 s).
    double geometricDistanceAu(int number) {
        Vector3 pos, vel;
        eph_.solarSystemState(tdb_, number, kOriginBarycentre, pos, vel);
        return (pos - obsBary_).norm();
    }

private:
    // The Sun's own light is not deflected by the Sun.
    void finish(const Vector3& geo, const Vector3& sunToBody, double& ra, double& dec, bool deflect) {
        double p[3], q[3], e[3], p1[3], p2[3], v[3], out[3];
        put(unit(geo), p);
        put(unit(sunToBody), q);
        put(unit(obsHelio_), e);
        const double em = obsHelio_.norm();
        if (deflect) {
            eraLd(1.0, p, q, e, em, 1e-10, p1);
        } else {
            eraCp(p, p1);
        }
        put(obsVel_ * (1.0 / kCAuPerDay), v);
        const double v2 = v[0] * v[0] + v[1] * v[1] + v[2] * v[2];
        eraAb(p1, v, em, std::sqrt(1.0 - v2), p2);
        eraRxp(npb_, p2, out);
        eraC2s(out, &ra, &dec);
        ra = eraAnp(ra);
    }

    EphemerisFile& eph_;
    double tdb_ = 0.0;
    double npb_[3][3] = {};
    Vector3 obsBary_, obsVel_, obsHelio_;
};

}  // namespace celestra::test::erfa
