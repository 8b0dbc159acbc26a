// The chart snapshot's own geometry: horizontal places back to equatorial
// ones, and the directions of celestial north and east at a point of the sky.
#include <gtest/gtest.h>

#include <cmath>

#include "core/horizon.h"
#include "sky/chart_sky.h"

namespace celestra {
namespace {

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

}  // namespace
}  // namespace celestra
