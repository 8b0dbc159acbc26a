// Where the time page takes the zone offset from: the system's time-zone
// database (with its daylight saving), the observer's longitude (15° of
// longitude per hour, as zone time at sea), a custom number of hours, or
// the place's own named zone ("Europe/London") with its daylight saving.
#pragma once

#include <string>

namespace celestra {

enum class ZoneSource { SystemClock = 0, Longitude = 1, Custom = 2, Place = 3 };

// Zone offset in hours of a longitude (degrees, east positive): the nearest
// whole hour of longitude / 15, so 7.5° E is +1 h, 7.4° E is 0 h and 180° is
// +12 h; longitudes outside ±180 are wrapped first.
double longitudeZoneHours(double longitudeDeg);

struct ZoneChoice {
    ZoneSource source = ZoneSource::SystemClock;
    double customHours = 0.0;  // the offset box, hours (-14..+14)
    // "DST": one hour more for the longitude and custom zones; the system
    // and place zones take daylight saving from the database and ignore it.
    bool daylight = false;
    // The place's IANA zone for "Place's time zone"; one the tz database
    // does not have (or none) falls back to the longitude's zone.
    std::string placeZone;
};

// Local minus UTC, in days, at UTC instant `jdUtc` for `longitudeDeg`.
double zoneOffsetDays(const ZoneChoice& choice, double jdUtc, double longitudeDeg);
// Whether daylight saving is in force in that zone at that instant (the
// database's answer for the system and place zones, the DST box otherwise).
bool zoneDaylight(const ZoneChoice& choice, double jdUtc);

// The offset box's items, "-12" .. "+14" in half hours ("+5.5"), always
// with the point.
std::string zoneHoursText(double hours);

}  // namespace celestra
