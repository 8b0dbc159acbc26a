// celestra-cli riseset and moonphases: rise, transit and set (or twilight)
// of a body or a star for one date and place, and the principal phases of
// the Moon in a year or a month.
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "catalogs/star_catalog.h"
#include "catalogs/star_place.h"
#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "cli/zone_option.h"
#include "core/iso_time.h"
#include "core/number_text.h"
#include "solarsystem/moon_phases.h"
#include "solarsystem/rise_set.h"

namespace celestra::cli {
namespace {

// Local hours wrapped into [0, 24).
double wrapHours(double h) {
    h = std::fmod(h, 24.0);
    if (h < 0.0) h += 24.0;
    return h >= 24.0 ? 0.0 : h;
}

int runRiseSet(const std::vector<std::string>& words) {
    const Args args(words, {"body", "star", "date", "lat", "lon", "zone", "kind", "ephemeris"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    if (args.has("body") == args.has("star")) usageError("give either --body NAME or --star BS");
    const std::string dateText = args.require("date");
    const std::optional<JulianDay> jd0 = parseIsoTime(dateText + "T00:00:00");
    if (!jd0 || dateText.size() != 10) usageError("--date must be YYYY-MM-DD, not \"" + dateText + "\"");
    if (!args.has("lat") || !args.has("lon")) usageError("--lat and --lon are required");
    ObserverSite site;
    site.latitude = args.number("lat", 0.0, -90.0, 90.0);
    site.longitude = args.number("lon", 0.0, -180.0, 180.0);
    // A named zone's offset at noon UTC of the date: the one in force over the day's events.
    const ZoneOption zone(args, "zone");
    const double zoneHours = zone.offsetDaysAt(*jd0 + 0.5) * 24.0;
    const std::string kindText = args.value("kind").value_or("riseset");
    RiseSetKind kind;
    if (kindText == "riseset") kind = RiseSetKind::RiseSet;
    else if (kindText == "civil") kind = RiseSetKind::CivilTwilight;
    else if (kindText == "nautical") kind = RiseSetKind::NauticalTwilight;
    else usageError("--kind must be riseset, civil or nautical, not \"" + kindText + "\"");

    RiseSetTarget target;
    std::string name;
    if (args.has("star")) {
        const std::string text = args.require("star");
        const StarEntry* star = nullptr;
        if (const auto n = parseNumber(text); n && *n == std::floor(*n) && *n >= 1 && *n <= 9110)
            star = starByNumber(static_cast<int>(*n));
        else star = findStarByName(text);
        if (!star || isPlaceholderStar(star->number))
            usageError("--star needs a Bright Star number 1..9110 that denotes a star, or a star's name");
        target = riseSetStar(starPlaceInput(*star));
        name = "BS " + std::to_string(star->number);
    }

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    if (args.has("body")) {
        const std::string bodyName = args.require("body");
        int body = 0;
        for (int number = kMercury; number <= kMoon; ++number)
            if (number != kEarth && ::strcasecmp(bodyName.c_str(), context.bodies[number - 1].name.c_str()) == 0)
                body = number;
        if (body == 0) usageError("unknown body \"" + bodyName + "\" (Mercury .. Pluto, Sun, Moon)");
        target = riseSetBody(body);
        name = context.bodies[body - 1].name;
    }
    if (kind != RiseSetKind::RiseSet && (target.isStar || target.body != kSun))
        usageError("twilight (--kind civil or nautical) is reckoned from the Sun: give --body Sun");

    const RiseTransitSet r = riseTransitSet(&context, target, *jd0, deltaT(*jd0), site, zoneHours / 24.0, kind);
    if (r.status != Status::Ok) failOutsideEphemeris(info, "the day " + dateText + " and 6 h either side");

    if (args.flag("json")) {
        Json j;
        j.beginObject()
            .field("rise_text", r.riseText)
            .field("transit_text", r.transitText)
            .field("set_text", r.setText);
        auto hours = [&](const char* key, bool has, double h) {
            if (has) j.field(key, wrapHours(h));
            else j.nullField(key);
        };
        hours("rise_hours", r.hasRise, r.riseHours);
        hours("transit_hours", r.hasTransit, r.transitHours);
        hours("set_hours", r.hasSet, r.setHours);
        j.field("more_events", r.moreEvents());
        j.field("zone_offset_hours", zoneHours);
        if (!zone.zoneName().empty()) j.field("zone", zone.zoneName());
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    const bool twilight = kind != RiseSetKind::RiseSet;
    const std::string zoneText =
        zone.zoneName().empty() ? zone.label() : zone.zoneName() + " (" + formatC("%+g h", zoneHours) + ")";
    std::printf("%s, %s, zone %s\n",
                twilight ? (kind == RiseSetKind::CivilTwilight ? "Civil twilight" : "Nautical twilight") : name.c_str(),
                dateText.c_str(), zoneText.c_str());
    // When the day holds more than one (the Moon near the poles), the first is shown.
    auto line = [](const char* label, const std::string& text, int count) {
        const std::string note = count > 1 ? "  (first of " + std::to_string(count) + " this day)" : "";
        std::printf("%-8s %s%s\n", label, text.c_str(), note.c_str());
    };
    line(twilight ? "Begins" : "Rise", r.riseText, r.riseCount);
    line("Transit", r.transitText, r.transitCount);
    line(twilight ? "Ends" : "Set", r.setText, r.setCount);
    return kExitOk;
}

int runMoonPhases(const std::vector<std::string>& words) {
    const Args args(words, {"year", "month", "zone", "ephemeris"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const auto year = args.integer("year");
    if (!year) usageError("--year is required");
    if (*year < 1 || *year > 9998) usageError("--year must lie between 1 and 9998");
    const auto month = args.integer("month");
    if (month && (*month < 1 || *month > 12)) usageError("--month must lie between 1 and 12");
    const ZoneOption zone(args, "zone");
    const bool local = args.has("zone");
    const int y = static_cast<int>(*year);
    JulianDay begin, end;
    if (month) {
        const int m = static_cast<int>(*month);
        begin = julianDayFromCalendar(y, m, 1, 0.0);
        end = m == 12 ? julianDayFromCalendar(y + 1, 1, 1, 0.0) : julianDayFromCalendar(y, m + 1, 1, 0.0);
    } else {
        begin = julianDayFromCalendar(y, 1, 1, 0.0);
        end = julianDayFromCalendar(y + 1, 1, 1, 0.0);
    }

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    std::vector<LunarPhaseEvent> phases;
    if (findLunarPhases(context, begin, end, phases) != Status::Ok)
        failOutsideEphemeris(info, month ? "that month" : "that year");

    if (args.flag("json")) {
        Json j;
        j.beginObject().key("phases").beginArray();
        for (const auto& p : phases) {
            j.beginObject().field("kind", lunarPhaseKey(p.phase)).field("utc", formatPhaseMinute(p.jdUtc));
            if (local) j.field("local", formatLocalMinute(p.jdUtc, zone.offsetDaysAt(p.jdUtc)));
            j.endObject();
        }
        j.endArray().endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    for (const auto& p : phases) {
        if (local)
            std::printf("%-14s %s\n", lunarPhaseName(p.phase),
                        formatLocalMinute(p.jdUtc, zone.offsetDaysAt(p.jdUtc)).c_str());
        else std::printf("%-14s %s UTC\n", lunarPhaseName(p.phase), formatPhaseMinute(p.jdUtc).c_str());
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "riseset",
    "rise, transit and set (or twilight) times of a body or a star",
    "Usage: celestra-cli riseset (--body NAME | --star BS) --date YYYY-MM-DD --lat DEG --lon DEG\n"
    "                            [--zone HOURS|AREA/CITY] [--kind riseset|civil|nautical]\n"
    "                            [--ephemeris PATH] [--json]\n"
    "\n"
    "Rise, upper transit and set of the Sun, the Moon, a planet or a catalogue\n"
    "star (Bright Star number or proper name) on the UTC day of --date, shown\n"
    "in local time: UTC + --zone hours (default 0), or with a time zone of the\n"
    "tz database (--zone Europe/London) its offset at noon UTC of that date,\n"
    "daylight saving included. --kind civil and nautical\n"
    "give the beginning and end of twilight (the Sun 6° and 12° below the\n"
    "horizon) and need --body Sun. Every time given lies within that UTC day;\n"
    "a body above the horizon all day shows \"circ-polar\" and \"--no set--\"\n"
    "(\"--bright--\" when twilight lasts all night), one below it all day\n"
    "\"--no rise--\" twice, and a single missing event \"--no rise--\",\n"
    "\"--no set--\" or \"--no transit--\". When the day holds two rises or\n"
    "sets (the Moon near the poles) the first is shown and marked.\n"
    "\n"
    "  --lat, --lon DEG   the place, decimal degrees, north and east positive\n" +
        std::string() + kEphemerisOptionUsage +
        "  --json             one JSON object: rise_text, transit_text, set_text and\n"
        "                     rise_hours, transit_hours, set_hours (local hours in [0, 24),\n"
        "                     null where there is no event), more_events: true\n"
        "                     when the day holds more than one rise, transit or set\n"
        "                     (the first is given), and zone_offset_hours (and zone,\n"
        "                     for a named zone)\n",
    runRiseSet,
});

CELESTRA_CLI_COMMAND(Command{
    "moonphases",
    "instants of new Moon, first quarter, full Moon and last quarter",
    "Usage: celestra-cli moonphases --year Y [--month M] [--zone HOURS|AREA/CITY]\n"
    "                               [--ephemeris PATH] [--json]\n"
    "\n"
    "The principal phases of the Moon in a year, or in one UTC month of it: the\n"
    "instants when the Moon's apparent geocentric ecliptic longitude minus the\n"
    "Sun's is 0°, 90°, 180° and 270°, in UTC rounded to the minute. With --zone,\n"
    "in local time instead, YYYY-MM-DDThh:mm+hh:mm: UTC + the hours given, or\n"
    "the offset of a tz database zone (Europe/London) at each instant.\n"
    "\n" +
        std::string(kEphemerisOptionUsage) +
        "  --json             one JSON object: phases, a list of objects with kind (\"new\",\n"
        "                     \"first_quarter\", \"full\", \"last_quarter\") and utc\n"
        "                     (YYYY-MM-DDThh:mm), and with --zone local\n"
        "                     (YYYY-MM-DDThh:mm+hh:mm)\n",
    runMoonPhases,
});

}  // namespace celestra::cli
