// Named time zones ("Europe/London", "Australia/Sydney", "Asia/Kathmandu")
// from the system's tz database: the compiled TZif files under $TZDIR or,
// without it, /usr/share/zoneinfo (Debian's tzdata).
//
// Unlike the C library's localtime with TZ set, nothing here touches the
// process environment, so any thread may ask about any zone at any time.
// A zone's file is read once and kept (a failed read is remembered too).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/time_scales.h"

namespace celestra {

// Whether `id` has the form of a zone identifier: one to 255 characters of
// letters, digits, '_', '-', '+' and '/', no empty, "." or ".." component,
// no leading '/'. Only such names are looked up, so a typed name can never
// reach a file outside the database.
bool isWellFormedZoneId(std::string_view id);

/*
 * timeZoneOffsetAt: local time minus UTC (days) and whether daylight saving
 * is in force in the zone `id` at the UTC instant `jdUtc`.
 * Notes:
 *  1. The zone's transitions come from its TZif file (version 1 or the
 *     64-bit data of version 2 and later); after the last one listed, from
 *     the POSIX rule at the file's end (for example "GMT0BST,M3.5.0/1,M10.5.0"),
 *     so dates centuries ahead follow the present rules.
 *  2. Before the first transition the zone's first local time type holds
 *     (local mean time, for most zones before the 1880s-1920s).
 *  3. nullopt for an identifier that is not well formed, a zone the
 *     database lacks, or a file that is damaged, not a regular file, or
 *     larger than 1 MiB; and for an instant that is not finite.
 *  4. Offsets are whole seconds, as in the database.
 */
std::optional<ZoneOffset> timeZoneOffsetAt(const std::string& id, JulianDay jdUtc);

}  // namespace celestra
