// The sight log: the saved sights written out as a table (CSV, one row per
// sight with every value of the Details table) and as JSON lines in the
// sight-file form that `celestra-cli fix` reads, and such a file read back.
//
// Angles are degrees, times UTC; the JSON lines carry what a sight was
// entered with (body, instant, sextant altitude, AP, conditions), and reading
// them reduces each sight again, so the derived values follow the ephemeris
// in use.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/observation_list.h"
#include "solarsystem/planets.h"

namespace celestra {

class LineReader;

// Most sights one file may hold: a log of a long passage has a few thousand.
constexpr std::size_t kSightFileMaxSights = 100000;
// A sight line with every key is about 350 bytes; a longer one is no sight.
constexpr std::size_t kSightLineMaxBytes = 4096;
// The largest sight file read; a million sights would still fit.
constexpr std::uint64_t kSightFileMaxBytes = std::uint64_t{64} << 20;

// The CSV text (RFC 4180, CRLF line ends): a header row of the Details
// table's measurements, then one row per sight of `list`, in list order, of
// the Details values in display format `format` (0, 1 or 2).
std::string sightLogCsv(const ObservationList& list, const PlaceContext& context, int format);

// One sight as a flat JSON object on one line (no line end): "star" (Bright
// Star number) or "body" (its name), "limb" for the Sun and the Moon, "utc",
// "hs", "ap_lat", "ap_lon", "ap_utc", "height", "temp", "pressure",
// "index_min", "dip_short_nm" (only while dip short of the horizon is in
// use), "course", "speed", "no_corrections". Numbers are written in the
// shortest form that reads back exactly, instants to the millisecond.
std::string sightJsonLine(const CMeasure& sight, const PlaceContext& context);
// Every sight of `list`, one line each, each ended by "\n".
std::string sightLogJsonLines(const ObservationList& list, const PlaceContext& context);

struct SightFileResult {
    // Damaged: a line is not a valid sight, is too long, or the file holds
    // too many; or the ephemeris file is damaged at a sight's instant (the
    // message says which). OutsideEphemeris: a sight's instant lies outside
    // the ephemeris. Failed: the body's place could not be computed.
    // IoError: reading failed (the message gives the system's reason).
    Status status = Status::Ok;
    std::size_t line = 0;  // 1-based line of the fault
    std::string message;   // "line N: ..." for a fault, empty when Ok
};

// Reads every non-blank line of `in` (made with kSightLineMaxBytes) as one
// sight, reduces it and appends it (active) to `out`. Unknown keys are
// refused. On the first fault reading stops and the result names the line;
// `out` then holds the sights before it, so a caller that must not take part
// of a file reads into a list of its own and appends only on success.
SightFileResult readSightLines(LineReader& in, const PlaceContext& context, ObservationList& out);

}  // namespace celestra
