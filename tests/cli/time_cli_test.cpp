#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <map>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

// The fields of a flat JSON object of numbers and plain strings, as text.
std::map<std::string, std::string> jsonFields(const std::string& text) {
    std::map<std::string, std::string> fields;
    size_t pos = 0;
    while ((pos = text.find('"', pos)) != std::string::npos) {
        const size_t keyEnd = text.find('"', pos + 1);
        if (keyEnd == std::string::npos || keyEnd + 1 >= text.size() || text[keyEnd + 1] != ':') break;
        const std::string key = text.substr(pos + 1, keyEnd - pos - 1);
        size_t valueStart = keyEnd + 2, valueEnd;
        if (text[valueStart] == '"') valueEnd = text.find('"', valueStart + 1) + 1;
        else valueEnd = text.find_first_of(",}", valueStart);
        fields[key] = text.substr(valueStart, valueEnd - valueStart);
        pos = valueEnd;
    }
    return fields;
}

double number(const std::map<std::string, std::string>& f, const std::string& key) {
    auto it = f.find(key);
    if (it == f.end()) ADD_FAILURE() << "missing key " << key;
    return it == f.end() ? NAN : std::strtod(it->second.c_str(), nullptr);
}

TEST(TimeCli, JsonAtJ2000) {
    const auto r = runCli("time --utc 2000-01-01T12:00:00Z --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto f = jsonFields(r.out);
    EXPECT_EQ(f.size(), 8u) << r.out;
    EXPECT_EQ(number(f, "jd_utc"), 2451545.0);
    EXPECT_EQ(number(f, "tai_minus_utc_s"), 32.0);
    EXPECT_NEAR((number(f, "jd_tt") - 2451545.0) * 86400, 64.184, 1e-4);
    const double dT = number(f, "delta_t_s");
    EXPECT_NEAR(dT, 63.8285 + 0.5 / 1827 * (64.6876 - 63.8285), 1e-9);  // half a day after the 2000 entry
    EXPECT_NEAR((number(f, "jd_ut1") - 2451545.0) * 86400, 64.184 - dT, 1e-4);
    // GMST at UT1 = 12h + 0.355 s: 18.697374558 h plus 1.0027379 x 0.355 s.
    EXPECT_NEAR(number(f, "gmst_hours"), 18.697374558 + (64.184 - dT) * 1.00273790935 / 3600, 1e-8);
    EXPECT_NEAR((number(f, "gast_hours") - number(f, "gmst_hours")) * 3600, -0.8513, 0.002);  // eq. of equinoxes
    EXPECT_NE(f.count("zone_label"), 0u);
}

TEST(TimeCli, TextOutputAndInputForms) {
    const auto r = runCli("time --jd 2455000.5");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("UTC           2009-06-18T00:00:00\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("JD (UTC)      2455000.500000\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("TAI-UTC       34 s\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Zone          UTC "), std::string::npos) << r.out;
    EXPECT_TRUE(r.err.empty());

    // Fractional seconds and the same instant given both ways.
    const auto a = runCli("time --utc 2009-06-18T00:00:00.000 --json");
    const auto b = runCli("time --jd 2455000.5 --json");
    ASSERT_EQ(a.exitCode, 0) << a.err;
    EXPECT_EQ(a.out, b.out);
    const auto half = runCli("time --utc 2009-06-18T00:00:43.2 --json");
    ASSERT_EQ(half.exitCode, 0) << half.err;
    EXPECT_NEAR(number(jsonFields(half.out), "jd_utc"), 2455000.5005, 1e-9);

    const auto now = runCli("time --json");
    ASSERT_EQ(now.exitCode, 0) << now.err;
    const double expected = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    EXPECT_NEAR(number(jsonFields(now.out), "jd_utc"), expected, 60.0 / 86400);
}

TEST(TimeCli, BadArgumentsExitWithTwo) {
    for (const char* args : {"--utc 2000-13-01T00:00:00", "--utc 2001-02-29T00:00:00", "--utc 2000-01-01T24:00:00",
                             "--utc 2000-01-01T12:60:00", "--utc 2000-01-01", "--utc 2000-01-01T12:00:00+01:00",
                             "--utc 2000-01-01T12:00:00.", "--jd abc", "--jd 1e300", "--jd -5",
                             "--jd 2451545 --utc 2000-01-01T12:00:00", "--julian 3", "extra"}) {
        const auto r = runCli(std::string("time ") + args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
        ASSERT_FALSE(r.err.empty()) << args;
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << args << ": " << r.err;  // one line
    }
}

// 23:59:60 exists only at the end of a day that ends with a leap second;
// its TT is one second before the next day's 00:00:00.
TEST(TimeCli, LeapSecondOnlyOnItsDay) {
    const auto leap = runCli("time --utc 2016-12-31T23:59:60 --json");
    const auto next = runCli("time --utc 2017-01-01T00:00:00 --json");
    const auto before = runCli("time --utc 2016-12-31T23:59:59 --json");
    ASSERT_EQ(leap.exitCode, 0) << leap.err;
    const auto f = jsonFields(leap.out);
    EXPECT_EQ(number(f, "tai_minus_utc_s"), 36.0);
    EXPECT_NEAR((number(jsonFields(next.out), "jd_tt") - number(f, "jd_tt")) * 86400.0, 1.0, 1e-3);
    EXPECT_NEAR((number(f, "jd_tt") - number(jsonFields(before.out), "jd_tt")) * 86400.0, 1.0, 1e-3);
    EXPECT_NE(runCli("time --utc 2016-12-31T23:59:60").out.find("UTC           2016-12-31T23:59:60\n"),
              std::string::npos);
    EXPECT_EQ(runCli("time --utc 2015-06-30T23:59:60Z").exitCode, 0);

    for (const char* args :
         {"2017-06-30T23:59:60", "2016-12-31T23:58:60", "2016-12-31T12:00:60", "2016-12-31T23:59:60.5"}) {
        const auto r = runCli(std::string("time --utc ") + args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_NE(r.err.find("23:59:60"), std::string::npos) << args << ": " << r.err;
    }
}

TEST(TimeCli, Help) {
    const auto r = runCli("time --help");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_NE(r.out.find("--utc YYYY-MM-DDThh:mm:ss"), std::string::npos);
}

}  // namespace
}  // namespace celestra
