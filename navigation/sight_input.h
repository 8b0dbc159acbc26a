// One sight described by named values, as the command line's reduce options
// ("--ap-lat") and the sight files' JSON lines ("ap_lat") give it: checked,
// and turned into a sight ready to reduce. Numbers are read the same way
// whatever the process's locale.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "model/measure.h"
#include "solarsystem/planets.h"

namespace celestra {

// The value of a key (names with underscores: "ap_lat"), as text; nullopt
// when absent. Switches ("no_corrections") are present with "true"/"false".
using SightLookup = std::function<std::optional<std::string>(const std::string& key)>;

struct SightInput {
    CMeasure sight;
    double hs = 0.0;  // sextant altitude, degrees
};

// Builds the sight: body or star (exactly one), limb, utc, hs, ap_lat,
// ap_lon, ap_utc (default: utc), height, temp, pressure, index_min,
// dip_short_nm (given: dip short of the horizon in use), course, speed,
// no_corrections. Values left out take the Enviro defaults. On a fault
// returns nullopt with `error` naming the key as `spell` writes it
// (spell("ap_lat") is "--ap-lat" or "ap_lat").
std::optional<SightInput> buildSight(const SightLookup& lookup, const PlaceContext& context,
                                     const std::function<std::string(const std::string&)>& spell, std::string& error);

}  // namespace celestra
