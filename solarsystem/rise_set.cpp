#include "solarsystem/rise_set.h"

#include <cmath>

#include "core/angles.h"

namespace celestra {

const char* const kRiseSetUnavailable = "???";
const char* const kCircumpolar = "circ-polar";
const char* const kNoSet = "--no set--";
const char* const kTwilightAllNight = "--bright--";
const char* const kNoRise = "--no rise--";
const char* const kDaylightSavingTimeLabel = "Daylight Saving Time";
const char* const kStandardTimeLabel = "Standard Time";

namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kKmPerAu = 1.4959787e8;
constexpr double kMoonRadiusKm = 1738.0;
constexpr double kEarthEquatorialRadiusKm = 6378.15;
// 34′ of refraction and the Sun's 16′ semidiameter; planets and stars take
// the refraction alone (with 0.5′ more, the classical 90°34′).
constexpr double kSunZenithDeg = 90.83333333;
constexpr double kPointZenithDeg = 90.5666666666;
constexpr double kCivilZenithDeg = 96.0;
constexpr double kNauticalZenithDeg = 102.0;
constexpr double kSiderealRadPerDay = 6.300388093;  // 360.985647° per day

int place(const PlaceContext& context, const RiseSetTarget& target, JulianDay jdUtc, double& ra, double& dec) {
    if (target.isStar) return geocentricStarUtc(context, jdUtc, target.star, ra, dec);
    double distance;
    return geocentricPlaceUtc(context, jdUtc, target.body, ra, dec, distance);
}

struct Interpolation {
    double alpha1, a, b, c;     // radians
    double delta1, ad, bd, cd;  // radians
    void at(double n, double& alpha, double& delta) const {
        alpha = wrapFloor(alpha1 + (n / 2.0) * (a + b + n * c), kTwoPi);
        delta = delta1 + (n / 2.0) * (ad + bd + n * cd);
    }
};

}  // namespace

JulianDay julianDayAt0h(int year, int month, int day) { return julianDayFromCalendar(year, month, day, 0.0); }

RiseTransitSet riseTransitSet(const PlaceContext* context, const RiseSetTarget& requested, JulianDay jd0h,
                              double deltaTSeconds, const ObserverSite& site, double zoneOffsetDays,
                              RiseSetKind kind) {
    RiseTransitSet out;
    out.riseText = out.transitText = out.setText = kRiseSetUnavailable;
    if (context == nullptr || context->ephemeris == nullptr) {
        out.status = 2;
        return out;
    }
    const RiseSetTarget target = kind == RiseSetKind::RiseSet ? requested : riseSetBody(kSun);

    // 1. 0h of the day before, the day itself and the day after.
    const JulianDay d0 = std::floor(jd0h) - 0.5;
    double ra[3], dec[3];
    for (int i = 0; i < 3; ++i) {
        const int status = place(*context, target, d0 + i, ra[i], dec[i]);
        if (status != 0) {
            out.status = status;
            return out;
        }
    }

    // Zenith distance of the event.
    double z0Deg = kPointZenithDeg;
    if (kind == RiseSetKind::CivilTwilight) {
        z0Deg = kCivilZenithDeg;
    } else if (kind == RiseSetKind::NauticalTwilight) {
        z0Deg = kNauticalZenithDeg;
    } else if (!target.isStar && target.body == kSun) {
        z0Deg = kSunZenithDeg;
    } else if (!target.isStar && target.body == kMoon) {
        // Horizontal parallax is a geocentric quantity: the site's own
        // distance at 0h differs from it by up to an Earth radius, depending
        // on where the Moon stood at 0h, which moved z0 by up to 1′.
        double r, d, distanceAu;
        const int status = geocentricPlaceUtc(*context, d0 + 1.0, kMoon, r, d, distanceAu);
        if (status != 0) {
            out.status = status;
            return out;
        }
        const double km = distanceAu * kKmPerAu;
        z0Deg += (kMoonRadiusKm / km - kEarthEquatorialRadiusKm / km) * kRadToDeg;
    }
    out.z0Deg = z0Deg;
    const double z0 = z0Deg * kDegToRad;

    // 2-3. Right-ascension continuity across 24 h, in hours and then radians.
    bool anyLow = false, anyHigh = false;
    for (double h : ra) {
        anyLow = anyLow || h < 2.0;
        anyHigh = anyHigh || h > 22.0;
    }
    if (anyLow && anyHigh)
        for (double& h : ra)
            if (h < 2.0) h += 24.0;
    double alpha[3], delta[3];
    for (int i = 0; i < 3; ++i) {
        alpha[i] = ra[i] * kHoursToRad;
        delta[i] = dec[i] * kDegToRad;
    }
    if (alpha[1] < alpha[0] && alpha[2] > alpha[1]) {
        alpha[1] += kTwoPi;
        alpha[2] += kTwoPi;
    } else if (alpha[1] > alpha[0] && alpha[2] < alpha[1]) {
        alpha[2] += kTwoPi;
    }

    // 4. Differences.
    Interpolation ip;
    ip.alpha1 = alpha[1];
    ip.a = alpha[1] - alpha[0];
    ip.b = alpha[2] - alpha[1];
    ip.c = ip.b - ip.a;
    ip.delta1 = delta[1];
    ip.ad = delta[1] - delta[0];
    ip.bd = delta[2] - delta[1];
    ip.cd = ip.bd - ip.ad;

    // 5. Hour angle at the event.
    const double phi = site.latitude * kDegToRad;
    const double lambda = site.longitude * kDegToRad;
    const double cosH0 = (std::cos(z0) - std::sin(phi) * std::sin(delta[1])) / (std::cos(phi) * std::cos(delta[1]));
    const bool neverSets = cosH0 < -1.0;
    const bool neverRises = cosH0 > 1.0;

    // 6. Sidereal time at 0h UTC of the day: TT of that instant, minus ΔT.
    const double theta0 = siderealTime(ttFromUtc(d0 + 1.0), deltaTSeconds, true) * kHoursToRad;

    // 7-8. Estimates and their refinement. The positions are tabulated at
    // 0h UTC, so the interpolation argument is the UTC day fraction itself;
    // adding ΔT, right for positions tabulated at 0h TT, would read the
    // Moon's place a minute late (2-3 s of error in every lunar event).
    const double m0 = wrapFloor((alpha[1] - lambda - theta0) / kTwoPi, 1.0);
    auto refine = [&](double m, bool transit) {
        for (int iteration = 0; iteration < 50; ++iteration) {
            const double theta = wrapFloor(theta0 + kSiderealRadPerDay * m, kTwoPi);
            double a, d;
            ip.at(m, a, d);
            double h = theta + lambda - a;
            double dm;
            if (transit) {
                h = wrapFloor(h, kTwoPi);
                if (h > kPi) h -= kTwoPi;
                dm = -h / kTwoPi;
            } else {
                const double alt =
                    std::asin(std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(h));
                dm = (alt - (kPi / 2.0 - z0)) / (kTwoPi * std::cos(d) * std::cos(phi) * std::sin(h));
            }
            m += dm;
            if (!std::isfinite(m) || std::fabs(dm) < 1e-15) break;
        }
        return m;
    };

    const double zoneHours = zoneOffsetDays * 24.0;
    auto finish = [&](double m, std::string& text, double& hours, bool& has, int& dayOffset) {
        text = formatClockTime(m * 24.0, zoneHours);
        hours = m * 24.0 + zoneHours;
        has = true;
        dayOffset = static_cast<int>(std::floor(m));
    };

    if (neverSets) {
        out.riseText = kCircumpolar;
        out.setText = z0Deg >= kCivilZenithDeg ? kTwilightAllNight : kNoSet;
    } else if (neverRises) {
        out.riseText = out.setText = kNoRise;
    } else {
        const double h0 = wrapFloor(std::acos(cosH0), kPi);
        const double rise = refine(wrapFloor(m0 - h0 / kTwoPi, 1.0), false);
        const double set = refine(wrapFloor(m0 + h0 / kTwoPi, 1.0), false);
        finish(rise, out.riseText, out.riseHours, out.hasRise, out.riseDayOffset);
        finish(set, out.setText, out.setHours, out.hasSet, out.setDayOffset);
    }
    finish(refine(m0, true), out.transitText, out.transitHours, out.hasTransit, out.transitDayOffset);
    return out;
}

}  // namespace celestra
