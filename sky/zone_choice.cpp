#include "sky/zone_choice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/time_scales.h"

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
    }
    return 0.0;
}

bool zoneDaylight(const ZoneChoice& choice, double jdUtc) {
    if (choice.source == ZoneSource::SystemClock) return platformZoneOffsetAt(JulianDay{jdUtc}).daylight;
    return choice.daylight;
}

std::string zoneHoursText(double hours) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%+g", hours);
    return buf;
}

double parseZoneHours(const std::string& text) {
    const char* s = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    while (end && *end == ' ') ++end;
    if (end == s || (end && *end != '\0') || !std::isfinite(v) || v < -14.0 || v > 14.0)
        return std::numeric_limits<double>::quiet_NaN();
    return v;
}

}  // namespace celestra
