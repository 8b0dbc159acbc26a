#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

// The number after "key": in a flat JSON object, or NaN when the key is absent.
double jsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    return at == std::string::npos ? NAN : std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

class PlaceCli : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
        ephemeris_ = " --ephemeris '" + path + "'";
    }
    std::string ephemeris_;
};

TEST_F(PlaceCli, MoonTopocentricAndGeocentricJson) {
    const auto topo = runCli("place --body mOOn --utc 2024-01-25T17:54:00 --lat 51.48 --lon 0 --json" + ephemeris_);
    ASSERT_EQ(topo.exitCode, 0) << topo.err;
    const auto geo =
        runCli("place --body Moon --utc 2024-01-25T17:54:00 --lat 51.48 --lon 0 --geocentric --json" + ephemeris_);
    ASSERT_EQ(geo.exitCode, 0) << geo.err;
    // Low in the east-north-east: parallax lowers the topocentric place by most of a degree.
    EXPECT_NEAR(jsonNumber(topo.out, "alt_deg"), 13.9, 0.2);
    EXPECT_NEAR(jsonNumber(topo.out, "az_deg"), 70.5, 0.2);
    const double dDec = jsonNumber(topo.out, "dec_deg") - jsonNumber(geo.out, "dec_deg");
    EXPECT_LT(dDec, -0.3);
    EXPECT_GT(dDec, -1.0);
    EXPECT_NEAR(jsonNumber(geo.out, "distance_au"), 0.00268, 0.00003);
    // The phase comes from geocentric places in both forms.
    EXPECT_GT(jsonNumber(topo.out, "illuminated_fraction"), 0.99);
    EXPECT_EQ(jsonNumber(topo.out, "illuminated_fraction"), jsonNumber(geo.out, "illuminated_fraction"));
    EXPECT_FALSE(std::isnan(jsonNumber(geo.out, "bright_limb_deg")));
    EXPECT_TRUE(std::isnan(jsonNumber(geo.out, "alt_deg")));  // no horizon place when geocentric
    EXPECT_TRUE(std::isnan(jsonNumber(geo.out, "az_deg")));
}

TEST_F(PlaceCli, RefractionRaisesTheAltitudeWithTheGivenWeather) {
    const std::string base = "place --body Sun --utc 2024-06-21T20:00:00 --lat 51.48 --lon 0 --json" + ephemeris_;
    const auto plain = runCli(base);
    const auto cold = runCli(base + " --refraction --temp -10 --pressure 1040");
    const auto warm = runCli(base + " --refraction --temp 30 --pressure 990");
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    const double alt = jsonNumber(plain.out, "alt_deg");
    EXPECT_NEAR(alt, 1.3, 0.5);  // just before sunset
    EXPECT_GT(jsonNumber(cold.out, "alt_deg") - alt, jsonNumber(warm.out, "alt_deg") - alt);
    EXPECT_GT(jsonNumber(warm.out, "alt_deg") - alt, 0.25);
    EXPECT_EQ(jsonNumber(plain.out, "ra_hours"), jsonNumber(cold.out, "ra_hours"));
    EXPECT_EQ(jsonNumber(plain.out, "magnitude"), -26.73);
    EXPECT_TRUE(std::isnan(jsonNumber(plain.out, "illuminated_fraction")));
}

TEST_F(PlaceCli, TextOutputAndFailures) {
    const auto text = runCli("place --body jupiter --utc 2022-09-26T00:00:00 --lat 0 --lon 0" + ephemeris_);
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Jupiter (topocentric)"), std::string::npos);
    EXPECT_NE(text.out.find("magnitude:    -2.94"), std::string::npos) << text.out;

    const auto outside = runCli("place --body Mars --utc 1950-01-01T00:00:00 --lat 0 --lon 0" + ephemeris_);
    EXPECT_EQ(outside.exitCode, 3);
    EXPECT_TRUE(outside.out.empty());
    EXPECT_NE(outside.err.find("outside the ephemeris"), std::string::npos);
    EXPECT_EQ(outside.err.find('\n'), outside.err.size() - 1);  // one line

    EXPECT_EQ(runCli("place --body Earth --utc 2024-01-01T00:00:00 --lat 0 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("place --body Mars --utc 2024-13-01T00:00:00 --lat 0 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("place --body Mars --utc 2024-01-01T00:00:00 --lat 91 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("place --body Mars --utc 2024-01-01T00:00:00 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(
        runCli("place --body Mars --utc 2024-01-01T00:00:00 --lat 0 --lon 0 --ephemeris /nonexistent.405").exitCode, 4);
}

TEST_F(PlaceCli, CatalogueStarByNumber) {
    // Sirius at 2024-01-25T00:00 UTC: the apparent place of date (precessed
    // from J2000 6.752 h, -16.716 deg to about 6.767 h, -16.74 deg; the
    // accuracy itself is checked against ERFA elsewhere), its catalogue
    // magnitude and the distance from its parallax (0.375").
    const auto sirius = runCli("place --star 2491 --utc 2024-01-25T00:00:00 --lat 0 --lon 0 --json" + ephemeris_);
    ASSERT_EQ(sirius.exitCode, 0) << sirius.err;
    EXPECT_NEAR(jsonNumber(sirius.out, "ra_hours"), 6.767, 0.01);
    EXPECT_NEAR(jsonNumber(sirius.out, "dec_deg"), -16.74, 0.02);
    EXPECT_DOUBLE_EQ(jsonNumber(sirius.out, "magnitude"), -1.46);
    EXPECT_NEAR(jsonNumber(sirius.out, "distance_au"), 206264.806 / 0.375, 1.0);
    EXPECT_EQ(sirius.out.find("illuminated_fraction"), std::string::npos);

    // No parallax: the distance is unknown, not infinite.
    const auto noParallax = runCli("place --star 4 --utc 2024-01-25T00:00:00 --lat 0 --lon 0 --json" + ephemeris_);
    ASSERT_EQ(noParallax.exitCode, 0) << noParallax.err;
    EXPECT_NE(noParallax.out.find("\"distance_au\":null"), std::string::npos);

    // A placeholder slot, a number outside the catalogue, or both selectors: bad arguments.
    EXPECT_EQ(runCli("place --star 92 --utc 2024-01-25T00:00:00 --lat 0 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("place --star 9111 --utc 2024-01-25T00:00:00 --lat 0 --lon 0" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("place --star 1 --body Sun --utc 2024-01-25T00:00:00 --lat 0 --lon 0" + ephemeris_).exitCode, 2);
}

}  // namespace
}  // namespace celestra
