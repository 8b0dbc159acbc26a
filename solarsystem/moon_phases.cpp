#include "solarsystem/moon_phases.h"

#include <cmath>
#include <cstdio>

#include "core/angles.h"
#include "core/number_text.h"
#include "core/nutation.h"

namespace celestra {
namespace {

// Ecliptic longitude (degrees) of an apparent place of date, with the true obliquity.
double eclipticLongitude(double raHours, double decDeg, double obliquityDeg) {
    const double a = raHours * kHoursToRad, d = decDeg * kDegToRad, e = obliquityDeg * kDegToRad;
    return wrapFloor(std::atan2(std::sin(a) * std::cos(e) + std::tan(d) * std::sin(e), std::cos(a)) * kRadToDeg, 360.0);
}

// Into (-180, 180].
double signedDegrees(double a) {
    a = wrapFloor(a, 360.0);
    return a > 180.0 ? a - 360.0 : a;
}

constexpr double kScanStepDays = 0.5;    // the difference grows about 6° per step
constexpr double kToleranceDays = 1e-7;  // 0.01 s

}  // namespace

const char* lunarPhaseKey(LunarPhase phase) {
    static const char* const keys[] = {"new", "first_quarter", "full", "last_quarter"};
    return keys[static_cast<int>(phase)];
}

const char* lunarPhaseName(LunarPhase phase) {
    static const char* const names[] = {"New Moon", "First Quarter", "Full Moon", "Last Quarter"};
    return names[static_cast<int>(phase)];
}

Status moonSunLongitudeDifference(const PlaceContext& context, JulianDay jdUtc, double& differenceDeg) {
    differenceDeg = 0.0;
    double sunRa, sunDec, sunDist, moonRa, moonDec, moonDist;
    Status status = geocentricPlaceUtc(context, jdUtc, kSun, sunRa, sunDec, sunDist);
    if (status == Status::Ok) status = geocentricPlaceUtc(context, jdUtc, kMoon, moonRa, moonDec, moonDist);
    if (status != Status::Ok) return status;
    // The obliquity at TT stands in for TDB: they differ by 2 ms.
    const double eps = earthTilt(ttFromUtc(jdUtc)).trueObliquityDeg;
    differenceDeg = wrapFloor(eclipticLongitude(moonRa, moonDec, eps) - eclipticLongitude(sunRa, sunDec, eps), 360.0);
    return Status::Ok;
}

Status findLunarPhases(const PlaceContext& context, JulianDay jdUtcBegin, JulianDay jdUtcEnd,
                       std::vector<LunarPhaseEvent>& out) {
    out.clear();
    double t0 = jdUtcBegin, f0;
    Status status = moonSunLongitudeDifference(context, t0, f0);
    if (status != Status::Ok) return status;
    while (t0 < jdUtcEnd) {
        const double t1 = std::fmin(t0 + kScanStepDays, jdUtcEnd);
        double f1;
        status = moonSunLongitudeDifference(context, t1, f1);
        if (status != Status::Ok) return status;
        const double advance = wrapFloor(f1 - f0, 360.0);  // the difference only grows
        for (int k = 0; k < 4; ++k) {
            const double target = 90.0 * k;
            const double ahead = wrapFloor(target - f0, 360.0);
            // A target reached exactly at t0 belongs to the previous step
            // (or, for the first step, to the interval: ahead == 0).
            const bool crossed = (ahead > 0.0 && ahead <= advance) || (ahead == 0.0 && t0 == jdUtcBegin);
            if (!crossed) continue;
            // Bracketed root of g(t) = difference - target, signed: bisection
            // steps interleaved with secant steps.
            double lo = t0, hi = t1;
            double glo = signedDegrees(f0 - target), ghi = signedDegrees(f1 - target);
            for (int i = 0; i < 100 && hi - lo > kToleranceDays; ++i) {
                double guess = (ghi != glo) ? lo - glo * (hi - lo) / (ghi - glo) : 0.5 * (lo + hi);
                if (i % 2 == 1 || !(guess > lo && guess < hi)) guess = 0.5 * (lo + hi);
                double f;
                status = moonSunLongitudeDifference(context, guess, f);
                if (status != Status::Ok) return status;
                const double g = signedDegrees(f - target);
                if (g == 0.0) {
                    lo = hi = guess;
                    break;
                }
                if (g < 0.0) {
                    lo = guess;
                    glo = g;
                } else {
                    hi = guess;
                    ghi = g;
                }
            }
            const double t = 0.5 * (lo + hi);
            if (t >= jdUtcBegin && t < jdUtcEnd) out.push_back({static_cast<LunarPhase>(k), t});
        }
        t0 = t1;
        f0 = f1;
    }
    return Status::Ok;
}

std::string formatPhaseMinute(JulianDay jdUtc) {
    // Round to the minute first so 12:59:40 becomes 13:00 with every carry.
    const double minutes = std::floor((jdUtc + 0.5) * 1440.0 + 0.5);
    const JulianDay rounded = minutes / 1440.0 - 0.5;
    const CalendarDate date = calendarFromJulianDay(rounded + 1e-9);
    const int totalMinutes = static_cast<int>(std::fmod(minutes, 1440.0));
    char buf[48];
    snprintfC(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d", date.year, date.month, date.day, totalMinutes / 60,
              totalMinutes % 60);
    return buf;
}

LunarCalendarMonth lunarCalendarMonth(const PlaceContext& context, int year, int month, double zoneOffsetDays) {
    LunarCalendarMonth out;
    out.year = year;
    out.month = month;
    const JulianDay first = julianDayFromCalendar(year, month, 1, 0.0) - zoneOffsetDays;
    const int nextYear = month == 12 ? year + 1 : year;
    const int nextMonth = month == 12 ? 1 : month + 1;
    const JulianDay next = julianDayFromCalendar(nextYear, nextMonth, 1, 0.0) - zoneOffsetDays;
    const int dayCount = static_cast<int>(std::lround(next - first));
    for (int d = 1; d <= dayCount; ++d) {
        LunarCalendarDay day;
        day.day = d;
        day.jdUtc = first + (d - 1);
        MoonPhase phase;
        const Status status = moonPhase(context, day.jdUtc, phase);
        if (status == Status::Ok) {
            day.valid = true;
            day.illuminatedFraction = phase.illuminatedFraction;
            day.brightLimbDeg = phase.brightLimbDeg;
            day.phaseAngleDeg = phase.phaseAngleDeg;
        } else if (out.status == Status::Ok) {
            out.status = status;
        }
        out.days.push_back(day);
    }
    const Status status = findLunarPhases(context, first, next, out.phases);
    if (out.status == Status::Ok) out.status = status;
    return out;
}

}  // namespace celestra
