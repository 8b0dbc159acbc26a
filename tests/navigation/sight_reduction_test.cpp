// The reduction against independent spherical trigonometry and the apparent-
// place pipeline, its edge cases, the Details rows, the Enviro setters and
// Calculate's checks.
#include "navigation/sight_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "tests/navigation/sight_synthesis.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

constexpr double kUtc = 2460390.33;  // 2024-03-20 19:55 UTC

class ReductionTest : public test::De405Test {
protected:
    CMeasure sight(bool star, int index, double lat = 36.25, double lon = -24.6) {
        CMeasure m(CObserverState(kUtc, 0.0));
        m.observer.latitude = lat;
        m.observer.longitude = lon;
        m.isStar = star ? 1 : 0;
        m.bodyIndex = index;
        m.observationTime = kUtc;
        return m;
    }
};

TEST_F(ReductionTest, HcAndZnAgreeWithSphericalTrigonometryFromGhaAndDeclination) {
    struct Case {
        bool star;
        int index;
        double lat, lon, course, speed, runHours;
    };
    // Stars, planets, Sun and Moon; north and south, east and west, a run.
    const Case cases[] = {{true, 2491, 36.25, -24.6, 0, 0, 0},    {true, 424, 36.25, -24.6, 0, 0, 0},
                          {true, 5340, -33.9, 151.2, 0, 0, 0},    {false, kMoon, -12.4, 61.8, 45, 20, 3},
                          {false, kSun, 51.5, -0.1, 200, 15, -2}, {false, kJupiter, 10.0, 179.9, 90, 30, 5},
                          {false, kVenus, -60.0, -70.0, 0, 0, 0}, {true, 7001, 75.0, 20.0, 300, 12, 1.5}};
    double worstHc = 0.0, worstZn = 0.0;
    for (const Case& c : cases) {
        CMeasure m = sight(c.star, c.index, c.lat, c.lon);
        m.course = c.course;
        m.speed = c.speed;
        m.apTimeOverride = kUtc - c.runHours / 24.0;
        ASSERT_EQ(reduceSight(m, context_, 30.0), Status::Ok);
        const SightTimeAngles t = sightTimeAngles(m);
        const double phi = m.drLatitude * kDegToRad, dec = m.declination * kDegToRad;
        const double lha = (t.ghaBody + m.drLongitude) * kDegToRad;
        const double hc = std::asin(std::sin(phi) * std::sin(dec) + std::cos(phi) * std::cos(dec) * std::cos(lha));
        double zn = std::atan2(-std::cos(dec) * std::sin(lha),
                               std::cos(phi) * std::sin(dec) - std::sin(phi) * std::cos(dec) * std::cos(lha)) *
                    kRadToDeg;
        if (zn < 0.0) zn += 360.0;
        const double dHc = (m.hc - hc * kRadToDeg) * 60.0;
        const double dZn = std::remainder(m.azimuth - zn, 360.0);
        EXPECT_LT(std::fabs(dHc), 0.01) << c.index;
        EXPECT_LT(std::fabs(dZn), 0.01) << c.index;
        worstHc = std::max(worstHc, std::fabs(dHc));
        worstZn = std::max(worstZn, std::fabs(dZn));
        // The run was applied: the DR lies run × speed from the AP.
        EXPECT_NEAR(m.runTime, c.runHours, 1e-6);
    }
    std::printf("  Hc worst %.2e', Zn worst %.2e deg against spherical trigonometry\n", worstHc, worstZn);
}

TEST_F(ReductionTest, MoonParallaxBringsTheTopocentricAltitudeToTheGeocentricOne) {
    // Independent: the topocentric place on the ellipsoid from the pipeline.
    int compared = 0;
    for (double lat : {-55.0, 0.0, 40.0, 70.0}) {
        CMeasure m = sight(false, kMoon, lat, 20.0);
        m.observer.height = 0.0;
        m.observationTime = 2460446.0;
        ObserverSite site;
        site.latitude = lat;
        site.longitude = 20.0;
        double ra = 0.0, dec = 0.0, au = 0.0;
        ASSERT_EQ(topocentricPlaceUtc(context_, m.observationTime, kMoon, site, ra, dec, au), Status::Ok);
        const HorizontalPlace topo = equatorialToHorizontal(ttFromUtc(m.observationTime), deltaT(m.observationTime),
                                                            0.0, 0.0, site, ra, dec, kRefractionNone);
        const double hTopo = 90.0 - topo.zenithDistanceDeg;
        if (hTopo < 5.0) continue;
        ASSERT_EQ(reduceSight(m, context_, hTopo), Status::Ok);
        // Ho = Ha + R + PA + SD; take off R and SD to compare Ha + PA with Hc.
        const double geocentric = m.ho - m.refractionCorrection - m.semiDiameter;
        EXPECT_NEAR((geocentric - m.hc) * 60.0, 0.0, 0.1) << lat;
        EXPECT_GT(m.parallax, 0.5 * std::cos(hTopo * kDegToRad));  // about 54'-61' × cos h
        ++compared;
    }
    EXPECT_GE(compared, 2);
}

TEST_F(ReductionTest, StarsHaveNoParallaxOrSemiDiameterAndLimbsAddOrTakeIt) {
    CMeasure star = sight(true, 2491);
    star.parallax = star.semiDiameter = star.distance = 9.0;  // stale values are cleared
    ASSERT_EQ(reduceSight(star, context_, 25.0), Status::Ok);
    EXPECT_EQ(star.parallax, 0.0);
    EXPECT_EQ(star.semiDiameter, 0.0);
    EXPECT_EQ(star.distance, 0.0);
    EXPECT_LT(star.refractionCorrection, 0.0);
    EXPECT_DOUBLE_EQ(star.ho, star.ha + star.refractionCorrection);

    CMeasure lower = sight(false, kSun), upper = sight(false, kSun);
    upper.upperLimb = 1;
    ASSERT_EQ(reduceSight(lower, context_, 25.0), Status::Ok);
    ASSERT_EQ(reduceSight(upper, context_, 25.0), Status::Ok);
    EXPECT_NEAR(lower.semiDiameter * 60.0, 16.05, 0.1);  // March: about 16.1'
    EXPECT_NEAR(lower.ho - upper.ho, 2.0 * lower.semiDiameter, 1e-12);
    EXPECT_NEAR(lower.distance, 1.4898e8, 0.002e8);
}

TEST_F(ReductionTest, DisabledCorrectionsKeepHsButStillTheLimb) {
    CMeasure sun = sight(false, kSun);
    sun.observer.height = 20.0;
    sun.indexCorrection = 2.0 / 60.0;
    setCorrectionsDisabled(sun, true);
    EXPECT_EQ(sun.observer.refraction, 0);
    ASSERT_EQ(reduceSight(sun, context_, 25.0), Status::Ok);
    EXPECT_EQ(sun.ha, 25.0);
    EXPECT_DOUBLE_EQ(sun.ho, 25.0 + sun.semiDiameter);
    CMeasure star = sight(true, 2491);
    setCorrectionsDisabled(star, true);
    ASSERT_EQ(reduceSight(star, context_, 25.0), Status::Ok);
    EXPECT_EQ(star.ho, 25.0);
    EXPECT_EQ(star.intercept, 25.0 - star.hc);
}

TEST_F(ReductionTest, RunTimeDeadReckoningAndTheApTimeOverride) {
    CMeasure m = sight(true, 2491);
    m.observer.instant = kUtc - 0.25;  // AP six hours before the sight
    m.speed = 0.0;
    m.course = 123.0;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_NEAR(m.runTime, 6.0, 1e-6);
    EXPECT_EQ(m.drLatitude, m.observer.latitude);  // speed 0: DR = AP exactly
    EXPECT_EQ(m.drLongitude, m.observer.longitude);

    m.speed = 10.0;
    m.course = 90.0;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_NEAR(m.drLatitude, 36.25, 1e-9);
    EXPECT_NEAR((m.drLongitude + 24.6) * 60.0 * std::cos(36.25 * kDegToRad), 60.0, 1e-6);  // 60 miles east
    EXPECT_EQ(m.observer.latitude, 36.25);                                                 // the AP itself is unchanged
    EXPECT_EQ(m.observer.longitude, -24.6);

    m.apTimeOverride = -1.0;  // any value not > 0: the observer state's instant
    EXPECT_EQ(m.ApTime(), kUtc - 0.25);
    m.apTimeOverride = m.observationTime;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_EQ(m.runTime, 0.0);
    EXPECT_EQ(m.drLongitude, -24.6);
}

TEST_F(ReductionTest, DipOrdinaryShortAndForANegativeHeight) {
    CMeasure m = sight(true, 2491);
    m.observer.height = -3.0;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_EQ(m.dip, 0.0);
    m.observer.height = 10.0;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_NEAR(m.dip * 60.0, 5.56, 0.01);  // the almanac's 5.6' for 10 m
    const double ordinary = m.dip;
    // Short of the horizon: larger when the shore is near, about the ordinary
    // dip when the shore lies at the horizon's distance (2.07 √h miles).
    setDipShortEnabled(m, true);
    m.dipShortDistance = 0.5;
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_GT(m.dip, 3.0 * ordinary);
    m.dipShortDistance = 2.07 * std::sqrt(10.0);
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    EXPECT_NEAR(m.dip / ordinary, 1.0, 0.1);
}

TEST_F(ReductionTest, BadBodiesAndInstantsOutsideTheEphemeris) {
    CMeasure none = sight(false, kEarth);
    EXPECT_EQ(reduceSight(none, context_, 25.0), Status::BadArgument);
    CMeasure placeholder = sight(true, 92);
    EXPECT_EQ(reduceSight(placeholder, context_, 25.0), Status::BadArgument);
    CMeasure late = sight(false, kSun);
    late.observationTime = 2480000.5;  // 2078
    EXPECT_FALSE(observationInEphemerisRange(late, context_));
    EXPECT_EQ(reduceSight(late, context_, 25.0), Status::OutsideEphemeris);
    EXPECT_EQ(late.hs, 0.0);  // a failed reduction leaves the sight as it was
    const CalculateOutcome outcome = calculateSight(late, context_, 25.0, 1, 36.25, -24.6, "");
    EXPECT_EQ(outcome.status, CalculateOutcome::Status::OutsideEphemeris);
    EXPECT_EQ(outcome.message, "Date is outside Ephemeris range.\r\nYou can download larger\r\nEphemerides.");
    EXPECT_EQ(
        ephemerisRangeMessage("https://example.org/eph"),
        "Date is outside Ephemeris range.\r\nYou can download larger\r\nEphemerides from\r\nhttps://example.org/eph");
}

TEST_F(ReductionTest, CalculateAsksAboutTheApByTimeAndByDistance) {
    CMeasure m = sight(true, 2491);
    CalculateOutcome o = calculateSight(m, context_, 25.0, 1, 36.25, -24.6, "");
    EXPECT_EQ(o.status, CalculateOutcome::Status::Reduced);
    EXPECT_FALSE(o.resultText.empty());

    m.observer.instant = kUtc - 2.01;  // AP time more than two days off
    o = calculateSight(m, context_, 25.0, 1, 36.25, -24.6, "");
    EXPECT_EQ(o.status, CalculateOutcome::Status::AskAp);
    EXPECT_EQ(o.title, "Check AP Time and Location");
    m.observer.instant = kUtc - 1.99;
    EXPECT_FALSE(apTimeQuestionNeeded(m));

    // 401 and 399 miles north of the chart's position.
    m.observer.instant = kUtc;
    m.observer.latitude = 36.25 + 401.0 / 60.0;
    EXPECT_TRUE(apDistanceQuestionNeeded(m, 36.25, -24.6));
    m.observer.latitude = 36.25 + 399.0 / 60.0;
    EXPECT_FALSE(apDistanceQuestionNeeded(m, 36.25, -24.6));
    m.observer.latitude = 50.0;
    m.observer.instant = kUtc - 5.0;
    o = calculateSight(m, context_, 25.0, 1, 36.25, -24.6, "");
    ASSERT_EQ(o.status, CalculateOutcome::Status::AskAp);
    o = acceptApCorrection(m, context_, 1, 36.25, -24.6);
    EXPECT_EQ(o.status, CalculateOutcome::Status::Reduced);
    EXPECT_EQ(m.runTime, 0.0);
    EXPECT_EQ(m.observer.latitude, 36.25);
    EXPECT_EQ(m.hs, 25.0);
}

TEST_F(ReductionTest, ResultTextTowardOrAwayAndTheDetailsRows) {
    CMeasure m = sight(true, 2491);
    ASSERT_EQ(reduceSight(m, context_, 25.0), Status::Ok);
    const double hc = m.hc;
    ASSERT_EQ(reduceSight(m, context_, hc + 0.1), Status::Ok);  // about 6' above: toward
    std::string text;
    formatResult(m, 1, text);
    char head[48];
    std::snprintf(head, sizeof head, "%.2lf nMi toward AP\nalong Az: ", m.intercept * 60.0);
    EXPECT_EQ(text.rfind(head, 0), 0u) << text;
    EXPECT_NE(text.find("\n\n     N 36\u00b015.00'\n     W 024\u00b036.00'"), std::string::npos) << text;
    ASSERT_EQ(reduceSight(m, context_, hc - 0.2), Status::Ok);
    text.clear();
    formatResult(m, 0, text);
    std::snprintf(head, sizeof head, "%.2lf nMi away from AP\n", -m.intercept * 60.0);
    EXPECT_EQ(text.rfind(head, 0), 0u) << text;

    for (int f = 0; f < 3; ++f) {
        const std::vector<DetailRow> rows = fillDetails(m, context_, f);
        ASSERT_EQ(rows.size(), static_cast<size_t>(kDetailRowCount));
        EXPECT_EQ(rows[0].value, "Sirius");
        EXPECT_EQ(rows[4].value, "Disabled");
        EXPECT_EQ(rows[13].symbol, "Ho");
        EXPECT_EQ(rows[40].measurement, "BrightStar #");
        EXPECT_EQ(rows[40].value, "2491");
        EXPECT_EQ(rows[14].value, formatAngle(m.hc, primedFormat(f)));
        EXPECT_EQ(rows[15].value, formatAngle(m.azimuth, f));
    }
    EXPECT_EQ(nextResultFormat(2), 0);
    const SightTimeAngles t = sightTimeAngles(m);
    // SHA of Sirius, about 258.4° in 2024; LHA = GHA + AP longitude.
    EXPECT_NEAR(t.sha, 258.45, 0.05);
    EXPECT_NEAR(std::remainder(t.lha - (t.ghaBody - 24.6), 360.0), 0.0, 1e-9);
    EXPECT_NEAR(t.ghaAries, t.gstHours * 15.0, 1e-12);
}

TEST_F(ReductionTest, SextantBodySelectorListsBothLimbsOfTheSunAndMoon) {
    const std::vector<BodyChoice> choices = sextantBodyChoices(context_);
    ASSERT_EQ(choices.size(), 12u);  // 8 planets without the Earth, 2 × Sun, 2 × Moon
    EXPECT_EQ(choices.front().text, "Jupiter");
    EXPECT_EQ(choices.back().text, "Venus");
    for (const BodyChoice& c : choices) {
        if (c.text != "Moon, Upper Limb") continue;
        CMeasure m = sight(true, 2491);
        selectBody(m, c.value);
        EXPECT_EQ(m.isStar, 0);
        EXPECT_EQ(m.bodyIndex, kMoon);
        EXPECT_EQ(m.upperLimb, 1);
        EXPECT_EQ(sightBodyName(m, context_), c.text);
    }
}

TEST(Enviro, RangesSettersAndStp) {
    CMeasure m(CObserverState(kUtc, 0.0));
    EXPECT_TRUE(setHeight(m, 30000.0));
    EXPECT_FALSE(setHeight(m, 30000.01));
    EXPECT_FALSE(setHeight(m, -0.1));
    EXPECT_FALSE(setHeight(m, std::nan("")));
    EXPECT_EQ(m.observer.height, 30000.0);
    EXPECT_TRUE(setTemperature(m, -90.0));
    EXPECT_FALSE(setTemperature(m, 60.5));
    EXPECT_FALSE(setPressure(m, 859.9));
    EXPECT_TRUE(setPressure(m, 1085.0));
    EXPECT_TRUE(setEnviro(m, EnviroField::IndexCorrection, -3.0));
    EXPECT_DOUBLE_EQ(m.indexCorrection, -0.05);
    EXPECT_DOUBLE_EQ(enviroValue(m, EnviroField::IndexCorrection), -3.0);
    EXPECT_FALSE(setEnviro(m, EnviroField::IndexCorrection, 61.0));
    EXPECT_FALSE(setEnviro(m, EnviroField::DipShortDistance, 0.0));
    EXPECT_FALSE(setEnviro(m, EnviroField::Speed, 501.0));
    EXPECT_TRUE(setEnviro(m, EnviroField::Course, 360.0));
    useStp(m);
    EXPECT_EQ(m.observer.pressure, 1010.0);
    EXPECT_EQ(m.observer.temperature, 10.0);
    setCorrectionsDisabled(m, true);
    EXPECT_FALSE(enviroFieldEnabled(m, EnviroField::Pressure));
    EXPECT_FALSE(enviroFieldEnabled(m, EnviroField::DipShortDistance));
    EXPECT_TRUE(enviroFieldEnabled(m, EnviroField::Height));
    setCorrectionsDisabled(m, false);
    EXPECT_EQ(m.observer.refraction, 1);
    EXPECT_TRUE(enviroFieldEnabled(m, EnviroField::Pressure));
    EXPECT_EQ(sextantAltitude(33, 30.0), 33.5);
}

TEST(SextantAltitude, EveryTenthOfAMinuteShowsAsEntered) {
    // The Details show Hs in degrees and hundredths of a minute: a reading
    // of 48°12.7' must come back as 48°12.70', not 48°12.69'.
    int wrong = 0;
    for (int degrees : {0, 12, 48, 89})
        for (int tenths = 0; tenths < 600; ++tenths) {
            char expected[32];
            std::snprintf(expected, sizeof expected, " %02d\u00b0%05.2lf'", degrees, tenths / 10.0);
            if (formatAngle(sextantAltitude(degrees, tenths / 10.0), 4) != expected && ++wrong < 5)
                ADD_FAILURE() << expected << " shows as " << formatAngle(sextantAltitude(degrees, tenths / 10.0), 4);
        }
    EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace celestra
