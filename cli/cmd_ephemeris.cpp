// celestra-cli ephemeris: which ephemeris file the program reads and what it covers.
#include <cstdio>

#include "cli/cli.h"
#include "cli/ephemeris_option.h"

namespace celestra::cli {
namespace {

int runEphemeris(const std::vector<std::string>& words) {
    const Args args(words, {"ephemeris"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const EphemerisInfo info = openEphemerisOrFail(args);
    const char* layout = info.layout == EphemerisLayout::Standard ? "standard" : "padded";
    if (args.flag("json")) {
        Json json;
        json.beginObject()
            .field("path", info.path)
            .field("layout", layout)
            .field("de_number", info.deNumber)
            .field("start_jd", info.startJd)
            .field("end_jd", info.endJd)
            .field("span_days", info.spanDays)
            .field("records", info.recordCount)
            .field("au_km", info.auKm)
            .field("earth_moon_mass_ratio", info.earthMoonMassRatio)
            .endObject();
        std::printf("%s\n", json.str().c_str());
    } else {
        std::printf("path:       %s\n", info.path.c_str());
        std::printf("layout:     %s\n", layout);
        std::printf("DE number:  %d\n", info.deNumber);
        std::printf("start:      JD %.1f (TDB)\n", info.startJd);
        std::printf("end:        JD %.1f (TDB)\n", info.endJd);
        std::printf("records:    %d of %g days\n", info.recordCount, info.spanDays);
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"ephemeris", "the planetary ephemeris file in use: path, layout, DE number, date range",
                             std::string("Usage: celestra-cli ephemeris [--ephemeris PATH] [--json]\n\n"
                                         "Prints the ephemeris file the program reads, its header layout (standard or\n"
                                         "padded), its DE number and the Julian days (TDB) it covers. A missing or\n"
                                         "damaged file gives a message and exit code 4.\n\n") +
                                 kEphemerisOptionUsage +
                                 "  --json             one JSON document: path, layout, de_number, start_jd, end_jd,\n"
                                 "                     span_days, records, au_km, earth_moon_mass_ratio\n",
                             runEphemeris});

}  // namespace celestra::cli
