// Earth orientation: IAU 1980 nutation, mean obliquity (IAU 1976), the
// equation of the equinoxes, and the periodic TDB - TT difference.
#pragma once

#include <vector>

#include "core/time_scales.h"

namespace celestra {

struct EarthTilt {
    double meanObliquityDeg = 0.0;         // ε0
    double trueObliquityDeg = 0.0;         // ε = ε0 + Δε
    double equationOfEquinoxesSec = 0.0;   // seconds of time
    double nutationLongitudeArcsec = 0.0;  // Δψ
    double nutationObliquityArcsec = 0.0;  // Δε
};

// At a TDB Julian day. Δψ and Δε are recomputed only when the argument moves
// by more than 1e-6 day from the last one (per-thread cache).
EarthTilt earthTilt(JulianDay jdTdb);

// Δψ and Δε (arcseconds) of the IAU 1980 series at TDB, without any cache.
void nutationIau1980(JulianDay jdTdb, double& dPsiArcsec, double& dEpsArcsec);

// The periodic TDB - TT difference in seconds (amplitude 1.7 ms).
double tdbMinusTt(JulianDay jd);
inline JulianDay tdbFromTt(JulianDay jdTt) { return jdTt + tdbMinusTt(jdTt) * kDaysPerSecond; }

// One term of the 106-term IAU 1980 series: multipliers of l, l', F, D, Ω and
// the coefficients in 0.0001 arcsecond with their rates per Julian century.
struct NutationTerm {
    int l, lp, f, d, om;
    double psi, psiRate, eps, epsRate;
};
const std::vector<NutationTerm>& nutationSeries();

}  // namespace celestra
