// Checking an ephemeris file against JPL's published test points (the
// testpo.NNN files of the ephemeris export: one line per value, after "EOT",
// "DE  YYYY.MM.DD  JED  target  centre  component  value").
#pragma once

#include <string>
#include <vector>

#include "solarsystem/ephemeris.h"

namespace celestra {

// One test value. target and centre: FileTarget numbers 1..13, or 14
// nutations (centre 0, components 1-4: dpsi, deps, their rates) and 15
// librations (centre 0, components 1-6: three angles, three rates).
// Components 1-3 are positions in au, 4-6 velocities in au/day; angles in
// radians and radians/day. jd is TDB.
struct EphemerisTestPoint {
    int deNumber = 0;
    double jd = 0.0;
    int target = 0;
    int centre = 0;
    int component = 0;
    double value = 0.0;
};

// Reads a test-point file. False (error set when given) if it cannot be read
// or holds a malformed line after "EOT".
bool readEphemerisTestPoints(const std::string& path, std::vector<EphemerisTestPoint>& points,
                             std::string* error = nullptr);

struct EphemerisCheckResult {
    int checked = 0;                // points inside the file's date range
    int outsideRange = 0;           // points not checked because the file does not cover them
    int failed = 0;                 // |computed - expected| > tolerance, or no state
    double maxPositionError = 0.0;  // au
    double maxVelocityError = 0.0;  // au/day
    double maxAngleError = 0.0;     // rad or rad/day (nutations, librations)
    double rmsPositionError = 0.0;
    double rmsVelocityError = 0.0;
    std::string firstFailure;  // the first failing line, described
};

// Evaluates every point whose instant the file covers and compares the
// signed difference with `tolerance` (au, au/day, rad alike).
EphemerisCheckResult checkEphemerisTestPoints(EphemerisFile& file, const std::vector<EphemerisTestPoint>& points,
                                              double tolerance);

}  // namespace celestra
