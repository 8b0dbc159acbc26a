// ISO 8601 instants on the command line: "YYYY-MM-DDThh:mm:ss" (UTC), with
// optional fractional seconds and a trailing "Z", to and from Julian days.
#pragma once

#include <optional>
#include <string>

#include "core/time_scales.h"

namespace celestra::cli {

// The Julian day of "YYYY-MM-DDThh:mm:ss[.fff][Z]", or nullopt when the text
// is malformed or a field is out of range (month 1-12, day within the month,
// hour 0-23, minute 0-59, second 0-60, 60 being a leap second). Years 0000-9999.
std::optional<JulianDay> parseIsoTime(const std::string& text);

// "YYYY-MM-DDThh:mm:ss" of a Julian day, rounded to the nearest second.
std::string formatIsoTime(JulianDay jd);

}  // namespace celestra::cli
