// The almanac's rise, set and twilight table.
#include "navigation/nautical_almanac.h"
#include "solarsystem/rise_set.h"

#include <cstring>

namespace celestra {

namespace {

struct EventPair {
    AlmanacEvent begin, end;
};

EventPair events(const PlaceContext& context, int body, RiseSetKind kind, const AlmanacDay& day, double latitude,
                 const RiseTransitSet* sunRiseSet, int& status) {
    ObserverSite site;
    site.latitude = latitude;
    const RiseTransitSet r = riseTransitSet(&context, riseSetBody(body), day.jd0h, deltaT(day.jd0h), site, 0.0, kind);
    status = r.status;
    EventPair e;
    if (r.riseText == kCircumpolar) {
        const bool sunUp = sunRiseSet && sunRiseSet->riseText == kCircumpolar;
        e.begin.note = e.end.note = kind == RiseSetKind::RiseSet || sunUp ? AlmanacEventNote::AlwaysAbove
                                                                          : AlmanacEventNote::TwilightAllNight;
    } else if (r.riseText == kNoRise) {
        e.begin.note = e.end.note = AlmanacEventNote::AlwaysBelow;
    } else {
        e.begin.hours = r.riseHours;
        e.end.hours = r.setHours;
    }
    return e;
}

}  // namespace

int computeAlmanacEvents(const PlaceContext& context, NauticalAlmanac& almanac) {
    almanac.events.clear();
    for (size_t d = 0; d < almanac.days.size(); ++d) {
        for (double latitude : kAlmanacLatitudes) {
            AlmanacLatitudeRow row;
            row.dayIndex = static_cast<int>(d);
            row.latitude = latitude;
            int status = 0;
            ObserverSite site;
            site.latitude = latitude;
            const RiseTransitSet sun = riseTransitSet(&context, riseSetBody(kSun), almanac.days[d].jd0h,
                                                      deltaT(almanac.days[d].jd0h), site, 0.0, RiseSetKind::RiseSet);
            if (sun.status) return sun.status;
            const EventPair rs = events(context, kSun, RiseSetKind::RiseSet, almanac.days[d], latitude, &sun, status);
            const EventPair civil =
                events(context, kSun, RiseSetKind::CivilTwilight, almanac.days[d], latitude, &sun, status);
            const EventPair nautical =
                events(context, kSun, RiseSetKind::NauticalTwilight, almanac.days[d], latitude, &sun, status);
            const EventPair moon = events(context, kMoon, RiseSetKind::RiseSet, almanac.days[d], latitude, nullptr, status);
            if (status) return status;
            row.sunrise = rs.begin;
            row.sunset = rs.end;
            row.civilBegin = civil.begin;
            row.civilEnd = civil.end;
            row.nauticalBegin = nautical.begin;
            row.nauticalEnd = nautical.end;
            row.moonrise = moon.begin;
            row.moonset = moon.end;
            almanac.events.push_back(row);
        }
    }
    return 0;
}

}  // namespace celestra
