#include "solarsystem/rise_set.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "core/angles.h"

namespace celestra {

const char* const kRiseSetUnavailable = "???";
const char* const kCircumpolar = "circ-polar";
const char* const kNoSet = "--no set--";
const char* const kTwilightAllNight = "--bright--";
const char* const kNoRise = "--no rise--";
const char* const kNoTransit = "--no transit--";
const char* const kDaylightSavingTimeLabel = "Daylight Saving Time";
const char* const kStandardTimeLabel = "Standard Time";

namespace {

constexpr double kTwoPi = 2.0 * kPi;
constexpr double kMoonRadiusKm = 1738.0;
// Event altitudes (degrees): 34′ of refraction, with the Sun's 16′
// semidiameter; the Moon's own semidiameter is added at each instant.
constexpr double kSunRiseAltitude = -0.83333333;
constexpr double kPointRiseAltitude = -0.5666666666;
constexpr double kCivilAltitude = -6.0;
constexpr double kNauticalAltitude = -12.0;
// Sidereal hours per UT1 hour (the rate of the IAU 1982 GMST polynomial at J2000.0).
constexpr double kSiderealRate = 1.00273790935;

// The ephemeris nodes: every 6 h from 6 h before 0h UTC. A cubic through
// four of them reproduces the Moon's apparent geocentric place to a few
// hundredths of an arcsecond (the fourth derivative of its longitude, from
// the equation of the centre, the variation and the evection, stays below
// 0.05° per day⁴); the events agree with those on the engine's full
// topocentric place within 0.05 s.
constexpr double kNodeSpacingDays = 0.25;

// The altitude is sampled every 10 minutes, one sample beyond each end of
// the day. The Moon's altitude changes by at most 16° an hour (the Earth's
// turn plus the Moon's own motion and parallax), and its maxima and minima,
// the upper and lower culminations, are about 12 h apart: every extremum
// therefore shows in the samples as a sample higher (or lower) than both
// neighbours, and between consecutive samples and located extrema the
// altitude is monotonic, holding at most one crossing. Only where the two
// daily extrema merge (a site within a degree of a pole, when the Moon's
// drift in declination matches the diurnal swing) can both fall between two
// samples, and then they differ by less than 0.1″ in altitude, far below
// what refraction leaves certain.
constexpr int kSamplesPerDay = 144;
constexpr double kSampleDays = 1.0 / kSamplesPerDay;
// Extrema are located to 0.5 s and crossings to 0.05 s (days).
constexpr double kExtremumToleranceDays = 0.5 / 86400.0;
constexpr double kRootToleranceDays = 0.05 / 86400.0;

Status placeVector(const PlaceContext& context, const RiseSetTarget& target, JulianDay jdUtc, Vector3& out) {
    double ra = 0.0, dec = 0.0, distance = 1.0;
    const Status status = target.isStar ? geocentricStarUtc(context, jdUtc, target.star, ra, dec)
                                        : geocentricPlaceUtc(context, jdUtc, target.body, ra, dec, distance);
    const double a = ra * kHoursToRad, d = dec * kDegToRad;
    out = Vector3{std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)} * distance;
    return status;
}

// Event altitude of a kind (degrees), the Moon's semidiameter apart.
double eventAltitude(RiseSetKind kind, bool isSun) {
    switch (kind) {
        case RiseSetKind::CivilTwilight: return kCivilAltitude;
        case RiseSetKind::NauticalTwilight: return kNauticalAltitude;
        case RiseSetKind::RiseSet: break;
    }
    return isSun ? kSunRiseAltitude : kPointRiseAltitude;
}

// A zero of f in [a, b] where fa and fb differ in sign (Brent's method: the
// bracket always holds the root, and it converges superlinearly on a smooth
// function). Returns within `tolerance` of the zero.
template <class F>
double bracketedRoot(const F& f, double a, double fa, double b, double fb, double tolerance) {
    double c = a, fc = fa, d = b - a, e = d;
    for (int iteration = 0; iteration < 100; ++iteration) {
        if ((fb > 0.0) == (fc > 0.0)) {
            c = a, fc = fa;
            d = e = b - a;
        }
        if (std::fabs(fc) < std::fabs(fb)) {
            a = b, b = c, c = a;
            fa = fb, fb = fc, fc = fa;
        }
        const double tol = 0.5 * tolerance, m = 0.5 * (c - b);
        if (std::fabs(m) <= tol || fb == 0.0) break;
        if (std::fabs(e) >= tol && std::fabs(fa) > std::fabs(fb)) {
            // Secant or inverse quadratic step, taken only while it stays
            // well inside the bracket and shrinks faster than bisection.
            double p, q;
            const double s = fb / fa;
            if (a == c) {
                p = 2.0 * m * s;
                q = 1.0 - s;
            } else {
                const double r = fb / fc, t = fa / fc;
                p = s * (2.0 * m * t * (t - r) - (b - a) * (r - 1.0));
                q = (t - 1.0) * (r - 1.0) * (s - 1.0);
            }
            if (p > 0.0) q = -q;
            p = std::fabs(p);
            if (2.0 * p < std::min(3.0 * m * q - std::fabs(tol * q), std::fabs(e * q))) {
                e = d;
                d = p / q;
            } else {
                d = e = m;
            }
        } else {
            d = e = m;
        }
        a = b, fa = fb;
        b += std::fabs(d) > tol ? d : (m > 0.0 ? tol : -tol);
        fb = f(b);
    }
    return b;
}

// Golden-section search for the maximum of f on [a, b] (f unimodal there).
template <class F>
double goldenMaximum(const F& f, double a, double b, double tolerance) {
    constexpr double kInverseRatio = 0.6180339887498949;
    double x1 = b - kInverseRatio * (b - a), x2 = a + kInverseRatio * (b - a);
    double f1 = f(x1), f2 = f(x2);
    while (b - a > tolerance) {
        if (f1 < f2) {
            a = x1, x1 = x2, f1 = f2;
            x2 = a + kInverseRatio * (b - a);
            f2 = f(x2);
        } else {
            b = x2, x2 = x1, f2 = f1;
            x1 = b - kInverseRatio * (b - a);
            f1 = f(x1);
        }
    }
    return 0.5 * (a + b);
}

}  // namespace

// The site on the ellipsoid in the frame that turns with the Earth: its
// distance from the axis and height above the equator (AU), the speed of its
// daily motion (AU/day), and its geodetic latitude and longitude.
struct HorizonTrack::Site {
    double axisDistance = 0.0, equatorHeight = 0.0, speed = 0.0;
    double sinLatitude = 0.0, cosLatitude = 1.0, longitudeRad = 0.0;
};

// One instant of the altitude profile: day fraction, altitude plus the
// Moon's semidiameter (degrees), topocentric hour angle (degrees).
struct HorizonTrack::Point {
    double x = 0.0, level = 0.0, hourAngle = 0.0;
};

HorizonTrack::Site HorizonTrack::siteOf(const ObserverSite& observer) {
    // observerVectors at local sidereal time 0: the site then lies in the x-z plane.
    Vector3 pos, vel;
    observerVectors(observer, -observer.longitude / 15.0, pos, vel);
    Site s;
    s.axisDistance = pos.x;
    s.equatorHeight = pos.z;
    s.speed = vel.y;
    const double phi = std::clamp(observer.latitude, -90.0, 90.0) * kDegToRad;
    s.sinLatitude = std::sin(phi);
    s.cosLatitude = std::cos(phi);
    s.longitudeRad = observer.longitude * kDegToRad;
    return s;
}

Status HorizonTrack::load(const PlaceContext* context, const RiseSetTarget& target, JulianDay jd0h,
                          double deltaTSeconds) {
    status_ = Status::OutsideEphemeris;
    jd0h_ = jd0h;
    if (context == nullptr || context->ephemeris == nullptr) return status_;
    if (!target.isStar && (target.body < kMercury || target.body > kMoon || target.body == kEarth)) {
        status_ = Status::BadArgument;
        return status_;
    }
    isStar_ = target.isStar;
    isSun_ = !isStar_ && target.body == kSun;
    isMoon_ = !isStar_ && target.body == kMoon;
    for (int k = 0; k < kNodes; ++k) {
        const Status status = placeVector(*context, target, jd0h + (k - 1) * kNodeSpacingDays, node_[k]);
        if (status != Status::Ok) {
            status_ = status;
            return status_;
        }
    }
    // The day's instants all carry its own TAI - UTC: the sidereal time
    // advances uniformly from 0h, even across a leap second at its end.
    siderealAt0h_ = siderealTime(ttFromUtc(jd0h), deltaTSeconds, false);
    status_ = Status::Ok;
    return status_;
}

HorizonTrack::Point HorizonTrack::at(const Site& site, double x, double& altitudeDeg, double& distanceKm) const {
    // Cubic Lagrange interpolation through the four nodes around x.
    const double s = x / kNodeSpacingDays + 1.0;
    const int i = std::clamp(static_cast<int>(std::floor(s)), 1, kNodes - 3);
    const double f = s - i;
    const double wm = -f * (f - 1.0) * (f - 2.0) / 6.0, w0 = (f + 1.0) * (f - 1.0) * (f - 2.0) / 2.0;
    const double w1 = -(f + 1.0) * f * (f - 2.0) / 2.0, w2 = (f + 1.0) * f * (f - 1.0) / 6.0;
    const Vector3 geo = node_[i - 1] * wm + node_[i] * w0 + node_[i + 1] * w1 + node_[i + 2] * w2;

    const double theta = (siderealAt0h_ + x * 24.0 * kSiderealRate) * kHoursToRad + site.longitudeRad;
    const double cosT = std::cos(theta), sinT = std::sin(theta);
    Vector3 topo = geo;
    distanceKm = 0.0;
    if (!isStar_) {
        topo -= Vector3{site.axisDistance * cosT, site.axisDistance * sinT, site.equatorHeight};
        distanceKm = topo.norm() * kAuKmIau1976;
    }
    // The site's daily motion adds up to 0.32″ of aberration.
    Vector3 u = topo * (1.0 / topo.norm()) + Vector3{-sinT, cosT, 0.0} * (site.speed / kLightAuPerDay);
    u *= 1.0 / u.norm();
    const Vector3 zenith{site.cosLatitude * cosT, site.cosLatitude * sinT, site.sinLatitude};
    altitudeDeg = std::asin(std::clamp(zenith.dot(u), -1.0, 1.0)) * kRadToDeg;
    double hourAngle = wrapFloor(theta - std::atan2(u.y, u.x), kTwoPi);
    if (hourAngle > kPi) hourAngle -= kTwoPi;

    Point p;
    p.x = x;
    p.level = altitudeDeg;
    if (isMoon_) p.level += std::asin(kMoonRadiusKm / distanceKm) * kRadToDeg;
    p.hourAngle = hourAngle * kRadToDeg;
    return p;
}

HorizonDayEvents HorizonTrack::events(const ObserverSite& site, RiseSetKind kind) const {
    return events(site, std::vector<RiseSetKind>{kind}).front();
}

std::vector<HorizonDayEvents> HorizonTrack::events(const ObserverSite& observer,
                                                   const std::vector<RiseSetKind>& kinds) const {
    std::vector<HorizonDayEvents> out(kinds.size());
    bool valid = status_ == Status::Ok;
    for (RiseSetKind kind : kinds) valid = valid && (kind == RiseSetKind::RiseSet || isSun_);
    if (!valid) {
        for (HorizonDayEvents& e : out) e.status = status_ != Status::Ok ? status_ : Status::BadArgument;
        return out;
    }

    const Site site = siteOf(observer);
    double altitude, distance;
    auto point = [&](double x) { return at(site, x, altitude, distance); };

    // 1. Samples from one step before the day to one step after it.
    std::array<Point, kSamplesPerDay + 3> samples;
    for (int k = 0; k < kSamplesPerDay + 3; ++k) samples[k] = point((k - 1) * kSampleDays);

    // 2. Every extremum the samples show, located between its neighbours.
    std::vector<Point> profile(samples.begin(), samples.end());
    for (int k = 1; k < kSamplesPerDay + 2; ++k) {
        const double before = samples[k].level - samples[k - 1].level, after = samples[k + 1].level - samples[k].level;
        const bool maximum = before > 0.0 && after <= 0.0, minimum = before < 0.0 && after >= 0.0;
        if (!maximum && !minimum) continue;
        const double sign = maximum ? 1.0 : -1.0;
        const double x = goldenMaximum([&](double t) { return sign * point(t).level; }, samples[k - 1].x,
                                       samples[k + 1].x, kExtremumToleranceDays);
        profile.push_back(point(x));
    }
    std::sort(profile.begin(), profile.end(), [](const Point& a, const Point& b) { return a.x < b.x; });

    // 3. Upper transits: the hour angle rising through 0 (not its wrap at 180°).
    std::vector<JulianDay> transits;
    for (int k = 0; k + 1 < kSamplesPerDay + 3; ++k) {
        const Point& a = samples[k];
        const Point& b = samples[k + 1];
        if (!(a.hourAngle < 0.0 && b.hourAngle >= 0.0 && b.hourAngle - a.hourAngle < 180.0)) continue;
        const double x = bracketedRoot([&](double t) { return point(t).hourAngle; }, a.x, a.hourAngle, b.x, b.hourAngle,
                                       kRootToleranceDays);
        if (x >= 0.0 && x < 1.0) transits.push_back(jd0h_ + x);
    }

    // 4. Per kind, each sign change between consecutive profile points.
    for (size_t n = 0; n < kinds.size(); ++n) {
        HorizonDayEvents& e = out[n];
        e.transits = transits;
        const double h0 = eventAltitude(kinds[n], isSun_);
        for (size_t k = 0; k + 1 < profile.size(); ++k) {
            const double fa = profile[k].level - h0, fb = profile[k + 1].level - h0;
            if ((fa >= 0.0) == (fb >= 0.0)) continue;
            const double x = bracketedRoot([&](double t) { return point(t).level - h0; }, profile[k].x, fa,
                                           profile[k + 1].x, fb, kRootToleranceDays);
            if (x < 0.0 || x >= 1.0) continue;
            (fb >= 0.0 ? e.rises : e.sets).push_back(jd0h_ + x);
        }
        if (!e.rises.empty() || !e.sets.empty()) e.state = HorizonDayState::Crossings;
        else e.state = samples[1].level - h0 >= 0.0 ? HorizonDayState::AlwaysAbove : HorizonDayState::AlwaysBelow;
    }
    return out;
}

HorizonDayEvents horizonDayEvents(const PlaceContext* context, const RiseSetTarget& target, RiseSetKind kind,
                                  JulianDay jd0h, double deltaTSeconds, const ObserverSite& site) {
    HorizonTrack track;
    const RiseSetTarget body = kind == RiseSetKind::RiseSet ? target : riseSetBody(kSun);
    if (const Status status = track.load(context, body, jd0h, deltaTSeconds); status != Status::Ok) {
        HorizonDayEvents e;
        e.status = status;
        return e;
    }
    return track.events(site, kind);
}

JulianDay julianDayAt0h(int year, int month, int day) { return julianDayFromCalendar(year, month, day, 0.0); }

RiseTransitSet riseTransitSet(const PlaceContext* context, const RiseSetTarget& target, JulianDay jd0h,
                              double deltaTSeconds, const ObserverSite& site, double zoneOffsetDays, RiseSetKind kind) {
    RiseTransitSet out;
    out.riseText = out.transitText = out.setText = kRiseSetUnavailable;
    const HorizonDayEvents e = horizonDayEvents(context, target, kind, jd0h, deltaTSeconds, site);
    if (e.status != Status::Ok) {
        out.status = e.status;
        return out;
    }

    const double zoneHours = zoneOffsetDays * 24.0;
    auto first = [&](const std::vector<JulianDay>& events, const char* none, std::string& text, double& hours,
                     bool& has, int& count) {
        count = static_cast<int>(events.size());
        has = count > 0;
        if (!has) {
            text = none;
            return;
        }
        const double ut = (events.front() - jd0h) * 24.0;
        text = formatClockTime(ut, zoneHours);
        hours = ut + zoneHours;
    };
    const bool twilight = kind != RiseSetKind::RiseSet;
    const char* riseNone = e.state == HorizonDayState::AlwaysAbove ? kCircumpolar : kNoRise;
    const char* setNone = e.state == HorizonDayState::AlwaysAbove && twilight ? kTwilightAllNight
                          : e.state == HorizonDayState::AlwaysBelow           ? kNoRise
                                                                              : kNoSet;
    first(e.rises, riseNone, out.riseText, out.riseHours, out.hasRise, out.riseCount);
    first(e.transits, kNoTransit, out.transitText, out.transitHours, out.hasTransit, out.transitCount);
    first(e.sets, setNone, out.setText, out.setHours, out.hasSet, out.setCount);
    return out;
}

}  // namespace celestra
