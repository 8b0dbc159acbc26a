#include "cli/ephemeris_option.h"

#include <cstdio>

namespace celestra::cli {

const char* const kEphemerisOptionUsage =
    "  --ephemeris PATH   the ephemeris file to read (default: the first that exists of\n"
    "                     PROGRAM.405 and celestra.405 beside the program,\n"
    "                     $XDG_DATA_HOME/celestra/celestra.405 and share/celestra/celestra.405\n"
    "                     of the installation)\n";

EphemerisInfo openEphemerisOrFail(const Args& args) {
    const std::string requested = args.value("ephemeris").value_or("");
    const std::string path = findEphemerisFile(requested);
    if (path.empty()) {
        if (!requested.empty()) fail(kExitBadFile, "ephemeris file " + requested + " does not exist");
        std::string places;
        for (const std::string& candidate : ephemerisSearchPaths()) places += "\n  " + candidate;
        fail(kExitBadFile, "no ephemeris file found; looked for:" + places);
    }
    std::string error;
    if (!processEphemeris().open(path, &error)) fail(kExitBadFile, error);
    return processEphemeris().info();
}

void failOutsideEphemeris(const EphemerisInfo& info, const std::string& what) {
    char range[80];
    std::snprintf(range, sizeof range, " (JD %.1f to %.1f, TDB)", info.startJd, info.endJd);
    fail(kExitOutsideEphemeris, what + " is outside the ephemeris " + info.path + range);
}

}  // namespace celestra::cli
