// Time scales and calendar.
//
// Every instant is a Julian day held as a double (civil midnight at .5,
// J2000.0 = 2451545.0). The sky model's clock runs in UTC; the ephemeris and
// positional astronomy in TT (TDB); Earth rotation in UT1 = TT - ΔT.
// The Gregorian calendar is used throughout (proleptic before 1582).
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "core/constants.h"

namespace celestra {

using JulianDay = double;

constexpr double kDaysPerSecond = 1.1574074074074073e-05;  // 1/86400

struct CalendarDate {
    int year = 0;
    int month = 0;      // 1-12
    int day = 0;        // 1-31
    double hour = 0.0;  // with fraction
};

// Broken-down time in the field order of the platform record it replaces:
// year, month, day of week, day, hour, minute, second, millisecond.
// Day of week and millisecond are written as 0 and ignored on input.
struct BrokenDownTime {
    uint16_t year = 0;
    uint16_t month = 0;
    uint16_t dayOfWeek = 0;  // 0 = Sunday
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint16_t milliseconds = 0;
};

// Calendar date (Gregorian, year > -4800) and hour to Julian day.
JulianDay julianDayFromCalendar(int year, int month, int day, double hour);
CalendarDate calendarFromJulianDay(JulianDay jd);

// Milliseconds are ignored; seconds and minutes enter the hour.
JulianDay julianDayFromBrokenDownTime(const BrokenDownTime& t);
// Rounded to the nearest second; 23:59:59.6 becomes 00:00:00 of the next day.
BrokenDownTime brokenDownTimeFromJulianDay(JulianDay jd);

// A C-runtime time value (seconds since 1970, UTC) through gmtime.
JulianDay julianDayFromCRuntimeTime(std::time_t t);
// The system clock as a UTC Julian day (whole seconds, as the broken-down time carries).
// Every reading of the present instant in the engine and the program goes
// through here (the zone offset "now", the date a GPS time of day belongs
// to, the chart's real time, the pages that open on "now").
JulianDay currentJulianDayUtc();
// Makes currentJulianDayUtc() report `jdUtc` instead of the system clock; 0
// gives the system clock back. For tests, whose results must not depend on
// the hour they run at. Safe to call while other threads read the clock.
void setClockForTesting(JulianDay jdUtc);

// ΔT = TT - UT1 in seconds for a UTC Julian day, linearly interpolated in the
// table, clamped to its end values (the built-in table ends on 2022-11-29).
// Reuses the last value within 0.25 day (per thread).
double deltaT(JulianDay jdUtc);
// TAI - UTC in whole seconds (a step function), 10 s before 1972.
double taiMinusUtc(JulianDay jdUtc);
// TT = UTC + (TAI - UTC) + 32.184 s.
JulianDay ttFromUtc(JulianDay jdUtc);
// Whether the UTC day that starts at `jd0h` (0h UTC) ends with a leap second,
// 23:59:60: TAI - UTC is a second larger at the next 0h than at this one.
// On the program's UTC Julian-day scale that second has no length: the
// instant 23:59:60 is held as the last Julian day before the next 0h, which
// still carries the day's own TAI - UTC, so its TT is that of the next
// 00:00:00 less one second.
bool utcDayEndsWithLeapSecond(JulianDay jd0h);
// UT1 = TT - ΔT.
inline JulianDay ut1FromTt(JulianDay jdTt, double deltaTSeconds) { return jdTt - deltaTSeconds * kDaysPerSecond; }

// Greenwich sidereal time in hours [0, 24): mean (GMST, IAU 1982) or, with
// meanOnly false, apparent (GAST, adding the equation of the equinoxes of the
// IAU 1980 nutation evaluated at TDB). The instant is TT; UT1 = TT - ΔT.
double siderealTime(JulianDay jdTt, double deltaTSeconds, bool meanOnly);
// The sky model's rule: the UTC instant goes to TT, then ΔT of that UTC instant is subtracted.
double siderealTimeFromUtc(JulianDay jdUtc, bool meanOnly);
// Local sidereal time in hours [0, 24).
double localSiderealTime(double greenwichHours, double eastLongitudeDegrees);

// One (Julian day, value) entry of the ΔT or TAI-UTC table.
struct TimeTableEntry {
    double jd;
    double value;
};

// Built-in tables (IERS values; see the sources in time_scales.cpp).
const std::vector<TimeTableEntry>& builtinDeltaTTable();
const std::vector<TimeTableEntry>& builtinLeapSecondTable();
// The files that may replace a built-in table, in the order tried: the
// user's $XDG_CONFIG_HOME/celestra/celestra.<name> (default ~/.config), then
// the executable's side file <exe>.<name> (a portable copy), for the names
// "DeltaT" and "LeapSeconds".
std::vector<std::string> timeTablePaths(const std::string& name);
// The tables in use: the first of timeTablePaths() that loadTimeTableFile
// accepts, else the built-in ones. Loaded once per process.
const std::vector<TimeTableEntry>& deltaTTable();
const std::vector<TimeTableEntry>& leapSecondTable();

// Side tables are plain text of at most 8 MiB (a daily ΔT table over the
// whole calendar range would still fit; the published tables are a few KiB).
constexpr uint64_t kTimeTableMaxBytes = uint64_t{8} << 20;
// Their Julian days lie in the program's calendar range, years -4712 to 9999.
constexpr double kTimeTableFirstJd = 0.0;
constexpr double kTimeTableLastJd = 5373484.5;
// |ΔT| at most 10^6 s: the long-term parabola reaches about 2.2 × 10^5 s at
// the ends of the calendar range, and a larger value is a typing error that
// would wreck every sidereal time.
constexpr double kDeltaTLimitSeconds = 1e6;
// |TAI - UTC| at most one day: a leap second at every chance until 9999
// stays far below it.
constexpr double kTaiMinusUtcLimitSeconds = 86400.0;

// Reads a side table: white-space separated (Julian day, value) pairs, the
// days strictly ascending within the calendar range, each |value| at most
// valueLimit seconds. Returns false, leaving `out` untouched, when the file
// is missing (silently: the usual case) or, with one diagnostic line, when
// it is not a regular file or too large, holds anything but finite numbers,
// an odd count of them, no pair, days out of order or out of range, or a
// value out of range: a table that is wrong anywhere is not used at all.
bool loadTimeTableFile(const std::string& path, std::vector<TimeTableEntry>& out,
                       double valueLimit = kDeltaTLimitSeconds);

// Forgets the loaded tables and caches so the next lookup reloads the side
// files (tests only; not safe while other threads look up times).
void resetTimeTablesForTesting();

// Time zone. Local civil time = UTC + offset (days).
struct ZoneOffset {
    double offsetDays = 0.0;  // local minus UTC, in days
    bool daylight = false;    // daylight saving in force
};
// The system's current zone offset from the time-zone database (TZ, /etc/localtime).
ZoneOffset platformZoneOffset();
// The same for a given UTC instant (inside the range of time_t).
ZoneOffset platformZoneOffsetAt(JulianDay jdUtc);

// A daylight-saving rule: month, day of week (0 = Sunday), week of month
// 1-5 (5 = last), and the time of day of the change.
struct DaylightRule {
    int month = 0;
    int dayOfWeek = 0;
    int week = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
// The date of a rule in the year of `firstOfMonth`, whose dayOfWeek gives the
// weekday of the first day of the rule's month.
BrokenDownTime transitionDate(const BrokenDownTime& firstOfMonth, const DaylightRule& rule);

// "UTC %+2.lfh" of the offset in hours ("UTC +1h", "UTC -5h"); an offset
// that is not a whole number of hours keeps its fraction ("UTC +5.5h").
std::string formatZoneLabel(double offsetDays);

}  // namespace celestra
