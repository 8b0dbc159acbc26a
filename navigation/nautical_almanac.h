// The nautical almanac's daily pages: for each hour of UT the Greenwich hour
// angle (GHA) of Aries and the GHA and declination of the Sun, Venus, Mars,
// Jupiter, Saturn and the Moon; the Moon's v, d and HP; the navigational
// stars' sidereal hour angle (SHA) and declination; the day's semidiameters,
// equation of time, meridian passages, the Moon's age and phase; and the
// rise, set and twilight table for the printed latitude rows. Also the
// increments-and-corrections tables and the texts the pages print.
//
// Every place is the engine's apparent geocentric one (true equator and
// equinox of date) at the UTC instant; GHA = 15 (GAST - RA) with the
// apparent sidereal time of UT1 = TT - ΔT, as the Sextant page reckons it,
// and SHA = 360° - 15 RA. The hours are UTC, which the printed almanac's UT
// differs from by less than a second (0.25′ of GHA at most).
//
// Units: angles in degrees (declinations signed, north positive), v and d in
// degrees per hour, instants as UTC Julian days, times of day in UT hours.
// Accuracy: the apparent-place chain's (milliarcseconds against ERFA); the
// printed values are rounded to 0.1′ and to the minute as the almanac prints
// them (see tests/solarsystem/nautical_almanac_test.cpp).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "solarsystem/planets.h"

namespace celestra {

// The four navigational planets, in the almanac's column order.
constexpr std::array<int, 4> kAlmanacPlanets = {kVenus, kMars, kJupiter, kSaturn};

// The adopted hourly rates of the increments tables, degrees per hour: the
// Sun and planets 15°00.0′, Aries the sidereal rate (15°02.46′), the Moon
// 14°19.0′. v is the excess of the actual hourly change of GHA over these.
constexpr double kSunPlanetsRateDegPerHour = 15.0;
constexpr double kAriesRateDegPerHour = 15.041068640;
constexpr double kMoonRateDegPerHour = 14.0 + 19.0 / 60.0;

// The latitude rows of the rise, set and twilight table, north to south.
constexpr std::array<double, 31> kAlmanacLatitudes = {72,  70,  68,  66,  64,  62,  60,  58,  56,  54,  52,
                                                      50,  45,  40,  35,  30,  20,  10,  0,   -10, -20, -30,
                                                      -35, -40, -45, -50, -52, -54, -56, -58, -60};

struct GhaDec {
    double gha = 0.0;  // [0, 360)
    double dec = 0.0;
};

struct AlmanacHour {
    JulianDay utc = 0.0;
    double ariesGha = 0.0;
    GhaDec sun;
    std::array<GhaDec, 4> planets;  // kAlmanacPlanets order
    GhaDec moon;
    // v and d for the hour to the next one (GHA change less 14°19.0′, change
    // of declination, north positive); HP at this hour: asin(6378.15 km / r).
    double moonV = 0.0, moonD = 0.0, moonHp = 0.0;
};

struct AlmanacPlanetDay {
    int body = 0;
    std::string name;              // "Venus", ...
    double meridianPassage = 0.0;  // UT hours of the upper transit at Greenwich
    double magnitude = 0.0;        // at 12h UT
    double v = 0.0, d = 0.0;       // mean over the day's 24 hours, degrees per hour
};

struct AlmanacDay {
    int year = 0, month = 0, day = 0;
    JulianDay jd0h = 0.0;              // 0h UTC of the day
    double sunSd = 0.0, moonSd = 0.0;  // at 12h UT, degrees
    double sunD = 0.0;                 // mean hourly change of the Sun's declination
    // Equation of time, apparent minus mean solar time, seconds (positive
    // when the Sun crosses the meridian before 12h).
    double eqt00hSeconds = 0.0, eqt12hSeconds = 0.0;
    // Meridian passages at Greenwich, UT hours. A transit that does not occur
    // on the day (the Moon skips one upper and one lower a month) is the next
    // day's, counted on from this day's 0h: 24.2 is 00:12 of the next day.
    double ariesMeridianPassage = 0.0, sunMeridianPassage = 0.0;
    double moonUpper = 0.0, moonLower = 0.0;
    double moonAgeDays = 0.0;             // since the last new Moon, at 12h UT
    double moonIlluminatedPercent = 0.0;  // at 12h UT
    std::array<AlmanacPlanetDay, 4> planets;
};

struct AlmanacStar {
    const char* name = "";
    int number = 0;  // Bright Star number
    double sha = 0.0, dec = 0.0;
    double magnitude = 0.0;
};

// What an event cell holds when the event does not happen that day.
enum class AlmanacEventNote {
    None,              // the event happens: `hours` holds it
    AlwaysAbove,       // the body (for twilight: the Sun) stays above all day
    AlwaysBelow,       // it stays below all day
    TwilightAllNight,  // the Sun sets but never gets that far below
};

struct AlmanacEvent {
    AlmanacEventNote note = AlmanacEventNote::None;
    // UT hours from the day's 0h (local mean time at Greenwich); a moonrise
    // or moonset that the day lacks is the next one, at 24 hours or more.
    double hours = 0.0;
    bool happens() const { return note == AlmanacEventNote::None; }
};

struct AlmanacLatitudeRow {
    int dayIndex = 0;  // into NauticalAlmanac::days
    double latitude = 0.0;
    AlmanacEvent sunrise, sunset, civilBegin, civilEnd, nauticalBegin, nauticalEnd, moonrise, moonset;
};

struct NauticalAlmanac {
    std::vector<AlmanacHour> hours;  // 24 per day, 0h .. 23h UT
    std::vector<AlmanacStar> stars;  // the 57 stars by name, then Polaris; at 12h UT of the middle day
    std::vector<AlmanacDay> days;
    std::vector<AlmanacLatitudeRow> events;  // per day, per latitude row (empty when not asked for)
    int middleDay() const { return static_cast<int>(days.size() - 1) / 2; }
};

// The pages for `dayCount` (1..3) days from the civil date year-month-day.
// With `withEvents` false the latitude table is left out (it costs most).
// BadArgument for a day count outside 1..3 or a date that is not one;
// OutsideEphemeris when a needed instant lies outside the ephemeris (or no
// file is open): the hours reach 2 h past the last day's end, for the Moon's
// transits.
Status computeAlmanac(const PlaceContext& context, int year, int month, int day, int dayCount, bool withEvents,
                      NauticalAlmanac& out);

// The rise, set and twilight table for the days of `almanac` (filled by
// computeAlmanac): the Sun's and the Moon's events at every latitude row, at
// Greenwich. Sunrise and sunset are the Sun's centre 50′ below the horizon
// (34′ of refraction and 16′ of semidiameter), twilight its centre 6° and
// 12° below; moonrise and moonset the Moon's upper limb on the horizon with
// 34′ of refraction and the Moon's parallax. `latitudes` are the rows
// (computeAlmanac gives the printed ones). On failure, the failing place's
// status.
Status computeAlmanacEvents(const PlaceContext& context, NauticalAlmanac& almanac,
                            const std::vector<double>& latitudes);

// ---------------------------------------------------------------------------
// Increments and corrections.

enum class IncrementColumn { SunPlanets, Aries, Moon };

// The increment of GHA for `minutes` (0..59) and `seconds` (0..60) past the
// hour at the column's adopted rate, in tenths of an arcminute, rounded half
// up as the printed table rounds it.
int incrementTenths(IncrementColumn column, int minutes, int seconds);

// The v or d correction in tenths of an arcminute for `vTenths` (v or d in
// tenths of an arcminute, sign ignored) in minute `minutes` (0..59): v taken
// for the middle of that minute, v (m + ½) / 60, rounded half up.
int correctionTenths(int vTenths, int minutes);

// ---------------------------------------------------------------------------
// The texts of the printed pages (locale-independent, rounded as printed).

// "183 58.4": degrees and minutes to 0.1′, for GHA and SHA ([0, 360)).
std::string almanacHourAngle(double degrees);
// "N23 26.1", "S 5 02.3": a declination.
std::string almanacDeclination(double degrees);
// "14.3", "-1.2": degrees per hour (or degrees) as arcminutes to 0.1′;
// `withSign` false prints the magnitude only, as the printed d columns do.
std::string almanacMinutes(double degrees, bool withSign = true);
// "hh:mm" of UT hours rounded to the minute; hours of 24 and more stay so.
std::string almanacClock(double hours);
// "+16:25", "-03:12": an equation of time in minutes and seconds.
std::string almanacEquationOfTime(double seconds);
// The event's "hh:mm", or its note: "always above", "always below",
// "twilight all night".
std::string almanacEventText(const AlmanacEvent& event);
// "always above", "always below", "twilight all night", or "" for None.
const char* almanacEventNoteText(AlmanacEventNote note);

}  // namespace celestra
