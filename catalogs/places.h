// The world gazetteer (five user slots, then 1731 places sorted by name), its
// country list, and the reference ellipsoids.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace celestra {

struct PlaceEntry {
    const char* name;        // UTF-8, with accents ("Zürich")
    std::int32_t latitude;   // hundredths of a degree, north positive
    std::int32_t longitude;  // hundredths of a degree, east positive
    std::int32_t country;    // index into the country list
    const char* zone;        // IANA time-zone identifier ("Europe/London"); "" for the custom slots
};

constexpr int kPlaceCount = 1736;
constexpr int kCustomPlaceSlots = 5;  // "Custom 1" .. "Custom 5" at 0, 0
constexpr int kCountryCount = 232;

int placeCount();
// Entry i (0..1735), nullptr outside.
const PlaceEntry* place(int i);
// Latitude and longitude of place i in degrees (north, east positive); 0
// outside 0..1735.
double placeLatitude(int i);
double placeLongitude(int i);

int countryCount();
// Country name for a country index (0..231), "" outside.
const char* countryName(int index);

// Indices of the places whose name or country contains `text`, ignoring case
// and accents ("zurich" finds "Zürich"); the custom slots are not searched.
// An empty text gives every place after the custom slots.
std::vector<int> findPlaces(const std::string& text);

struct EllipsoidEntry {
    std::int32_t id;  // 1..23
    const char* name;
    double semiMajorAxis;        // a, metres
    double eccentricitySquared;  // first eccentricity squared e²
};

constexpr int kEllipsoidCount = 23;

// The ellipsoid with that identifier (1..23), nullptr otherwise.
const EllipsoidEntry* ellipsoid(int id);
// b = a sqrt(1 - e²), metres.
double ellipsoidSemiMinorAxis(const EllipsoidEntry& e);
// f = 1 - sqrt(1 - e²).
double ellipsoidFlattening(const EllipsoidEntry& e);

// Lower-case, accent-free form of UTF-8 text for matching: Latin letters with
// diacritics (U+00C0..U+024F, U+1E00..U+1EFF) become their base letter,
// other non-ASCII characters are kept as they are.
std::string foldForSearch(const std::string& text);

}  // namespace celestra
