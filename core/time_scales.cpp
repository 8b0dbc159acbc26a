#include "core/time_scales.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <mutex>

#include "core/data_paths.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/nutation.h"
#include "core/regular_file.h"
#include "core/side_files.h"

namespace celestra {

// ---------------------------------------------------------------------------
// Calendar

/*
 * julianDayFromCalendar: Gregorian calendar date to Julian day.
 *   year, month (1-12), day (1-31), hour (0-24, with fraction)
 * The integer algorithm of Fliegel and Van Flandern (1968); every division
 * truncates toward zero. Exact for any Gregorian date with year > -4800
 * (proleptic before 1582). The time scale is the caller's.
 */
JulianDay julianDayFromCalendar(int year, int month, int day, double hour) {
    const long y = year, m = month, d = day;
    const long a = (m - 14) / 12;
    const long j = d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - 12 * a) / 12 - 3 * ((y + 4900 + a) / 100) / 4;
    return static_cast<double>(j) - 0.5 + hour / 24.0;
}

/*
 * calendarFromJulianDay: Julian day to Gregorian date and hour of day.
 * Inverse of julianDayFromCalendar for Julian days from -32044.5 (year -4800)
 * on. The day is split with floor, not truncation, so a Julian day below
 * -0.5 still gives a non-negative hour. A non-finite Julian day or one
 * beyond ±1e11 days gives the all-zero date (month 0 marks it invalid).
 */
CalendarDate calendarFromJulianDay(JulianDay jd) {
    const double x = jd + 0.5;
    if (!(std::fabs(x) < 1e11)) return CalendarDate{};
    const double whole = std::floor(x);
    long k = static_cast<long>(whole) + 68569;
    const long n = 4 * k / 146097;
    k = k - (146097 * n + 3) / 4;
    const long m = 4000 * (k + 1) / 1461001;
    k = k - 1461 * m / 4 + 31;
    long month = 80 * k / 2447;
    const long day = k - 2447 * month / 80;
    k = month / 11;
    month = month + 2 - 12 * k;
    CalendarDate c;
    c.year = static_cast<int>(100 * (n - 49) + m + k);
    c.month = static_cast<int>(month);
    c.day = static_cast<int>(day);
    c.hour = (x - whole) * 24.0;
    return c;
}

JulianDay julianDayFromBrokenDownTime(const BrokenDownTime& t) {
    const double hour = t.hour + (t.minute + t.second / 60.0) / 60.0;
    return julianDayFromCalendar(t.year, t.month, t.day, hour);
}

/*
 * brokenDownTimeFromJulianDay: Julian day to a broken-down time rounded to
 * the nearest second, carrying into minute, hour and the next calendar day
 * (23:59:59.6 on 31 December becomes 00:00:00 on 1 January). Years outside
 * 0-65535 do not fit the record and wrap.
 */
BrokenDownTime brokenDownTimeFromJulianDay(JulianDay jd) {
    CalendarDate c = calendarFromJulianDay(jd);
    double hour = std::floor(c.hour);
    const double minutesExact = (c.hour - hour) * 60.0;
    double minute = std::floor(minutesExact);
    const double secondsExact = (minutesExact - minute) * 60.0;
    double second = std::floor(secondsExact);
    const double millis = (secondsExact - second) * 1000.0;
    if (millis >= 500.0) second += 1.0;
    if (second >= 60.0) {
        minute += 1.0;
        second = 0.0;
    }
    if (minute >= 60.0) {
        hour += 1.0;
        minute = 0.0;
    }
    if (hour >= 24.0) {
        hour = 0.0;
        const CalendarDate next = calendarFromJulianDay(julianDayFromCalendar(c.year, c.month, c.day, 0.0) + 1.0);
        c.year = next.year;
        c.month = next.month;
        c.day = next.day;
    }
    BrokenDownTime t;
    t.year = static_cast<uint16_t>(c.year);
    t.month = static_cast<uint16_t>(c.month);
    t.day = static_cast<uint16_t>(c.day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    return t;
}

// POSIX time counts 86400 s per day from 1970-01-01 0h UTC = JD 2440587.5.
constexpr JulianDay kUnixEpochJd = 2440587.5;

JulianDay julianDayFromCRuntimeTime(std::time_t t) {
    std::tm tm{};
    if (!gmtime_r(&t, &tm))  // year beyond int: the same count, done directly
        return kUnixEpochJd + static_cast<double>(t) / 86400.0;
    const double hour = tm.tm_hour + (tm.tm_min + tm.tm_sec / 60.0) / 60.0;
    return julianDayFromCalendar(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, hour);
}

namespace {
std::atomic<double> fixedClock{0.0};  // 0: the system clock
}  // namespace

JulianDay currentJulianDayUtc() {
    const double fixed = fixedClock.load(std::memory_order_relaxed);
    return fixed != 0.0 ? fixed : julianDayFromCRuntimeTime(std::time(nullptr));
}

void setClockForTesting(JulianDay jdUtc) { fixedClock.store(jdUtc, std::memory_order_relaxed); }

// ---------------------------------------------------------------------------
// Built-in tables

// ΔT = TT - UT1 (s) at 0h UTC on 1 January: every fifth year 1900-2005 and
// 2006 (the values published in the Astronomical Almanac), then 2007-2022
// and 2022-11-29 from the IERS EOP C04 series as 32.184 + (TAI-UTC) -
// (UT1-UTC). After the last entry the last value holds.
const std::vector<TimeTableEntry>& builtinDeltaTTable() {
    static const std::vector<TimeTableEntry> table = {
        {2415020.5, -2.7},    {2416846.5, 3.92},    {2418672.5, 10.384},  {2420498.5, 17.187},  {2422324.5, 21.407},
        {2424151.5, 23.634},  {2425977.5, 24.021},  {2427803.5, 23.907},  {2429629.5, 24.347},  {2431456.5, 26.81},
        {2433282.5, 29.07},   {2435108.5, 30.964},  {2436934.5, 33.15},   {2438761.5, 35.738},  {2440587.5, 40.182},
        {2442413.5, 45.477},  {2444239.5, 50.54},   {2446066.5, 54.343},  {2447892.5, 56.855},  {2449718.5, 60.785},
        {2451544.5, 63.8285}, {2453371.5, 64.6876}, {2453736.5, 64.8452}, {2454101.5, 65.1464}, {2454466.5, 65.4573},
        {2454832.5, 65.7769}, {2455197.5, 66.0700}, {2455562.5, 66.3246}, {2455927.5, 66.6030}, {2456293.5, 66.9069},
        {2456658.5, 67.2810}, {2457023.5, 67.6440}, {2457388.5, 68.1025}, {2457754.5, 68.5927}, {2458119.5, 68.9676},
        {2458484.5, 69.2201}, {2458849.5, 69.3611}, {2459215.5, 69.3594}, {2459580.5, 69.2945}, {2459912.5, 69.2032},
    };
    return table;
}

// TAI - UTC (s) from the 0h UTC on which each value takes effect, from the
// IERS leap-second list (Bulletin C), 1972-01-01 to 2017-01-01.
const std::vector<TimeTableEntry>& builtinLeapSecondTable() {
    static const std::vector<TimeTableEntry> table = {
        {2441317.5, 10}, {2441499.5, 11}, {2441683.5, 12}, {2442048.5, 13}, {2442413.5, 14}, {2442778.5, 15},
        {2443144.5, 16}, {2443509.5, 17}, {2443874.5, 18}, {2444239.5, 19}, {2444786.5, 20}, {2445151.5, 21},
        {2445516.5, 22}, {2446247.5, 23}, {2447161.5, 24}, {2447892.5, 25}, {2448257.5, 26}, {2448804.5, 27},
        {2449169.5, 28}, {2449534.5, 29}, {2450083.5, 30}, {2450630.5, 31}, {2451179.5, 32}, {2453736.5, 33},
        {2454832.5, 34}, {2456109.5, 35}, {2457204.5, 36}, {2457754.5, 37},
    };
    return table;
}

// ---------------------------------------------------------------------------
// Side files

bool loadTimeTableFile(const std::string& path, std::vector<TimeTableEntry>& out, double valueLimit) {
    std::vector<uint8_t> bytes;
    InputFileError error;
    if (readRegularFile(path, kTimeTableMaxBytes, bytes, error) != InputFileStatus::Ok) {
        // A missing file is the usual case: no replacement table.
        if (error.status != InputFileStatus::Missing)
            debugLog("Time table %s %s; using the built-in table\n", path.c_str(), error.reason.c_str());
        return false;
    }
    const auto refuse = [&](const std::string& why) {
        debugLog("Time table %s: %s; using the built-in table\n", path.c_str(), why.c_str());
        return false;
    };

    // White-space separated decimal numbers (from_chars: independent of the
    // locale the GUI sets). Any other text makes the whole file suspect: a
    // table cut short at a stray word would silently drop its later entries.
    std::vector<double> numbers;
    const char* p = reinterpret_cast<const char*>(bytes.data());
    const char* end = p + bytes.size();
    while (true) {
        while (p < end && std::isspace(static_cast<unsigned char>(*p))) ++p;
        if (p == end) break;
        const char* tokenEnd = p;
        while (tokenEnd < end && !std::isspace(static_cast<unsigned char>(*tokenEnd))) ++tokenEnd;
        const char* first = *p == '+' ? p + 1 : p;  // from_chars takes no plus sign
        double v = 0.0;
        const auto [ptr, ec] = std::from_chars(first, tokenEnd, v);
        if (ec != std::errc() || ptr != tokenEnd || !std::isfinite(v))
            return refuse(formatC("\"%.*s\" at byte %zu is not a number",
                                  static_cast<int>(std::min<ptrdiff_t>(tokenEnd - p, 40)), p,
                                  static_cast<size_t>(p - reinterpret_cast<const char*>(bytes.data()))));
        numbers.push_back(v);
        p = tokenEnd;
    }
    if (numbers.empty()) return refuse("holds no (Julian day, value) pair");
    if (numbers.size() % 2 != 0)
        return refuse(formatC("holds %zu numbers, not whole (Julian day, value) pairs", numbers.size()));

    std::vector<TimeTableEntry> entries;
    for (size_t i = 0; i + 1 < numbers.size(); i += 2) entries.push_back({numbers[i], numbers[i + 1]});
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!(entries[i].jd >= kTimeTableFirstJd && entries[i].jd <= kTimeTableLastJd))
            return refuse(formatC("Julian day %.6f lies outside %.1f to %.1f", entries[i].jd, kTimeTableFirstJd,
                                  kTimeTableLastJd));
        if (!(std::fabs(entries[i].value) <= valueLimit))
            return refuse(formatC("value %g at Julian day %.6f lies outside -%g to %g s", entries[i].value,
                                  entries[i].jd, valueLimit, valueLimit));
        if (i > 0 && !(entries[i].jd > entries[i - 1].jd))
            return refuse(formatC("Julian day %.6f does not follow %.6f", entries[i].jd, entries[i - 1].jd));
    }
    out = std::move(entries);
    return true;
}

std::vector<std::string> timeTablePaths(const std::string& name) {
    std::vector<std::string> paths{userConfigFolder() + "/celestra." + name};
    if (const std::string beside = sideFilePath(name); !beside.empty()) paths.push_back(beside);
    return paths;
}

namespace {

// One lazily loaded table. Lookups read the published pointer without a
// lock; the first lookup (on whichever thread) loads under the mutex.
// Replaced tables are retired, never freed, so a reference handed out before
// resetTimeTablesForTesting stays valid.
struct TableSlot {
    const char* extension;
    const std::vector<TimeTableEntry>& (*builtin)();
    double valueLimit;
    std::mutex mutex;
    std::atomic<const std::vector<TimeTableEntry>*> table{nullptr};
    std::vector<std::unique_ptr<std::vector<TimeTableEntry>>> owned;

    const std::vector<TimeTableEntry>& get() {
        if (const auto* t = table.load(std::memory_order_acquire)) return *t;
        std::lock_guard<std::mutex> lock(mutex);
        if (const auto* t = table.load(std::memory_order_relaxed)) return *t;
        auto loaded = std::make_unique<std::vector<TimeTableEntry>>();
        const std::vector<TimeTableEntry>* chosen = &builtin();
        // The user's file first, then the one beside the executable (a
        // portable copy carries its tables with it).
        for (const std::string& path : timeTablePaths(extension)) {
            if (!loadTimeTableFile(path, *loaded, valueLimit)) continue;
            chosen = loaded.get();
            owned.push_back(std::move(loaded));
            break;
        }
        table.store(chosen, std::memory_order_release);
        return *chosen;
    }
    void reset() {
        std::lock_guard<std::mutex> lock(mutex);
        table.store(nullptr, std::memory_order_release);
    }
};

TableSlot& deltaTSlot() {
    static TableSlot slot{"DeltaT", &builtinDeltaTTable, kDeltaTLimitSeconds, {}, {}, {}};
    return slot;
}
TableSlot& leapSecondSlot() {
    static TableSlot slot{"LeapSeconds", &builtinLeapSecondTable, kTaiMinusUtcLimitSeconds, {}, {}, {}};
    return slot;
}

// Bumped by resetTimeTablesForTesting so every thread's cache goes stale.
std::atomic<unsigned> tableGeneration{0};

struct OneEntryCache {
    bool valid = false;
    unsigned generation = 0;
    double argument = 0.0;
    double value = 0.0;
};
thread_local OneEntryCache tlsDeltaT;
thread_local OneEntryCache tlsTaiUtc;

}  // namespace

const std::vector<TimeTableEntry>& deltaTTable() { return deltaTSlot().get(); }
const std::vector<TimeTableEntry>& leapSecondTable() { return leapSecondSlot().get(); }

void resetTimeTablesForTesting() {
    deltaTSlot().reset();
    leapSecondSlot().reset();
    tableGeneration.fetch_add(1, std::memory_order_acq_rel);
}

// ---------------------------------------------------------------------------
// ΔT, TAI - UTC, TT

/*
 * deltaT: ΔT = TT - UT1 in seconds.
 *   jdUtc  Julian day, UTC (the table's resolution makes UTC, UT1 and TT
 *          interchangeable here)
 * Notes:
 *  1. Linear interpolation in deltaTTable(); before its first entry the
 *     first value, after its last entry the last value (no extrapolation:
 *     ΔT grows by up to a second a year, so far from the table the result
 *     may be off by tens of seconds).
 *  2. Per thread, a value found within 0.25 day of the last computed
 *     argument is reused (ΔT changes by some 1e-3 s in that time); the
 *     remembered argument stays the one the value was computed for.
 *  3. A NaN argument gives NaN.
 */
double deltaT(JulianDay jdUtc) {
    if (std::isnan(jdUtc)) return jdUtc;
    OneEntryCache& cache = tlsDeltaT;
    const unsigned generation = tableGeneration.load(std::memory_order_acquire);
    if (cache.valid && cache.generation == generation && std::fabs(jdUtc - cache.argument) <= 0.25) return cache.value;

    const auto& table = deltaTTable();
    double value;
    if (jdUtc <= table.front().jd) {
        value = table.front().value;
    } else if (jdUtc > table.back().jd) {
        value = table.back().value;
    } else {
        size_t i = 1;
        while (table[i].jd < jdUtc) ++i;  // ends: jdUtc <= back().jd
        const TimeTableEntry& a = table[i - 1];
        const TimeTableEntry& b = table[i];
        value = (jdUtc == b.jd) ? b.value : a.value + (jdUtc - a.jd) / (b.jd - a.jd) * (b.value - a.value);
    }
    cache = {true, generation, jdUtc, value};
    return value;
}

/*
 * taiMinusUtc: TAI - UTC in seconds for a UTC Julian day.
 * A step function of leapSecondTable(): the value of the last entry at or
 * before the instant; 10 s before 1972 (UTC then ran at a different rate
 * and its offset was fractional; the value is kept constant instead) and the
 * last value after the last entry. A per-thread cache answers a repeated
 * identical argument. A NaN argument gives NaN.
 */
double taiMinusUtc(JulianDay jdUtc) {
    if (std::isnan(jdUtc)) return jdUtc;
    OneEntryCache& cache = tlsTaiUtc;
    const unsigned generation = tableGeneration.load(std::memory_order_acquire);
    if (cache.valid && cache.generation == generation && cache.argument == jdUtc) return cache.value;

    const auto& table = leapSecondTable();
    double value = table.front().value;
    if (jdUtc > table.back().jd) {
        value = table.back().value;
    } else {
        for (const TimeTableEntry& e : table) {
            if (e.jd > jdUtc) break;
            value = e.value;
        }
    }
    cache = {true, generation, jdUtc, value};
    return value;
}

JulianDay ttFromUtc(JulianDay jdUtc) {
    return jdUtc + taiMinusUtc(jdUtc) * kDaysPerSecond + kTtMinusTaiSeconds * kDaysPerSecond;
}

bool utcDayEndsWithLeapSecond(JulianDay jd0h) { return taiMinusUtc(jd0h + 1.0) - taiMinusUtc(jd0h) > 0.5; }

// ---------------------------------------------------------------------------
// Sidereal time

/*
 * siderealTime: Greenwich mean or apparent sidereal time, hours in [0, 24).
 *   jdTt           Julian day, TT
 *   deltaTSeconds  ΔT = TT - UT1 (s); UT1 = TT - ΔT drives the Earth's rotation
 *   meanOnly       true: GMST (IAU 1982); false: GAST = GMST + the equation
 *                  of the equinoxes (IAU 1980 nutation, 1994 complementary
 *                  terms) evaluated at TDB = TT + tdbMinusTt
 * Notes:
 *  1. The polynomial is in seconds of time with T in Julian centuries of
 *     UT1 from J2000.0; 3155760000 s (36525 days) x T adds the whole turns
 *     of the days, which the reduction modulo 24 h removes.
 *  2. GMST reproduces 18.697374558 h at J2000.0 and the published examples
 *     of Meeus (Astronomical Algorithms, 12.a and 12.b) to 1e-4 s; GAST
 *     carries the IAU 1980 nutation, a few milliseconds of time from the
 *     IAU 2000/2006 apparent sidereal time.
 */
double siderealTime(JulianDay jdTt, double deltaTSeconds, bool meanOnly) {
    const double t = (ut1FromTt(jdTt, deltaTSeconds) - kJ2000) / kDaysPerJulianCentury;
    double equationOfEquinoxes = 0.0;
    if (!meanOnly) {
        const JulianDay tdb = jdTt + tdbMinusTt(jdTt) * kDaysPerSecond;
        equationOfEquinoxes = earthTilt(tdb).equationOfEquinoxesSec;
    }
    const double st =
        equationOfEquinoxes - 6.2e-6 * t * t * t + 0.093104 * t * t + 67310.54841 + (8640184.812866 + 3155760000.0) * t;
    double hours = std::fmod(st / 3600.0, 24.0);
    if (hours < 0.0) hours += 24.0;
    if (hours >= 24.0) hours -= 24.0;  // -1e-17 + 24 rounds to 24
    return hours;
}

double siderealTimeFromUtc(JulianDay jdUtc, bool meanOnly) {
    return siderealTime(ttFromUtc(jdUtc), deltaT(jdUtc), meanOnly);
}

double localSiderealTime(double greenwichHours, double eastLongitudeDegrees) {
    double lst = greenwichHours + eastLongitudeDegrees / 15.0;
    if (lst >= 24.0) lst -= 24.0;
    if (lst < 0.0) lst += 24.0;
    return lst;
}

// ---------------------------------------------------------------------------
// Time zone

ZoneOffset platformZoneOffsetAt(JulianDay jdUtc) {
    ZoneOffset z;
    const double seconds = std::floor((jdUtc - kUnixEpochJd) * 86400.0 + 0.5);
    if (!(std::fabs(seconds) < 9.2e18)) return z;  // outside time_t: UTC, no daylight saving
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm tm{};
    if (!localtime_r(&t, &tm)) return z;
    z.offsetDays = static_cast<double>(tm.tm_gmtoff) / 86400.0;
    z.daylight = tm.tm_isdst > 0;
    return z;
}

ZoneOffset platformZoneOffset() {
    tzset();  // pick up a changed TZ or /etc/localtime
    return platformZoneOffsetAt(currentJulianDayUtc());
}

namespace {
bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }
int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && isLeapYear(year)) return 29;
    return days[(month - 1) % 12];
}
}  // namespace

/*
 * transitionDate: the calendar date of a daylight-saving rule in a year.
 *   firstOfMonth  its year, and in dayOfWeek the weekday (0 = Sunday) of the
 *                 first day of the rule's month
 *   rule          month, weekday, week 1-5 (5 = the last), time of day
 * A week outside 1-5 is taken as the nearest of them; weekdays are taken
 * modulo 7 and a month outside 1-12 as January/December.
 */
BrokenDownTime transitionDate(const BrokenDownTime& firstOfMonth, const DaylightRule& rule) {
    const int month = rule.month < 1 ? 1 : (rule.month > 12 ? 12 : rule.month);
    const int week = rule.week < 1 ? 1 : (rule.week > 5 ? 5 : rule.week);
    const int ruleWeekday = ((rule.dayOfWeek % 7) + 7) % 7;
    const int firstWeekday = firstOfMonth.dayOfWeek % 7;
    int day = ((1 + ruleWeekday - firstWeekday + 6) % 7) + 7 * week - 6;
    if (day > daysInMonth(firstOfMonth.year, month)) day -= 7;

    BrokenDownTime t;
    t.year = firstOfMonth.year;
    t.month = static_cast<uint16_t>(month);
    t.dayOfWeek = static_cast<uint16_t>(ruleWeekday);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(rule.hour);
    t.minute = static_cast<uint16_t>(rule.minute);
    t.second = static_cast<uint16_t>(rule.second);
    return t;
}

std::string formatZoneLabel(double offsetDays) {
    double hours = offsetDays * 24.0;
    const double whole = std::round(hours);
    char buffer[48];
    if (std::fabs(hours - whole) < 1e-6) {
        hours = whole == 0.0 ? 0.0 : whole;  // no "UTC -0h"
        snprintfC(buffer, sizeof buffer, "UTC %+2.lfh", hours);
    } else {
        // Half- and quarter-hour zones (India +5.5, Nepal +5.75, Newfoundland
        // -3.5) keep their fraction instead of rounding to a wrong hour.
        snprintfC(buffer, sizeof buffer, "UTC %+.2lf", hours);
        std::string text = buffer;
        while (text.back() == '0') text.pop_back();
        return text + "h";
    }
    return buffer;
}

}  // namespace celestra
