// The chart's per-instant horizon frame and its branch-free arithmetic
// against the one-object horizon transformation; the catalogue kernel's
// agreement with the full apparent-place pipeline is in chart_places_test.
#include "sky/star_positions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "model/observer_state.h"
#include "solarsystem/planets.h"

namespace celestra {
namespace {

constexpr double kArcsec = 1.0 / 3600.0;

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

// A frame with no ephemeris: the horizon rotation and refraction alone.
HorizonFrame frameAt(double jdUtc, double lat, double lon, bool refraction) {
    CObserverState o(jdUtc, 0.0);
    o.latitude = lat;
    o.longitude = lon;
    o.temperature = -5.0;
    o.pressure = 1025.0;
    o.refraction = refraction ? 1 : 0;
    return makeHorizonFrame(PlaceContext{}, o);
}

// Places of date through the frame against equatorialToHorizontal, with and
// without refraction, at both poles and over the sky; azimuths compared as
// the angle they make on the sky.
TEST(HorizonFrame, PlacesOfDateMatchTheHorizonTransformation) {
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> raDist(0.0, 24.0), decDist(-90.0, 90.0);
    const double jd = 2460356.5 + 20.0 / 24.0;
    for (double lat : {-90.0, -41.3, 0.0, 55.0, 89.99, 90.0}) {
        for (bool refraction : {false, true}) {
            const HorizonFrame f = frameAt(jd, lat, 12.5, refraction);
            EXPECT_FALSE(f.haveObserverState);
            for (int i = 0; i < 200; ++i) {
                const double ra = raDist(rng), dec = decDist(rng);
                ChartDirections d;
                d.add(ra, dec);
                double zd = 0, az = 0;
                horizonOfDate(f, {d.x[0], d.y[0], d.z[0]}, zd, az);
                const HorizontalPlace ref = equatorialToHorizontal(ttFromUtc(jd), deltaT(jd), 0.0, 0.0, f.site, ra, dec,
                                                                   refraction ? kRefractionSite : kRefractionNone);
                ASSERT_NEAR(zd, ref.zenithDistanceDeg, 1e-3 * kArcsec) << lat << " " << ra << " " << dec;
                EXPECT_NEAR(std::remainder(az - ref.azimuthDeg, 360.0) * std::sin(zd * kDegToRad), 0.0, 1e-3 * kArcsec);
                EXPECT_GE(az, 0.0);
                EXPECT_LT(az, 360.0);
            }
        }
    }
}

TEST(HorizonFrame, CompassPointsOfTheEquator) {
    // An object on the equator at the local sidereal time culminates due
    // south at 90° - latitude; six hours earlier it sets due west.
    const HorizonFrame f = frameAt(2460356.5, 45.0, 0.0, false);
    ChartDirections d;
    d.add(f.localSiderealHours, 0.0);
    d.add(f.localSiderealHours - 6.0, 0.0);
    d.add(f.localSiderealHours + 6.0, 0.0);
    d.add(3.0, 90.0);
    int32_t zd[4], az[4];
    horizonPlacesOfDate(f, d, zd, az);
    EXPECT_NEAR(fromFixed16(zd[0]), 45.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[0]), 180.0, 1e-4);
    EXPECT_NEAR(fromFixed16(zd[1]), 90.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[1]), 270.0, 1e-4);
    EXPECT_NEAR(fromFixed16(az[2]), 90.0, 1e-4);
    EXPECT_NEAR(fromFixed16(zd[3]), 45.0, 1e-4);
    EXPECT_TRUE(az[3] < toFixed16(1e-4) || az[3] > toFixed16(360.0 - 1e-4));  // the pole is due north
}

TEST(TruePlaces, OnlyListedObjectsAreWritten) {
    const CatalogueMotions all = catalogueMotions();
    ASSERT_EQ(all.size(), static_cast<size_t>(kCatalogueObjectCount));
    std::vector<int32_t> zd(all.size(), -1), az(all.size(), -1);
    std::vector<double> ra(all.size(), -1.0), dec(all.size(), -1.0);
    const int32_t objects[] = {0, 9109, 9110, 9328};
    truePlacesFixed(frameAt(2460356.5, 50.0, 1.0, true), all, objects, 4, zd.data(), az.data(), ra.data(), dec.data());
    for (int32_t k : objects) {
        EXPECT_NE(zd[static_cast<size_t>(k)], -1);
        EXPECT_GE(ra[static_cast<size_t>(k)], 0.0);
    }
    EXPECT_EQ(zd[1], -1);
    EXPECT_EQ(az[9111], -1);
    EXPECT_EQ(ra[9111], -1.0);
}

}  // namespace
}  // namespace celestra
