// The chart's places against the program's one-object apparent-place
// pipeline (what the Sextant page and `celestra-cli place` use): 50 stars,
// among them Polaris, one a degree above the horizon and one that crossed
// 0h of right ascension since J2000, with refraction on and off; the
// bodies; and the chart without the Earth's state. Angles are compared as
// arcs on the sky, signed, in arcseconds.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "catalogs/deep_sky.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "sky/chart_sky.h"
#include "solarsystem/planets.h"
#include "tests/sky/universe_fixture.h"

namespace celestra {
namespace {

constexpr double kJd = 2460356.5 + 20.0 / 24.0;  // 2024-02-15 20:00 UTC
constexpr int kPolaris = 424;

struct Misfit {
    double altitude = 0.0, azimuth = 0.0, ra = 0.0, dec = 0.0;  // arcseconds
    void add(const Misfit& m) {
        altitude = std::max(altitude, std::fabs(m.altitude));
        azimuth = std::max(azimuth, std::fabs(m.azimuth));
        ra = std::max(ra, std::fabs(m.ra));
        dec = std::max(dec, std::fabs(m.dec));
    }
};

// The chart's place (as the snapshot carries it) minus the pipeline's.
Misfit misfit(const HorizontalPoint& place, double raHours, double decDeg, const HorizonResult& ref) {
    Misfit m;
    m.altitude = ((90.0 - place.zenithDistance) - ref.altitudeDeg) * 3600.0;
    m.azimuth = std::remainder(place.azimuth - ref.azimuthDeg, 360.0) * std::cos(ref.altitudeDeg * kDegToRad) * 3600.0;
    m.ra = std::remainder(raHours - ref.raHours, 24.0) * 15.0 * std::cos(ref.decDeg * kDegToRad) * 3600.0;
    m.dec = (decDeg - ref.decDeg) * 3600.0;
    return m;
}

class ChartPlaces : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
        universe_ = std::make_unique<CUniverse>(test::configWithEphemeris());
        observer_.latitude = 55.0;
        observer_.longitude = 12.5;
        observer_.height = 30.0;
        observer_.temperature = -3.0;
        observer_.pressure = 1022.0;
    }

    // Every catalogue object listed, at the observer's refraction option.
    SkySnapshot chart(bool refraction) {
        observer_.refraction = refraction ? 1 : 0;
        CUniverseViewDrawState d = universe_->DrawState();
        setMagnitudeFilter(d, false);
        universe_->Update(observer_, d, false);
        SkySnapshot sky;
        universe_->ReadChart([&](const ChartData& c) {
            snapshotFromChart(c, observer_, universe_->EphemerisStart(), universe_->EphemerisEnd(), sky);
        });
        return sky;
    }

    HorizonResult reference(int object, bool refraction) {
        HorizonResult r;
        EXPECT_EQ(horizonPlace(universe_->Places(), kJd, starPlaceInput(*catalogueObject(object)),
                               observerSite(observer_), refraction, PlaceForm::Topocentric, r),
                  Status::Ok);
        return r;
    }

    std::unique_ptr<CUniverse> universe_;
    CObserverState observer_{kJd, 0.0};
};

TEST_F(ChartPlaces, FiftyStarsAgreeWithThePipelineToAnArcsecond) {
    const SkySnapshot refracted = chart(true);
    ASSERT_EQ(refracted.objects.size(), static_cast<size_t>(kCatalogueObjectCount));

    // Polaris; a star that crossed 0h since J2000; one between 0.2° and 1°
    // up (airless); then every 150th catalogue star to make fifty.
    std::vector<int> stars = {kPolaris - 1};
    int acrossZero = -1, low = -1;
    for (int k = 0; k < kBrightStarCount; ++k) {
        const StarEntry* e = catalogueObject(k);
        if (e->magnitude > 6500) continue;
        if (acrossZero < 0 && e->rightAscension > 23.9 && refracted.objectByNumber(k)->raHours < 0.1) acrossZero = k;
        const double alt = reference(k, false).altitudeDeg;
        if (low < 0 && alt > 0.2 && alt < 1.0) low = k;
    }
    ASSERT_GE(acrossZero, 0) << "no star crossed 0h";
    ASSERT_GE(low, 0) << "no star near the horizon";
    stars.push_back(acrossZero);
    stars.push_back(low);
    for (int k = 0; stars.size() < 50 && k < kBrightStarCount; k += 150)
        if (catalogueObject(k)->magnitude < kPlaceholderMagnitude) stars.push_back(k);
    ASSERT_EQ(stars.size(), 50u);

    for (bool refraction : {true, false}) {
        const SkySnapshot sky = refraction ? refracted : chart(false);
        Misfit worst;
        for (int k : stars) {
            const SkyObject* o = sky.objectByNumber(k);
            ASSERT_NE(o, nullptr);
            const Misfit m = misfit(o->place, o->raHours, o->decDeg, reference(k, refraction));
            EXPECT_LT(std::fabs(m.altitude), 1.0) << "HR " << k + 1 << (refraction ? " refracted" : " airless");
            EXPECT_LT(std::fabs(m.azimuth), 1.0) << "HR " << k + 1;
            EXPECT_LT(std::fabs(m.ra), 1.0) << "HR " << k + 1;
            EXPECT_LT(std::fabs(m.dec), 1.0) << "HR " << k + 1;
            worst.add(m);
        }
        std::printf("chart - pipeline, 50 stars, %s: max |alt| %.3f\", |az| %.3f\", |ra| %.3f\", |dec| %.3f\"\n",
                    refraction ? "refracted" : "airless", worst.altitude, worst.azimuth, worst.ra, worst.dec);
    }
    // Refraction lifts the low star by about half a degree.
    const double lift =
        refracted.objectByNumber(low)->place.zenithDistance - chart(false).objectByNumber(low)->place.zenithDistance;
    EXPECT_LT(lift, -0.25);
    EXPECT_GT(lift, -0.75);
}

TEST_F(ChartPlaces, BodiesAgreeWithThePipelineToAnArcsecond) {
    for (bool refraction : {true, false}) {
        const SkySnapshot sky = chart(refraction);
        for (int body : {kMercury, kVenus, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto, kSun, kMoon}) {
            const SkyBody& b = sky.bodies[static_cast<size_t>(body - 1)];
            ASSERT_TRUE(b.valid) << body;
            HorizonResult ref;
            ASSERT_EQ(horizonPlace(universe_->Places(), kJd, body, observerSite(observer_), refraction,
                                   PlaceForm::Topocentric, ref),
                      Status::Ok);
            const Misfit m = misfit(b.place, b.raHours, b.decDeg, ref);
            EXPECT_LT(std::fabs(m.altitude), 1.0) << body;
            EXPECT_LT(std::fabs(m.azimuth), 1.0) << body;
            EXPECT_LT(std::fabs(m.ra), 1.0) << body;
            EXPECT_LT(std::fabs(m.dec), 1.0) << body;
        }
    }
}

TEST_F(ChartPlaces, WithoutTheEarthsStateOnlyAberrationAndParallaxAreMissing) {
    const CatalogueMotions motions = catalogueMotions();
    std::vector<int32_t> objects;
    for (int k = 0; k < kBrightStarCount; k += 37) objects.push_back(k);
    const auto places = [&](const PlaceContext& context, std::vector<double>& ra, std::vector<double>& dec) {
        std::vector<int32_t> zd(motions.size()), az(motions.size());
        ra.assign(motions.size(), 0.0);
        dec.assign(motions.size(), 0.0);
        const HorizonFrame frame = makeHorizonFrame(context, observer_);
        truePlacesFixed(frame, motions, objects.data(), objects.size(), zd.data(), az.data(), ra.data(), dec.data());
        return frame.haveObserverState;
    };
    std::vector<double> ra, dec, bareRa, bareDec;
    ASSERT_TRUE(places(universe_->Places(), ra, dec));
    ASSERT_FALSE(places(PlaceContext{}, bareRa, bareDec));
    double worst = 0.0;
    for (int32_t k : objects) {
        const auto i = static_cast<size_t>(k);
        const double dDec = (dec[i] - bareDec[i]) * 3600.0;
        const double dRa = std::remainder(ra[i] - bareRa[i], 24.0) * 15.0 * std::cos(dec[i] * kDegToRad) * 3600.0;
        worst = std::max(worst, std::hypot(dDec, dRa));
    }
    // The annual aberration reaches 20.5″; the Earth's rotation adds 0.3″.
    EXPECT_LT(worst, 21.5);
    EXPECT_GT(worst, 15.0);
}

}  // namespace
}  // namespace celestra
