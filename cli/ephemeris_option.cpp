#include "cli/ephemeris_option.h"

#include <cstdio>

namespace celestra::cli {

const char* const kEphemerisOptionUsage =
    "  --ephemeris PATH   the ephemeris file to read (default: the first celestra.405\n"
    "                     in share/celestra beside the program's bin folder,\n"
    "                     $XDG_DATA_HOME/celestra, then each of $XDG_DATA_DIRS/celestra)\n";

EphemerisInfo openEphemerisOrFail(const Args& args) {
    std::string path, error;
    if (!openProgramEphemeris(processEphemeris(), args.value("ephemeris").value_or(""), path, &error))
        fail(Status::Damaged, error);
    return processEphemeris().info();
}

void failOutsideEphemeris(const EphemerisInfo& info, const std::string& what) {
    // A damaged record inside the file's range fails like an instant outside
    // it; it is a bad file, not a bad instant.
    if (const std::string damage = processEphemeris().damage(); !damage.empty())
        fail(Status::Damaged, "ephemeris file " + info.path + ": " + damage);
    char range[80];
    std::snprintf(range, sizeof range, " (JD %.1f to %.1f, TDB)", info.startJd, info.endJd);
    fail(Status::OutsideEphemeris, what + " is outside the ephemeris " + info.path + range);
}

}  // namespace celestra::cli
