// Horizon coordinates: refraction, the full transformation with its
// refraction loop, and the fast chart path with its 16.16 output.
#include "core/horizon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace celestra {
namespace {

constexpr double kTt = 2460300.3;  // 2023 Dec 20, TT
constexpr double kDeltaT = 69.2;

double localApparentSidereal(const ObserverSite& site) {
    return localSiderealTime(siderealTime(kTt, kDeltaT, false), site.longitude);
}

TEST(Refraction, StandardAtmosphereAndSiteWeather) {
    const ObserverSite seaLevel{0.0, 0.0, 0.0, 25.0, 950.0};
    // Horizon at sea level, standard atmosphere: 0.016667 / tan(7.31/4.4°) x 0.28 x 1010 / 283.
    EXPECT_NEAR(refraction(seaLevel, kRefractionStandard, 90.0), 0.57423, 5e-6);
    EXPECT_EQ(refraction(seaLevel, kRefractionStandard, 0.05), 0.0);
    EXPECT_EQ(refraction(seaLevel, kRefractionStandard, 91.5), 0.0);
    EXPECT_EQ(refraction(seaLevel, kRefractionNone, 91.5), 0.0);
    // About one arcminute at 45° altitude, growing toward the horizon.
    EXPECT_NEAR(refraction(seaLevel, kRefractionStandard, 45.0) * 60.0, 0.99, 0.02);
    EXPECT_LT(refraction(seaLevel, kRefractionStandard, 80.0), refraction(seaLevel, kRefractionStandard, 85.0));
    // The site's own weather scales it by p / (t + 273).
    EXPECT_NEAR(refraction(seaLevel, kRefractionSite, 60.0) / refraction(seaLevel, kRefractionStandard, 60.0),
                (950.0 / 298.0) / (1010.0 / 283.0), 1e-12);
    // Height thins the standard atmosphere; no air or an impossible temperature refracts nothing.
    const ObserverSite mountain{0.0, 0.0, 9100.0};
    EXPECT_NEAR(refraction(mountain, kRefractionStandard, 60.0) / refraction(seaLevel, kRefractionStandard, 60.0),
                std::exp(-1.0), 1e-12);
    EXPECT_EQ(refraction(ObserverSite{0, 0, 0, 10.0, 0.0}, kRefractionSite, 60.0), 0.0);
    EXPECT_EQ(refraction(ObserverSite{0, 0, 0, -300.0, 1000.0}, kRefractionSite, 60.0), 0.0);
}

TEST(EquatorialToHorizontal, EquatorRisesDueEastAndSetsDueWest) {
    for (double latitude : {-50.0, 0.0, 40.0, 70.0}) {
        const ObserverSite site{latitude, -75.0};
        const double lst = localApparentSidereal(site);
        const HorizontalPlace east =
            equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, std::fmod(lst + 6.0, 24.0), 0.0, kRefractionNone);
        EXPECT_NEAR(east.azimuthDeg, 90.0, 1e-9) << latitude;
        EXPECT_NEAR(east.zenithDistanceDeg, 90.0, 1e-9);
        const HorizontalPlace west =
            equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, std::fmod(lst + 18.0, 24.0), 0.0, kRefractionNone);
        EXPECT_NEAR(west.azimuthDeg, 270.0, 1e-9) << latitude;
        // Upper culmination: zenith distance |φ - δ|, due south of a northern site.
        const HorizontalPlace south =
            equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, lst, latitude - 20.0, kRefractionNone);
        EXPECT_NEAR(south.zenithDistanceDeg, 20.0, 1e-9);
        EXPECT_NEAR(south.azimuthDeg, 180.0, 1e-9);
    }
    // The zenith itself: azimuth 0.
    const ObserverSite site{35.0, 139.0};
    const HorizontalPlace zenith =
        equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, localApparentSidereal(site), 35.0, kRefractionSite);
    EXPECT_NEAR(zenith.zenithDistanceDeg, 0.0, 1e-9);
    EXPECT_GE(zenith.azimuthDeg, 0.0);
    EXPECT_LT(zenith.azimuthDeg, 360.0);
}

TEST(EquatorialToHorizontal, RefractionLoopConvergesAndItsPlaceRoundTrips) {
    const ObserverSite site{-33.9, 18.4, 0.0, 5.0, 1030.0};
    const double lst = localApparentSidereal(site);
    // True zenith distances from mid-sky to just below the horizon.
    for (double hourAngle : {1.0, 4.5, 5.6, 5.95, 6.05}) {
        const double ra = std::fmod(lst - hourAngle + 24.0, 24.0);
        const HorizontalPlace geometric =
            equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, ra, 0.0, kRefractionNone);
        const HorizontalPlace seen = equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, ra, 0.0, kRefractionSite);
        const double r = refraction(site, kRefractionSite, seen.zenithDistanceDeg);
        ASSERT_GT(r, 0.0);
        EXPECT_NEAR(seen.zenithDistanceDeg + r, geometric.zenithDistanceDeg, 5e-5) << hourAngle;
        EXPECT_DOUBLE_EQ(seen.azimuthDeg, geometric.azimuthDeg);
        // The displaced place, taken back without refraction, stands where the object is seen.
        const HorizontalPlace back =
            equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, seen.raHours, seen.decDeg, kRefractionNone);
        EXPECT_NEAR(back.zenithDistanceDeg, seen.zenithDistanceDeg, 1e-9) << hourAngle;
        EXPECT_NEAR(back.azimuthDeg, seen.azimuthDeg, 1e-9);
    }
    // Without refraction the place is handed back unchanged.
    const HorizontalPlace plain = equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, 3.25, -12.5, kRefractionNone);
    EXPECT_EQ(plain.raHours, 3.25);
    EXPECT_EQ(plain.decDeg, -12.5);
}

TEST(ChartPath, AgreesWithTheFullTransformWithoutRefraction) {
    const ObserverSite site{47.55, -122.3};
    const ChartFrame frame = makeChartFrame(localApparentSidereal(site), site.latitude);
    double worst = 0.0;
    for (int i = 0; i < 400; ++i) {
        const double ra = std::fmod(i * 0.377, 24.0);
        const double dec = -85.0 + std::fmod(i * 7.31, 170.0);
        const HorizontalPlace full = equatorialToHorizontal(kTt, kDeltaT, 0.0, 0.0, site, ra, dec, kRefractionNone);
        double zd = 0.0, az = 0.0;
        chartZenithAzimuth(frame, ra, dec, zd, az);
        EXPECT_GE(az, 0.0);
        EXPECT_LT(az, 360.0);
        double dAz = std::fabs(az - full.azimuthDeg);
        dAz = std::min(dAz, 360.0 - dAz) * std::sin(zd * kDegToRad);
        worst = std::max({worst, std::fabs(zd - full.zenithDistanceDeg), dAz});
    }
    EXPECT_LT(worst, 1e-7);
}

TEST(ChartPath, PoleAndZenithStayFinite) {
    // A site at the pole is computed as at 89.9999.
    double zdPole = 0.0, azPole = 0.0, zdNear = 0.0, azNear = 0.0;
    chartZenithAzimuth(makeChartFrame(3.0, 90.0), 7.0, 20.0, zdPole, azPole);
    chartZenithAzimuth(makeChartFrame(3.0, 89.9999), 7.0, 20.0, zdNear, azNear);
    EXPECT_EQ(zdPole, zdNear);
    EXPECT_EQ(azPole, azNear);
    EXPECT_NEAR(zdPole, 70.0, 1e-3);
    // An object at the zenith: the floored denominator keeps the azimuth finite and in range.
    for (double latitude : {0.0, 47.55, -89.0}) {
        double zd = 1.0, az = -1.0;
        chartZenithAzimuth(makeChartFrame(5.5, latitude), 5.5, latitude, zd, az);
        EXPECT_NEAR(zd, 0.0, 1e-6);
        EXPECT_TRUE(std::isfinite(az));
        EXPECT_GE(az, 0.0);
        EXPECT_LT(az, 360.0);
        EXPECT_GE(toFixed16(zd), 0);
    }
    // Due west of the meridian the azimuth is above 180, due east below.
    double zd = 0.0, az = 0.0;
    chartZenithAzimuth(makeChartFrame(12.0, 30.0), 6.0, 0.0, zd, az);
    EXPECT_NEAR(az, 270.0, 1e-9);
    chartZenithAzimuth(makeChartFrame(12.0, 30.0), 18.0, 0.0, zd, az);
    EXPECT_NEAR(az, 90.0, 1e-9);
}

TEST(ChartPath, FixedPointOutput) {
    EXPECT_EQ(toFixed16(1.5), 98304);
    EXPECT_EQ(toFixed16(359.99999), static_cast<int32_t>(359.99999f * 65536.0f));
    EXPECT_EQ(toFixed16(-0.75), -49152);            // truncation toward zero
    EXPECT_EQ(toFixed16(1.0 / 131072.0 * 0.9), 0);  // below one unit
    EXPECT_DOUBLE_EQ(fromFixed16(toFixed16(123.25)), 123.25);
    EXPECT_EQ(toFixed16(std::nan("")), 0);
    EXPECT_EQ(toFixed16(40000.0), 0);
}

}  // namespace
}  // namespace celestra
