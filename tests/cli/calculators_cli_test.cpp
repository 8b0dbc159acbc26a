#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

// The number after "key": in a JSON text; NaN when the key is missing or null.
double jsonNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    const char* start = json.c_str() + at + key.size() + 3;
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    return end == start ? NAN : v;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CalculatorsCli, GreatCircleAndDestination) {
    const std::string route = "--from 51.5,-0.11666666666666667 --to 40.71666666666667,-74";
    auto r = runCli("gc " + route);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "3005.83 nautical miles")) << r.out;
    EXPECT_TRUE(has(r.out, "288.34\u00b0T")) << r.out;
    r = runCli("gc " + route + " --ellipsoidal --units km --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonNumber(r.out, "distance"), 3015.98 * 1.852, 0.01);
    EXPECT_NEAR(jsonNumber(r.out, "course_deg"), 288.34, 0.005);
    // Antipodal places: the spherical value with a note, still exit 0.
    r = runCli("gc --from 30,10 --to -30,-170 --ellipsoidal --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonNumber(r.out, "distance"), 10800.0, 1e-6);
    EXPECT_TRUE(has(r.out, "\"model\":\"sphere\"") && has(r.out, "\"note\":")) << r.out;

    r = runCli("destination --from 0,179 --course 270 --distance 180 --rhumb --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonNumber(r.out, "lon_deg"), 176.0, 1e-9);
    r = runCli("destination --from 10,20 --course 0 --distance 111.12 --units km --json");
    EXPECT_NEAR(jsonNumber(r.out, "lat_deg"), 11.0, 1e-9);
}

TEST(CalculatorsCli, HorizonDmsAndJulianDay) {
    auto r = runCli("horizon --height 2");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "2.93 NMi") && has(r.out, "3.13 NMi")) << r.out;
    r = runCli("horizon --height 100 --feet --json");
    EXPECT_NEAR(jsonNumber(r.out, "radar_nm"), 12.20, 1e-9);

    r = runCli("dms -0.5 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "\"negative\":true")) << r.out;
    EXPECT_EQ(jsonNumber(r.out, "deg"), 0.0);
    EXPECT_EQ(jsonNumber(r.out, "min"), 30.0);
    EXPECT_EQ(jsonNumber(r.out, "sec"), 0.0);
    EXPECT_TRUE(has(r.out, "\"text\":\"-00\u00b0 30\u2032 00\u2033\"")) << r.out;
    r = runCli("dms -0 30 --json");
    EXPECT_EQ(jsonNumber(r.out, "decimal_deg"), -0.5);

    r = runCli("jd 2000-01-01T12:00:00 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(jsonNumber(r.out, "jd"), 2451545.0);
    r = runCli("jd 2451544.5 --json");
    EXPECT_TRUE(has(r.out, "\"utc\":\"2000-01-01T00:00:00\"")) << r.out;
    r = runCli("jd 2460400.4999999");  // 23:59:59.99 on 30 March carries into the 31st
    EXPECT_EQ(r.out, "2024-03-31T00:00:00\n");
}

TEST(CalculatorsCli, UsageErrors) {
    EXPECT_EQ(runCli("gc --from 91,0 --to 0,0").exitCode, 2);
    EXPECT_EQ(runCli("gc --from '1;2' --to 0,0").exitCode, 2);
    EXPECT_EQ(runCli("gc --from 1,2 --to 0,0 --units ft").exitCode, 2);
    EXPECT_EQ(runCli("destination --from 80,0 --course 0 --distance 900 --rhumb").exitCode, 2);
    EXPECT_EQ(runCli("destination --from 0,0 --course 0 --distance 0").exitCode, 2);
    EXPECT_EQ(runCli("horizon --height 100000").exitCode, 2);
    EXPECT_EQ(runCli("dms 1 60").exitCode, 2);
    EXPECT_EQ(runCli("dms abc").exitCode, 2);
    EXPECT_EQ(runCli("jd 2024-02-30T00:00:00").exitCode, 2);
    EXPECT_EQ(runCli("jd 1e9").exitCode, 2);
}

TEST(CalculatorsCli, EdgesGiveTheRightAnswerOrARefusal) {
    // Rounding to the shown microsecond carries into minutes and degrees.
    const std::pair<std::string, std::string> carried[] = {
        {"dms 0.9999999999", "01\u00b0 00\u2032 00\u2033"},
        {"dms 1.9999999999999", "02\u00b0 00\u2032 00\u2033"},
        {"dms 0 59 59.99999999999", "01\u00b0 00\u2032 00\u2033"},
        {"dms -0.99999999999", "-01\u00b0 00\u2032 00\u2033"},
        {"dms 359.9999999999", "360\u00b0 00\u2032 00\u2033"},
        {"dms 12.2583330", "12\u00b0 15\u2032 29.9988\u2033"},
    };
    for (const auto& [command, text] : carried) {
        const auto r = runCli(command);
        EXPECT_EQ(r.exitCode, 0) << command << r.err;
        EXPECT_TRUE(has(r.out, "DMS      " + text + "\n")) << command << "\n" << r.out;
    }
    for (const char* command : {"dms 1e10", "dms -1e10", "dms 1000000", "dms 1e10 0"}) {
        const auto r = runCli(command);
        EXPECT_EQ(r.exitCode, 2) << command;
        EXPECT_TRUE(r.out.empty()) << command << r.out;
    }
    EXPECT_EQ(runCli("dms 999999").exitCode, 0);

    // The Julian days of the years 0000-9999, judged on the date as rounded.
    auto r = runCli("jd 1721059.5");
    EXPECT_EQ(r.out, "0000-01-01T00:00:00\n");
    EXPECT_EQ(runCli("jd 1721057.5").exitCode, 2);        // -0001-12-30
    EXPECT_EQ(runCli("jd 5373484.4999999").exitCode, 2);  // rounds to 10000-01-01
    r = runCli("jd 5373484.49999");
    EXPECT_EQ(r.out, "9999-12-31T23:59:59\n");

    // From a pole a rhumb line runs down the meridian of the given longitude.
    r = runCli("destination --from -90,30 --course 0 --distance 100 --rhumb --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(jsonNumber(r.out, "lat_deg"), -90.0 + 100.0 / 60.0, 1e-12);
    EXPECT_NEAR(jsonNumber(r.out, "lon_deg"), 30.0, 1e-12);
    r = runCli("destination --from 90,-45 --course 180 --distance 60 --json");
    EXPECT_NEAR(jsonNumber(r.out, "lat_deg"), 89.0, 1e-12);
    EXPECT_NEAR(jsonNumber(r.out, "lon_deg"), -45.0, 1e-12);
    r = runCli("destination --from -90,0 --course 45 --distance 100 --rhumb --json");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(has(r.err, "meridian")) << r.err;
}

class EphemerisCli : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
        option_ = " --ephemeris '" + path + "'";
    }
    std::string option_;
};

TEST_F(EphemerisCli, RiseSetJsonAndPolarTexts) {
    auto r = runCli("riseset --body Sun --date 2024-06-21 --lat 51.5 --lon -0.13 --zone 1 --json" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // Sunrise in London at midsummer: 04:43 BST; sunset 21:21 BST.
    EXPECT_NEAR(jsonNumber(r.out, "rise_hours"), 4.0 + 43.2 / 60.0, 1.0 / 60.0);
    EXPECT_NEAR(jsonNumber(r.out, "set_hours"), 21.0 + 21.6 / 60.0, 1.0 / 60.0);
    EXPECT_TRUE(has(r.out, "\"rise_text\":\"04:43:")) << r.out;
    EXPECT_TRUE(has(r.out, "\"more_events\":false") && !has(r.out, "day_offset")) << r.out;
    // Past local midnight the hours wrap into [0, 24).
    r = runCli("riseset --body Sun --date 2024-06-21 --lat 51.5 --lon -0.13 --zone 5 --json" + option_);
    const double set = jsonNumber(r.out, "set_hours");
    EXPECT_GE(set, 0.0);
    EXPECT_LT(set, 2.0);
    r = runCli("riseset --body Sun --date 2024-06-21 --lat 80 --lon 0 --kind civil --json" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "\"rise_text\":\"circ-polar\"") && has(r.out, "\"set_text\":\"--bright--\"")) << r.out;
    EXPECT_TRUE(has(r.out, "\"rise_hours\":null") && has(r.out, "\"set_hours\":null")) << r.out;
    EXPECT_FALSE(std::isnan(jsonNumber(r.out, "transit_hours")));
    r = runCli("riseset --star Sirius --date 2024-12-21 --lat 80 --lon 0" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "--no rise--")) << r.out;
    // Two moonrises in the UTC day: the first, marked.
    r = runCli("riseset --body Moon --date 2025-04-01 --lat 65 --lon 65" + option_);
    EXPECT_TRUE(has(r.out, "Rise     00:19:") && has(r.out, "(first of 2 this day)")) << r.out;
    EXPECT_TRUE(has(runCli("riseset --body Moon --date 2025-04-01 --lat 65 --lon 65 --json" + option_).out,
                    "\"more_events\":true"));
    EXPECT_EQ(runCli("riseset --body Moon --kind civil --date 2024-06-21 --lat 0 --lon 0" + option_).exitCode, 2);
    EXPECT_EQ(runCli("riseset --body Vulcan --date 2024-06-21 --lat 0 --lon 0" + option_).exitCode, 2);
    EXPECT_EQ(runCli("riseset --body Sun --date 2075-06-21 --lat 0 --lon 0" + option_).exitCode, 3);
}

// A named zone gives the same times as its hour offset on that date: summer
// and winter time in London, +5:45 in Kathmandu.
TEST_F(EphemerisCli, RiseSetInANamedZone) {
    const std::string place = " --body Sun --lat 51.5 --lon -0.13 --json" + option_;
    for (const auto& [date, hours] : {std::pair{"2024-06-21", "1"}, std::pair{"2024-12-21", "0"}}) {
        const auto named = runCli(std::string("riseset --date ") + date + " --zone Europe/London" + place);
        const auto offset = runCli(std::string("riseset --date ") + date + " --zone " + hours + place);
        ASSERT_EQ(named.exitCode, 0) << named.err;
        ASSERT_EQ(offset.exitCode, 0) << offset.err;
        const std::string times = offset.out.substr(0, offset.out.find(",\"zone_offset_hours\""));
        EXPECT_EQ(named.out.substr(0, times.size()), times) << date;
        EXPECT_EQ(jsonNumber(named.out, "zone_offset_hours"), std::stod(hours));
        EXPECT_TRUE(has(named.out, "\"zone\":\"Europe/London\"")) << named.out;
    }
    auto r = runCli("riseset --body Sun --date 2024-06-21 --lat 27.7 --lon 85.3 --zone Asia/Kathmandu" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "Sun, 2024-06-21, zone Asia/Kathmandu (+5.75 h)")) << r.out;
    for (const char* bad : {"Europe/Atlantis", "../../etc/passwd", "15", "5,5"})
        EXPECT_EQ(runCli(std::string("riseset --body Sun --date 2024-06-21 --lat 0 --lon 0 --zone ") + bad + option_)
                      .exitCode,
                  2)
            << bad;
}

TEST_F(EphemerisCli, MoonPhasesInANamedZone) {
    // October 2024: the full Moon in summer time, the new Moon of November in winter time.
    auto r = runCli("moonphases --year 2024 --month 10 --zone Europe/London" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "Full Moon      2024-10-17T12:26+01:00")) << r.out;
    r = runCli("moonphases --year 2024 --month 11 --zone Europe/London --json" + option_);
    EXPECT_TRUE(has(r.out, "{\"kind\":\"new\",\"utc\":\"2024-11-01T12:47\",\"local\":\"2024-11-01T12:47+00:00\"}"))
        << r.out;
    r = runCli("moonphases --year 2024 --month 4 --zone -3.5" + option_);
    EXPECT_TRUE(has(r.out, "Full Moon      2024-04-23T20:19-03:30")) << r.out;
}

TEST_F(EphemerisCli, MoonPhasesOfAMonth) {
    auto r = runCli("moonphases --year 2024 --month 4 --json" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "{\"phases\":[{\"kind\":\"last_quarter\",\"utc\":\"2024-04-02T03:15\"},"
              "{\"kind\":\"new\",\"utc\":\"2024-04-08T18:21\"},"
              "{\"kind\":\"first_quarter\",\"utc\":\"2024-04-15T19:13\"},"
              "{\"kind\":\"full\",\"utc\":\"2024-04-23T23:49\"}]}\n");
    r = runCli("moonphases --year 2025" + option_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(has(r.out, "Full Moon      2025-03-14T06:55 UTC")) << r.out;
    EXPECT_EQ(runCli("moonphases --year 2024 --month 13" + option_).exitCode, 2);
    EXPECT_EQ(runCli("moonphases --year 2080" + option_).exitCode, 3);
}

}  // namespace
}  // namespace celestra
