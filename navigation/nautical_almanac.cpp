#include "navigation/nautical_almanac.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "catalogs/star_catalog.h"
#include "catalogs/star_place.h"
#include "navigation/navigational_stars.h"
#include "navigation/sight_reduction.h"
#include "solarsystem/moon_phases.h"

namespace celestra {

namespace {

// Mean length of the synodic month, days: the Moon's age where no new Moon
// can be found (the ephemeris' first month).
constexpr double kSynodicMonthDays = 29.530589;
// Mean rate of the Moon's elongation, degrees per day.
constexpr double kElongationRateDegPerDay = 360.0 / kSynodicMonthDays;
// Hours computed past the last day's end: the Moon's transits that a day
// lacks are the next day's, at most 50 minutes into it.
constexpr int kExtraHours = 2;

double wrap360(double degrees) {
    double a = std::fmod(degrees, 360.0);
    if (a < 0.0) a += 360.0;
    return a >= 360.0 ? 0.0 : a;
}

double wrap180(double degrees) {
    const double a = wrap360(degrees);
    return a > 180.0 ? a - 360.0 : a;
}

// Hourly samples with what the derived values need besides the page's numbers.
struct Samples {
    std::vector<AlmanacHour> hours;
    std::vector<double> sunDistanceAu, moonDistanceAu;
};

// GHA samples made continuous: each step adds the forward change in [0, 360).
template <class Gha>
std::vector<double> unwrapped(const std::vector<AlmanacHour>& hours, Gha gha) {
    std::vector<double> u(hours.size());
    for (size_t k = 0; k < hours.size(); ++k)
        u[k] = k == 0 ? gha(hours[0]) : u[k - 1] + wrap360(gha(hours[k]) - gha(hours[k - 1]));
    return u;
}

// The first hour (from sample `from`, before sample `to`) at which the
// continuous GHA `u` passes `target` (mod 360), interpolated linearly between
// the hours: for the Moon, whose rate changes most, that is within a second.
// Negative when there is none.
double firstCrossing(const std::vector<double>& u, double target, size_t from, size_t to) {
    for (size_t k = from; k < to && k + 1 < u.size(); ++k) {
        const double turnsBefore = std::floor((u[k] - target) / 360.0);
        const double turnsAfter = std::floor((u[k + 1] - target) / 360.0);
        if (turnsAfter == turnsBefore) continue;
        const double crossing = target + 360.0 * turnsAfter;
        return static_cast<double>(k) + (crossing - u[k]) / (u[k + 1] - u[k]);
    }
    return -1.0;
}

// The transit on day `d` (hours from that day's 0h), or the next day's when
// the day has none.
double dayTransit(const std::vector<double>& u, double target, int d) {
    const size_t start = static_cast<size_t>(d) * 24;
    double t = firstCrossing(u, target, start, start + 24);
    if (t < 0.0) t = firstCrossing(u, target, start + 24, start + 24 + kExtraHours);
    return t < 0.0 ? 0.0 : t - static_cast<double>(start);
}

Status computeHour(const PlaceContext& context, JulianDay utc, AlmanacHour& h, double& sunAu, double& moonAu) {
    const JulianDay tt = ttFromUtc(utc);
    const double gastDeg = siderealTime(tt, deltaT(utc), false) * 15.0;
    h.utc = utc;
    h.ariesGha = wrap360(gastDeg);
    const auto place = [&](int body, GhaDec& out, double& distanceAu) {
        double ra = 0.0;
        const Status status = geocentricPlace(*context.ephemeris, tt, context.bodies[static_cast<size_t>(body - 1)],
                                              context.earth(), ra, out.dec, distanceAu);
        out.gha = wrap360(gastDeg - ra * 15.0);
        return status;
    };
    double unused = 0.0;
    if (const Status status = place(kSun, h.sun, sunAu); status != Status::Ok) return status;
    for (size_t p = 0; p < kAlmanacPlanets.size(); ++p)
        if (const Status status = place(kAlmanacPlanets[p], h.planets[p], unused); status != Status::Ok) return status;
    if (const Status status = place(kMoon, h.moon, moonAu); status != Status::Ok) return status;
    h.moonHp = std::asin(kParallaxEarthRadiusKm / (moonAu * kAuKmIau1976)) * kRadToDeg;
    return Status::Ok;
}

// The Moon's age at `utc`: days since the new Moon before it, found by the
// secant method on the elongation in longitude. Where that new Moon lies
// before the ephemeris, the mean rate of elongation gives it.
double moonAge(const PlaceContext& context, JulianDay utc) {
    double elongation = 0.0;
    if (moonSunLongitudeDifference(context, utc, elongation) != Status::Ok) return 0.0;
    const double estimate = elongation / kElongationRateDegPerDay;
    double t0 = utc - estimate, t1 = t0 + 0.1;
    double f0 = 0.0, f1 = 0.0;
    if (moonSunLongitudeDifference(context, t0, f0) != Status::Ok ||
        moonSunLongitudeDifference(context, t1, f1) != Status::Ok)
        return estimate;
    f0 = wrap180(f0);
    f1 = wrap180(f1);
    for (int pass = 0; pass < 8 && std::fabs(f1) > 1e-6 && f1 != f0; ++pass) {
        const double t2 = t1 - f1 * (t1 - t0) / (f1 - f0);
        t0 = t1;
        f0 = f1;
        t1 = t2;
        if (moonSunLongitudeDifference(context, t1, f1) != Status::Ok) return estimate;
        f1 = wrap180(f1);
    }
    return utc - t1;
}

// A name's letters in lower case: the printed star list's sort key.
std::string letterKey(const char* name) {
    std::string key;
    for (const char* c = name; *c; ++c)
        if (std::isalpha(static_cast<unsigned char>(*c)))
            key += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
    return key;
}

// Rounds a non-negative value of tenths to an integer, half up.
long long tenthsOf(double arcminutes) { return std::llround(std::fabs(arcminutes) * 10.0); }

// "DDD MM.M" of an angle's magnitude, `width` digits of degrees (blank-padded).
std::string degreesMinutes(double degrees, int width) {
    const long long tenths = tenthsOf(degrees * 60.0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%*lld %02lld.%lld", width, tenths / 600, tenths % 600 / 10, tenths % 10);
    return buffer;
}

}  // namespace

Status computeAlmanac(const PlaceContext& context, int year, int month, int day, int dayCount, bool withEvents,
                      NauticalAlmanac& out) {
    out = NauticalAlmanac{};
    if (dayCount < 1 || dayCount > 3) return Status::BadArgument;
    if (context.ephemeris == nullptr) return Status::OutsideEphemeris;
    const JulianDay jd0 = julianDayFromCalendar(year, month, day, 0.0);
    const CalendarDate check = calendarFromJulianDay(jd0);
    if (check.year != year || check.month != month || check.day != day) return Status::BadArgument;

    // Hourly samples from 0h of the first day to 2 h past the last day's end.
    const size_t count = static_cast<size_t>(dayCount) * 24 + kExtraHours + 1;
    Samples s;
    s.hours.resize(count);
    s.sunDistanceAu.resize(count);
    s.moonDistanceAu.resize(count);
    for (size_t k = 0; k < count; ++k)
        if (const Status status = computeHour(context, jd0 + static_cast<double>(k) / 24.0, s.hours[k],
                                              s.sunDistanceAu[k], s.moonDistanceAu[k]);
            status != Status::Ok)
            return status;
    for (size_t k = 0; k + 1 < count; ++k) {
        AlmanacHour& h = s.hours[k];
        const AlmanacHour& next = s.hours[k + 1];
        h.moonV = wrap360(next.moon.gha - h.moon.gha) - kMoonRateDegPerHour;
        h.moonD = next.moon.dec - h.moon.dec;
    }

    const std::vector<double> aries = unwrapped(s.hours, [](const AlmanacHour& h) { return h.ariesGha; });
    const std::vector<double> sun = unwrapped(s.hours, [](const AlmanacHour& h) { return h.sun.gha; });
    const std::vector<double> moon = unwrapped(s.hours, [](const AlmanacHour& h) { return h.moon.gha; });
    std::array<std::vector<double>, 4> planets;
    for (size_t p = 0; p < planets.size(); ++p)
        planets[p] = unwrapped(s.hours, [p](const AlmanacHour& h) { return h.planets[p].gha; });

    for (int d = 0; d < dayCount; ++d) {
        AlmanacDay a;
        a.jd0h = jd0 + d;
        const CalendarDate c = calendarFromJulianDay(a.jd0h);
        a.year = c.year;
        a.month = c.month;
        a.day = c.day;
        const size_t h0 = static_cast<size_t>(d) * 24, h12 = h0 + 12, h24 = h0 + 24;
        a.sunSd = std::asin(bodyDiameterKm(kSun) / 2.0 / (s.sunDistanceAu[h12] * kAuKmIau1976)) * kRadToDeg;
        a.moonSd = std::asin(bodyDiameterKm(kMoon) / 2.0 / (s.moonDistanceAu[h12] * kAuKmIau1976)) * kRadToDeg;
        a.sunD = (s.hours[h24].sun.dec - s.hours[h0].sun.dec) / 24.0;
        // The mean Sun's GHA is 180° at 0h and 0° at 12h; 1° of hour angle is 240 s.
        a.eqt00hSeconds = wrap180(s.hours[h0].sun.gha - 180.0) * 240.0;
        a.eqt12hSeconds = wrap180(s.hours[h12].sun.gha) * 240.0;
        a.ariesMeridianPassage = dayTransit(aries, 0.0, d);
        a.sunMeridianPassage = dayTransit(sun, 0.0, d);
        a.moonUpper = dayTransit(moon, 0.0, d);
        a.moonLower = dayTransit(moon, 180.0, d);
        const JulianDay noon = a.jd0h + 0.5;
        a.moonAgeDays = moonAge(context, noon);
        MoonPhase phase;
        if (const Status status = moonPhase(context, noon, phase); status != Status::Ok) return status;
        a.moonIlluminatedPercent = phase.illuminatedFraction * 100.0;
        for (size_t p = 0; p < kAlmanacPlanets.size(); ++p) {
            AlmanacPlanetDay& planet = a.planets[p];
            planet.body = kAlmanacPlanets[p];
            planet.name = context.bodies[static_cast<size_t>(planet.body - 1)].name;
            planet.meridianPassage = dayTransit(planets[p], 0.0, d);
            if (const Status status = planetMagnitude(context, planet.body, noon, planet.magnitude);
                status != Status::Ok)
                return status;
            planet.v = (planets[p][h24] - planets[p][h0] - 24.0 * kSunPlanetsRateDegPerHour) / 24.0;
            planet.d = (s.hours[h24].planets[p].dec - s.hours[h0].planets[p].dec) / 24.0;
        }
        out.days.push_back(a);
    }
    s.hours.resize(static_cast<size_t>(dayCount) * 24);
    out.hours = std::move(s.hours);

    // The stars for the middle of the page span: 12h UT of the middle day.
    const JulianDay starInstant = out.days[static_cast<size_t>(out.middleDay())].jd0h + 0.5;
    // In the printed order: by the letters of the name (Al Na'ir after
    // Alkaid), Polaris after the 57, as the printed page keeps it apart.
    std::vector<NavigationalStar> stars = navigationalStars();
    std::stable_sort(stars.begin(), stars.end(), [](const NavigationalStar& a, const NavigationalStar& b) {
        const bool aPolaris = std::strcmp(a.name, "Polaris") == 0, bPolaris = std::strcmp(b.name, "Polaris") == 0;
        if (aPolaris != bPolaris) return bPolaris;
        return letterKey(a.name) < letterKey(b.name);
    });
    for (const NavigationalStar& n : stars) {
        const StarEntry* entry = starByNumber(n.number);
        if (!entry) continue;
        AlmanacStar star;
        star.name = n.name;
        star.number = n.number;
        star.magnitude = starMagnitude(*entry);
        double ra = 0.0;
        if (const Status status = geocentricStarUtc(context, starInstant, starPlaceInput(*entry), ra, star.dec);
            status != Status::Ok)
            return status;
        star.sha = wrap360(360.0 - ra * 15.0);
        out.stars.push_back(star);
    }

    if (withEvents) return computeAlmanacEvents(context, out, {kAlmanacLatitudes.begin(), kAlmanacLatitudes.end()});
    return Status::Ok;
}

int incrementTenths(IncrementColumn column, int minutes, int seconds) {
    const long long t = static_cast<long long>(minutes) * 60 + seconds;  // seconds of time
    switch (column) {
        case IncrementColumn::SunPlanets: return static_cast<int>((5 * t + 1) / 2);     // 2.5 tenths a second
        case IncrementColumn::Moon: return static_cast<int>((t * 8590 + 1800) / 3600);  // 859′ an hour
        case IncrementColumn::Aries: break;
    }
    return static_cast<int>(std::floor(static_cast<double>(t) * kAriesRateDegPerHour * 600.0 / 3600.0 + 0.5));
}

int correctionTenths(int vTenths, int minutes) {
    const long long v = std::llabs(vTenths);
    return static_cast<int>((v * (2 * minutes + 1) + 60) / 120);
}

std::string almanacHourAngle(double degrees) {
    // Rounded first, so that 359°59.96′ prints as 0°00.0′, not 360°00.0′.
    const double tenths = std::llround(wrap360(degrees) * 600.0) % (360 * 600);
    return degreesMinutes(tenths / 600.0, 3);
}

std::string almanacDeclination(double degrees) {
    // The hemisphere of the rounded value: -0.01′ prints as N 0 00.0.
    const bool south = degrees < 0.0 && tenthsOf(degrees * 60.0) != 0;
    return (south ? "S" : "N") + degreesMinutes(degrees, 2);
}

std::string almanacMinutes(double degrees, bool withSign) {
    const long long tenths = tenthsOf(degrees * 60.0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%s%lld.%lld", withSign && degrees < 0.0 && tenths != 0 ? "-" : "",
                  tenths / 10, tenths % 10);
    return buffer;
}

std::string almanacClock(double hours) {
    const long long minutes = std::llround(hours * 60.0);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%02lld:%02lld", minutes / 60, minutes % 60);
    return buffer;
}

std::string almanacEquationOfTime(double seconds) {
    const long long s = std::llround(std::fabs(seconds));
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c%02lld:%02lld", seconds < 0.0 && s != 0 ? '-' : '+', s / 60, s % 60);
    return buffer;
}

const char* almanacEventNoteText(AlmanacEventNote note) {
    switch (note) {
        case AlmanacEventNote::AlwaysAbove: return "always above";
        case AlmanacEventNote::AlwaysBelow: return "always below";
        case AlmanacEventNote::TwilightAllNight: return "twilight all night";
        case AlmanacEventNote::None: break;
    }
    return "";
}

std::string almanacEventText(const AlmanacEvent& event) {
    return event.happens() ? almanacClock(event.hours) : almanacEventNoteText(event.note);
}

}  // namespace celestra
