#include "calculators/geodesy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace celestra {
namespace {

constexpr double kLondonLat = 51.5, kLondonLon = -(7.0 / 60.0);
constexpr double kNewYorkLat = 40.0 + 43.0 / 60.0, kNewYorkLon = -74.0;

std::string twoDecimals(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2lf", v);
    return buf;
}

TEST(Geodesy, LondonToNewYork) {
    EXPECT_EQ(twoDecimals(greatCircleDistanceSpherical(kLondonLat, kLondonLon, kNewYorkLat, kNewYorkLon)), "3005.83");
    const EllipsoidalDistance e = greatCircleDistanceEllipsoidal(kLondonLat, kLondonLon, kNewYorkLat, kNewYorkLon);
    EXPECT_TRUE(e.defined);
    EXPECT_EQ(twoDecimals(e.nauticalMiles), "3015.98");
    EXPECT_EQ(twoDecimals(initialCourse(kLondonLat, kLondonLon, kNewYorkLat, kNewYorkLon)), "288.34");
    // The way back: same distance, a course to the north-east.
    const EllipsoidalDistance back = greatCircleDistanceEllipsoidal(kNewYorkLat, kNewYorkLon, kLondonLat, kLondonLon);
    EXPECT_NEAR(back.nauticalMiles, e.nauticalMiles, 1e-6);
    const double courseBack = initialCourse(kNewYorkLat, kNewYorkLon, kLondonLat, kLondonLon);
    EXPECT_GT(courseBack, 45.0);
    EXPECT_LT(courseBack, 60.0);
}

TEST(Geodesy, CoincidentAndAntipodalPlaces) {
    EXPECT_EQ(greatCircleDistanceSpherical(12.0, 34.0, 12.0, 34.0), 0.0);
    EXPECT_EQ(initialCourse(12.0, 34.0, 12.0, 34.0), 0.0);
    const EllipsoidalDistance same = greatCircleDistanceEllipsoidal(12.0, 34.0, 12.0, 34.0);
    EXPECT_FALSE(same.defined);
    EXPECT_EQ(same.nauticalMiles, 0.0);

    const EllipsoidalDistance opposite = greatCircleDistanceEllipsoidal(30.0, 10.0, -30.0, -170.0);
    EXPECT_FALSE(opposite.defined);
    EXPECT_NEAR(opposite.nauticalMiles, 180.0 * 60.0, 1e-6);
    EXPECT_NEAR(greatCircleDistanceSpherical(90.0, 0.0, -90.0, 0.0), 180.0 * 60.0, 1e-6);
}

// Away from the degenerate pairs the ellipsoid and the sphere agree to well
// under one per cent, and neither ever yields NaN.
TEST(Geodesy, EllipsoidalStaysNearSphericalOverTheGlobe) {
    for (double lat1 = -89.0; lat1 <= 89.0; lat1 += 11.0)
        for (double lat2 = -88.5; lat2 <= 89.0; lat2 += 13.5)
            for (double dlon = -179.0; dlon <= 180.0; dlon += 17.0) {
                const double sph = greatCircleDistanceSpherical(lat1, 5.0, lat2, 5.0 + dlon);
                const EllipsoidalDistance ell = greatCircleDistanceEllipsoidal(lat1, 5.0, lat2, 5.0 + dlon);
                ASSERT_TRUE(std::isfinite(ell.nauticalMiles)) << lat1 << " " << lat2 << " " << dlon;
                if (ell.defined && sph > 1.0) {
                    EXPECT_NEAR(ell.nauticalMiles / sph, 1.0, 0.01) << lat1 << " " << lat2 << " " << dlon;
                }
                const double c = initialCourse(lat1, 5.0, lat2, 5.0 + dlon);
                EXPECT_GE(c, 0.0);
                EXPECT_LT(c, 360.0);
            }
}

TEST(Geodesy, EquatorialRunsUseNoDivision) {
    const EllipsoidalDistance e = greatCircleDistanceEllipsoidal(0.0, 0.0, 0.0, 1.0);
    EXPECT_TRUE(e.defined);
    EXPECT_NEAR(e.nauticalMiles, 6378.137 * 0.017453292519943295 * 0.5399568034557235, 1e-9);
}

TEST(Geodesy, DestinationAlongGreatCircleInvertsDistanceAndCourse) {
    const double course = initialCourse(kLondonLat, kLondonLon, kNewYorkLat, kNewYorkLon);
    const double arc = greatCircleDistanceSpherical(kLondonLat, kLondonLon, kNewYorkLat, kNewYorkLon) / 60.0;
    const GeoPoint p = destinationPoint(kLondonLat, kLondonLon, course, arc, true);
    EXPECT_NEAR(p.latitude, kNewYorkLat, 1e-9);
    EXPECT_NEAR(p.longitude, kNewYorkLon, 1e-9);
}

TEST(Geodesy, RhumbLineCasesAndTheAntimeridian) {
    // Due east keeps the latitude; the departure scales with cos(latitude).
    GeoPoint p = destinationPoint(60.0, 10.0, 90.0, 1.0, false);
    EXPECT_NEAR(p.latitude, 60.0, 1e-12);
    EXPECT_NEAR(p.longitude, 12.0, 1e-9);
    // Due north: rhumb line and great circle give the same latitude.
    const GeoPoint r = destinationPoint(10.0, 20.0, 0.0, 15.0, false);
    const GeoPoint g = destinationPoint(10.0, 20.0, 0.0, 15.0, true);
    EXPECT_NEAR(r.latitude, 25.0, 1e-12);
    EXPECT_NEAR(g.latitude, 25.0, 1e-12);
    EXPECT_NEAR(r.longitude, 20.0, 1e-12);
    // Westward across 180° from 179°E, and eastward from 179°W.
    p = destinationPoint(0.0, 179.0, 270.0, 3.0, false);
    EXPECT_NEAR(p.longitude, 176.0, 1e-9);
    p = destinationPoint(30.0, 179.0, 60.0, 4.0, false);
    EXPECT_GE(p.longitude, -180.0);
    EXPECT_LE(p.longitude, 180.0);
    EXPECT_LT(p.longitude, -170.0);
    EXPECT_NEAR(p.latitude, 32.0, 1e-9);
    p = destinationPoint(-20.0, -179.5, 270.0, 2.0, true);
    EXPECT_GT(p.longitude, 178.0);
}

}  // namespace
}  // namespace celestra
