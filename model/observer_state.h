// The observer's state: instant, place and atmosphere of the chart (record B
// of the document file) and the assumed position of a sight.
#pragma once

#include <cstdint>

#include "core/apparent_place.h"

namespace celestra {

class ArchiveReader;
class ArchiveWriter;

class CObserverState {
public:
    // Bit of `flags` that takes part in the change test (bit number 1).
    static constexpr int32_t kTestedFlagBit = 0x2;

    // Instant from the system clock (UTC) and the platform's current zone offset.
    CObserverState();
    // A fixed instant and zone offset; every other value at its default.
    CObserverState(double instantJdUtc, double zoneOffsetDays);

    int32_t flags = 0;                // observer flags
    double instant = 0.0;             // Julian day, UTC
    double zoneOffset = 0.0;          // local time minus UTC, days
    double latitude = 47.55;          // degrees, north positive; stored as entered (90 stays 90)
    double longitude = -122.3;        // degrees, east positive
    double height = 1.0;              // metres above sea level (value 6)
    double temperature = 10.0;        // degrees Celsius
    double pressure = 1010.0;         // millibars
    int32_t latitudeDegrees = 47;     // whole degrees of the latitude as entered
    int32_t latitudeMinutes = 0;      // value 10: minutes as entered
    int32_t latitudeSeconds = 0;      // value 11: seconds as entered
    int32_t longitudeDegrees = -122;  // whole degrees of the longitude as entered
    int32_t longitudeMinutes = 0;     // value 13
    int32_t longitudeSeconds = 0;     // value 14
    int32_t refraction = 1;           // value 15: 1 = refraction applied to altitudes, 0 = airless

    // True when nothing that a recompute depends on has changed: |Δinstant| <
    // toleranceDays, bit 1 of flags equal, zone offset, latitude, longitude,
    // height, temperature and pressure exactly equal, refraction equal. A NaN
    // on either side of any compared double counts as a change (NaN compares
    // unequal and its difference is not below any tolerance).
    bool IsSameAs(const CObserverState& other, double toleranceDays) const;

    // Record B: int32 flags, seven doubles (instant, zone offset, latitude,
    // longitude, height, temperature, pressure), six int32 (latitude degrees,
    // minutes, seconds, longitude degrees, minutes, seconds), int32 refraction.
    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);
};

// Moves the observer to a place (degrees, north and east positive) and
// records it as entered: whole degrees carrying the sign, whole minutes and
// seconds of the value rounded to the nearest second (so 10.99999° is kept
// as 11° 0' 0").
void setObserverPlace(CObserverState& observer, double latitudeDeg, double longitudeDeg);

// The observer's place and weather as the apparent-place functions take them.
ObserverSite observerSite(const CObserverState& observer);

}  // namespace celestra
