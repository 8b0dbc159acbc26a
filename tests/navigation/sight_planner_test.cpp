// The sight planner: the choice of the best set on made-up skies, and whole
// plans from the ephemeris (a known evening, a sky with too few bodies, a
// place without civil twilight).
#include "navigation/sight_planner.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalogs/star_place.h"
#include "core/horizon.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

PlanBody body(const char* name, double zn, double magnitude, double hc = 40.0) {
    return {name, 1, 0, hc, zn, magnitude};
}

std::vector<std::string> names(const std::vector<PlanBody>& bodies, const std::vector<size_t>& set) {
    std::vector<std::string> out;
    for (size_t i : set) out.push_back(bodies[i].name);
    return out;
}

TEST(SightPlannerChoice, SmallestGapGoesRoundTheHorizon) {
    EXPECT_DOUBLE_EQ(smallestAzimuthGap({10.0, 130.0, 250.0}), 120.0);
    EXPECT_DOUBLE_EQ(smallestAzimuthGap({350.0, 5.0, 180.0}), 15.0);  // across north
    EXPECT_DOUBLE_EQ(smallestAzimuthGap({90.0}), 360.0);
    EXPECT_DOUBLE_EQ(smallestAzimuthGap({0.0, 90.0, 180.0, 270.0}), 90.0);
}

TEST(SightPlannerChoice, PrefersTheSpreadThenTheBrightThenTheMiddleAltitudes) {
    // A bright cluster in the east and three fainter stars 120° apart: the
    // spread wins over brightness.
    const std::vector<PlanBody> sky = {body("A", 80, 0.0),  body("B", 90, -0.5),  body("C", 100, 0.1),
                                       body("N", 355, 2.0), body("SE", 118, 2.1), body("SW", 237, 1.9)};
    EXPECT_EQ(names(sky, chooseBestSet(sky, 3)), (std::vector<std::string>{"SE", "SW", "N"}));
    // Among sets equally spread (within 10°), the one whose faintest body is
    // brightest; then the one nearer 45° high.
    const std::vector<PlanBody> twins = {body("N1", 0, 2.5), body("N2", 4, 1.0), body("E", 120, 1.2),
                                         body("W", 240, 1.1), body("W2", 236, 1.1, 20.0)};
    EXPECT_EQ(names(twins, chooseBestSet(twins, 3)), (std::vector<std::string>{"N2", "E", "W"}));
    // Four bodies: 90° apart.
    const std::vector<PlanBody> four = {body("a", 10, 1),  body("b", 60, 1),  body("c", 100, 1),
                                        body("d", 185, 1), body("e", 275, 1), body("f", 300, 1)};
    EXPECT_EQ(names(four, chooseBestSet(four, 4)), (std::vector<std::string>{"a", "c", "d", "e"}));
    // No more bodies than the count: all of them, by azimuth.
    const std::vector<PlanBody> two = {body("late", 300, 1), body("early", 20, 1)};
    EXPECT_EQ(names(two, chooseBestSet(two, 3)), (std::vector<std::string>{"early", "late"}));
    EXPECT_TRUE(chooseBestSet({}, 3).empty());
}

class SightPlannerTest : public test::De405Test {
protected:
    PlanRequest evening() {
        PlanRequest r;
        r.latitude = 36.5;
        r.longitude = -24.3;
        r.year = 2024;
        r.month = 3;
        r.day = 20;
        return r;
    }
    static ObserverSite siteOf(const PlanRequest& r) {
        ObserverSite site;
        site.latitude = r.latitude;
        site.longitude = r.longitude;
        return site;
    }
    // The Sun's airless altitude, checking that it is setting (west) or rising (east).
    double sunAltitude(JulianDay utc, const ObserverSite& site, bool setting) {
        HorizonResult sun;
        EXPECT_EQ(horizonPlace(context_, utc, kSun, site, false, PlaceForm::Geocentric, sun), Status::Ok);
        EXPECT_EQ(sun.azimuthDeg > 180.0, setting);
        return sun.altitudeDeg;
    }
};

TEST_F(SightPlannerTest, KnownEveningGivesThreeBodiesAboutAThirdOfTheHorizonApart) {
    const SightPlan plan = planSights(context_, evening());
    ASSERT_EQ(plan.status, Status::Ok);
    EXPECT_TRUE(plan.note.empty()) << plan.note;
    // The instant is civil dusk: the Sun's centre 6° below the horizon, in
    // the local evening of 2024-03-20 (20:15 UTC at 24.3° W).
    const ObserverSite site = siteOf(evening());
    EXPECT_NEAR(sunAltitude(plan.utc, site, true), -6.0, 0.02);
    EXPECT_NEAR(plan.utc, julianDayFromCalendar(2024, 3, 20, 20.25), 0.5 / 24.0);

    ASSERT_GE(plan.bodies.size(), 15u);
    for (size_t i = 0; i < plan.bodies.size(); ++i) {
        EXPECT_GE(plan.bodies[i].hc, 15.0);
        EXPECT_LE(plan.bodies[i].hc, 70.0);
        if (i > 0) { EXPECT_LE(plan.bodies[i - 1].zn, plan.bodies[i].zn); }
    }
    ASSERT_EQ(plan.best.size(), 3u);
    std::vector<double> azimuths;
    for (size_t i : plan.best) azimuths.push_back(plan.bodies[i].zn);
    EXPECT_GE(smallestAzimuthGap(azimuths), 100.0);
    // Each body's Hc and Zn are those of the sight reduction at that instant.
    const PlanBody& first = plan.bodies[plan.best[0]];
    HorizonResult h;
    if (first.star) {
        ASSERT_EQ(horizonPlace(context_, plan.utc, starPlaceInput(*starByNumber(first.star)), site, false,
                               PlaceForm::Geocentric, h),
                  Status::Ok);
    } else {
        ASSERT_EQ(horizonPlace(context_, plan.utc, first.body, site, false, PlaceForm::Geocentric, h), Status::Ok);
    }
    EXPECT_NEAR(h.altitudeDeg, first.hc, 1e-6);
    EXPECT_NEAR(h.azimuthDeg, first.zn, 1e-6);
}

TEST_F(SightPlannerTest, MorningPlansTheDawnAndAnInstantIsTakenAsGiven) {
    PlanRequest r = evening();
    r.twilight = PlanTwilight::Morning;
    r.count = 5;
    const SightPlan dawn = planSights(context_, r);
    ASSERT_EQ(dawn.status, Status::Ok);
    EXPECT_NEAR(sunAltitude(dawn.utc, siteOf(r), false), -6.0, 0.02);
    EXPECT_NEAR(dawn.utc, julianDayFromCalendar(2024, 3, 20, 7.25), 0.5 / 24.0);
    EXPECT_EQ(dawn.best.size(), 5u);
    r.atInstant = true;
    r.utc = julianDayFromCalendar(2024, 3, 21, 2.0);
    EXPECT_EQ(planSights(context_, r).utc, r.utc);
}

TEST_F(SightPlannerTest, FewerBodiesThanTheCountAreAllChosenAndTheNoteSaysSo) {
    PlanRequest r = evening();
    r.minAltitude = 55.0;
    r.maxAltitude = 57.0;
    r.count = 4;
    const SightPlan plan = planSights(context_, r);
    ASSERT_EQ(plan.status, Status::Ok);
    ASSERT_LT(plan.bodies.size(), 4u);
    EXPECT_EQ(plan.best.size(), plan.bodies.size());
    EXPECT_NE(plan.note.find("a set of 4 needs 4"), std::string::npos) << plan.note;
    EXPECT_NE(plan.note.find("between 55\u00b0 and 57\u00b0"), std::string::npos) << plan.note;
}

TEST_F(SightPlannerTest, NoCivilTwilightInTheArcticSummerOrAtBadLimits) {
    PlanRequest r = evening();
    r.latitude = 78.0;
    r.month = 6;
    r.day = 21;
    const SightPlan plan = planSights(context_, r);
    EXPECT_EQ(plan.status, Status::Failed);
    EXPECT_NE(plan.note.find("no civil twilight"), std::string::npos);
    EXPECT_TRUE(plan.bodies.empty());
    r = evening();
    r.count = 6;
    EXPECT_EQ(planSights(context_, r).status, Status::BadArgument);
    r = evening();
    r.minAltitude = 50.0;
    r.maxAltitude = 40.0;
    EXPECT_EQ(planSights(context_, r).status, Status::BadArgument);
}

}  // namespace
}  // namespace celestra
