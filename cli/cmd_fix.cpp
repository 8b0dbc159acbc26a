// celestra-cli fix: sights read as JSON lines, reduced, and the fix estimated
// from their lines of position.
#include <unistd.h>

#include <cstdio>

#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "core/regular_file.h"
#include "navigation/fix_estimate.h"
#include "navigation/sight_log.h"

namespace celestra::cli {
namespace {

// Reads every non-blank line as one sight; a fault ends the subcommand.
void readSights(int fd, const PlaceContext& context, ObservationList& list) {
    LineReader in(fd, kSightLineMaxBytes);
    const SightFileResult result = readSightLines(in, context, list);
    if (result.status != Status::Ok) fail(result.status, result.message);
}

int runFix(const std::vector<std::string>& words) {
    const Args args(words, {"format", "ephemeris"}, {"json"});
    if (args.positional().size() != 1) usageError("give one FILE of sights (\"-\" for standard input)");
    const long format = args.integer("format").value_or(1);
    if (format < 0 || format > 2) usageError("--format must be 0, 1 or 2");
    const std::string path = args.positional().front();

    openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    ObservationList list;
    if (path == "-") {
        readSights(STDIN_FILENO, context, list);
    } else {
        InputFileError error;
        const int fd = openRegularFile(path, kSightFileMaxBytes, error);
        if (fd < 0) fail(statusOf(error), inputFileMessage("sight file", path, error));
        readSights(fd, context, list);
        ::close(fd);
    }

    const std::string text = lopsPageText(list, context, -1, static_cast<int>(format));
    const FixResults& fix = list.fix;
    // The MPP at the latest sight's instant: where the vessel is now.
    const CMeasure* latest = nullptr;
    for (size_t i = 0; i < list.Count(); ++i)
        if (!latest || list.At(i).observationTime > latest->observationTime) latest = &list.At(i);
    const GeoPoint mpp = fix.formed ? mostProbablePosition(*latest) : GeoPoint{};

    if (args.flag("json")) {
        Json json;
        json.beginObject().field("sights", fix.sightsUsed);
        if (fix.formed) {
            json.field("fix_lat_deg", fix.latitude).field("fix_lon_deg", fix.longitude);
            json.field("mpp_lat_deg", mpp.latitude).field("mpp_lon_deg", mpp.longitude);
        } else {
            json.nullField("fix_lat_deg").nullField("fix_lon_deg").nullField("mpp_lat_deg").nullField("mpp_lon_deg");
        }
        if (fix.hasStandardError) json.field("std_error_nm", fix.standardError);
        else json.nullField("std_error_nm");
        if (fix.hasEllipse) {
            json.field("ellipse_major_nm", fix.semiMajorAxis)
                .field("ellipse_minor_nm", fix.semiMinorAxis)
                .field("ellipse_orientation_deg", fix.ellipseOrientation);
        } else {
            json.nullField("ellipse_major_nm").nullField("ellipse_minor_nm").nullField("ellipse_orientation_deg");
        }
        json.field("iterations", fix.iterations).field("text", text);
        if (!fix.formed) json.field("reason", fix.reason);
        json.endObject();
        std::printf("%s\n", json.str().c_str());
    } else if (fix.formed) {
        std::printf("%s\n", text.c_str());
        std::printf("fix:        %+.6f %+.6f deg (%d sights, %d passes)\n", fix.latitude, fix.longitude, fix.sightsUsed,
                    fix.iterations);
        std::printf("MPP:        %+.6f %+.6f deg at the latest sight\n", mpp.latitude, mpp.longitude);
        if (fix.hasEllipse)
            std::printf("ellipse:    %.2f x %.2f NMi, orientation %.1f deg\n", fix.semiMajorAxis, fix.semiMinorAxis,
                        fix.ellipseOrientation);
    } else {
        std::printf("no fix: %s\n", fix.reason.c_str());
    }
    // No fix is a failure: its reason goes where failures go, too.
    if (!fix.formed) std::fprintf(stderr, "celestra-cli fix: no fix: %s\n", fix.reason.c_str());
    return exitCode(fix.formed ? Status::Ok : Status::Failed);
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "fix", "estimate the fix from sights given as JSON lines",
    std::string("Usage: celestra-cli fix FILE [--format 0|1|2] [--ephemeris PATH] [--json]\n\n"
                "Reads one sight per line of FILE (\"-\": standard input), each a flat JSON object\n"
                "whose keys are the reduce subcommand's options with underscores: body or star,\n"
                "limb, utc, hs, ap_lat, ap_lon, ap_utc, height, temp, pressure, index_min,\n"
                "dip_short_nm, course, speed, no_corrections (true/false); blank lines are skipped.\n"
                "Reduces every sight, estimates the fix at the AP time by least squares over the\n"
                "lines of position, and with three or more sights the standard error and the\n"
                "error ellipse. Prints the AP correction, the fix and the most probable position\n"
                "(MPP) at the latest sight's instant.\n"
                "A line that is not a valid sight: its line number, exit code 4. No fix (fewer\n"
                "than two sights, parallel lines of position): the reason, exit code 1.\n\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON document: sights, fix_lat_deg, fix_lon_deg, mpp_lat_deg,\n"
        "                     mpp_lon_deg, std_error_nm, ellipse_major_nm, ellipse_minor_nm,\n"
        "                     ellipse_orientation_deg, iterations, text; without a fix the\n"
        "                     positions are null and reason says why\n",
    runFix});

}  // namespace celestra::cli
