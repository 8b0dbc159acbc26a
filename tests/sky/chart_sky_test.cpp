// The chart snapshot's own geometry: horizontal places back to equatorial
// ones, the directions of celestial north and east at a point of the sky and
// of a comet's tail; and the comet tracks as the snapshot carries them.
#include "sky/chart_sky.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/horizon.h"
#include "sky/universe.h"

namespace celestra {
namespace {

std::array<double, 3> unitOf(const HorizontalPoint& p) {
    const double z = p.zenithDistance * 0.017453292519943295, a = p.azimuth * 0.017453292519943295;
    return {std::sin(z) * std::sin(a), std::sin(z) * std::cos(a), std::cos(z)};
}
double degreesBetween(const HorizontalPoint& p, const HorizontalPoint& q) {
    const auto a = unitOf(p), b = unitOf(q);
    return std::acos(std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], -1.0, 1.0)) * 57.29577951308232;
}

TEST(ChartSky, HorizontalPlacesGoBackToTheirEquatorialPlaces) {
    for (double lat : {-33.9, 0.0, 51.5, 78.2}) {
        const double lst = 7.25;
        const ChartFrame frame = makeChartFrame(lst, lat);
        for (double ra : {0.3, 6.0, 7.25, 13.9, 23.8}) {
            for (double dec : {-60.0, -10.0, 0.0, 25.0, 80.0}) {
                double zd = 0, az = 0;
                chartZenithAzimuth(frame, ra, dec, zd, az);
                if (zd < 0.5) continue;  // at the zenith the azimuth carries nothing
                double ra2 = 0, dec2 = 0;
                equatorialOfHorizontal(zd, az, lst, lat, ra2, dec2);
                EXPECT_NEAR(dec2, dec, 1e-5) << lat << " " << ra << " " << dec;
                // Right ascension compared as an angle on the parallel.
                const double dra = std::remainder(ra2 - ra, 24.0) * 15.0 * std::cos(dec * 0.017453292519943295);
                EXPECT_NEAR(dra, 0.0, 1e-5) << lat << " " << ra << " " << dec;
            }
        }
    }
}

TEST(ChartSky, AChartPlaceGoesBackToItsUnrefractedPlaceOfDate) {
    // A place low in the west, refracted by the horizon transformation, read
    // back from where the chart draws it: the refraction comes off.
    SkySnapshot sky;
    sky.latitude = 38.0;
    sky.longitude = -9.1;
    sky.instantUtc = 2460356.5;
    sky.gmstHours = siderealTimeFromUtc(sky.instantUtc, false);
    sky.lstHours = localSiderealTime(sky.gmstHours, sky.longitude);
    sky.site = {38.0, -9.1, 50.0, 2.0, 1030.0};
    for (double dec : {-23.0, 5.0, 30.0}) {
        const double ra = std::fmod(sky.lstHours - 4.5 + 24.0, 24.0);
        for (bool refracted : {false, true}) {
            sky.refraction = refracted;
            const HorizontalPlace seen =
                equatorialToHorizontal(ttFromUtc(sky.instantUtc), deltaT(sky.instantUtc), 0.0, 0.0, sky.site, ra, dec,
                                       refracted ? kRefractionSite : kRefractionNone);
            ASSERT_LT(seen.zenithDistanceDeg, 90.5);
            double ra2 = 0, dec2 = 0;
            equatorialOfChartPlace(sky, seen.zenithDistanceDeg, seen.azimuthDeg, ra2, dec2);
            // The inverse of one formula step against the iterated one: within 1″.
            EXPECT_NEAR(dec2, dec, 1.0 / 3600.0) << dec << " " << refracted;
            EXPECT_NEAR(std::remainder(ra2 - ra, 24.0) * 15.0 * std::cos(dec * 0.017453292519943295), 0.0,
                        1.0 / 3600.0);
        }
    }
}

TEST(ChartSky, NorthAndEastAtAPointOfTheSky) {
    // On the meridian due south at latitude 50: north is straight up the
    // meridian, east is towards the east horizon (azimuth below 180).
    HorizontalPoint north, east;
    skyAxisPoints(60.0, 180.0, 50.0, 0.5, north, east);
    EXPECT_NEAR(north.azimuth, 180.0f, 1e-4f);
    EXPECT_NEAR(north.zenithDistance, 59.5f, 1e-4f);
    EXPECT_LT(east.azimuth, 180.0f);
    EXPECT_NEAR(east.zenithDistance, 60.0f, 0.01f);
    // Both steps are the same angle on the sky, at right angles.
    const auto unit = [](const HorizontalPoint& p) {
        const double z = p.zenithDistance * 0.017453292519943295, a = p.azimuth * 0.017453292519943295;
        return std::array<double, 3>{std::sin(z) * std::sin(a), std::sin(z) * std::cos(a), std::cos(z)};
    };
    skyAxisPoints(35.0, 250.0, -20.0, 0.5, north, east);
    const auto m = unit({35.0f, 250.0f}), n = unit(north), e = unit(east);
    const auto angle = [](const std::array<double, 3>& a, const std::array<double, 3>& b) {
        return std::acos(std::clamp(a[0] * b[0] + a[1] * b[1] + a[2] * b[2], -1.0, 1.0)) * 57.29577951308232;
    };
    EXPECT_NEAR(angle(m, n), 0.5, 1e-3);
    EXPECT_NEAR(angle(m, e), 0.5, 1e-3);
    EXPECT_NEAR(angle(n, e), 0.5 * std::sqrt(2.0), 2e-3);
    // The north point is nearer the pole (south latitude: the pole is below the horizon, north).
    const auto pole = unit({110.0f, 0.0f});
    EXPECT_LT(angle(n, pole), angle(m, pole));
    // At the pole itself there is no north: the place itself comes back.
    skyAxisPoints(40.0, 0.0, 50.0, 0.5, north, east);
    EXPECT_NEAR(north.zenithDistance, 40.0f, 1e-5f);
    EXPECT_NEAR(east.azimuth, 0.0f, 1e-5f);
}

TEST(ChartSky, TailPointLiesBeyondTheCometAwayFromTheSun) {
    HorizontalPoint tail;
    // The Sun on the east horizon, the comet 45° up in the east: the tail points up the vertical.
    ASSERT_TRUE(awayFromPoint(45.0, 90.0, 90.0, 90.0, 1.0, tail));
    EXPECT_NEAR(tail.zenithDistance, 44.0f, 1e-4f);
    EXPECT_NEAR(tail.azimuth, 90.0f, 1e-4f);
    // Off any vertical: one step further along the great circle from the Sun.
    const HorizontalPoint sun{100.0f, 300.0f}, comet{60.0f, 250.0f};
    ASSERT_TRUE(awayFromPoint(comet.zenithDistance, comet.azimuth, sun.zenithDistance, sun.azimuth, 1.0, tail));
    EXPECT_NEAR(degreesBetween(comet, tail), 1.0, 1e-3);
    EXPECT_NEAR(degreesBetween(sun, tail), degreesBetween(sun, comet) + 1.0, 1e-3);
    // Comet on the Sun, or opposite it: no direction, the place itself.
    EXPECT_FALSE(awayFromPoint(30.0, 120.0, 30.0, 120.0, 1.0, tail));
    EXPECT_FALSE(awayFromPoint(30.0, 120.0, 150.0, 300.0, 1.0, tail));
    EXPECT_NEAR(tail.zenithDistance, 30.0f, 1e-5f);
}

TEST(ChartSky, SnapshotCarriesTheCometTracks) {
    ChartData chart;
    CometTrack track;
    track.comet = 7;
    track.name = "C/1995 O1 (Hale-Bopp)";
    track.absoluteMagnitude = -2.0;
    track.apparentMagnitude = -1.7;
    track.raHours = 3.5;
    track.decDeg = 12.25;
    for (int j = 0; j < kCometTrackPoints; ++j) {
        CometTrackPoint& p = track.points[static_cast<size_t>(j)];
        p.zenithDistanceFixed = toFixed16(40.0 + j);
        p.azimuthFixed = toFixed16(300.0 - j);
        p.label = "4." + std::to_string(j + 1);
        p.valid = j != 3;
    }
    chart.cometTracks.push_back(track);
    CObserverState observer{2450540.3125, 0.0};
    observer.latitude = 52.0;

    SkySnapshot sky;
    snapshotFromChart(chart, observer, 2436912.5, 2473488.5, sky);
    ASSERT_EQ(sky.comets.size(), 1u);
    const SkyComet& c = sky.comets[0];
    EXPECT_EQ(c.comet, 7);
    EXPECT_EQ(c.name, track.name);
    EXPECT_EQ(c.present, kCometPresentPoint);
    ASSERT_EQ(c.points.size(), static_cast<size_t>(kCometTrackPoints));
    EXPECT_NEAR(c.presentPoint().place.zenithDistance, 50.0f, 1e-4f);
    EXPECT_NEAR(c.presentPoint().place.azimuth, 290.0f, 1e-4f);
    EXPECT_EQ(c.points[3].valid, false);
    EXPECT_EQ(c.points[20].label, "4.21");
    EXPECT_DOUBLE_EQ(c.apparentMagnitude, -1.7);
    EXPECT_EQ(sky.cometByIndex(7), &c);
    EXPECT_EQ(sky.cometByIndex(0), nullptr);
    // The place of date of the present point, as the comet stage computed it.
    EXPECT_EQ(c.raHours, 3.5);
    EXPECT_EQ(c.decDeg, 12.25);
    // No Sun (the bodies are not valid): no tail.
    EXPECT_FALSE(c.hasTailPoint);

    // With the Sun below the horizon under it, the tail points up.
    chart.bodies.valid = true;
    BodySlot& sun = chart.bodies.slot[kSun - 1];
    sun.distanceAu = 1.0;
    sun.zenithDistanceFixed = toFixed16(100.0);
    sun.azimuthFixed = toFixed16(290.0);
    snapshotFromChart(chart, observer, 2436912.5, 2473488.5, sky);
    ASSERT_TRUE(sky.comets[0].hasTailPoint);
    EXPECT_LT(sky.comets[0].tailPoint.zenithDistance, 50.0f);
    EXPECT_NEAR(sky.comets[0].tailPoint.azimuth, 290.0f, 1e-3f);
}

}  // namespace
}  // namespace celestra
