#include "sky/orrery.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

constexpr double kGaussK = 0.01720209895;  // sqrt(GM of the Sun), AU^1.5/day

double norm(const Vector3& v) { return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z); }

TEST(Orrery, KeplerOrbitsThroughTheState) {
    // A circle of 1 AU.
    const auto circle = keplerOrbit({1.0, 0.0, 0.0}, {0.0, kGaussK, 0.0}, 36);
    ASSERT_EQ(circle.size(), 36u);
    for (const Vector3& p : circle) EXPECT_NEAR(norm(p), 1.0, 1e-9);
    // Perihelion at 1 AU with e = 0.5: the first point is the state's place, the far end 3 AU.
    const double e = 0.5;
    const auto ellipse = keplerOrbit({1.0, 0.0, 0.0}, {0.0, 0.0, kGaussK * std::sqrt(1.0 + e)}, 180);
    ASSERT_EQ(ellipse.size(), 180u);
    EXPECT_NEAR(ellipse[0].x, 1.0, 1e-9);
    EXPECT_NEAR(norm(ellipse[90]), 3.0, 1e-9);
    EXPECT_NEAR(ellipse[45].y, 0.0, 1e-12);  // the plane of motion is x-z
    // Not bound, or no motion: nothing to draw.
    EXPECT_TRUE(keplerOrbit({1.0, 0.0, 0.0}, {0.0, 2.0 * kGaussK, 0.0}, 36).empty());
    EXPECT_TRUE(keplerOrbit({1.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, 36).empty());
    EXPECT_TRUE(keplerOrbit({0.0, 0.0, 0.0}, {0.0, kGaussK, 0.0}, 36).empty());
}

TEST(Orrery, ViewAndFrames) {
    // The celestial pole lies 23.44° from the ecliptic pole, towards ecliptic longitude 90° (+y).
    const Vector3 pole = eclipticOfEquatorial({0.0, 0.0, 1.0});
    EXPECT_NEAR(std::acos(pole.z) * 57.29577951308232, 23.4392911, 1e-7);
    EXPECT_GT(pole.y, 0.0);
    // Straight down: x and y as they are (y up the screen), depth = -z.
    OrreryPoint p = orreryView({1.0, 2.0, 0.5}, 0.0, 0.0);
    EXPECT_NEAR(p.x, 1.0, 1e-12);
    EXPECT_NEAR(p.y, -2.0, 1e-12);
    EXPECT_NEAR(p.depth, -0.5, 1e-12);
    // Tilted: the far side of the ecliptic (+y) is behind the Sun, the near side in front.
    EXPECT_GT(orreryView({0.0, 1.0, 0.0}, 0.0, 60.0).depth, 0.0);
    EXPECT_LT(orreryView({0.0, -1.0, 0.0}, 0.0, 60.0).depth, 0.0);
    // A quarter turn takes +x to +y.
    p = orreryView({1.0, 0.0, 0.0}, 90.0, 0.0);
    EXPECT_NEAR(p.x, 0.0, 1e-12);
    EXPECT_NEAR(p.y, -1.0, 1e-12);
    EXPECT_DOUBLE_EQ(orreryPixelsPerAu(2.0, 320.0), 10.0);
}

using OrreryEphemeris = test::De405Test;

TEST_F(OrreryEphemeris, PlanetsAndTheirOrbits) {
    const auto planets = orreryPlanets(context_, 2451545.0);
    for (const OrreryPlanet& p : planets) {
        ASSERT_TRUE(p.valid);
        EXPECT_EQ(p.orbit.size(), 180u);
    }
    // The Earth: about 1 AU, in the ecliptic, its orbit a near circle.
    const OrreryPlanet& earth = planets[2];
    EXPECT_NEAR(norm(earth.position), 0.983, 0.005);  // early January: near perihelion
    EXPECT_NEAR(earth.position.z, 0.0, 1e-3);
    for (const Vector3& q : earth.orbit) EXPECT_NEAR(norm(q), 1.0, 0.02);
    // Pluto: inclined by 17°, out to nearly 50 AU.
    double farthest = 0.0, highest = 0.0;
    for (const Vector3& q : planets[8].orbit) {
        farthest = std::max(farthest, norm(q));
        highest = std::max(highest, std::abs(q.z));
    }
    EXPECT_NEAR(farthest, 49.3, 0.8);
    EXPECT_GT(highest, 10.0);
    // Outside the file: nothing.
    for (const OrreryPlanet& p : orreryPlanets(context_, 2500000.5)) EXPECT_FALSE(p.valid);
    EXPECT_FALSE(orreryPlanets(PlaceContext{}, 2451545.0)[2].valid);
}

}  // namespace
}  // namespace celestra
