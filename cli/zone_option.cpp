#include "cli/zone_option.h"

#include <cmath>
#include <cstdlib>

#include "core/number_text.h"
#include "core/time_zones.h"
#include "solarsystem/moon_phases.h"

namespace celestra::cli {

ZoneOption::ZoneOption(const Args& args, const std::string& name) {
    const auto text = args.value(name);
    if (!text) return;
    if (const auto hours = parseNumber(*text)) {
        if (!(*hours >= -14.0 && *hours <= 14.0)) usageError("--" + name + " must lie between -14 and 14 hours");
        hours_ = *hours;
        return;
    }
    // Any instant tells whether the database has the zone.
    if (!timeZoneOffsetAt(*text, kJ2000))
        usageError("--" + name + " needs hours east of UTC or a time zone such as Europe/London, not \"" + *text +
                   "\"");
    zoneName_ = *text;
}

double ZoneOption::offsetDaysAt(JulianDay jdUtc) const {
    if (zoneName_.empty()) return hours_ / 24.0;
    const auto zone = timeZoneOffsetAt(zoneName_, jdUtc);
    return zone ? zone->offsetDays : 0.0;
}

std::string ZoneOption::label() const { return zoneName_.empty() ? formatC("%+g h", hours_) : zoneName_; }

std::string formatLocalMinute(JulianDay jdUtc, double offsetDays) {
    const long minutes = std::lround(offsetDays * 1440.0);
    const long magnitude = std::labs(minutes);
    return formatPhaseMinute(jdUtc + offsetDays) +
           formatC("%c%02ld:%02ld", minutes < 0 ? '-' : '+', magnitude / 60, magnitude % 60);
}

}  // namespace celestra::cli
