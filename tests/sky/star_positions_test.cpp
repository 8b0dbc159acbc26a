// The chart's vector form of the fast altitude and azimuth against the
// spherical formulas it replaces (the core's chartZenithAzimuth).
#include "sky/star_positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/horizon.h"

namespace celestra {
namespace {

TEST(ChartAtan2, AgreesWithTheLibraryInEveryOctantAndOnTheAxes) {
    double worst = 0.0;
    for (int i = 0; i < 20000; ++i) {
        const double angle = -kPi + i * (2.0 * kPi / 20000.0);
        for (double r : {1e-300, 1e-3, 1.0, 7.5e5}) {
            const double y = r * std::sin(angle), x = r * std::cos(angle);
            worst = std::max(worst, std::fabs(chartAtan2(y, x) - std::atan2(y, x)));
        }
    }
    EXPECT_LT(worst, 1e-9);
    EXPECT_EQ(chartAtan2(0.0, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(chartAtan2(0.0, -1.0), kPi);
    EXPECT_DOUBLE_EQ(chartAtan2(1.0, 0.0), kPi / 2);
    EXPECT_DOUBLE_EQ(chartAtan2(-1.0, 0.0), -kPi / 2);
    EXPECT_NEAR(chartAtan2(1.0, 1.0), kPi / 4, 1e-15);
}

// Within about one unit of the last place of the 16.16 result. Azimuths
// are compared as the distance they make on the sky (azimuth difference
// times sin zd): near the zenith the azimuth itself is ill-defined, and the
// acos form of the reference loses digits there.
void expectSamePosition(const ChartRotation& r, const ChartFrame& frame, double ra, double dec) {
    ChartDirections d;
    d.add(ra, dec);
    double zd, az, zdRef, azRef;
    chartZenithAzimuthDeg(r, d.x[0], d.y[0], d.z[0], zd, az);
    chartZenithAzimuth(frame, ra, dec, zdRef, azRef);
    EXPECT_NEAR(zd, zdRef, 2e-5) << ra << " " << dec;
    EXPECT_NEAR(std::remainder(az - azRef, 360.0) * std::sin(zdRef * kDegToRad), 0.0, 2e-5) << ra << " " << dec;
    EXPECT_GE(az, 0.0);
    EXPECT_LT(az, 360.0);
}

TEST(ChartPositions, MatchTheSphericalFormulasOverTheSky) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> raDist(0.0, 24.0), decDist(-90.0, 90.0), latDist(-89.0, 89.0);
    for (int i = 0; i < 300; ++i) {
        const double lst = raDist(rng), lat = latDist(rng);
        const ChartRotation r = chartRotation(lst, lat);
        const ChartFrame frame = makeChartFrame(lst, lat);
        for (int j = 0; j < 20; ++j) expectSamePosition(r, frame, raDist(rng), decDist(rng));
        // On the meridian, at the celestial poles, and near the zenith.
        expectSamePosition(r, frame, lst, 0.5 * lat);
        expectSamePosition(r, frame, 3.0, 89.99);
        expectSamePosition(r, frame, 3.0, -89.99);
        expectSamePosition(r, frame, lst + 0.01, lat);
    }
}

TEST(ChartPositions, CompassDirectionsAndTheClampedPole) {
    // Latitude 45°, LST 6h: an object at RA 6h, Dec 0 culminates due south,
    // at RA 0h it sets due west, at RA 12h it rises due east.
    const ChartRotation r = chartRotation(6.0, 45.0);
    ChartDirections d;
    d.add(6.0, 0.0);
    d.add(0.0, 0.0);
    d.add(12.0, 0.0);
    d.add(3.0, 90.0);
    int32_t zd[4], az[4];
    chartPositionsFixed(r, d, zd, az);
    EXPECT_NEAR(fromFixed16(zd[0]), 45.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[0]), 180.0, 1e-4);
    EXPECT_NEAR(fromFixed16(zd[1]), 90.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[1]), 270.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[2]), 90.0, 1e-4);
    EXPECT_NEAR(fromFixed16(zd[3]), 45.0, 1e-4);
    EXPECT_EQ(az[3], 0);  // the pole is due north

    // Latitude beyond ±89.9999 (and a NaN) is brought into range.
    const ChartRotation pole = chartRotation(0.0, 90.0), clamped = chartRotation(0.0, 89.9999);
    EXPECT_EQ(pole.sinLat, clamped.sinLat);
    EXPECT_EQ(pole.cosLat, clamped.cosLat);
    EXPECT_GT(pole.cosLat, 0.0);
    EXPECT_EQ(chartRotation(0.0, -1000.0).sinLat, chartRotation(0.0, -89.9999).sinLat);
    EXPECT_EQ(chartRotation(0.0, std::nan("")).sinLat, 0.0);
}

TEST(ChartPositions, ListedObjectsOnlyAreWritten) {
    const ChartDirections all = catalogueDirections();
    ASSERT_EQ(all.size(), static_cast<size_t>(kCatalogueObjectCount));
    std::vector<int32_t> zd(all.size(), -1), az(all.size(), -1);
    const int32_t objects[] = {0, 9109, 9110, 9328};
    chartPositionsFixed(chartRotation(1.0, 50.0), all, objects, 4, zd.data(), az.data());
    for (int32_t k : objects) EXPECT_NE(zd[static_cast<size_t>(k)], -1);
    EXPECT_EQ(zd[1], -1);
    EXPECT_EQ(az[9111], -1);
}

}  // namespace
}  // namespace celestra
