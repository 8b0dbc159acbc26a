// celestra-cli place: apparent place, distance, altitude and azimuth,
// magnitude (and the Moon's phase) of the Sun, the Moon, a planet or a
// catalogue star.
#include <strings.h>

#include <cmath>
#include <cstdio>

#include "catalogs/star_place.h"
#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "core/horizon.h"
#include "core/iso_time.h"
#include "solarsystem/planets.h"

namespace celestra::cli {
namespace {

int runPlace(const std::vector<std::string>& words) {
    const Args args(words, {"body", "star", "utc", "lat", "lon", "height", "temp", "pressure", "ephemeris"},
                    {"geocentric", "refraction", "json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    if (args.has("body") == args.has("star")) usageError("give either --body NAME or --star BS");
    const StarEntry* star = nullptr;
    if (args.has("star")) {
        const std::optional<long> number = args.integer("star");
        star = number ? starByNumber(static_cast<int>(*number)) : nullptr;
        if (!star || isPlaceholderStar(star->number))
            usageError("--star needs a Bright Star number 1..9110 that denotes a star");
    }
    const std::string bodyName = star ? std::string() : args.require("body");
    const std::string utcText = args.require("utc");
    std::string problem;
    const std::optional<JulianDay> utc = parseIsoTime(utcText, &problem);
    if (!utc && !problem.empty()) usageError("--utc: " + problem);
    if (!utc) usageError("--utc must be YYYY-MM-DDThh:mm:ss, not \"" + utcText + "\"");
    if (!args.has("lat") || !args.has("lon")) usageError("--lat and --lon are required");
    ObserverSite site;
    site.latitude = args.number("lat", 0.0, -90.0, 90.0);
    site.longitude = args.number("lon", 0.0, -180.0, 360.0);
    site.height = args.number("height", 0.0, -500.0, 100000.0);
    site.temperature = args.number("temp", 10.0, -90.0, 60.0);
    site.pressure = args.number("pressure", 1010.0, 0.0, 1200.0);
    const bool geocentric = args.flag("geocentric");

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    int body = 0;
    for (int number = kMercury; number <= kMoon && !star; ++number)
        if (number != kEarth && ::strcasecmp(bodyName.c_str(), context.bodies[number - 1].name.c_str()) == 0)
            body = number;
    if (body == 0 && !star) usageError("unknown body \"" + bodyName + "\" (Mercury .. Pluto, Sun, Moon)");

    double ra = 0.0, dec = 0.0, distance = 0.0;
    Status status = Status::Ok;
    if (star) {
        const StarPlaceInput input = starPlaceInput(*star);
        status = geocentric ? geocentricStarUtc(context, *utc, input, ra, dec)
                            : topocentricStarUtc(context, *utc, input, site, ra, dec);
        // Without a measured parallax the distance is unknown (NaN prints as null / "unknown").
        distance = star->parallax > 0.0f ? kArcsecPerRad / star->parallax : std::nan("");
    } else {
        status = geocentric ? geocentricPlaceUtc(context, *utc, body, ra, dec, distance)
                            : topocentricPlaceUtc(context, *utc, body, site, ra, dec, distance);
    }
    if (status != Status::Ok) failOutsideEphemeris(info, utcText);

    HorizontalPlace horizon;
    if (!geocentric) {
        horizon = equatorialToHorizontal(ttFromUtc(*utc), deltaT(*utc), 0.0, 0.0, site, ra, dec,
                                         args.flag("refraction") ? kRefractionSite : kRefractionNone);
    }
    double magnitude = star ? starMagnitude(*star) : 0.0;
    if (!star && planetMagnitude(context, body, *utc, magnitude) != Status::Ok) failOutsideEphemeris(info, utcText);
    MoonPhase phase;
    if (body == kMoon && moonPhase(context, *utc, phase) != Status::Ok) failOutsideEphemeris(info, utcText);

    const double altitude = 90.0 - horizon.zenithDistanceDeg;
    if (args.flag("json")) {
        Json json;
        json.beginObject().field("ra_hours", ra).field("dec_deg", dec).field("distance_au", distance);
        if (!geocentric) json.field("alt_deg", altitude).field("az_deg", horizon.azimuthDeg);
        json.field("magnitude", magnitude);
        if (body == kMoon)
            json.field("illuminated_fraction", phase.illuminatedFraction).field("bright_limb_deg", phase.brightLimbDeg);
        json.endObject();
        std::printf("%s\n", json.str().c_str());
        return kExitOk;
    }
    const std::string name =
        star ? "BS " + std::to_string(star->number) + (*star->name ? std::string(" ") + star->name : "")
             : context.bodies[body - 1].name;
    std::printf("body:         %s (%s)\n", name.c_str(), geocentric ? "geocentric" : "topocentric");
    std::printf("UTC:          %s\n", formatIsoTime(*utc).c_str());
    std::printf("RA:           %.7f h (true equator and equinox of date)\n", ra);
    std::printf("Dec:          %+.6f deg\n", dec);
    if (std::isfinite(distance)) std::printf("distance:     %.9f au\n", distance);
    else std::printf("distance:     unknown (no parallax)\n");
    if (!geocentric) {
        std::printf("altitude:     %+.5f deg%s\n", altitude, args.flag("refraction") ? " (refracted)" : "");
        std::printf("azimuth:      %.5f deg\n", horizon.azimuthDeg);
    }
    std::printf("magnitude:    %.2f\n", magnitude);
    if (body == kMoon) {
        std::printf("illuminated:  %.4f\n", phase.illuminatedFraction);
        std::printf("bright limb:  %.2f deg\n", phase.brightLimbDeg);
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "place", "apparent place, altitude, azimuth and magnitude of the Sun, Moon, a planet or a star",
    std::string("Usage: celestra-cli place (--body NAME | --star BS) --utc YYYY-MM-DDThh:mm:ss --lat DEG --lon DEG\n"
                "                          [--height M] [--temp C] [--pressure MB] [--geocentric]\n"
                "                          [--refraction] [--ephemeris PATH] [--json]\n\n"
                "Apparent right ascension (hours) and declination (degrees) of the true equator\n"
                "and equinox of date, topocentric for the site unless --geocentric; the geometric\n"
                "distance (au); altitude and azimuth (from north through east) of the topocentric\n"
                "place, refracted with the given temperature and pressure only with --refraction\n"
                "(not shown with --geocentric); the visual magnitude; for the Moon the illuminated\n"
                "fraction and the position angle of the bright limb (from geocentric places).\n"
                "An instant outside the ephemeris gives a message and exit code 3.\n\n"
                "  --body NAME        Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto,\n"
                "                     Sun or Moon (any letter case)\n"
                "  --star BS          a catalogue star by its Bright Star number (its catalogue\n"
                "                     magnitude; distance from the parallax, null without one)\n"
                "  --utc ISO          the instant, UTC\n"
                "  --lat, --lon DEG   the site, north and east positive\n"
                "  --height M         height above sea level (default 0)\n"
                "  --temp C           air temperature (default 10)\n"
                "  --pressure MB      air pressure in millibars (default 1010)\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON document: ra_hours, dec_deg, distance_au, alt_deg, az_deg,\n"
        "                     magnitude, illuminated_fraction, bright_limb_deg\n",
    runPlace});

}  // namespace celestra::cli
