// The chart commands' effect on the drawing state: directions and flip,
// zoom steps and limits, the magnitude limit and its box, centring and
// scrolling, and the character keys.
#include "sky/view_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/draw_state.h"
#include "sky/chart_geometry.h"

namespace celestra {
namespace {

TEST(ViewCommands, DirectionRotationsFollowTheFlip) {
    CUniverseViewDrawState s;
    s.zoom = 7.0;
    s.offsetX = 12.0;
    faceDirection(s, FacingDirection::East, 600);
    EXPECT_EQ(s.rotation, 0.0);
    EXPECT_EQ(s.zoom, 2.0);
    EXPECT_EQ(s.offsetX, 0.0);
    EXPECT_EQ(s.offsetY, -150.0);
    toggleFlipEastWest(s);
    EXPECT_TRUE(s.flippedEastWest());
    faceDirection(s, FacingDirection::East, 600);
    EXPECT_EQ(s.rotation, 180.0);
    faceDirection(s, FacingDirection::West, 600);
    EXPECT_EQ(s.rotation, 0.0);
    // North and South ignore the flip.
    faceDirection(s, FacingDirection::North, 600);
    EXPECT_EQ(s.rotation, 270.0);
    faceDirection(s, FacingDirection::South, 600);
    EXPECT_EQ(s.rotation, 90.0);
    toggleFlipEastWest(s);
    EXPECT_FALSE(s.flippedEastWest());
    EXPECT_EQ(s.flags, 0);
}

TEST(ViewCommands, ZenithResetsRotationAndOffsetsWhateverTheFlip) {
    for (bool flipped : {false, true}) {
        CUniverseViewDrawState s;
        if (flipped) toggleFlipEastWest(s);
        s.rotation = 213.0;
        s.offsetX = 40.0;
        s.offsetY = -90.0;
        faceDirection(s, FacingDirection::Zenith, 600);
        EXPECT_EQ(s.rotation, 90.0);
        EXPECT_EQ(s.zoom, 3.0);
        EXPECT_EQ(s.offsetX, 0.0);
        EXPECT_EQ(s.offsetY, 0.0);
        EXPECT_EQ(s.flippedEastWest(), flipped);
    }
}

TEST(ViewCommands, ResizedWindowKeepsTheFacingHorizonFramed) {
    // Facing south in a landscape window: zenith on the top edge, the south
    // point on the bottom edge. After the window changes size and the
    // offsets are scaled by the ratio of the base radii, both are there again.
    CUniverseViewDrawState s;
    faceDirection(s, FacingDirection::South, 600);
    const struct { int w, h; } sizes[] = {{1000, 600}, {1600, 900}, {700, 500}, {1000, 600}};
    double radius = 300.0;
    for (const auto& size : sizes) {
        SCOPED_TRACE(size.w);
        const double now = std::min(size.w, size.h) / 2.0;
        scaleOffsets(s, now / radius);
        radius = now;
        const ChartProjection p = ChartProjection::fromDrawState(s, size.w, size.h);
        EXPECT_NEAR(p.zenithPixel().y, 0.0, 1e-9);
        EXPECT_NEAR(p.pixel(90.0, 180.0).y, size.h, 1e-9);
        EXPECT_NEAR(p.pixel(90.0, 180.0).x, size.w / 2.0, 1e-9);
        EXPECT_EQ(s.rotation, 90.0);
    }
    EXPECT_EQ(s.offsetY, -150.0);  // back at the first size, the first offsets
    // A factor that is not finite and positive changes nothing.
    for (double bad : {0.0, -1.0, std::nan("")}) scaleOffsets(s, bad);
    EXPECT_EQ(s.offsetY, -150.0);
}

TEST(ViewCommands, ZoomStepsAreQuarterBelowThreeAndHalfAbove) {
    CUniverseViewDrawState s;
    ASSERT_EQ(s.zoom, 2.0);
    for (int i = 0; i < 3; ++i) zoomIn(s);
    EXPECT_EQ(s.zoom, 2.75);
    zoomIn(s);
    EXPECT_EQ(s.zoom, 3.0);
    zoomIn(s);
    EXPECT_EQ(s.zoom, 3.5);
    // Out: -0.5 above 3.0, -0.25 at 3.0 and below, so the way back retraces the way in.
    zoomOut(s);
    EXPECT_EQ(s.zoom, 3.0);
    zoomOut(s);
    EXPECT_EQ(s.zoom, 2.75);
    // The orrery steps by 2; the limits hold.
    zoomIn(s, true);
    EXPECT_EQ(s.zoom, 4.75);
    s.zoom = 0.6;
    zoomOut(s);
    EXPECT_EQ(s.zoom, kMinZoom);
    s.zoom = kMaxZoom;
    zoomIn(s);
    EXPECT_EQ(s.zoom, kMaxZoom);
}

TEST(ViewCommands, FixedZoomLabelsMatchTheirFieldOfView) {
    for (const FixedZoom& z : kFixedZooms) {
        const double fov = fieldOfViewDeg(z.factor);
        char expected[32];
        std::snprintf(expected, sizeof expected, "FOV: %g°", fov);
        EXPECT_NE(std::string(z.label).find(expected), std::string::npos) << z.label;
    }
}

TEST(ViewCommands, MagnitudeLimitAndItsBoxEntry) {
    CUniverseViewDrawState s;
    EXPECT_EQ(magnitudeBoxIndex(s.magnitudeLimit), 3);  // "5"
    setMagnitudeLimit(s, 7);
    EXPECT_EQ(s.magnitudeLimit, 7000);
    EXPECT_EQ(magnitudeBoxIndex(s.magnitudeLimit), 5);  // the last item
    setMagnitudeLimit(s, 2);
    EXPECT_EQ(magnitudeBoxIndex(s.magnitudeLimit), 0);
    EXPECT_EQ(magnitudeBoxIndex(6500), 4);  // a limit between items shows the brighter one
    EXPECT_EQ(magnitudeBoxIndex(99000), 5);
}

TEST(ViewCommands, CentreOnBringsThePointToTheWindowCentre) {
    for (bool rotate : {false, true}) {
        for (bool flipped : {false, true}) {
            CUniverseViewDrawState s;
            if (flipped) toggleFlipEastWest(s);
            faceDirection(s, FacingDirection::South, 800);
            const ChartProjection before = ChartProjection::fromDrawState(s, 1280, 800);
            ASSERT_TRUE(centreOn(s, before, 50.0, 250.0, rotate));
            const ChartProjection after = ChartProjection::fromDrawState(s, 1280, 800);
            const ChartPoint c = after.pixel(50.0, 250.0);
            EXPECT_NEAR(c.x, 640.0, 1e-9);
            EXPECT_NEAR(c.y, 400.0, 1e-9);
            if (rotate) {
                // Turned to face the point: the zenith stays straight above it.
                EXPECT_NEAR(facingAzimuth(s.rotation, flipped), 250.0, 1e-9);
                EXPECT_EQ(s.offsetX, 0.0);
            }
        }
    }
    CUniverseViewDrawState s;
    const ChartProjection p = ChartProjection::fromDrawState(s, 1280, 800);
    EXPECT_FALSE(lookAtAltitude(s, p, 91.0, false));
    EXPECT_FALSE(lookAtAltitude(s, p, std::nan(""), false));
    EXPECT_TRUE(lookAtAltitude(s, p, 30.0, true));
    EXPECT_DOUBLE_EQ(s.offsetY, -60.0 / 90.0 * 400.0);
}

TEST(ViewCommands, WheelZoomKeepsThePointUnderThePointer) {
    CUniverseViewDrawState s;
    faceDirection(s, FacingDirection::East, 800);
    const ChartProjection before = ChartProjection::fromDrawState(s, 1280, 800);
    double zd = 0, az = 0;
    before.horizontalOfPixel(300, 500, zd, az);
    setZoomAbout(s, before, 6.0, 300, 500);
    const ChartPoint q = ChartProjection::fromDrawState(s, 1280, 800).pixel(zd, az);
    EXPECT_NEAR(q.x, 300.0, 1e-9);
    EXPECT_NEAR(q.y, 500.0, 1e-9);
    EXPECT_EQ(s.zoom, 6.0);
}

TEST(ViewCommands, DragMovesTheSkyWithThePointer) {
    CUniverseViewDrawState s;
    faceDirection(s, FacingDirection::South, 800);
    const ChartProjection before = ChartProjection::fromDrawState(s, 1280, 800);
    const ChartPoint p0 = before.pixel(60.0, 170.0);
    scrollBy(s, before, 30.0, -20.0, false);
    const ChartPoint p1 = ChartProjection::fromDrawState(s, 1280, 800).pixel(60.0, 170.0);
    EXPECT_NEAR(p1.x - p0.x, 30.0, 1e-9);
    EXPECT_NEAR(p1.y - p0.y, -20.0, 1e-9);
    // Rotating: a drag to the right carries the point at the bottom centre to the right,
    // and the zenith stays where it was.
    CUniverseViewDrawState r;
    faceDirection(r, FacingDirection::South, 800);
    const ChartProjection rb = ChartProjection::fromDrawState(r, 1280, 800);
    const ChartPoint bottom = rb.pixel(80.0, 180.0);
    scrollBy(r, rb, 25.0, 0.0, true);
    const ChartProjection ra = ChartProjection::fromDrawState(r, 1280, 800);
    EXPECT_GT(ra.pixel(80.0, 180.0).x, bottom.x + 5.0);
    EXPECT_NEAR(ra.zenithPixel().y, rb.zenithPixel().y, 1e-9);
}

TEST(ViewCommands, CharacterKeys) {
    EXPECT_EQ(chartKeyAction('+').key, ChartKey::ZoomIn);
    EXPECT_EQ(chartKeyAction('=').key, ChartKey::ZoomIn);
    EXPECT_EQ(chartKeyAction('-').key, ChartKey::ZoomOut);
    EXPECT_EQ(chartKeyAction('7').key, ChartKey::Magnitude);
    EXPECT_EQ(chartKeyAction('7').magnitude, 7);
    EXPECT_EQ(chartKeyAction('2').magnitude, 2);
    EXPECT_EQ(chartKeyAction('1').key, ChartKey::None);
    EXPECT_EQ(chartKeyAction('8').key, ChartKey::None);
    EXPECT_EQ(chartKeyAction('r').key, ChartKey::PresetRed);
    EXPECT_EQ(chartKeyAction('B').key, ChartKey::PresetBlack);
    EXPECT_EQ(chartKeyAction('w').key, ChartKey::PresetWhite);
    EXPECT_EQ(chartKeyAction('F').key, ChartKey::Flip);
    EXPECT_EQ(chartKeyAction('c').key, ChartKey::Centre);
    EXPECT_EQ(chartKeyAction('>').key, ChartKey::StepForward);
    EXPECT_EQ(chartKeyAction('.').key, ChartKey::StepForward);
    EXPECT_EQ(chartKeyAction('<').key, ChartKey::StepBack);
    EXPECT_EQ(chartKeyAction(',').key, ChartKey::StepBack);
    EXPECT_EQ(chartKeyAction(U'°').key, ChartKey::None);
}

}  // namespace
}  // namespace celestra
