// The generated constant tables (catalogs/data/*.cpp, written by
// tools/generate_catalogs.py). Code outside catalogs/ uses the accessors of
// star_catalog.h, deep_sky.h, constellations.h and places.h instead.
#pragma once

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "catalogs/places.h"
#include "catalogs/star_catalog.h"

namespace celestra {

extern const StarEntry kBrightStarTable[kBrightStarCount];
extern const StarEntry kMessierTable[kMessierCount];
extern const StarEntry kCaldwellTable[kCaldwellCount];
extern const ConstellationLabel kConstellationLabels[kConstellationLabelCount];
extern const char* const kCountryList[kCountryCount];
extern const PlaceEntry kPlaceTable[kPlaceCount];

}  // namespace celestra
