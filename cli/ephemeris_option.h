// The --ephemeris PATH option shared by the subcommands that read the
// planetary ephemeris.
#pragma once

#include <string>

#include "cli/cli.h"
#include "solarsystem/ephemeris.h"

namespace celestra::cli {

// Usage line for the option, to paste into a subcommand's usage text.
extern const char* const kEphemerisOptionUsage;

// Finds the ephemeris (--ephemeris PATH, else the usual places) and opens it
// in the process-wide reader. A missing or damaged file ends the subcommand
// with exit code 4 and a message naming the file and the fault.
EphemerisInfo openEphemerisOrFail(const Args& args);

// Ends the subcommand with exit code 3: "WHAT is outside the ephemeris PATH
// (JD start to end, TDB)".
[[noreturn]] void failOutsideEphemeris(const EphemerisInfo& info, const std::string& what);

}  // namespace celestra::cli
