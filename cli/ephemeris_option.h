// The --ephemeris PATH option shared by the subcommands that read the
// planetary ephemeris.
#pragma once

#include <string>

#include "cli/cli.h"
#include "solarsystem/ephemeris.h"

namespace celestra::cli {

// Usage line for the option, to paste into a subcommand's usage text.
extern const char* const kEphemerisOptionUsage;

// Finds the ephemeris (--ephemeris PATH, else the usual places, checked
// against the digest beside it) and opens it in the process-wide reader. A
// missing, damaged or non-regular file ends the subcommand with exit code 4
// and a message naming the file and the fault.
EphemerisInfo openEphemerisOrFail(const Args& args);

// Ends the subcommand with exit code 3: "WHAT is outside the ephemeris PATH
// (JD start to end, TDB)"; or, when the failure came from a damaged record
// of the file, with exit code 4 and the file and record named.
[[noreturn]] void failOutsideEphemeris(const EphemerisInfo& info, const std::string& what);

}  // namespace celestra::cli
