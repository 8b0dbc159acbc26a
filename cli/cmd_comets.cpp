// celestra-cli comets: the comet element files, what the parser accepts and
// rejects, and the place and magnitude of every comet the chart's
// magnitude selection keeps.
#include <cmath>
#include <cstdio>

#include "app/startup.h"
#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "core/horizon.h"
#include "core/iso_time.h"
#include "solarsystem/comets.h"

namespace celestra::cli {
namespace {

struct CometRow {
    const CometRecord* comet = nullptr;
    double ra = 0.0, dec = 0.0, altitude = 0.0, azimuth = 0.0, delta = 0.0, r = 0.0, magnitude = 0.0;
};

int runComets(const std::vector<std::string>& words) {
    const Args args(words, {"file", "utc", "lat", "lon", "limit", "ephemeris"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    JulianDay utc = currentJulianDayUtc();
    if (args.has("utc")) {
        const std::string text = args.require("utc");
        std::string problem;
        const std::optional<JulianDay> parsed = parseIsoTime(text, &problem);
        if (!parsed && !problem.empty()) usageError("--utc: " + problem);
        if (!parsed) usageError("--utc must be YYYY-MM-DDThh:mm:ss, not \"" + text + "\"");
        utc = *parsed;
    }
    if (args.has("lat") != args.has("lon")) usageError("give both --lat and --lon, or neither");
    const bool topocentric = args.has("lat");
    ObserverSite site;
    if (topocentric) {
        site.latitude = args.number("lat", 0.0, -90.0, 90.0);
        site.longitude = args.number("lon", 0.0, -180.0, 360.0);
    }
    const double limit = args.has("limit") ? args.number("limit", 0.0, -100.0, 100.0) : 10.0;

    CometList list;
    if (args.has("file")) {
        const std::string path = args.require("file");
        InputFileError error;
        list.counts = readCometFile(path, list.records, error);
        if (error.status != InputFileStatus::Ok) fail(statusOf(error), inputFileMessage("comet file", path, error));
    } else {
        loadComets(list, existingDataFolder(userDocumentsFolder()));
        for (const std::string& problem : list.problems)
            std::fprintf(stderr, "celestra-cli comets: %s\n", problem.c_str());
    }

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    const auto lock = lockComets(list);
    selectVisibleComets(list, context, utc, static_cast<int32_t>(std::lround(limit * 1000.0)));

    const JulianDay jdTt = ttFromUtc(utc);
    std::vector<CometRow> rows;
    for (const int index : list.selection) {
        CometRow row;
        row.comet = &list.records[static_cast<std::size_t>(index)];
        double distance = 0.0;
        Status status =
            cometApparentPlace(context, *row.comet, utc, topocentric ? &site : nullptr, row.ra, row.dec, distance);
        if (status == Status::Ok) status = cometDistances(context, *row.comet, jdTt, row.delta, row.r);
        if (status != Status::Ok) { failOutsideEphemeris(info, formatIsoTime(utc)); }
        row.magnitude = cometMagnitude(row.comet->absoluteMagnitude, row.comet->slope, row.delta, row.r);
        if (topocentric) {
            const HorizontalPlace h =
                equatorialToHorizontal(jdTt, deltaT(utc), 0.0, 0.0, site, row.ra, row.dec, kRefractionNone);
            row.altitude = 90.0 - h.zenithDistanceDeg;
            row.azimuth = h.azimuthDeg;
        }
        rows.push_back(row);
    }

    if (args.flag("json")) {
        Json json;
        json.beginObject().field("accepted", list.counts.accepted).field("rejected", list.counts.rejected);
        json.key("comets").beginArray();
        for (const CometRow& row : rows) {
            json.beginObject().field("name", row.comet->name).field("ra_hours", row.ra).field("dec_deg", row.dec);
            if (topocentric) json.field("alt_deg", row.altitude).field("az_deg", row.azimuth);
            json.field("delta_au", row.delta).field("r_au", row.r).field("magnitude", row.magnitude).endObject();
        }
        json.endArray().endObject();
        std::printf("%s\n", json.str().c_str());
        return kExitOk;
    }
    std::printf("accepted: %d\nrejected: %d\n", list.counts.accepted, list.counts.rejected);
    std::printf("UTC:      %s (%s places, true equator and equinox of date)\n", formatIsoTime(utc).c_str(),
                topocentric ? "topocentric" : "geocentric");
    std::printf("selected: %zu (H <= %.3f)\n", rows.size(), limit);
    for (const CometRow& row : rows) {
        std::printf("%-40s RA %10.6f h  Dec %+10.5f", row.comet->name.c_str(), row.ra, row.dec);
        if (topocentric) std::printf("  alt %+9.4f  az %8.4f", row.altitude, row.azimuth);
        std::printf("  delta %.6f au  r %.6f au  mag %5.1f\n", row.delta, row.r, row.magnitude);
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "comets", "comet element files: accepted and rejected lines, places and magnitudes of the selected comets",
    std::string("Usage: celestra-cli comets [--file PATH] [--utc YYYY-MM-DDThh:mm:ss] [--lat DEG --lon DEG]\n"
                "                           [--limit MAG] [--ephemeris PATH] [--json]\n\n"
                "Reads the comet element files of the data folder (Celestra.Comets.txt,\n"
                "Celestra.CometsTarnwell.txt, Celestra.CometsUser.txt under <documents>/Celestra),\n"
                "or one file, and prints how many lines were accepted and rejected. For each comet\n"
                "whose absolute magnitude H is at most the limit (as the chart selects them) it\n"
                "prints the apparent right ascension (hours) and declination (degrees) of the true\n"
                "equator and equinox of date, topocentric with --lat/--lon and geocentric\n"
                "otherwise, the airless altitude and azimuth (with a place only), the geometric\n"
                "distances from the Earth's centre (delta) and the Sun (r) in au at the instant,\n"
                "and the apparent magnitude H + 5 log10 delta + 2.5 K log10 r.\n"
                "An instant outside the ephemeris gives a message and exit code 3.\n\n"
                "  --file PATH        one element file instead of the data folder's three (a regular\n"
                "                     file of at most 16 MiB; anything else gives exit code 4)\n"
                "  --utc ISO          the instant, UTC (default: now)\n"
                "  --lat, --lon DEG   the site, north and east positive\n"
                "  --limit MAG        the magnitude limit of the selection (default 10.0)\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON document: accepted, rejected, comets (name, ra_hours,\n"
        "                     dec_deg, alt_deg, az_deg, delta_au, r_au, magnitude)\n",
    runComets});

}  // namespace celestra::cli
