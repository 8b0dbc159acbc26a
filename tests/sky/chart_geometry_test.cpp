// The chart's projection: where the compass directions land for each facing
// and flip, the facing commands' zenith and horizon placement, and the
// inverse mapping that hit-testing and centring rely on.
#include "sky/chart_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model/draw_state.h"
#include "sky/view_commands.h"

namespace celestra {
namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;

// Screen direction of a horizon point relative to the zenith, as a unit vector (y down).
ChartPoint directionOf(const ChartProjection& p, double azimuth) {
    const ChartPoint z = p.zenithPixel();
    const ChartPoint h = p.pixel(90.0, azimuth);
    const double dx = h.x - z.x, dy = h.y - z.y;
    const double len = std::hypot(dx, dy);
    return {dx / len, dy / len};
}

ChartProjection facing(FacingDirection d, bool flipped) {
    CUniverseViewDrawState s;
    if (flipped) toggleFlipEastWest(s);
    faceDirection(s, d, kHeight);
    return ChartProjection::fromDrawState(s, kWidth, kHeight);
}

TEST(ChartGeometry, ZenithViewHasNorthUpAndEastLeft) {
    const ChartProjection p = facing(FacingDirection::Zenith, false);
    EXPECT_NEAR(directionOf(p, 0).y, -1.0, 1e-12);   // north up
    EXPECT_NEAR(directionOf(p, 90).x, -1.0, 1e-12);  // east left
    EXPECT_NEAR(directionOf(p, 180).y, 1.0, 1e-12);
    EXPECT_NEAR(directionOf(p, 270).x, 1.0, 1e-12);
    const ChartPoint z = p.zenithPixel();
    EXPECT_DOUBLE_EQ(z.x, kWidth / 2.0);
    EXPECT_DOUBLE_EQ(z.y, kHeight / 2.0);
    // Flipped: still north up, east on the right.
    const ChartProjection f = facing(FacingDirection::Zenith, true);
    EXPECT_NEAR(directionOf(f, 0).y, -1.0, 1e-12);
    EXPECT_NEAR(directionOf(f, 90).x, 1.0, 1e-12);
}

// Facing a horizon direction, that direction is straight down from the
// zenith, and the azimuth 90° clockwise of it on the compass is on the
// right (facing south, west is right and east left; facing north, east is
// right): the sky as seen looking that way. Flipped, left and right swap.
TEST(ChartGeometry, EveryFacingLooksAtItsHorizon) {
    const struct {
        FacingDirection d;
        double az;
    } cases[] = {{FacingDirection::North, 0},       {FacingDirection::NorthEast, 45}, {FacingDirection::East, 90},
                 {FacingDirection::SouthEast, 135}, {FacingDirection::South, 180},    {FacingDirection::SouthWest, 225},
                 {FacingDirection::West, 270},      {FacingDirection::NorthWest, 315}};
    for (const auto& c : cases) {
        for (bool flipped : {false, true}) {
            SCOPED_TRACE(testing::Message() << "azimuth " << c.az << (flipped ? " flipped" : ""));
            const ChartProjection p = facing(c.d, flipped);
            const ChartPoint down = directionOf(p, c.az);
            EXPECT_NEAR(down.x, 0.0, 1e-12);
            EXPECT_NEAR(down.y, 1.0, 1e-12);
            const ChartPoint right = directionOf(p, std::fmod(c.az + 90.0, 360.0));
            EXPECT_NEAR(right.x, flipped ? -1.0 : 1.0, 1e-12);
            EXPECT_NEAR(facingAzimuth(p.rotationDeg(), flipped), c.az, 1e-12);
        }
    }
}

TEST(ChartGeometry, FacingPutsZenithAtTopAndHorizonAtBottom) {
    const ChartProjection p = facing(FacingDirection::South, false);
    const ChartPoint z = p.zenithPixel();
    EXPECT_DOUBLE_EQ(z.x, kWidth / 2.0);
    EXPECT_DOUBLE_EQ(z.y, 0.0);
    const ChartPoint h = p.pixel(90.0, 180.0);
    EXPECT_DOUBLE_EQ(h.x, kWidth / 2.0);
    EXPECT_DOUBLE_EQ(h.y, kHeight);
    EXPECT_DOUBLE_EQ(fieldOfViewDeg(p.zoom()), 90.0);
    // An odd height: the offset is the integer division, so the zenith may sit half a pixel off.
    CUniverseViewDrawState s;
    faceDirection(s, FacingDirection::North, 801);
    EXPECT_EQ(s.offsetY, -200.0);
}

TEST(ChartGeometry, DistanceFromZenithIsLinearInZenithDistance) {
    const ChartProjection p(1000, 600, 1.0, 0.0, 0.0, 90.0, false);
    EXPECT_DOUBLE_EQ(p.baseRadius(), 300.0);
    const ChartPoint z = p.zenithPixel();
    for (double zd : {0.0, 30.0, 45.0, 90.0, 120.0}) {
        const ChartPoint q = p.pixel(zd, 37.0);
        EXPECT_NEAR(std::hypot(q.x - z.x, q.y - z.y), zd / 90.0 * 300.0, 1e-9) << zd;
    }
}

TEST(ChartGeometry, InverseRoundTripsWithZoomOffsetsAndFlip) {
    for (bool flipped : {false, true}) {
        const ChartProjection p(1920, 1080, 3.25, -40.0, 125.0, 217.0, flipped);
        for (double zd : {1.0, 33.0, 89.0, 100.0}) {
            for (double az : {0.5, 90.0, 179.0, 359.5}) {
                const ChartPoint q = p.pixel(zd, az);
                double zd2 = 0, az2 = 0;
                p.horizontalOfPixel(q.x, q.y, zd2, az2);
                EXPECT_NEAR(zd2, zd, 1e-9);
                EXPECT_NEAR(az2, az, 1e-9);
            }
        }
    }
    // The zenith itself: azimuth 0 by convention, no NaN.
    const ChartProjection p(800, 800, 2.0, 0.0, 0.0, 90.0, false);
    double zd = -1, az = -1;
    p.horizontalOfPixel(400, 400, zd, az);
    EXPECT_EQ(zd, 0.0);
    EXPECT_EQ(az, 0.0);
}

TEST(ChartGeometry, RotationAndFacingAzimuthAreInverses) {
    for (bool flipped : {false, true}) {
        for (double az = 0.0; az < 360.0; az += 22.5) {
            const double rot = rotationFacing(az, flipped);
            EXPECT_GE(rot, 0.0);
            EXPECT_LT(rot, 360.0);
            EXPECT_NEAR(facingAzimuth(rot, flipped), az, 1e-9);
        }
    }
    // The direction commands' rotations agree with the scrolling rule.
    EXPECT_EQ(rotationFacing(90.0, false), 0.0);
    EXPECT_EQ(rotationFacing(90.0, true), 180.0);
    EXPECT_EQ(rotationFacing(0.0, false), 270.0);
    EXPECT_EQ(rotationFacing(0.0, true), 270.0);
}

}  // namespace
}  // namespace celestra
