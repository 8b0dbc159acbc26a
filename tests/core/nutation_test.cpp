#include "core/nutation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "core/angles.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

TEST(Nutation, SeriesMatchesThePublishedTable) {
    CELESTRA_REQUIRE_FILE(path, test::testDataFile("iau1980-nutation.csv"));
    std::ifstream in(path);
    std::string line;
    std::vector<std::vector<double>> rows;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#' || line[0] == 'l') continue;
        std::vector<double> row;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) row.push_back(std::strtod(cell.c_str(), nullptr));
        rows.push_back(row);
    }
    const auto& series = nutationSeries();
    ASSERT_EQ(rows.size(), 106u);
    ASSERT_EQ(series.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const NutationTerm& t = series[i];
        const std::vector<double> got = {double(t.l), double(t.lp), double(t.f), double(t.d), double(t.om),
                                         t.psi,       t.psiRate,    t.eps,       t.epsRate};
        EXPECT_EQ(got, rows[i]) << "term " << i + 1;
    }
}

TEST(Nutation, AgainstPublishedExample) {
    // Meeus, Astronomical Algorithms, example 22.a: 1987 April 10, 0h TD.
    const double jd = 2446895.5;
    double dPsi = 0.0, dEps = 0.0;
    nutationIau1980(jd, dPsi, dEps);
    EXPECT_NEAR(dPsi, -3.788, 0.001);
    EXPECT_NEAR(dEps, 9.443, 0.001);

    const EarthTilt tilt = earthTilt(jd);
    EXPECT_NEAR(tilt.meanObliquityDeg * 3600, 23 * 3600 + 26 * 60 + 27.407, 0.001);
    EXPECT_NEAR(tilt.trueObliquityDeg * 3600, 23 * 3600 + 26 * 60 + 36.850, 0.001);
    EXPECT_EQ(tilt.nutationLongitudeArcsec, dPsi);
    EXPECT_EQ(tilt.nutationObliquityArcsec, dEps);
    // Δψ cos ε / 15 plus the complementary terms (|0.00264 sin Ω| / 15 < 0.00018 s).
    EXPECT_NEAR(tilt.equationOfEquinoxesSec, dPsi * std::cos(tilt.meanObliquityDeg * kDegToRad) / 15, 0.00018);
    EXPECT_NEAR(tilt.equationOfEquinoxesSec, -0.2317, 3e-4);
}

TEST(Nutation, MeanObliquityAtJ2000) { EXPECT_NEAR(earthTilt(kJ2000).meanObliquityDeg * 3600, 84381.448, 1e-9); }

TEST(Nutation, CacheHoldsForAMicroday) {
    const double jd = 2455000.5;
    const EarthTilt a = earthTilt(jd);
    const EarthTilt b = earthTilt(jd + 5e-7);  // reuses Δψ, Δε
    EXPECT_EQ(b.nutationLongitudeArcsec, a.nutationLongitudeArcsec);
    EXPECT_NE(b.meanObliquityDeg, a.meanObliquityDeg);  // evaluated at the new instant

    double dPsi = 0.0, dEps = 0.0;
    nutationIau1980(jd + 0.5, dPsi, dEps);
    const EarthTilt c = earthTilt(jd + 0.5);
    EXPECT_EQ(c.nutationLongitudeArcsec, dPsi);
    EXPECT_EQ(c.nutationObliquityArcsec, dEps);
    EXPECT_NE(c.nutationLongitudeArcsec, a.nutationLongitudeArcsec);

    // Each thread keeps its own memory.
    EarthTilt other;
    std::thread([&] { other = earthTilt(jd); }).join();
    EXPECT_EQ(other.nutationLongitudeArcsec, a.nutationLongitudeArcsec);
}

TEST(Nutation, TdbMinusTtAgainstTheTwoTermSeries) {
    // The short form of the Astronomical Almanac: 0.001657 sin g + 0.000014 sin 2g.
    double sumSq = 0.0, maxErr = 0.0;
    int n = 0;
    for (double jd = 2415020.5; jd < 2488069.5; jd += 3.7) {
        const double g = (357.53 + 0.98560028 * (jd - kJ2000)) * kDegToRad;
        const double reference = 0.001657 * std::sin(g) + 0.000014 * std::sin(2 * g);
        const double err = tdbMinusTt(jd) - reference;
        sumSq += err * err;
        maxErr = std::max(maxErr, std::fabs(err));
        ++n;
    }
    const double rms = std::sqrt(sumSq / n);
    RecordProperty("rms_us", std::to_string(rms * 1e6));
    RecordProperty("max_us", std::to_string(maxErr * 1e6));
    EXPECT_LT(rms, 20e-6);
    EXPECT_LT(maxErr, 40e-6);
    EXPECT_NEAR(tdbFromTt(kJ2000), kJ2000 + tdbMinusTt(kJ2000) / 86400, 1e-12);
}

}  // namespace
}  // namespace celestra
