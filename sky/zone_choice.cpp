#include "sky/zone_choice.h"

#include <cmath>

#include "core/number_text.h"
#include "core/time_scales.h"
#include "core/time_zones.h"

namespace celestra {

double longitudeZoneHours(double longitudeDeg) {
    double lon = std::fmod(longitudeDeg, 360.0);
    if (lon > 180.0) lon -= 360.0;
    if (lon < -180.0) lon += 360.0;
    // Half-way longitudes (7.5°, 22.5°, ...) go away from Greenwich.
    return std::round(lon / 15.0);
}

double zoneOffsetDays(const ZoneChoice& choice, double jdUtc, double longitudeDeg) {
    switch (choice.source) {
        case ZoneSource::SystemClock: return platformZoneOffsetAt(JulianDay{jdUtc}).offsetDays;
        case ZoneSource::Longitude: return (longitudeZoneHours(longitudeDeg) + (choice.daylight ? 1.0 : 0.0)) / 24.0;
        case ZoneSource::Custom: return (choice.customHours + (choice.daylight ? 1.0 : 0.0)) / 24.0;
        case ZoneSource::Place:
            if (const auto zone = timeZoneOffsetAt(choice.placeZone, jdUtc)) return zone->offsetDays;
            return longitudeZoneHours(longitudeDeg) / 24.0;
    }
    return 0.0;
}

bool zoneDaylight(const ZoneChoice& choice, double jdUtc) {
    if (choice.source == ZoneSource::SystemClock) return platformZoneOffsetAt(JulianDay{jdUtc}).daylight;
    if (choice.source == ZoneSource::Place) {
        const auto zone = timeZoneOffsetAt(choice.placeZone, jdUtc);
        return zone && zone->daylight;
    }
    return choice.daylight;
}

std::string zoneHoursText(double hours) { return formatC("%+g", hours); }

}  // namespace celestra
