// Places, magnitudes, Moon phase and the bodies' update step, on the DE405
// file of 1959-2060.
#include "solarsystem/planets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <thread>
#include <vector>

#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

// Instants as UTC Julian days.
constexpr double kJupiterOpposition2022 = 2459848.5;  // 2022-09-26 0h
constexpr double kMarsOpposition2003 = 2452879.875;   // 2003-08-28 9h
constexpr double kNewMoon = 2460320.998;              // 2024-01-11 11:57
constexpr double kFirstQuarter = 2460327.662;         // 2024-01-18 03:53
constexpr double kFullMoon = 2460335.246;             // 2024-01-25 17:54
constexpr double kLastQuarter = 2460343.471;          // 2024-02-02 23:18
constexpr double kBeforeFile = 2436000.5;             // 1957

using PlanetsTest = test::De405Test;

TEST_F(PlanetsTest, ContextNamesTheElevenBodiesAndTheFileRange) {
    EXPECT_EQ(context_.bodies[kMercury - 1].name, "Mercury");
    EXPECT_EQ(context_.bodies[kSun - 1].number, kSun);
    EXPECT_EQ(context_.bodies[kMoon - 1].name, "Moon");
    EXPECT_EQ(context_.earth().number, kEarth);
    EXPECT_DOUBLE_EQ(context_.startJd, eph_.info().startJd);
    EXPECT_DOUBLE_EQ(context_.endJd, eph_.info().endJd);
}

TEST_F(PlanetsTest, EarthStateIsReadOnceForBodiesAtOneInstant) {
    double ra = 0, dec = 0, dist = 0;
    const double tt = 2455000.3;
    ASSERT_EQ(geocentricPlace(eph_, tt, context_.bodies[kMars - 1], context_.earth(), ra, dec, dist), Status::Ok);
    const long before = earthStateEvaluations();
    ASSERT_EQ(geocentricPlace(eph_, tt, context_.bodies[kJupiter - 1], context_.earth(), ra, dec, dist), Status::Ok);
    ASSERT_EQ(geocentricPlace(eph_, tt + 5e-7, context_.bodies[kSaturn - 1], context_.earth(), ra, dec, dist),
              Status::Ok);
    EXPECT_EQ(earthStateEvaluations(), before);
    ASSERT_EQ(geocentricPlace(eph_, tt + 2e-6, context_.bodies[kSaturn - 1], context_.earth(), ra, dec, dist),
              Status::Ok);
    EXPECT_EQ(earthStateEvaluations(), before + 1);
    // A failure drops the kept state: the next request at the old instant reads again.
    EarthState state;
    EXPECT_EQ(earthState(eph_, kBeforeFile, context_.earth(), state), Status::OutsideEphemeris);
    EXPECT_EQ(state.baryPos.norm(), 0.0);
    ASSERT_EQ(earthState(eph_, tt + 2e-6, context_.earth(), state), Status::Ok);
    EXPECT_EQ(earthStateEvaluations(), before + 3);
}

TEST_F(PlanetsTest, ThreadsKeepTheirOwnEarthState) {
    // Two threads alternate between instants a day apart; a shared Earth
    // cache would hand one thread the other's Earth.
    const double instants[2] = {2458000.25, 2458001.75};
    double expected[2][2];
    for (int i = 0; i < 2; ++i) {
        double dist = 0.0;
        ASSERT_EQ(geocentricPlaceUtc(context_, instants[i], kMoon, expected[i][0], expected[i][1], dist), Status::Ok);
    }
    int mismatches[2] = {0, 0};
    auto run = [&](int which) {
        for (int n = 0; n < 300; ++n) {
            const int i = (n + which) % 2;
            double ra = 0, dec = 0, dist = 0;
            geocentricPlaceUtc(context_, instants[i], kMoon, ra, dec, dist);
            if (ra != expected[i][0] || dec != expected[i][1]) ++mismatches[which];
        }
    };
    std::thread a(run, 0), b(run, 1);
    a.join();
    b.join();
    EXPECT_EQ(mismatches[0] + mismatches[1], 0);
}

TEST_F(PlanetsTest, BeforeTheFileEveryPlaceIsZeroWithResult12) {
    const ObserverSite site{40.0, -3.7};
    double ra = 1, dec = 1, dist = 1;
    EXPECT_EQ(geocentricPlaceUtc(context_, kBeforeFile, kMars, ra, dec, dist), Status::OutsideEphemeris);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
    EXPECT_EQ(dist, 0.0);
    ra = dec = dist = 1;
    EXPECT_EQ(topocentricPlaceUtc(context_, kBeforeFile, kMoon, site, ra, dec, dist), Status::OutsideEphemeris);
    EXPECT_EQ(ra + dec + dist, 0.0);
    HorizonResult h;
    EXPECT_EQ(horizonPlace(context_, kBeforeFile, kSun, site, true, PlaceForm::Topocentric, h),
              Status::OutsideEphemeris);
    EXPECT_EQ(h.altitudeDeg, 90.0);
    EXPECT_EQ(h.azimuthDeg, 0.0);
    double magnitude = 5.0;
    EXPECT_EQ(planetMagnitude(context_, kVenus, kBeforeFile, magnitude), Status::OutsideEphemeris);
    EXPECT_EQ(magnitude, 0.0);  // not log10(0)
    MoonPhase phase;
    EXPECT_EQ(moonPhase(context_, kBeforeFile, phase), Status::OutsideEphemeris);
    // Body numbers outside 1..11 are a bad argument.
    EXPECT_EQ(geocentricPlaceUtc(context_, kFullMoon, 12, ra, dec, dist), Status::BadArgument);
    EXPECT_EQ(planetMagnitude(context_, 0, kFullMoon, magnitude), Status::BadArgument);
}

TEST_F(PlanetsTest, DistanceIsGeometricAtTdb) {
    const double tt = ttFromUtc(kJupiterOpposition2022);
    double ra = 0, dec = 0, dist = 0;
    ASSERT_EQ(geocentricPlace(eph_, tt, context_.bodies[kJupiter - 1], context_.earth(), ra, dec, dist), Status::Ok);
    EarthState earth;
    ASSERT_EQ(earthState(eph_, tt, context_.earth(), earth), Status::Ok);
    Vector3 jupiter, vel;
    ASSERT_EQ(eph_.solarSystemState(earth.jdTdb, kJupiter, kOriginBarycentre, jupiter, vel), 0);
    EXPECT_NEAR(dist, (jupiter - earth.baryPos).norm(), 1e-13);
    EXPECT_NEAR(dist, 3.95, 0.01);
    // Not the distance of the light-time-corrected vector: Jupiter moves meanwhile.
    Vector3 retarded;
    ASSERT_EQ(eph_.solarSystemState(earth.jdTdb - dist / kLightAuPerDay, kJupiter, kOriginBarycentre, retarded, vel),
              0);
    EXPECT_GT(std::fabs(dist - (retarded - earth.baryPos).norm()), 1e-7);
}

TEST_F(PlanetsTest, TopocentricParallaxIsLargeForTheMoonOnlyAndGrowsTowardTheHorizon) {
    const ObserverSite site{50.0, 8.0, 100.0};
    double moonMax = 0.0, jupiterMax = 0.0, moonDistanceGap = 0.0;
    for (int hour = 0; hour < 24; ++hour) {
        const double utc = kFullMoon + hour / 24.0;
        double gra = 0, gdec = 0, gdist = 0, tra = 0, tdec = 0, tdist = 0;
        ASSERT_EQ(geocentricPlaceUtc(context_, utc, kMoon, gra, gdec, gdist), Status::Ok);
        ASSERT_EQ(topocentricPlaceUtc(context_, utc, kMoon, site, tra, tdec, tdist), Status::Ok);
        moonMax = std::max(moonMax, std::fabs(tdec - gdec));
        moonDistanceGap = std::max(moonDistanceGap, std::fabs(tdist - gdist));
        ASSERT_EQ(geocentricPlaceUtc(context_, utc, kJupiter, gra, gdec, gdist), Status::Ok);
        ASSERT_EQ(topocentricPlaceUtc(context_, utc, kJupiter, site, tra, tdec, tdist), Status::Ok);
        jupiterMax = std::max(jupiterMax, std::fabs(tdec - gdec));
    }
    EXPECT_GT(moonMax, 0.5);
    EXPECT_LT(moonMax, 1.05);
    EXPECT_LT(jupiterMax * 3600.0, 3.0);
    EXPECT_GT(moonDistanceGap, 2.0e-5);  // the site is up to one Earth radius nearer
    EXPECT_LT(moonDistanceGap, 4.3e-5);
}

TEST_F(PlanetsTest, MagnitudesAtOppositionsAndConstants) {
    double m = 0.0;
    ASSERT_EQ(planetMagnitude(context_, kJupiter, kJupiterOpposition2022, m), Status::Ok);
    EXPECT_NEAR(m, -2.94, 0.05);
    ASSERT_EQ(planetMagnitude(context_, kMars, kMarsOpposition2003, m), Status::Ok);
    EXPECT_NEAR(m, -2.88, 0.08);
    ASSERT_EQ(planetMagnitude(context_, kMoon, kFullMoon, m), Status::Ok);
    EXPECT_NEAR(m, -12.65, 0.1);  // phase angle a few degrees
    ASSERT_EQ(planetMagnitude(context_, kSun, kBeforeFile, m), Status::Ok);
    EXPECT_EQ(m, -26.73);
    ASSERT_EQ(planetMagnitude(context_, kEarth, kFullMoon, m), Status::Ok);
    EXPECT_EQ(m, 1.0);
    // Saturn without a ring term: at the 2023-08-27 opposition its disc alone
    // gives +0.8, fainter than the +0.4 seen with the rings.
    ASSERT_EQ(planetMagnitude(context_, kSaturn, 2460183.5, m), Status::Ok);
    EXPECT_NEAR(m, 0.78, 0.05);
}

TEST_F(PlanetsTest, MoonPhaseThroughOneLunation) {
    MoonPhase p;
    ASSERT_EQ(moonPhase(context_, kNewMoon, p), Status::Ok);
    EXPECT_LT(p.illuminatedFraction, 0.01);
    ASSERT_EQ(moonPhase(context_, kFullMoon, p), Status::Ok);
    EXPECT_GT(p.illuminatedFraction, 0.99);
    EXPECT_GT(p.elongationDeg, 175.0);
    ASSERT_EQ(moonPhase(context_, kFirstQuarter, p), Status::Ok);
    EXPECT_NEAR(p.illuminatedFraction, 0.5, 0.02);
    EXPECT_GT(p.brightLimbDeg, 180.0);  // waxing: the bright limb faces west, toward the Sun
    ASSERT_EQ(moonPhase(context_, kLastQuarter, p), Status::Ok);
    EXPECT_NEAR(p.illuminatedFraction, 0.5, 0.02);
    EXPECT_LT(p.brightLimbDeg, 180.0);
    EXPECT_GT(p.brightLimbDeg, 0.0);
    // The pure forms: the Sun due east of the Moon on the equator.
    EXPECT_NEAR(brightLimbAngle(6.0, 0.0, 0.0, 0.0), 90.0, 1e-9);
    EXPECT_NEAR(moonElongation(6.0, 0.0, 0.0, 0.0), 90.0, 1e-9);
    EXPECT_NEAR(moonPhaseAngle(180.0, 1.0, 0.0026), 0.0, 1e-9);
    EXPECT_NEAR(illuminatedFraction(90.0), 0.5, 1e-15);
}

TEST_F(PlanetsTest, HorizonPlaceOfTheNoonSunAndOfPolaris) {
    const ObserverSite greenwich{51.4778, -0.0014, 45.0, 15.0, 1013.0};
    HorizonResult sun;
    const double solarNoon = 2460483.0 + 100.0 / 86400.0;  // 2024-06-21 12:01:40 UTC
    ASSERT_EQ(horizonPlace(context_, solarNoon, kSun, greenwich, false, PlaceForm::Topocentric, sun), Status::Ok);
    EXPECT_NEAR(sun.altitudeDeg, 90.0 - 51.4778 + 23.44, 0.02);
    EXPECT_NEAR(sun.azimuthDeg, 180.0, 0.5);
    EXPECT_NEAR(sun.distanceAu, 1.0163, 0.0003);
    HorizonResult refracted;
    ASSERT_EQ(horizonPlace(context_, solarNoon, kSun, greenwich, true, PlaceForm::Topocentric, refracted), Status::Ok);
    EXPECT_NEAR((refracted.altitudeDeg - sun.altitudeDeg) * 60.0, 0.53, 0.05);
    HorizonResult geocentric;
    ASSERT_EQ(horizonPlace(context_, solarNoon, kSun, greenwich, false, PlaceForm::Geocentric, geocentric), Status::Ok);
    EXPECT_NEAR((geocentric.altitudeDeg - sun.altitudeDeg) * 3600.0, 8.794 * std::cos(62.0 * kDegToRad), 0.5);

    const StarPlaceInput polaris{2.530301, 89.264109, 23.09, -1.17, 0.00754, -17.4};
    HorizonResult star;
    ASSERT_EQ(horizonPlace(context_, solarNoon, polaris, greenwich, false, PlaceForm::Topocentric, star), Status::Ok);
    EXPECT_NEAR(star.altitudeDeg, greenwich.latitude, 0.8);
    EXPECT_TRUE(star.azimuthDeg < 1.5 || star.azimuthDeg > 358.5);
}

TEST_F(PlanetsTest, UpdateBodiesFollowsEveryChangeOfTheObserver) {
    BodySlots slots;
    ObserverSnapshot observer;
    observer.site = {-33.9, 18.4, 10.0, 18.0, 1015.0};
    observer.instant = kFullMoon;
    ASSERT_TRUE(updateBodies(context_, observer, slots));
    EXPECT_TRUE(slots.valid);
    EXPECT_EQ(slots.slot[kEarth - 1].distanceAu, 1e-10);
    EXPECT_NEAR(slots.slot[kSun - 1].angularDiameterDeg, 0.54, 0.02);
    EXPECT_NEAR(slots.slot[kMoon - 1].angularDiameterDeg, 0.52, 0.04);
    // The slots hold the refracted topocentric horizon place as 16.16 fixed point.
    HorizonResult moon;
    ASSERT_EQ(horizonPlace(context_, kFullMoon, kMoon, observer.site, true, PlaceForm::Topocentric, moon), Status::Ok);
    EXPECT_NEAR(fromFixed16(slots.slot[kMoon - 1].zenithDistanceFixed), 90.0 - moon.altitudeDeg, 1e-4);
    EXPECT_NEAR(fromFixed16(slots.slot[kMoon - 1].azimuthFixed), moon.azimuthDeg, 1e-4);
    EXPECT_DOUBLE_EQ(slots.slot[kMoon - 1].distanceAu, moon.distanceAu);
    EXPECT_DOUBLE_EQ(slots.slot[kMoon - 1].raHours, moon.raHours);
    EXPECT_DOUBLE_EQ(slots.slot[kMoon - 1].decDeg, moon.decDeg);

    // Airless when the observer's option (value 15) is off.
    observer.refraction = 0;
    ASSERT_TRUE(updateBodies(context_, observer, slots));
    ASSERT_EQ(horizonPlace(context_, kFullMoon, kMoon, observer.site, false, PlaceForm::Topocentric, moon), Status::Ok);
    EXPECT_NEAR(fromFixed16(slots.slot[kMoon - 1].zenithDistanceFixed), 90.0 - moon.altitudeDeg, 1e-4);

    EXPECT_FALSE(updateBodies(context_, observer, slots));
    observer.instant = kFullMoon + 1.0 / 86400.0;
    EXPECT_TRUE(updateBodies(context_, observer, slots));
    observer.site.temperature += 0.1;
    EXPECT_TRUE(updateBodies(context_, observer, slots));
    EXPECT_FALSE(updateBodies(context_, observer, slots));
    // Outside the file nothing is computed and the slots are marked stale.
    observer.instant = kBeforeFile;
    EXPECT_FALSE(updateBodies(context_, observer, slots));
    EXPECT_FALSE(slots.valid);
}

TEST(ObserverChange, ToleranceFlagsAndNan) {
    ObserverSnapshot a, b;
    a.instant = b.instant = 2460000.5;
    EXPECT_TRUE(sameObserver(a, b, kBodiesInstantTolerance));
    b.instant += 41.0 / 86400.0;
    EXPECT_TRUE(sameObserver(a, b, 42.0 / 86400.0));
    EXPECT_FALSE(sameObserver(a, b, kBodiesInstantTolerance));
    b.instant = a.instant + 1e-9;  // the smallest step still counts
    EXPECT_FALSE(sameObserver(a, b, kExactInstant));
    b.instant = a.instant;
    b = a;
    b.flags = 1;  // only bit 1 takes part
    EXPECT_TRUE(sameObserver(a, b, kBodiesInstantTolerance));
    b.flags = 2;
    EXPECT_FALSE(sameObserver(a, b, kBodiesInstantTolerance));
    b = a;
    b.refraction = 0;
    EXPECT_FALSE(sameObserver(a, b, kBodiesInstantTolerance));
    b = a;
    b.instant = std::nan("");
    EXPECT_FALSE(sameObserver(a, b, kBodiesInstantTolerance));
}

}  // namespace
}  // namespace celestra
