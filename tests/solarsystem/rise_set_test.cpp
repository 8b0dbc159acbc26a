#include "solarsystem/rise_set.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "core/angles.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

struct Place {
    const char* name;
    double lat, lon, zoneHours;
};
const Place kPlaces[] = {
    {"London", 51.5, -0.13, 0.0},
    {"Sydney", -33.87, 151.21, 10.0},
    {"Anchorage", 61.22, -149.9, -9.0},
};
struct Date {
    int y, m, d;
};
const Date kDates[] = {{2024, 3, 20}, {2024, 6, 21}, {2025, 12, 5}};

ObserverSite site(const Place& p) {
    ObserverSite s;
    s.latitude = p.lat;
    s.longitude = p.lon;
    return s;
}

// Every crossing of f from below (rising = true) or from above within
// [begin, end], by 10-minute scanning and bisection to 0.05 s.
std::vector<double> crossings(const std::function<double(double)>& f, double begin, double end, bool rising) {
    std::vector<double> out;
    const double step = 10.0 / 1440.0;
    double t0 = begin, f0 = f(t0);
    while (t0 < end) {
        const double t1 = t0 + step, f1 = f(t1);
        if ((rising && f0 < 0.0 && f1 >= 0.0) || (!rising && f0 > 0.0 && f1 <= 0.0)) {
            double lo = t0, hi = t1;
            while (hi - lo > 0.05 / 86400.0) {
                const double mid = 0.5 * (lo + hi);
                const bool below = f(mid) < 0.0;
                (below == rising ? lo : hi) = mid;
            }
            out.push_back(0.5 * (lo + hi));
        }
        t0 = t1;
        f0 = f1;
    }
    return out;
}

class RiseSetTest : public test::De405Test {
protected:
    // Topocentric altitude (no refraction) minus the altitude of the event.
    double altitudeAboveEvent(int body, const ObserverSite& s, RiseSetKind kind, double jd) const {
        HorizonResult h;
        EXPECT_EQ(horizonPlace(context_, jd, body, s, false, PlaceForm::Topocentric, h), Status::Ok);
        double eventAltitude = -0.83333333;
        if (kind == RiseSetKind::CivilTwilight) eventAltitude = -6.0;
        if (kind == RiseSetKind::NauticalTwilight) eventAltitude = -12.0;
        if (body == kMoon)  // refraction and the upper limb, seen from the site itself
            eventAltitude = -0.5666666666 - std::asin(1738.0 / (h.distanceAu * 1.4959787e8)) * kRadToDeg;
        return h.altitudeDeg - eventAltitude;
    }
    // Topocentric hour angle, hours in (-12, 12].
    double hourAngle(int body, const ObserverSite& s, double jd) const {
        HorizonResult h;
        EXPECT_EQ(horizonPlace(context_, jd, body, s, false, PlaceForm::Topocentric, h), Status::Ok);
        double ha = localSiderealTime(siderealTimeFromUtc(jd, false), s.longitude) - h.raHours;
        ha = wrapFloor(ha, 24.0);
        return ha > 12.0 ? ha - 24.0 : ha;
    }
};

// The engine's local hours as a UTC Julian day.
double eventJd(double jd0h, double localHours, double zoneHours) { return jd0h + (localHours - zoneHours) / 24.0; }

// The result's first event of a field against the crossings the bisection
// found inside the UTC day: the same count, the first within 0.05 minutes.
// Returns the difference in minutes (0 when there is no event).
double checkField(const std::vector<double>& found, JulianDay jd0, bool has, int count, double localHours,
                  double zoneHours, const std::string& text) {
    std::vector<double> inside;
    for (double t : found)
        if (t >= jd0 && t < jd0 + 1.0) inside.push_back(t);
    EXPECT_EQ(count, static_cast<int>(inside.size())) << text;
    EXPECT_EQ(has, !inside.empty()) << text;
    if (!has || inside.empty()) return 0.0;
    const double e = std::fabs(eventJd(jd0, localHours, zoneHours) - inside.front()) * 1440.0;
    EXPECT_LT(e, 0.05) << text;
    return e;
}

// The finder's place interpolation and fast topocentric altitude against the
// engine's full topocentric place (horizonPlace) at each instant.
TEST_F(RiseSetTest, SunAndMoonAgreeWithAltitudeBisection) {
    double worstOf[3] = {0.0, 0.0, 0.0};  // Sun rise/set/transit, Moon, twilight
    for (const Place& p : kPlaces)
        for (const Date& d : kDates)
            for (int body : {kSun, kMoon})
                for (RiseSetKind kind :
                     {RiseSetKind::RiseSet, RiseSetKind::CivilTwilight, RiseSetKind::NauticalTwilight}) {
                    if (body == kMoon && kind != RiseSetKind::RiseSet) continue;
                    SCOPED_TRACE(std::string(p.name) + " " + std::to_string(d.m) + "/" + std::to_string(d.d) +
                                 (body == kSun ? " Sun" : " Moon") + " kind " + std::to_string(int(kind)));
                    const ObserverSite s = site(p);
                    const JulianDay jd0 = julianDayAt0h(d.y, d.m, d.d);
                    const RiseTransitSet r =
                        riseTransitSet(&context_, riseSetBody(body), jd0, deltaT(jd0), s, p.zoneHours / 24.0, kind);
                    ASSERT_EQ(r.status, Status::Ok);
                    double& worstHere = body == kMoon                  ? worstOf[1]
                                        : kind == RiseSetKind::RiseSet ? worstOf[0]
                                                                       : worstOf[2];
                    auto alt = [&](double jd) { return altitudeAboveEvent(body, s, kind, jd); };
                    const double from = jd0 - 0.25, to = jd0 + 1.25;
                    const auto rises = crossings(alt, from, to, true);
                    const auto sets = crossings(alt, from, to, false);
                    worstHere = std::fmax(worstHere, checkField(rises, jd0, r.hasRise, r.riseCount, r.riseHours,
                                                                p.zoneHours, r.riseText));
                    worstHere = std::fmax(
                        worstHere, checkField(sets, jd0, r.hasSet, r.setCount, r.setHours, p.zoneHours, r.setText));
                    const auto transits = crossings([&](double jd) { return hourAngle(body, s, jd); }, from, to, true);
                    worstHere = std::fmax(worstHere, checkField(transits, jd0, r.hasTransit, r.transitCount,
                                                                r.transitHours, p.zoneHours, r.transitText));
                }
    std::printf("worst difference from bisection, minutes: Sun %.4f, Moon %.4f, twilight %.4f\n", worstOf[0],
                worstOf[1], worstOf[2]);
}

// London, 3 January 2024: the Moon rose late on the 2nd and next at 00:11
// on the 4th, so the day holds its set and transit but no rise.
TEST_F(RiseSetTest, DayWithoutMoonriseSaysSo) {
    const ObserverSite s = site(kPlaces[0]);
    const JulianDay jd0 = julianDayAt0h(2024, 1, 3);
    const RiseTransitSet r =
        riseTransitSet(&context_, riseSetBody(kMoon), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_FALSE(r.hasRise);
    EXPECT_EQ(r.riseText, "--no rise--");
    EXPECT_EQ(r.riseHours, 0.0);
    ASSERT_TRUE(r.hasSet && r.hasTransit);
    EXPECT_GT(r.setHours, 0.0);
    EXPECT_LT(r.setHours, 24.0);
    EXPECT_FALSE(r.moreEvents());
}

// Days the interpolation method got wrong: a moonrise it gave at the set's
// time, a sunset and sunrise it hid at the edge of the midnight Sun, a polar
// sunset it missed, a sunset seconds after 0h UT given to the day before.
TEST_F(RiseSetTest, PolarEdgesAndMidnightEvents) {
    auto at = [&](int body, int y, int m, int d, double lat, double lon) {
        ObserverSite s;
        s.latitude = lat;
        s.longitude = lon;
        const JulianDay jd0 = julianDayAt0h(y, m, d);
        return riseTransitSet(&context_, riseSetBody(body), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    };
    RiseTransitSet r = at(kMoon, 2034, 9, 11, 80.0, 130.0);
    ASSERT_TRUE(r.hasRise && r.hasSet);
    EXPECT_NEAR(r.riseHours, 17.0 + 32.0 / 60.0, 1.0 / 60.0);
    EXPECT_NEAR(r.setHours, 11.0 + 53.0 / 60.0, 1.0 / 60.0);
    r = at(kSun, 2025, 7, 27, 70.0, 20.0);
    ASSERT_TRUE(r.hasRise && r.hasSet);
    EXPECT_EQ(r.setText.substr(0, 5), "22:14");
    EXPECT_EQ(r.riseText.substr(0, 5), "23:19");
    r = at(kSun, 2025, 5, 16, 70.0, 20.0);
    EXPECT_EQ(r.riseText, "circ-polar");
    EXPECT_EQ(r.setText, "--no set--");
    r = at(kSun, 2022, 9, 22, 89.0, 30.0);
    EXPECT_EQ(r.riseText, "--no rise--");
    EXPECT_EQ(r.setText.substr(0, 5), "20:14");
    // Florida: the evening sunsets fall at 23:59:46 UT on 1 May and 00:00:23 UT
    // on 3 May, so the UTC day of 2 May holds none.
    EXPECT_EQ(at(kSun, 2019, 5, 1, 29.0, -81.0).setText, "23:59:46");
    EXPECT_EQ(at(kSun, 2019, 5, 2, 29.0, -81.0).setText, "--no set--");
    EXPECT_EQ(at(kSun, 2019, 5, 3, 29.0, -81.0).setText, "00:00:23");
    // 85° N: whatever the Moon does, every time lies inside the day.
    r = at(kMoon, 2022, 2, 6, 85.0, 140.0);
    for (double h : {r.riseHours, r.transitHours, r.setHours}) {
        EXPECT_GE(h, 0.0);
        EXPECT_LT(h, 24.0);
    }
}

// 1 April 2025 at 65° N 65° E: the Moon rises at 00:19 and again before
// midnight; the first is given and both are counted.
TEST_F(RiseSetTest, TwoMoonrisesInOneDay) {
    ObserverSite s;
    s.latitude = 65.0;
    s.longitude = 65.0;
    const JulianDay jd0 = julianDayAt0h(2025, 4, 1);
    const HorizonDayEvents e =
        horizonDayEvents(&context_, riseSetBody(kMoon), RiseSetKind::RiseSet, jd0, deltaT(jd0), s);
    ASSERT_EQ(e.rises.size(), 2u);
    EXPECT_EQ(e.sets.size(), 1u);
    EXPECT_LT(e.rises[0], e.sets[0]);
    EXPECT_LT(e.sets[0], e.rises[1]);
    const RiseTransitSet r =
        riseTransitSet(&context_, riseSetBody(kMoon), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_EQ(r.riseCount, 2);
    EXPECT_TRUE(r.moreEvents());
    EXPECT_EQ(r.riseText.substr(0, 5), "00:19");
}

// A culmination that only just reaches the event altitude (or only just
// dips below it) gives both of its crossings or neither, whichever side of
// h0 the extremum lies on, down to a thousandth of a degree.
TEST_F(RiseSetTest, GrazingCulminationGivesBothEventsOrNeither) {
    struct Case {
        int body;
        Date date;
        double sign;  // +1: the upper culmination grazes, -1: the lower one
    };
    const Case cases[] = {{kMoon, {2025, 3, 12}, 1.0}, {kMoon, {2025, 8, 20}, -1.0}, {kSun, {2025, 8, 3}, -1.0}};
    for (const Case& c : cases) {
        const JulianDay jd0 = julianDayAt0h(c.date.y, c.date.m, c.date.d);
        const double noon = jd0 + 0.5;
        // The culmination at noon UT: upper (hour angle 0) or lower (180°).
        double ra, dec, distance;
        ASSERT_EQ(geocentricPlaceUtc(context_, noon, c.body, ra, dec, distance), Status::Ok);
        ObserverSite s;
        s.longitude =
            wrapFloor((ra - siderealTimeFromUtc(noon, false)) * 15.0 + (c.sign > 0 ? 180.0 : 0.0), 360.0) - 180.0;
        // The extremum of the altitude above the event near noon, by golden
        // section on the engine's full topocentric place.
        auto extremum = [&](const ObserverSite& at, double& when) {
            auto f = [&](double t) { return c.sign * altitudeAboveEvent(c.body, at, RiseSetKind::RiseSet, t); };
            double a = noon - 0.1, b = noon + 0.1;
            const double g = 0.6180339887498949;
            while (b - a > 0.2 / 86400.0) {
                const double x1 = b - g * (b - a), x2 = a + g * (b - a);
                if (f(x1) > f(x2)) b = x2;
                else a = x1;
            }
            when = 0.5 * (a + b);
            return c.sign * f(when);
        };
        // Where the culmination sits on the horizon: the upper one at
        // φ = δ - 90° (δ + 90° for a southern δ), the lower one at 90° - δ
        // (-90° - δ); its altitude follows φ degree for degree, with the sign `slope`.
        const double slope = dec > 0.0 ? 1.0 : -1.0;
        s.latitude = c.sign > 0 ? dec - 90.0 * slope : (90.0 - std::fabs(dec)) * slope;
        double when = noon;
        for (int i = 0; i < 5; ++i) s.latitude -= extremum(s, when) / slope;
        for (double offset : {0.02, 0.005, 0.001, -0.001, -0.005, -0.02}) {
            ObserverSite t = s;
            t.latitude += offset * slope;
            const double depth = extremum(t, when);
            SCOPED_TRACE((c.body == kSun ? "Sun " : "Moon ") + std::to_string(c.date.m) + "/" +
                         std::to_string(c.date.d) + " at " + std::to_string(t.latitude) + ", extremum above h0 by " +
                         std::to_string(depth));
            ASSERT_NEAR(depth, offset, 0.002);
            const HorizonDayEvents e =
                horizonDayEvents(&context_, riseSetBody(c.body), RiseSetKind::RiseSet, jd0, deltaT(jd0), t);
            auto near = [&](const std::vector<JulianDay>& v) {
                return std::count_if(v.begin(), v.end(), [&](JulianDay x) { return std::fabs(x - when) < 0.1; });
            };
            const int expected = c.sign * depth > 0.0 ? 1 : 0;
            EXPECT_EQ(near(e.rises), expected);
            EXPECT_EQ(near(e.sets), expected);
        }
    }
}

// One track of a day serves many sites and kinds, as an almanac's table of
// latitudes uses it, with the same events as one query at a time.
TEST_F(RiseSetTest, OneTrackServesManySitesAndKinds) {
    const JulianDay jd0 = julianDayAt0h(2025, 6, 1);
    HorizonTrack sun, moon, unloaded;
    ASSERT_EQ(sun.load(&context_, riseSetBody(kSun), jd0, deltaT(jd0)), Status::Ok);
    ASSERT_EQ(moon.load(&context_, riseSetBody(kMoon), jd0, deltaT(jd0)), Status::Ok);
    const std::vector<RiseSetKind> kinds{RiseSetKind::RiseSet, RiseSetKind::CivilTwilight,
                                         RiseSetKind::NauticalTwilight};
    for (double latitude : {-60.0, 0.0, 50.0, 62.0, 72.0}) {
        ObserverSite s;
        s.latitude = latitude;
        s.longitude = 10.0;
        const std::vector<HorizonDayEvents> all = sun.events(s, kinds);
        ASSERT_EQ(all.size(), 3u);
        for (size_t k = 0; k < kinds.size(); ++k) {
            // Twilight follows the Sun whatever body is named.
            const int named = k == 0 ? kSun : kMoon;
            const HorizonDayEvents one = horizonDayEvents(&context_, riseSetBody(named), kinds[k], jd0, deltaT(jd0), s);
            EXPECT_EQ(all[k].rises, one.rises) << latitude;
            EXPECT_EQ(all[k].sets, one.sets) << latitude;
            EXPECT_EQ(all[k].state, one.state) << latitude;
        }
    }
    // 62° N at the start of June: civil twilight lasts all night, the Sun still sets.
    ObserverSite north;
    north.latitude = 62.0;
    const std::vector<HorizonDayEvents> june = sun.events(north, kinds);
    EXPECT_EQ(june[0].state, HorizonDayState::Crossings);
    EXPECT_EQ(june[1].state, HorizonDayState::AlwaysAbove);
    EXPECT_EQ(june[2].state, HorizonDayState::AlwaysAbove);
    EXPECT_EQ(moon.events(north, RiseSetKind::CivilTwilight).status, Status::BadArgument);  // twilight is the Sun's
    EXPECT_EQ(unloaded.events(north, RiseSetKind::RiseSet).status, Status::OutsideEphemeris);
    HorizonTrack earth;
    EXPECT_EQ(earth.load(&context_, riseSetBody(kEarth), jd0, deltaT(jd0)), Status::BadArgument);
    EXPECT_EQ(earth.load(nullptr, riseSetBody(kSun), jd0, deltaT(jd0)), Status::OutsideEphemeris);
}

TEST_F(RiseSetTest, HighArcticSummerAndWinter) {
    ObserverSite s;
    s.latitude = 80.0;
    s.longitude = 15.0;
    const JulianDay june = julianDayAt0h(2024, 6, 21), december = julianDayAt0h(2024, 12, 21);
    RiseTransitSet r = riseTransitSet(&context_, riseSetBody(kSun), june, deltaT(june), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_EQ(r.riseText, "circ-polar");
    EXPECT_EQ(r.setText, "--no set--");
    EXPECT_FALSE(r.hasRise || r.hasSet);
    EXPECT_EQ(r.riseHours, 0.0);
    EXPECT_TRUE(r.hasTransit);
    EXPECT_NEAR(r.transitHours, 12.0 - 1.0, 0.1);  // 15° E: an hour before Greenwich noon
    r = riseTransitSet(&context_, riseSetBody(kSun), june, deltaT(june), s, 0.0, RiseSetKind::CivilTwilight);
    EXPECT_EQ(r.riseText, "circ-polar");
    EXPECT_EQ(r.setText, "--bright--");
    r = riseTransitSet(&context_, riseSetBody(kSun), december, deltaT(december), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_EQ(r.riseText, "--no rise--");
    EXPECT_EQ(r.setText, "--no rise--");
    EXPECT_TRUE(r.hasTransit);
    EXPECT_EQ(r.transitText.size(), 8u);
    // At midwinter noon the Sun stays 13.4° down at 80° N: not even nautical
    // twilight (12°) begins.
    r = riseTransitSet(&context_, riseSetBody(kSun), december, deltaT(december), s, 0.0, RiseSetKind::NauticalTwilight);
    EXPECT_EQ(r.riseText, "--no rise--");
}

// The Sun's right ascension passes 24 h at the March equinox: the transit
// must not jump by a day around it.
TEST_F(RiseSetTest, TransitAcrossTwentyFourHoursOfRightAscension) {
    ObserverSite s;
    s.latitude = 40.0;
    s.longitude = -74.0;
    std::vector<double> transits;
    for (int day = 18; day <= 22; ++day) {
        const JulianDay jd0 = julianDayAt0h(2024, 3, day);
        const RiseTransitSet r =
            riseTransitSet(&context_, riseSetBody(kSun), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
        ASSERT_TRUE(r.hasTransit);
        transits.push_back(r.transitHours);
    }
    for (size_t i = 1; i < transits.size(); ++i) EXPECT_NEAR(transits[i], transits[i - 1], 1.0 / 60.0);
    EXPECT_NEAR(transits[2], 12.0 + 74.0 / 15.0 + 7.5 / 60.0, 2.0 / 60.0);  // equation of time about -7.5 min
}

TEST_F(RiseSetTest, ZoneOffsetShiftsAndWrapsTexts) {
    const ObserverSite s = site(kPlaces[0]);
    const JulianDay jd0 = julianDayAt0h(2024, 6, 21);
    const RiseTransitSet utc =
        riseTransitSet(&context_, riseSetBody(kSun), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    const RiseTransitSet plus2 =
        riseTransitSet(&context_, riseSetBody(kSun), jd0, deltaT(jd0), s, 2.0 / 24.0, RiseSetKind::RiseSet);
    EXPECT_EQ(plus2.riseText, formatClockTime(utc.riseHours, 2.0));
    EXPECT_EQ(plus2.setText, formatClockTime(utc.setHours, 2.0));
    EXPECT_NEAR(plus2.transitHours - utc.transitHours, 2.0, 1e-12);
    // Sunset near 20:21 UT becomes a small hour of the next day at +5 h.
    const RiseTransitSet plus5 =
        riseTransitSet(&context_, riseSetBody(kSun), jd0, deltaT(jd0), s, 5.0 / 24.0, RiseSetKind::RiseSet);
    EXPECT_GT(plus5.setHours, 24.0);
    EXPECT_EQ(plus5.setText.substr(0, 3), "01:");
}

TEST_F(RiseSetTest, PlanetsStarsAndMissingEphemeris) {
    const ObserverSite s = site(kPlaces[0]);
    const JulianDay jd0 = julianDayAt0h(2025, 1, 10);
    // Sirius (α CMa, J2000 06h45m08.9s -16°42′58″): rises about 4.6 h before
    // its transit at London; its transit moves 3m56s earlier each day.
    StarPlaceInput sirius;
    sirius.raHours = 6.0 + 45.0 / 60.0 + 8.917 / 3600.0;
    sirius.decDeg = -(16.0 + 42.0 / 60.0 + 58.02 / 3600.0);
    const RiseTransitSet a =
        riseTransitSet(&context_, riseSetStar(sirius), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    const RiseTransitSet b =
        riseTransitSet(&context_, riseSetStar(sirius), jd0 + 1.0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    ASSERT_TRUE(a.hasRise && a.hasSet && a.hasTransit);
    EXPECT_NEAR(a.transitHours - b.transitHours, 3.0 / 60.0 + 56.0 / 3600.0, 2.0 / 3600.0);
    EXPECT_NEAR(a.transitHours - a.riseHours, 4.59, 0.05);  // semi-diurnal arc acos(0.3606)
    const RiseTransitSet jupiter =
        riseTransitSet(&context_, riseSetBody(kJupiter), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_TRUE(jupiter.hasRise && jupiter.hasSet);
    const RiseTransitSet none =
        riseTransitSet(nullptr, riseSetBody(kSun), jd0, deltaT(jd0), s, 0.0, RiseSetKind::RiseSet);
    EXPECT_EQ(none.riseText, "???");
    EXPECT_EQ(none.transitText, "???");
    EXPECT_EQ(none.setText, "???");
    EXPECT_FALSE(none.hasTransit);
}

}  // namespace
}  // namespace celestra
