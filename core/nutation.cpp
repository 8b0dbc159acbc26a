#include "core/nutation.h"

#include <cmath>

namespace celestra {

namespace {

constexpr double kTwoPiShort = 6.28318530718;  // the modulus the fundamental arguments are reduced by
constexpr double kArcsecToRad = 4.84813681109536e-06;

// The five Delaunay arguments of the Moon and Sun (radians, each reduced
// modulo 2π; t in Julian centuries of TDB from J2000.0).
struct FundamentalArguments {
    double l, lp, f, d, om;
};

FundamentalArguments fundamentalArguments(double t) {
    const double t2 = t * t, t3 = t2 * t;
    FundamentalArguments a;
    a.l = std::fmod(2.355548393544 + 8328.691422883896 * t + 1.51795163555e-4 * t2 + 3.1028075591e-7 * t3, kTwoPiShort);
    a.lp = std::fmod(6.24003593933 + 628.301956024 * t - 2.79737494e-6 * t2 - 5.81776417331e-8 * t3, kTwoPiShort);
    a.f = std::fmod(1.62790193397 + 8433.46615832 * t - 6.42717497047e-5 * t2 + 5.3329504922e-8 * t3, kTwoPiShort);
    a.d = std::fmod(5.19846951358 + 7771.37714617 * t - 3.34085107653e-5 * t2 + 9.21145994108e-8 * t3, kTwoPiShort);
    a.om = std::fmod(2.18243862436 - 33.7570459338 * t + 3.61428599267e-5 * t2 + 3.87850944888e-8 * t3, kTwoPiShort);
    return a;
}

// Per-thread memory of the last nutation evaluated (the worker and the UI
// thread each keep their own, so neither sees a half-written pair).
struct NutationCache {
    bool valid = false;
    JulianDay jd = 0.0;
    double dPsi = 0.0, dEps = 0.0;
};
thread_local NutationCache tlsNutation;

}  // namespace

/*
 * nutationIau1980: nutation in longitude and obliquity, IAU 1980 theory.
 *   jdTdb       Julian day, TDB
 *   dPsiArcsec  Δψ, nutation in longitude (arcseconds)
 *   dEpsArcsec  Δε, nutation in obliquity (arcseconds)
 * Notes:
 *  1. The 106-term series of nutationSeries() summed over the fundamental
 *     arguments above; the series is exact to its published 0.0001"
 *     coefficients, and the theory itself departs from the observed
 *     nutation by up to some 0.05" (the IAU 2000 model is better).
 *  2. Valid for a few centuries around J2000.0; no range is enforced.
 */
void nutationIau1980(JulianDay jdTdb, double& dPsiArcsec, double& dEpsArcsec) {
    const double t = (jdTdb - kJ2000) / kDaysPerJulianCentury;
    const FundamentalArguments a = fundamentalArguments(t);
    double psi = 0.0, eps = 0.0;
    // Smallest terms first keeps the rounding of the sum down.
    const auto& series = nutationSeries();
    for (auto it = series.rbegin(); it != series.rend(); ++it) {
        const double arg = it->l * a.l + it->lp * a.lp + it->f * a.f + it->d * a.d + it->om * a.om;
        psi += (it->psi + it->psiRate * t) * std::sin(arg);
        eps += (it->eps + it->epsRate * t) * std::cos(arg);
    }
    dPsiArcsec = psi / 10000.0;
    dEpsArcsec = eps / 10000.0;
}

/*
 * earthTilt: obliquity, nutation and the equation of the equinoxes.
 *   jdTdb  Julian day, TDB
 * Returns mean obliquity ε0 (IAU 1976) and true obliquity ε0 + Δε in degrees,
 * Δψ and Δε in arcseconds (IAU 1980) and the equation of the equinoxes in
 * seconds of time, including the complementary terms 0.00264" sin Ω and
 * 0.000063" sin 2Ω adopted by the IERS in 1994.
 * Notes:
 *  1. Δψ and Δε are reused while the argument stays within 1e-6 day
 *     (0.0864 s) of the last evaluation on this thread; the nutation changes
 *     by less than 1e-9" in that time.
 *  2. Obliquity and the equation of the equinoxes are always evaluated at
 *     the given instant.
 */
EarthTilt earthTilt(JulianDay jdTdb) {
    NutationCache& cache = tlsNutation;
    if (!cache.valid || !(std::fabs(jdTdb - cache.jd) <= 1e-6)) {
        nutationIau1980(jdTdb, cache.dPsi, cache.dEps);
        cache.jd = jdTdb;
        cache.valid = true;
    }
    const double t = (jdTdb - kJ2000) / kDaysPerJulianCentury;
    const double meanObliquityArcsec = 84381.448 - 46.815 * t - 0.00059 * t * t + 0.001813 * t * t * t;
    const double om = fundamentalArguments(t).om;

    EarthTilt tilt;
    tilt.nutationLongitudeArcsec = cache.dPsi;
    tilt.nutationObliquityArcsec = cache.dEps;
    tilt.meanObliquityDeg = meanObliquityArcsec / 3600.0;
    tilt.trueObliquityDeg = (meanObliquityArcsec + cache.dEps) / 3600.0;
    tilt.equationOfEquinoxesSec = (cache.dPsi * std::cos(meanObliquityArcsec * kArcsecToRad) + 0.00264 * std::sin(om) +
                                   0.000063 * std::sin(2.0 * om)) /
                                  15.0;
    return tilt;
}

/*
 * tdbMinusTt: the periodic part of TDB - TT, in seconds.
 *   jd  Julian day, TT (TDB serves equally)
 * Notes:
 *  1. The annual term from the Earth's orbital eccentricity (0.001658 s)
 *     plus the Jupiter term (20.73 μs); within 40 μs of the Astronomical
 *     Almanac's two-term form over 1900-2100, far below anything the
 *     sidereal time or an apparent place can show.
 *  2. Angles are built in arcseconds and reduced modulo 1296000" before
 *     they become radians, so large day counts keep their precision.
 */
double tdbMinusTt(JulianDay jd) {
    const double d = jd - kJ2000;
    auto radians = [](double degrees) { return std::fmod(degrees * 3600.0, 1296000.0) * kArcsecToRad; };
    const double m = radians(357.51716 + 0.985599987 * d);
    const double l = radians(280.46435 + 0.9856091 * d);
    const double lj = radians(34.40438 + 0.083086762 * d);
    const double e = 0.01671022;
    const double eccentricAnomaly = m + e * std::sin(m) + 0.5 * e * e * std::sin(2.0 * m);
    return 0.001658 * std::sin(eccentricAnomaly) + 2.073e-05 * std::sin(l - lj);
}

}  // namespace celestra
