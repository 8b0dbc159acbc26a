// Where the time page takes the zone offset from: the system's time-zone
// database (with its daylight saving), the observer's longitude (15° of
// longitude per hour, as zone time at sea), or a custom number of hours.
#pragma once

#include <string>

namespace celestra {

enum class ZoneSource { SystemClock = 0, Longitude = 1, Custom = 2 };

// Zone offset in hours of a longitude (degrees, east positive): the nearest
// whole hour of longitude / 15, so 7.5° E is +1 h, 7.4° E is 0 h and 180° is
// +12 h; longitudes outside ±180 are wrapped first.
double longitudeZoneHours(double longitudeDeg);

struct ZoneChoice {
    ZoneSource source = ZoneSource::SystemClock;
    double customHours = 0.0;  // the offset box, hours (-14..+14)
    // "DST": one hour more for the longitude and custom zones; the system
    // zone takes daylight saving from the database and ignores it.
    bool daylight = false;
};

// Local minus UTC, in days, at UTC instant `jdUtc` for `longitudeDeg`.
double zoneOffsetDays(const ZoneChoice& choice, double jdUtc, double longitudeDeg);
// Whether daylight saving is in force in that zone at that instant (the
// database's answer for the system zone, the DST box otherwise).
bool zoneDaylight(const ZoneChoice& choice, double jdUtc);

// The offset box's items, "-12" .. "+14" in half hours ("+5.5"), and the
// hours one of them stands for; nan for a text that is not a number of hours
// in -14..+14.
std::string zoneHoursText(double hours);
double parseZoneHours(const std::string& text);

}  // namespace celestra
