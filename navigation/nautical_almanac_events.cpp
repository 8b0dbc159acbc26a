// The almanac's rise, set and twilight table: the event finder's crossings
// of each day at every latitude row, at Greenwich.
#include <memory>

#include "navigation/nautical_almanac.h"
#include "solarsystem/rise_set.h"

namespace celestra {

namespace {

const std::vector<RiseSetKind> kSunKinds = {RiseSetKind::RiseSet, RiseSetKind::CivilTwilight,
                                            RiseSetKind::NauticalTwilight};
const std::vector<RiseSetKind> kMoonKinds = {RiseSetKind::RiseSet};

// One body's tracks through the almanac's days, and the day after them for
// an event a day lacks; each loaded on first use.
class Tracks {
public:
    Tracks(const PlaceContext& context, int body, const NauticalAlmanac& almanac)
        : context_(context), body_(body), first_(almanac.days.front().jd0h), tracks_(almanac.days.size() + 1) {}

    // The events of `kinds` on day `d` (0 .. days) at `site`; empty on failure, with `status` set.
    std::vector<HorizonDayEvents> events(size_t d, const ObserverSite& site, const std::vector<RiseSetKind>& kinds,
                                         Status& status) {
        if (!tracks_[d]) {
            tracks_[d] = std::make_unique<HorizonTrack>();
            const JulianDay day = first_ + static_cast<double>(d);
            if (const Status loaded = tracks_[d]->load(&context_, riseSetBody(body_), day, deltaT(day));
                loaded != Status::Ok) {
                status = loaded;
                return {};
            }
        }
        std::vector<HorizonDayEvents> out = tracks_[d]->events(site, kinds);
        for (const HorizonDayEvents& e : out)
            if (e.status != Status::Ok) {
                status = e.status;
                return {};
            }
        return out;
    }

private:
    const PlaceContext& context_;
    int body_;
    JulianDay first_;
    std::vector<std::unique_ptr<HorizonTrack>> tracks_;
};

// A rise (or twilight's beginning) or a set (or its end) of day `d`: the
// first of the day; a day that has crossings but lacks this one gets the
// next day's, at 24 hours and more; a body that stays up or down says so.
// `sunAlwaysUp` turns a twilight that never ends into "always above" when
// the Sun itself never sets.
AlmanacEvent cell(Tracks& tracks, size_t d, size_t kind, bool rise, const std::vector<RiseSetKind>& kinds,
                  const std::vector<HorizonDayEvents>& today, const ObserverSite& site, JulianDay jd0h,
                  bool sunAlwaysUp) {
    const HorizonDayEvents& e = today[kind];
    const bool twilight = kinds[kind] != RiseSetKind::RiseSet;
    AlmanacEvent out;
    if (e.state == HorizonDayState::AlwaysBelow) {
        out.note = AlmanacEventNote::AlwaysBelow;
        return out;
    }
    const auto above = [&] {
        return twilight && !sunAlwaysUp ? AlmanacEventNote::TwilightAllNight : AlmanacEventNote::AlwaysAbove;
    };
    if (e.state == HorizonDayState::AlwaysAbove) {
        out.note = above();
        return out;
    }
    const std::vector<JulianDay>& list = rise ? e.rises : e.sets;
    if (!list.empty()) {
        out.hours = (list.front() - jd0h) * 24.0;
        return out;
    }
    // Past the ephemeris' end the next day is unknown: the note stands then.
    Status nextStatus = Status::Ok;
    const std::vector<HorizonDayEvents> next = tracks.events(d + 1, site, kinds, nextStatus);
    const std::vector<JulianDay>* later = next.empty() ? nullptr : &(rise ? next[kind].rises : next[kind].sets);
    if (later && !later->empty()) {
        out.hours = (later->front() - jd0h) * 24.0;
    } else {
        // Neither day has it: risen and staying up, or set and staying down.
        out.note = rise ? AlmanacEventNote::AlwaysBelow : above();
    }
    return out;
}

}  // namespace

Status computeAlmanacEvents(const PlaceContext& context, NauticalAlmanac& almanac,
                            const std::vector<double>& latitudes) {
    almanac.events.clear();
    if (almanac.days.empty()) return Status::Ok;
    Tracks sun(context, kSun, almanac), moon(context, kMoon, almanac);
    for (size_t d = 0; d < almanac.days.size(); ++d) {
        const JulianDay jd0h = almanac.days[d].jd0h;
        for (double latitude : latitudes) {
            ObserverSite site;
            site.latitude = latitude;
            Status status = Status::Ok;
            const std::vector<HorizonDayEvents> s = sun.events(d, site, kSunKinds, status);
            const std::vector<HorizonDayEvents> m = moon.events(d, site, kMoonKinds, status);
            if (status != Status::Ok) return status;
            const bool sunUp = s[0].state == HorizonDayState::AlwaysAbove;
            AlmanacLatitudeRow row;
            row.dayIndex = static_cast<int>(d);
            row.latitude = latitude;
            AlmanacEvent* sunCells[3][2] = {
                {&row.sunrise, &row.sunset}, {&row.civilBegin, &row.civilEnd}, {&row.nauticalBegin, &row.nauticalEnd}};
            for (size_t k = 0; k < 3; ++k)
                for (int edge = 0; edge < 2; ++edge)
                    *sunCells[k][edge] = cell(sun, d, k, edge == 0, kSunKinds, s, site, jd0h, sunUp);
            row.moonrise = cell(moon, d, 0, true, kMoonKinds, m, site, jd0h, false);
            row.moonset = cell(moon, d, 0, false, kMoonKinds, m, site, jd0h, false);
            almanac.events.push_back(row);
        }
    }
    return Status::Ok;
}

}  // namespace celestra
