// celestra-cli horizon, dms and jd: the horizon-distance calculator and the
// angle and Julian-day converters.
#include <cmath>
#include <cstdio>
#include <string>

#include "calculators/converters.h"
#include "calculators/horizon_distance.h"
#include "cli/cli.h"
#include "core/iso_time.h"

namespace celestra::cli {
namespace {

int runHorizon(const std::vector<std::string>& words) {
    const Args args(words, {"height"}, {"feet", "json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const auto height = args.number("height");
    if (!height) usageError("--height is required");
    if (*height < kMinHorizonHeight || *height > kMaxHorizonHeight) usageError("--height must lie between 0 and 99999");
    const HorizonDistance d = horizonDistance(*height, args.flag("feet") ? HeightUnit::Feet : HeightUnit::Meters);
    if (args.flag("json")) {
        Json j;
        j.beginObject().field("visible_nm", d.visibleNm).field("radar_nm", d.radarNm).endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("Visible light horizon:  %s\n", d.visibleText.c_str());
    std::printf("Radar horizon:          %s\n", d.radarText.c_str());
    return kExitOk;
}

int runDms(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    const auto& pos = args.positional();
    if (pos.empty() || pos.size() > 3) usageError("give VALUE, or D M [S]");
    std::vector<double> v;
    for (const std::string& w : pos) {
        const auto n = parseNumber(w);
        if (!n) usageError("\"" + w + "\" is not a number");
        v.push_back(*n);
    }
    double decimal = v[0];
    if (v.size() > 1) {
        if (v[0] != std::trunc(v[0])) usageError("with minutes given, the degrees must be whole");
        for (size_t i = 1; i < v.size(); ++i)
            if (v[i] < 0.0 || v[i] >= 60.0) usageError("minutes and seconds must lie in [0, 60)");
        if (v.size() == 3 && v[1] != std::trunc(v[1])) usageError("with seconds given, the minutes must be whole");
        // "-0 30" is -0.5: the sign is read from the degree field's text.
        decimal = dmsToDecimal(pos[0].find('-') != std::string::npos, v[0], v[1], v.size() == 3 ? v[2] : 0.0, true);
    }
    if (!(std::fabs(decimal) <= kDmsMaxMagnitude)) usageError("the angle must lie between -999999 and 999999");
    const DmsValue d = decimalToDms(decimal, true);
    const double seconds = d.seconds;
    if (args.flag("json")) {
        Json j;
        j.beginObject()
            .field("decimal_deg", decimal)
            .field("negative", d.negative)
            .field("deg", d.degrees)
            .field("min", d.minutes)
            .field("sec", seconds)
            .field("text", d.text)
            .endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("Decimal  %s\nDMS      %s\n", formatPlainDecimal(decimal).c_str(), d.text.c_str());
    return kExitOk;
}

// Years 0000-9999, where the ISO form has four digits: 0000-01-01T00:00 and
// 10000-01-01T00:00.
constexpr double kFirstJd = 1721059.5;
constexpr double kLastJd = 5373484.5;

int runJd(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    if (args.positional().size() != 1) usageError("give one YYYY-MM-DDThh:mm:ss or one Julian day");
    const std::string& text = args.positional().front();
    const bool json = args.flag("json");
    if (text.find('-', 1) != std::string::npos && text.find('T') != std::string::npos) {
        CivilDateTime t;
        char tail = 0;
        if (!parseIsoTime(text) ||
            std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d%c", &t.year, &t.month, &t.day, &t.hour, &t.minute, &t.second,
                        &tail) < 6 ||
            (tail != 0 && tail != 'Z'))
            usageError("\"" + text + "\" is not a time YYYY-MM-DDThh:mm:ss");
        if (t.second > 59) usageError("a leap second has no Julian day of its own");
        const double jd = julianDayFromCivil(t);
        if (json) {
            Json j;
            j.beginObject().field("jd", jd).endObject();
            std::printf("%s\n", j.str().c_str());
        } else {
            std::printf("%s\n", formatPlainDecimal(jd).c_str());
        }
        return kExitOk;
    }
    const auto jd = parseNumber(text);
    if (!jd) usageError("\"" + text + "\" is neither a time YYYY-MM-DDThh:mm:ss nor a Julian day");
    // Checked on the date as rounded to the second: JD 5373484.4999999 is
    // 10000-01-01T00:00:00.
    const auto outside = [] {
        usageError("the Julian day must give a date in the years 0000-9999 (JD 1721059.5 to 5373484.499994)");
    };
    if (!(*jd >= kFirstJd - 1.0 && *jd <= kLastJd)) outside();
    const CivilDateTime civil = civilFromJulianDay(*jd);
    if (civil.year < 0 || civil.year > 9999) outside();
    const std::string utc = formatCivilIso(civil);
    if (json) {
        Json j;
        j.beginObject().field("utc", utc).endObject();
        std::printf("%s\n", j.str().c_str());
    } else {
        std::printf("%s\n", utc.c_str());
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "horizon",
    "distance to the visible and the radar horizon for a height of eye",
    "Usage: celestra-cli horizon --height H [--feet] [--json]\n"
    "\n"
    "Distances in nautical miles to the visible light horizon (2.07 sqrt(h),\n"
    "h in metres) and the radar horizon (2.21 sqrt(h)); with --feet the height\n"
    "is in feet (1.17 and 1.22). H lies between 0 and 99999.\n"
    "\n"
    "  --json   one JSON object: visible_nm, radar_nm\n",
    runHorizon,
});

CELESTRA_CLI_COMMAND(Command{
    "dms",
    "decimal degrees (or hours) to degrees, minutes, seconds and back",
    "Usage: celestra-cli dms VALUE [--json]\n"
    "       celestra-cli dms D M [S] [--json]\n"
    "\n"
    "One number is decimal degrees (or hours) and is split into degrees,\n"
    "minutes and seconds; two or three are whole degrees, minutes and seconds\n"
    "and are joined into the decimal value. A minus on the degrees makes the\n"
    "whole angle negative, also for \"-0 30\" (-0.5).\n"
    "\n"
    "  --json   one JSON object: decimal_deg, negative, deg, min, sec (deg, min\n"
    "           and sec are magnitudes; negative carries the sign), text\n",
    runDms,
});

CELESTRA_CLI_COMMAND(Command{
    "jd",
    "calendar date and time to Julian day and back",
    "Usage: celestra-cli jd YYYY-MM-DDThh:mm:ss [--json]\n"
    "       celestra-cli jd JD [--json]\n"
    "\n"
    "A date and time (years 0000-9999, Gregorian) gives its Julian day; a\n"
    "Julian day gives the date and time, rounded to the second with the\n"
    "carry into the next day, month and year.\n"
    "\n"
    "  --json   one JSON object: jd, or utc\n",
    runJd,
});

}  // namespace celestra::cli
