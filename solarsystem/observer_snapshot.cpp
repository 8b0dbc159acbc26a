#include "solarsystem/observer_snapshot.h"

#include <cmath>

namespace celestra {

bool sameObserver(const ObserverSnapshot& a, const ObserverSnapshot& b, double instantToleranceDays) {
    // Written so that a NaN anywhere makes a comparison false.
    if (!(std::fabs(a.instant - b.instant) < instantToleranceDays)) return false;
    if ((a.flags & 2) != (b.flags & 2) || a.refraction != b.refraction) return false;
    return a.zoneOffset == b.zoneOffset && a.site.latitude == b.site.latitude && a.site.longitude == b.site.longitude &&
           a.site.height == b.site.height && a.height == b.height && a.site.temperature == b.site.temperature &&
           a.site.pressure == b.site.pressure;
}

}  // namespace celestra
