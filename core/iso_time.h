// ISO 8601 instants as the command line and the sight files write them: "YYYY-MM-DDThh:mm:ss" (UTC), with
// optional fractional seconds and a trailing "Z", to and from Julian days.
#pragma once

#include <optional>
#include <string>

#include "core/time_scales.h"

namespace celestra {

// The UTC Julian day of "YYYY-MM-DDThh:mm:ss[.fff][Z]", or nullopt when the
// text is malformed or a field is out of range (month 1-12, day within the
// month, hour 0-23, minute 0-59, second 0-59). Years 0000-9999.
// 23:59:60 is taken on a day that ends with a leap second, without a
// fraction, as the instant before the next 0h (utcDayEndsWithLeapSecond:
// its TT is one second before the next day's 00:00:00); on any other day it
// is refused. `problem`, when given, receives a sentence for the user on a
// refused leap second and is cleared otherwise.
std::optional<JulianDay> parseIsoTime(const std::string& text, std::string* problem = nullptr);

// "YYYY-MM-DDThh:mm:ss" of a Julian day, rounded to the nearest second; on a
// day that ends with a leap second the last half second before 0h is
// "23:59:60".
std::string formatIsoTime(JulianDay jd);

// The same rounded to the nearest millisecond, with ".fff" only when the
// milliseconds are not zero: the form that reads back within 1 ms.
std::string formatIsoTimeMillis(JulianDay jd);

}  // namespace celestra
