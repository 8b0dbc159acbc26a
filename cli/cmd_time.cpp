// celestra-cli time: the time scales and sidereal time of one UTC instant.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "core/angles.h"
#include "core/iso_time.h"
#include "core/time_scales.h"

namespace celestra::cli {
namespace {

// Years -4712 to 9999: the calendar conversions and the ISO form hold there.
constexpr double kFirstJd = 0.0;
constexpr double kLastJd = 5373484.5;

int runTime(const std::vector<std::string>& words) {
    const Args args(words, {"utc", "jd"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    if (args.has("utc") && args.has("jd")) usageError("give either --utc or --jd, not both");

    JulianDay jdUtc;
    if (auto text = args.value("utc")) {
        std::string problem;
        auto parsed = parseIsoTime(*text, &problem);
        if (!parsed && !problem.empty()) usageError("--utc: " + problem);
        if (!parsed) usageError("--utc needs a valid time YYYY-MM-DDThh:mm:ss, not \"" + *text + "\"");
        jdUtc = *parsed;
    } else if (auto jd = args.number("jd")) {
        if (*jd < kFirstJd || *jd >= kLastJd) usageError("--jd must lie between 0 and 5373484.5 (years -4712 to 9999)");
        jdUtc = *jd;
    } else {
        jdUtc = currentJulianDayUtc();
    }

    const double taiUtc = taiMinusUtc(jdUtc);
    const JulianDay jdTt = ttFromUtc(jdUtc);
    const double dT = deltaT(jdUtc);
    const JulianDay jdUt1 = ut1FromTt(jdTt, dT);
    const double gmst = siderealTime(jdTt, dT, true);
    const double gast = siderealTime(jdTt, dT, false);
    const std::string zone = formatZoneLabel(platformZoneOffsetAt(jdUtc).offsetDays);

    if (args.flag("json")) {
        Json j;
        j.beginObject()
            .field("jd_utc", jdUtc)
            .field("tai_minus_utc_s", taiUtc)
            .field("jd_tt", jdTt)
            .field("delta_t_s", dT)
            .field("jd_ut1", jdUt1)
            .field("gmst_hours", gmst)
            .field("gast_hours", gast)
            .field("zone_label", zone)
            .endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }

    const bool calendarShown = jdUtc >= 1721059.5;  // 0000-01-01 on: the ISO form has four digits
    std::printf("UTC           %s\n", calendarShown ? formatIsoTime(jdUtc).c_str() : "-");
    std::printf("JD (UTC)      %14.6lf\n", jdUtc);
    std::printf("TAI-UTC       %.0lf s\n", taiUtc);
    std::printf("JD (TT)       %14.6lf\n", jdTt);
    std::printf("Delta T       %.4lf s\n", dT);
    std::printf("JD (UT1)      %14.6lf\n", jdUt1);
    std::printf("GMST          %12.9lf h  %s\n", gmst, formatClockTime(gmst).c_str());
    std::printf("GAST          %12.9lf h  %s\n", gast, formatClockTime(gast).c_str());
    std::printf("Zone          %s\n", zone.c_str());
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "time",
    "UTC, TAI-UTC, TT, Delta T, UT1 and sidereal time of an instant",
    "Usage: celestra-cli time [--utc YYYY-MM-DDThh:mm:ss | --jd JD] [--json]\n"
    "\n"
    "Prints the UTC Julian day, TAI-UTC, TT, Delta T, UT1, Greenwich mean and\n"
    "apparent sidereal time (hours and hh:mm:ss) and the local zone offset of\n"
    "an instant. Both --utc and --jd are UTC; without either, now.\n"
    "\n"
    "  --utc TIME   ISO 8601 UTC time, e.g. 2024-03-20T03:06:00 (a trailing Z and\n"
    "               fractional seconds are accepted)\n"
    "  --jd JD      UTC Julian day, 0 to 5373484.5\n"
    "  --json       one JSON object: jd_utc, tai_minus_utc_s, jd_tt, delta_t_s,\n"
    "               jd_ut1, gmst_hours, gast_hours, zone_label\n",
    runTime,
});

}  // namespace celestra::cli
