// Apparent places of the Sun, Moon, planets and stars against an
// independent computation of the same models with ERFA: the reader's
// barycentric vectors, a light-time iteration written here, eraLd
// deflection, eraAb aberration, eraPmat76 precession, eraNut80/eraNumat
// nutation, the observer from eraGd2gce and GMST82 + EQEQ94, TDB from
// eraDtdb, star motion from eraS2pv. Reports RMS and maximum differences.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/nutation.h"
#include "solarsystem/planets.h"
#include "tests/solarsystem/de405_fixture.h"
#include "tests/solarsystem/erfa_oracle.h"

namespace celestra {
namespace {

using namespace test::erfa;

constexpr double kMasPerRad = 206264806.24709636;

struct ErrorStats {
    double sumSquares = 0.0, max = 0.0;
    int count = 0;
    void add(double mas) {
        sumSquares += mas * mas;
        max = std::max(max, mas);
        ++count;
    }
    double rms() const { return count ? std::sqrt(sumSquares / count) : 0.0; }
};

// 25 TT instants spread over 1960-2059, at varied times of day.
std::vector<double> sampleDates() {
    std::vector<double> dates;
    for (int i = 0; i < 25; ++i) dates.push_back(2437000.5 + i * 1460.37 + 0.137 * (i % 7));
    return dates;
}

const ObserverSite kSites[] = {
    {51.4778, -0.0014, 45.0, 10.0, 1010.0},
    {-33.87, 151.21, 120.0, 20.0, 1000.0},
    {64.84, -147.72, 0.0, -20.0, 1020.0},
};

double sunElongationDeg(const Oracle& oracle, double ra, double dec) {
    double p[3];
    eraS2c(ra, dec, p);
    return std::acos(std::clamp(get(p).dot(oracle.sunDirection()), -1.0, 1.0)) * ERFA_DR2D;
}

using AccuracyTest = test::De405Test;

// Differences between the engine's and the oracle's places, split by the
// distance from the Sun (1 mas allowed, 5 mas within 10°).
struct Tally {
    ErrorStats far, near;
    void add(double raHours, double decDeg, double oracleRa, double oracleDec, const Oracle& oracle,
             const std::string& what) {
        const double errMas = eraSeps(raHours * 15.0 * ERFA_DD2R, decDeg * ERFA_DD2R, oracleRa, oracleDec) * kMasPerRad;
        if (sunElongationDeg(oracle, oracleRa, oracleDec) < 10.0) {
            near.add(errMas);
            EXPECT_LT(errMas, 5.0) << what;
        } else {
            far.add(errMas);
            EXPECT_LT(errMas, 1.0) << what;
        }
    }
    void report(const char* label) const {
        std::printf("%s, mas: RMS %.4f max %.4f (%d places), within 10 deg of the Sun RMS %.4f max %.4f (%d)\n", label,
                    far.rms(), far.max, far.count, near.rms(), near.max, near.count);
    }
};

TEST_F(AccuracyTest, BodiesGeocentricAndTopocentricWithinOneMilliarcsecond) {
    Oracle oracle(eph_);
    Tally geocentric, topocentric;
    const auto dates = sampleDates();
    for (size_t d = 0; d < dates.size(); ++d) {
        const double tt = dates[d];
        const double dT = deltaT(tt);
        for (int body = kMercury; body <= kMoon; ++body) {
            if (body == kEarth) continue;
            double ra = 0, dec = 0, dist = 0, ora = 0, odec = 0;
            const SolarSystemBody& target = context_.bodies[body - 1];
            ASSERT_EQ(geocentricPlace(eph_, tt, target, context_.earth(), ra, dec, dist), Status::Ok);
            ASSERT_TRUE(oracle.observe(tt, dT, nullptr));
            oracle.body(body, ora, odec);
            const std::string what = "body " + std::to_string(body) + " at " + std::to_string(tt);
            geocentric.add(ra, dec, ora, odec, oracle, what);

            const ObserverSite& site = kSites[(d + body) % 3];
            ASSERT_EQ(topocentricPlace(eph_, tt, target, context_.earth(), dT, site, ra, dec, dist), Status::Ok);
            ASSERT_TRUE(oracle.observe(tt, dT, &site));
            oracle.body(body, ora, odec);
            topocentric.add(ra, dec, ora, odec, oracle, what + " topocentric");
        }
    }
    geocentric.report("bodies, geocentric");
    topocentric.report("bodies, topocentric");
}

TEST_F(AccuracyTest, StarsWithProperMotionAndParallaxWithinOneMilliarcsecond) {
    Oracle oracle(eph_);
    const std::vector<StarPlaceInput> catalogue = {
        {17.963472, 4.693388, -5.335, 1032.8, 0.5475, -110.6},   // Barnard's star: fast, near
        {2.530301, 89.264109, 23.09, -1.17, 0.00754, -17.4},     // Polaris: next to the pole
        {6.752481, -16.716116, -3.847, -121.23, 0.37921, -5.5},  // Sirius
        {14.660765, -60.837398, -49.8, 69.3, 0.742, -22.4},      // α Centauri
        {10.139532, 11.967208, -1.7, 0.5, 0.042, 5.9},           // Regulus, on the ecliptic
        {20.0, -88.5, 0.0, 0.0, 0.0, 0.0},                       // no parallax, near the south pole
    };
    Tally geocentric, topocentric;
    const auto dates = sampleDates();
    for (size_t d = 0; d < dates.size(); ++d) {
        const double tt = dates[d];
        const double dT = deltaT(tt);
        ASSERT_TRUE(oracle.observe(tt, dT, nullptr));
        // A star 3° from the Sun on this date, for the near-Sun deflection.
        std::vector<StarPlaceInput> stars = catalogue;
        double sra = 0, sdec = 0, p[3];
        put(oracle.sunDirection(), p);
        eraC2s(p, &sra, &sdec);
        stars.push_back({eraAnp(sra + 3.0 * ERFA_DD2R / std::cos(sdec)) * ERFA_DR2D / 15.0, sdec * ERFA_DR2D, 0.1, 0.5,
                         0.01, 12.0});
        EarthState earth;
        ASSERT_EQ(earthState(eph_, tt, context_.earth(), earth), Status::Ok);
        for (size_t s = 0; s < stars.size(); ++s) {
            double ra = 0, dec = 0, ora = 0, odec = 0;
            apparentStar(earth, stars[s], ra, dec);
            ASSERT_TRUE(oracle.observe(tt, dT, nullptr));
            oracle.star(stars[s], ora, odec);
            const std::string what = "star " + std::to_string(s) + " at " + std::to_string(tt);
            geocentric.add(ra, dec, ora, odec, oracle, what);

            const ObserverSite& site = kSites[(d + s) % 3];
            topocentricStar(earth, tt, dT, stars[s], site, ra, dec);
            ASSERT_TRUE(oracle.observe(tt, dT, &site));
            oracle.star(stars[s], ora, odec);
            topocentric.add(ra, dec, ora, odec, oracle, what + " topocentric");
        }
    }
    geocentric.report("stars, geocentric");
    topocentric.report("stars, topocentric");
}

}  // namespace
}  // namespace celestra
