// celestra-cli fix: sights read as JSON lines, reduced, and the fix estimated
// from their lines of position.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "cli/json_lines.h"
#include "cli/sight_input.h"
#include "core/regular_file.h"
#include "navigation/fix_estimate.h"

namespace celestra::cli {
namespace {

const std::set<std::string> kSightKeys = {"body",   "star",     "limb",      "utc",          "hs",
                                          "ap_lat", "ap_lon",   "ap_utc",    "height",       "temp",
                                          "pressure", "index_min", "dip_short_nm", "course", "speed",
                                          "no_corrections"};

std::string lineError(size_t line, const std::string& message) {
    return "line " + std::to_string(line) + ": " + message;
}

// A sight line with every key is about 350 bytes; a longer one is no sight.
constexpr size_t kMaxSightLine = 4096;
// A regular file of sights; a million sights would still fit.
constexpr uint64_t kMaxSightFileBytes = uint64_t{64} << 20;

// Reads every non-blank line as one sight; a fault ends the subcommand.
void readSights(int fd, const PlaceContext& context, ObservationList& list) {
    LineReader in(fd, kMaxSightLine);
    std::string text;
    size_t lineNumber = 0;
    while (true) {
        const LineReader::Result got = in.next(text);
        if (got == LineReader::Result::End) break;
        if (got == LineReader::Result::Error)
            fail(kExitBadFile, "reading failed after line " + std::to_string(lineNumber) + ": " +
                                   std::strerror(in.lastErrno()));
        ++lineNumber;
        if (got == LineReader::Result::TooLong)
            fail(kExitBadFile, lineError(lineNumber, "longer than " + std::to_string(kMaxSightLine) + " bytes"));
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        std::string error;
        const std::optional<FlatObject> object = parseFlatObject(text, error);
        if (!object) fail(kExitBadFile, lineError(lineNumber, error));
        for (const auto& [key, value] : *object)
            if (!kSightKeys.count(key)) fail(kExitBadFile, lineError(lineNumber, "unknown key \"" + key + "\""));
        const SightLookup lookup = [&](const std::string& key) -> std::optional<std::string> {
            const auto it = object->find(key);
            if (it == object->end() || it->second.kind == JsonScalar::Kind::Null) return std::nullopt;
            return it->second.text;
        };
        std::optional<SightInput> input =
            buildSight(lookup, context, [](const std::string& key) { return key; }, error);
        if (!input) fail(kExitBadFile, lineError(lineNumber, error));
        if (!observationInEphemerisRange(input->sight, context))
            fail(kExitOutsideEphemeris, lineError(lineNumber, "the sight's instant is outside the ephemeris"));
        if (Reduce(input->sight, context, input->hs) != 0) {
            if (const std::string damage = processEphemeris().damage(); !damage.empty())
                fail(kExitBadFile, lineError(lineNumber, "ephemeris file " + processEphemeris().info().path + ": " + damage));
            fail(kExitFailure, lineError(lineNumber, "the body's place is not available"));
        }
        input->sight.active = 1;
        list.Append(input->sight);
    }
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
        const int fd = openRegularFile(path, kMaxSightFileBytes, error);
        if (fd < 0) fail(kExitBadFile, inputFileMessage("sight file", path, error));
        readSights(fd, context, list);
        ::close(fd);
    }

    const std::string text = LopsPageText(list, context, -1, static_cast<int>(format));
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
        std::printf("fix:        %+.6f %+.6f deg (%d sights, %d passes)\n", fix.latitude, fix.longitude,
                    fix.sightsUsed, fix.iterations);
        std::printf("MPP:        %+.6f %+.6f deg at the latest sight\n", mpp.latitude, mpp.longitude);
        if (fix.hasEllipse)
            std::printf("ellipse:    %.2f x %.2f NMi, orientation %.1f deg\n", fix.semiMajorAxis, fix.semiMinorAxis,
                        fix.ellipseOrientation);
    } else {
        std::printf("no fix: %s\n", fix.reason.c_str());
    }
    // No fix is a failure: its reason goes where failures go, too.
    if (!fix.formed) std::fprintf(stderr, "celestra-cli fix: no fix: %s\n", fix.reason.c_str());
    return fix.formed ? kExitOk : kExitFailure;
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
