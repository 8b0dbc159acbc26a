// --zone on the command line: a number of hours east of UTC ("-5", "5.75")
// or a time zone of the tz database ("Europe/London"), whose offset then
// follows its daylight saving at each instant.
#pragma once

#include <string>

#include "cli/cli.h"
#include "core/time_scales.h"

namespace celestra::cli {

class ZoneOption {
public:
    // From the option `name` of `args`: absent is UTC (0 hours). Hours
    // outside -14..14, or a name the tz database does not have, are a usage error.
    ZoneOption(const Args& args, const std::string& name);

    // Local time minus UTC, in days, at the UTC instant `jdUtc`.
    double offsetDaysAt(JulianDay jdUtc) const;
    // "+1 h" / "+5.75 h" for hours; "Europe/London" for a named zone.
    std::string label() const;
    const std::string& zoneName() const { return zoneName_; }

private:
    std::string zoneName_;  // empty for a fixed number of hours
    double hours_ = 0.0;
};

// "YYYY-MM-DDThh:mm+hh:mm" of a UTC instant shown at a zone offset (days),
// rounded to the minute: ISO 8601 local time with its offset.
std::string formatLocalMinute(JulianDay jdUtc, double offsetDays);

}  // namespace celestra::cli
