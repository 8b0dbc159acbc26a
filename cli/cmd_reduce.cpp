// celestra-cli reduce: one sextant sight reduced to a line of position, with
// every quantity of the Details table.
#include <algorithm>
#include <cstdio>

#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "navigation/sight_input.h"
#include "navigation/sight_reduction.h"

namespace celestra::cli {
namespace {

std::string dashed(const std::string& key) {
    std::string s = "--" + key;
    std::replace(s.begin(), s.end(), '_', '-');
    return s;
}

// Right-aligned in `width` characters (UTF-8 continuation bytes take no room).
std::string rightAligned(const std::string& text, size_t width) {
    const size_t shown = static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    return shown < width ? std::string(width - shown, ' ') + text : text;
}

int runReduce(const std::vector<std::string>& words) {
    const Args args(words,
                    {"body", "star", "limb", "utc", "hs", "ap-lat", "ap-lon", "ap-utc", "height", "temp", "pressure",
                     "index-min", "dip-short-nm", "course", "speed", "format", "ephemeris"},
                    {"no-corrections", "json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const long format = args.integer("format").value_or(1);
    if (format < 0 || format > 2) usageError("--format must be 0, 1 or 2");

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    const SightLookup lookup = [&](const std::string& key) -> std::optional<std::string> {
        if (key == "no_corrections")
            return args.flag("no-corrections") ? std::optional<std::string>("true") : std::nullopt;
        return args.value(dashed(key).substr(2));
    };
    std::string error;
    std::optional<SightInput> input = buildSight(lookup, context, dashed, error);
    if (!input) usageError(error);
    CMeasure& sight = input->sight;
    if (!observationInEphemerisRange(sight, context)) { failOutsideEphemeris(info, "the sight's instant"); }
    if (reduceSight(sight, context, input->hs) != Status::Ok) fail(Status::Failed, "the body's place is not available");
    std::string result;
    formatResult(sight, static_cast<int>(format), result);

    if (args.flag("json")) {
        const SightTimeAngles t = sightTimeAngles(sight);
        Json json;
        json.beginObject()
            .field("hs", sight.hs)
            .field("dip", sight.dip)
            .field("index_correction", sight.indexCorrection)
            .field("ha", sight.ha)
            .field("refraction", sight.refractionCorrection)
            .field("pa", sight.parallax)
            .field("sd", sight.semiDiameter)
            .field("ho", sight.ho)
            .field("hc", sight.hc)
            .field("zn", sight.azimuth)
            .field("intercept", sight.intercept)
            .field("intercept_nm", sight.intercept * 60.0)
            .field("ra_hours", sight.rightAscension)
            .field("dec", sight.declination)
            .field("distance_km", sight.distance)
            .field("gha_body", t.ghaBody)
            .field("gha_aries", t.ghaAries)
            .field("gst_hours", t.gstHours)
            .field("sha", t.sha)
            .field("lha", t.lha)
            .field("delta_t_s", t.deltaTSeconds)
            .field("run_time_hours", sight.runTime)
            .field("dr_lat", sight.drLatitude)
            .field("dr_lon", sight.drLongitude)
            .field("result_text", result)
            .endObject();
        std::printf("%s\n", json.str().c_str());
        return kExitOk;
    }
    for (const DetailRow& row : fillDetails(sight, context, static_cast<int>(format)))
        std::printf("%-18s %-3s %s %s\n", row.measurement.c_str(), row.symbol.c_str(),
                    rightAligned(row.value, 18).c_str(), row.unit.c_str());
    std::printf("\n%s\n", result.c_str());
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "reduce", "reduce a sextant sight to a line of position (intercept and azimuth)",
    std::string("Usage: celestra-cli reduce (--body NAME | --star BS) [--limb lower|upper] --utc ISO --hs DEG\n"
                "                           --ap-lat DEG --ap-lon DEG [--ap-utc ISO] [--height M] [--temp C]\n"
                "                           [--pressure MB] [--index-min MIN] [--dip-short-nm NM]\n"
                "                           [--course DEG --speed KN] [--no-corrections] [--format 0|1|2]\n"
                "                           [--ephemeris PATH] [--json]\n\n"
                "Corrects the sextant altitude Hs for dip, index error, refraction, parallax and\n"
                "semi-diameter to the observed altitude Ho, computes the altitude Hc and azimuth Zn\n"
                "at the assumed position (AP) run on by course and speed to the sight's instant,\n"
                "and prints every quantity of the reduction and the intercept Ho - Hc, toward or\n"
                "away from the body. An instant outside the ephemeris gives exit code 3.\n\n"
                "  --body NAME        Mercury, Venus, Mars, Jupiter, Saturn, Uranus, Neptune, Pluto,\n"
                "                     Sun or Moon (any letter case)\n"
                "  --star BS          a catalogue star by its Bright Star number\n"
                "  --limb lower|upper the limb observed, Sun and Moon only (default lower)\n"
                "  --utc ISO          the sight's instant, UTC\n"
                "  --hs DEG           sextant altitude, degrees 0 to 90\n"
                "  --ap-lat, --ap-lon DEG  the assumed position, north and east positive\n"
                "  --ap-utc ISO       the AP's instant (default: the sight's)\n"
                "  --height M         eye height above the sea, 0 to 30000 (default 1)\n"
                "  --temp C           air temperature, -90 to 60 (default 10)\n"
                "  --pressure MB      air pressure, 860 to 1085 (default 1010)\n"
                "  --index-min MIN    index correction in minutes of arc, -60 to 60 (default 0)\n"
                "  --dip-short-nm NM  distance to the shore below the body: dip short of the\n"
                "                     horizon, 0.001 to 1000 (default: ordinary dip)\n"
                "  --course DEG, --speed KN  the vessel's run from the AP time (default 0)\n"
                "  --no-corrections   the reading is already corrected for dip, index and refraction\n"
                "  --format 0|1|2     angles as decimal degrees, degrees and minutes (default), or\n"
                "                     degrees, minutes and seconds\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON document, angles in degrees: hs, dip, index_correction, ha,\n"
        "                     refraction, pa, sd, ho, hc, zn, intercept, intercept_nm, ra_hours,\n"
        "                     dec, distance_km, gha_body, gha_aries, gst_hours, sha, lha,\n"
        "                     delta_t_s, run_time_hours, dr_lat, dr_lon, result_text\n",
    runReduce});

}  // namespace celestra::cli
