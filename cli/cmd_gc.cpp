// celestra-cli gc and destination: the great-circle calculator (distance and
// initial course between two places) and the range-and-bearing calculator
// (the place reached on a course after a distance).
#include <cmath>
#include <cstdio>
#include <string>

#include "calculators/geodesy.h"
#include "calculators/navigation_calculators.h"
#include "cli/cli.h"
#include "core/angles.h"

namespace celestra::cli {
namespace {

struct LatLon {
    double lat, lon;
};

LatLon parseLatLon(const Args& args, const std::string& name) {
    const std::string text = args.require(name);
    const size_t comma = text.find(',');
    const auto lat = comma == std::string::npos ? std::nullopt : parseNumber(text.substr(0, comma));
    const auto lon = comma == std::string::npos ? std::nullopt : parseNumber(text.substr(comma + 1));
    if (!lat || !lon) usageError("--" + name + " needs LAT,LON in decimal degrees, not \"" + text + "\"");
    if (*lat < -90.0 || *lat > 90.0) usageError("--" + name + " latitude must lie between -90 and 90");
    if (*lon < -180.0 || *lon > 180.0) usageError("--" + name + " longitude must lie between -180 and 180");
    return {*lat, *lon};
}

int parseUnits(const Args& args) {
    const std::string u = args.value("units").value_or("nm");
    if (u == "nm") return kNauticalMiles;
    if (u == "mi") return kStatuteMiles;
    if (u == "km") return kKilometres;
    usageError("--units must be nm, mi or km, not \"" + u + "\"");
}

const char* unitWord(int unit) {
    static const char* const words[] = {"nautical miles", "statute miles", "kilometres"};
    return words[unit];
}

int runGc(const std::vector<std::string>& words) {
    const Args args(words, {"from", "to", "units"}, {"ellipsoidal", "json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const LatLon a = parseLatLon(args, "from"), b = parseLatLon(args, "to");
    const int unit = parseUnits(args);
    const bool ellipsoidal = args.flag("ellipsoidal");

    double nm = greatCircleDistanceSpherical(a.lat, a.lon, b.lat, b.lon);
    bool defined = true;
    if (ellipsoidal) {
        const EllipsoidalDistance e = greatCircleDistanceEllipsoidal(a.lat, a.lon, b.lat, b.lon);
        nm = e.nauticalMiles;
        defined = e.defined;
    }
    const double distance = distanceFromNauticalMiles(nm, unit);
    const double course = initialCourse(a.lat, a.lon, b.lat, b.lon);
    const char* note =
        "the ellipsoidal distance is undefined for coincident or antipodal places; "
        "the spherical distance is given";

    if (args.flag("json")) {
        Json j;
        j.beginObject().field("distance", distance).field("course_deg", course);
        j.field("units", args.value("units").value_or("nm"));
        j.field("model", ellipsoidal && defined ? "ellipsoid" : "sphere");
        if (!defined) j.field("note", note);
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("Distance        %.2lf %s (%s)\n", distance, unitWord(unit),
                ellipsoidal && defined ? "GRS 80 ellipsoid" : "sphere, 1' = 1 NM");
    if (!defined) std::printf("Note            %s\n", note);
    std::printf("Initial course  %.2lf\u00b0T\n", course);
    return kExitOk;
}

int runDestination(const std::vector<std::string>& words) {
    const Args args(words, {"from", "course", "distance", "units"}, {"rhumb", "json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const LatLon a = parseLatLon(args, "from");
    const auto course = args.number("course");
    const auto distance = args.number("distance");
    if (!course || !distance) usageError("--course and --distance are required");
    if (*distance < kDistanceRange.min || *distance > kDistanceRange.max)
        usageError("--distance must lie between 0.00001 and 999999");
    const int unit = parseUnits(args);
    const bool rhumb = args.flag("rhumb");
    const double arc = nauticalMilesFromDistance(*distance, unit) / 60.0;
    if (rhumb && rhumbLineReachesPole(a.lat, *course, arc)) usageError("a rhumb line cannot reach or pass a pole");
    if (rhumb && rhumbLineUndefinedAtPole(a.lat, *course))
        usageError("from a pole a rhumb line runs along a meridian: course 0 from the south pole, 180 from the north");
    const GeoPoint p = destinationPoint(a.lat, a.lon, *course, arc, !rhumb);

    if (args.flag("json")) {
        Json j;
        j.beginObject().field("lat_deg", p.latitude).field("lon_deg", p.longitude).endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("Latitude   %s  %s\n", formatAngle(p.latitude, 0, AngleSignStyle::Latitude).c_str(),
                formatAngle(p.latitude, 2, AngleSignStyle::Latitude).c_str());
    std::printf("Longitude  %s  %s\n", formatAngle(p.longitude, 0, AngleSignStyle::Longitude).c_str(),
                formatAngle(p.longitude, 2, AngleSignStyle::Longitude).c_str());
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "gc",
    "great-circle distance and initial course between two places",
    "Usage: celestra-cli gc --from LAT,LON --to LAT,LON [--ellipsoidal] [--units nm|mi|km] [--json]\n"
    "\n"
    "Distance and initial course (degrees true) from the first place to the\n"
    "second. Latitudes north and longitudes east positive, decimal degrees.\n"
    "\n"
    "  --ellipsoidal  distance on the GRS 80 ellipsoid instead of the sphere\n"
    "                (1' of arc = 1 nautical mile). The ellipsoidal formula has no\n"
    "                answer for coincident or antipodal places: the spherical\n"
    "                distance is then given with a note\n"
    "  --units U      nm (default), mi (statute miles) or km\n"
    "  --json         one JSON object: distance, course_deg, units, model\n"
    "                 (\"ellipsoid\" or \"sphere\"), and note when the ellipsoid failed\n",
    runGc,
});

CELESTRA_CLI_COMMAND(Command{
    "destination",
    "the place reached on a course after a distance (great circle or rhumb line)",
    "Usage: celestra-cli destination --from LAT,LON --course DEG --distance D [--units nm|mi|km]\n"
    "                                [--rhumb] [--json]\n"
    "\n"
    "Sails from LAT,LON (decimal degrees, north and east positive) on the\n"
    "initial course DEG (degrees true) for D along a great circle, or with\n"
    "--rhumb along a rhumb line (constant course; it may not reach a pole).\n"
    "\n"
    "  --distance D   0.00001 to 999999 in the chosen unit\n"
    "  --units U      nm (default), mi (statute miles) or km\n"
    "  --json         one JSON object: lat_deg, lon_deg (longitude in (-180, 180])\n",
    runDestination,
});

}  // namespace celestra::cli
