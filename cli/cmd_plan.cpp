// celestra-cli plan: which stars, planets and Moon to shoot at civil
// twilight (or at an instant) from a place, and the best set of them.
#include <cstdio>
#include <string>

#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "core/iso_time.h"
#include "navigation/sight_planner.h"

namespace celestra::cli {
namespace {

int runPlan(const std::vector<std::string>& words) {
    const Args args(words, {"lat", "lon", "date", "twilight", "utc", "min-alt", "max-alt", "count", "ephemeris"},
                    {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    if (!args.has("lat") || !args.has("lon")) usageError("--lat and --lon are required");
    PlanRequest request;
    request.latitude = args.number("lat", 0.0, -90.0, 90.0);
    request.longitude = args.number("lon", 0.0, -180.0, 180.0);
    if (args.has("twilight") && args.has("utc")) usageError("give --twilight or --utc, not both");
    if (const std::optional<std::string> utc = args.value("utc")) {
        const std::optional<JulianDay> jd = parseIsoTime(*utc);
        if (!jd) usageError("--utc must be YYYY-MM-DDThh:mm:ss, not \"" + *utc + "\"");
        if (args.has("date")) usageError("--utc gives the date: leave out --date");
        request.atInstant = true;
        request.utc = *jd;
    } else {
        const std::string date = args.require("date");
        const std::optional<JulianDay> jd0 = parseIsoTime(date + "T00:00:00");
        if (!jd0 || date.size() != 10) usageError("--date must be YYYY-MM-DD, not \"" + date + "\"");
        const CalendarDate c = calendarFromJulianDay(*jd0);
        request.year = c.year;
        request.month = c.month;
        request.day = c.day;
        const std::string twilight = args.value("twilight").value_or("evening");
        if (twilight != "morning" && twilight != "evening") usageError("--twilight must be morning or evening");
        request.twilight = twilight == "morning" ? PlanTwilight::Morning : PlanTwilight::Evening;
    }
    request.minAltitude = args.number("min-alt", 15.0, 0.0, 90.0);
    request.maxAltitude = args.number("max-alt", 70.0, 0.0, 90.0);
    if (request.maxAltitude < request.minAltitude) usageError("--max-alt must not lie below --min-alt");
    const long count = args.integer("count").value_or(3);
    if (count < kPlanMinCount || count > kPlanMaxCount) usageError("--count must be 3, 4 or 5");
    request.count = static_cast<int>(count);

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    const SightPlan plan = planSights(context, request);
    if (plan.status == Status::OutsideEphemeris) failOutsideEphemeris(info, "the instant planned for");
    if (plan.status == Status::Failed) fail(Status::Failed, plan.note);

    if (args.flag("json")) {
        Json j;
        j.beginObject().field("utc", formatIsoTime(plan.utc)).key("bodies").beginArray();
        for (const PlanBody& b : plan.bodies) {
            j.beginObject().field("name", b.name);
            if (b.star) j.field("bs", b.star);
            else j.field("body", b.name);
            j.field("hc", b.hc).field("zn", b.zn).field("magnitude", b.magnitude).endObject();
        }
        j.endArray().key("best").beginArray();
        for (size_t i : plan.best) j.value(plan.bodies[i].name);
        j.endArray();
        if (!plan.note.empty()) j.field("note", plan.note);
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("%s UTC at %.4f %.4f\n\n", formatIsoTime(plan.utc).c_str(), request.latitude, request.longitude);
    std::printf("  %-16s %6s %6s %5s\n", "Body", "Hc", "Zn", "Mag");
    for (size_t i = 0; i < plan.bodies.size(); ++i) {
        const PlanBody& b = plan.bodies[i];
        bool chosen = false;
        for (size_t k : plan.best) chosen = chosen || k == i;
        std::printf("%c %-16s %6.1f %6.1f %5.1f\n", chosen ? '*' : ' ', b.name.c_str(), b.hc, b.zn, b.magnitude);
    }
    std::printf("\nBest set (*):");
    for (size_t i : plan.best) std::printf(" %s", plan.bodies[i].name.c_str());
    std::printf("\n");
    if (!plan.note.empty()) std::printf("%s\n", plan.note.c_str());
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "plan", "which stars and planets to shoot at twilight, and the best set",
    std::string("Usage: celestra-cli plan --lat DEG --lon DEG --date YYYY-MM-DD [--twilight morning|evening]\n"
                "                         [--min-alt 15] [--max-alt 70] [--count 3|4|5] [--ephemeris PATH] [--json]\n"
                "       celestra-cli plan --lat DEG --lon DEG --utc YYYY-MM-DDThh:mm:ss [...]\n\n"
                "The instant of civil twilight (the Sun's centre 6 degrees below the horizon) on\n"
                "the date at the place (its local mean solar day; evening by default), or the\n"
                "instant given with --utc; every navigational star, Venus, Mars, Jupiter, Saturn\n"
                "and the Moon between the altitude limits with its computed altitude Hc, true\n"
                "azimuth Zn and magnitude; and the best set of --count of them (3 by default):\n"
                "the one whose bodies are spread most evenly in azimuth, then the brightest,\n"
                "then the nearest 45 degrees high. With fewer bodies than --count the set holds\n"
                "them all and a note says so. No civil twilight that day: exit code 1.\n\n"
                "  --lat, --lon DEG   the place, decimal degrees, north and east positive\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON object: utc, bodies (name, bs or body, hc, zn,\n"
        "                     magnitude; by azimuth), best (names), and note when the\n"
        "                     set is short\n",
    runPlan});

}  // namespace celestra::cli
