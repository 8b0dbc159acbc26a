// Where "Find..." steps the time for an object below the horizon: one
// object's place as the model's stages compute it, and the first whole
// minute at which the chart draws it.
#include "sky/chart_rise.h"

#include <gtest/gtest.h>

#include <cmath>

#include "catalogs/deep_sky.h"
#include "core/horizon.h"
#include "solarsystem/planets.h"
#include "tests/sky/universe_fixture.h"

namespace celestra {
namespace {

constexpr double kMinute = 1.0 / 1440.0;

// A place whose zenith distance falls through 90° at `crossing` (UTC JD)
// by a quarter of a degree a minute.
ChartPlaceAt risingAt(double crossing) {
    return [crossing](double jd) { return std::optional(ChartPlace{90.0 - (jd - crossing) / kMinute * 0.25, 123.0}); };
}

bool wholeMinute(double jd) { return std::abs(jd / kMinute - std::round(jd / kMinute)) < 1e-3; }

TEST(ChartRise, TheFirstWholeMinuteAfterTheCrossing) {
    const double from = 2460000.0 + 0.3 * kMinute;
    // Crossings inside the first coarse step, deep in the span, and in the
    // last partial step before the span's end.
    for (double minutes : {0.2, 4.5, 9.99, 10.0, 737.4, 4301.5}) {
        const double crossing = from + minutes * kMinute;
        const auto rise = nextChartRise(risingAt(crossing), from, kChartRiseSearchDays);
        ASSERT_TRUE(rise) << minutes;
        EXPECT_TRUE(wholeMinute(*rise)) << minutes;
        EXPECT_GT(*rise, crossing) << minutes;
        EXPECT_LE(*rise, crossing + kMinute) << minutes;
        EXPECT_TRUE(risingAt(crossing)(*rise)->shown());
    }
    // Exactly 90° is on the horizon line, not above it.
    const double onTheMinute = 2460000.0 + 10 * kMinute;
    EXPECT_NEAR(*nextChartRise(risingAt(onTheMinute), onTheMinute - 3.3 * kMinute, 1.0), onTheMinute + kMinute, 1e-9);
}

TEST(ChartRise, NothingWithinTheSpan) {
    const double from = 2460000.0;
    // Rises just after the span, never, or has no place at all.
    EXPECT_FALSE(nextChartRise(risingAt(from + 3.01), from, 3.0));
    EXPECT_FALSE(nextChartRise([](double) { return std::optional(ChartPlace{120.0, 0.0}); }, from, 3.0));
    EXPECT_FALSE(nextChartRise([](double) { return std::optional<ChartPlace>(); }, from, 3.0));
    EXPECT_FALSE(nextChartRise(risingAt(from), std::nan(""), 3.0));
    EXPECT_FALSE(nextChartRise(risingAt(from), from, 0.0));
}

// The single-object places are the stages' own, to the last 16.16 unit, so
// the instant Find chooses is one at which the chart really draws the object.
TEST(ChartRise, ObjectPlacesAreTheStarStages) {
    CUniverse u(test::configWithoutEphemeris());
    CObserverState o = test::observerAt(test::kInstant);
    o.latitude = 47.6;
    o.longitude = -122.3;
    CUniverseViewDrawState d = u.DrawState();
    d.magnitudeLimit = 7000;
    d.deepSkySelection = 3;
    u.Update(o, d, false);
    const ChartData c = u.ChartCopy();
    ASSERT_GT(c.visibleObjects.size(), 2000u);
    for (size_t i = 0; i < c.visibleObjects.size(); i += 41) {
        const int k = c.visibleObjects[i];
        const auto place = chartPlaceOfObject(u.Places(), k, o.instant, o);
        ASSERT_TRUE(place);
        EXPECT_EQ(toFixed16(place->zenithDistanceDeg), c.objectZenithDistance[static_cast<size_t>(k)]) << k;
        EXPECT_EQ(toFixed16(place->azimuthDeg), c.objectAzimuth[static_cast<size_t>(k)]) << k;
    }
    EXPECT_FALSE(chartPlaceOfObject(u.Places(), -1, o.instant, o));
    EXPECT_FALSE(chartPlaceOfObject(u.Places(), kCatalogueObjectCount, o.instant, o));
}

TEST(ChartRise, BodyPlacesAreTheBodyStages) {
    ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
    CUniverse u(test::configWithEphemeris());
    CObserverState o = test::observerAt(test::kInstant);
    o.latitude = -33.9;
    o.longitude = 18.4;
    u.Update(o, u.DrawState(), false);
    const ChartData c = u.ChartCopy();
    ASSERT_TRUE(c.bodies.valid);
    for (int body : {kMercury, kMars, kPluto, kSun, kMoon}) {
        const auto place = chartPlaceOfBody(u.Places(), body, o.instant, o);
        ASSERT_TRUE(place) << body;
        EXPECT_EQ(toFixed16(place->zenithDistanceDeg),
                  c.bodies.slot[static_cast<size_t>(body - 1)].zenithDistanceFixed);
        EXPECT_EQ(toFixed16(place->azimuthDeg), c.bodies.slot[static_cast<size_t>(body - 1)].azimuthFixed);
    }
    EXPECT_FALSE(chartPlaceOfBody(u.Places(), kEarth, o.instant, o));
    EXPECT_FALSE(chartPlaceOfBody(u.Places(), 12, o.instant, o));
    EXPECT_FALSE(chartPlaceOfBody(u.Places(), kMoon, 2480000.5, o));  // past the file (2078)
}

// Sirius from Seattle: the chart draws it a minute after the step and not a
// minute before; a rise at the standard altitude of -34' comes some
// minutes earlier, with the star still under the drawn horizon.
TEST(ChartRise, SiriusFromSeattle) {
    CObserverState o = test::observerAt(2460680.5);  // 2025-01-05 0h UTC: Sirius below the horizon
    o.latitude = 47.6;
    o.longitude = -122.3;
    const int sirius = 2490;
    const PlaceContext none;  // no ephemeris: the places without aberration
    ASSERT_FALSE(chartPlaceOfObject(none, sirius, o.instant, o)->shown());
    const ChartPlaceAt placeAt = [&o, &none, sirius](double jd) { return chartPlaceOfObject(none, sirius, jd, o); };
    const auto rise = nextChartRise(placeAt, o.instant, kChartRiseSearchDays);
    ASSERT_TRUE(rise);
    EXPECT_LT(*rise, o.instant + 1.0);
    EXPECT_TRUE(placeAt(*rise)->shown());
    EXPECT_FALSE(placeAt(*rise - kMinute)->shown());
    EXPECT_GT(placeAt(*rise)->zenithDistanceDeg, 89.7);
    // Rising in the south-east.
    EXPECT_NEAR(placeAt(*rise)->azimuthDeg, 115.2, 1.0);
}

}  // namespace
}  // namespace celestra
