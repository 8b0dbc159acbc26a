// reduce and fix subcommands, and the JSON-lines reader behind fix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "core/json_lines.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

FlatObject parsed(const std::string& out) {
    std::string error;
    const std::optional<FlatObject> object = parseFlatObject(out.substr(0, out.find('\n')), error);
    EXPECT_TRUE(object.has_value()) << error << "\n" << out;
    return object.value_or(FlatObject{});
}

double number(const FlatObject& o, const std::string& key) {
    const auto it = o.find(key);
    return it != o.end() && it->second.kind == JsonScalar::Kind::Number ? it->second.number : std::nan("");
}

bool isNull(const FlatObject& o, const std::string& key) {
    const auto it = o.find(key);
    return it != o.end() && it->second.kind == JsonScalar::Kind::Null;
}

class NavigationCli : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
        ephemeris_ = " --ephemeris '" + path + "'";
    }

    // Hc of a star at (lat, lon): the sextant reading of a pre-corrected sight there.
    double hcAt(int star, const std::string& utc, double lat, double lon) {
        char args[160];
        std::snprintf(args, sizeof args, "reduce --star %d --utc %s --hs 30 --ap-lat %.10f --ap-lon %.10f --json", star,
                      utc.c_str(), lat, lon);
        const auto r = runCli(args + ephemeris_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        return number(parsed(r.out), "hc");
    }

    std::string writeFile(const std::string& text) {
        const std::string path = test::makeTempDir() + "/sights.jsonl";
        std::ofstream(path) << text;
        return path;
    }

    std::string ephemeris_;
};

TEST_F(NavigationCli, ReduceJsonCarriesEveryQuantityConsistently) {
    const auto r = runCli(
        "reduce --body Sun --limb upper --utc 2024-06-21T16:00:00 --hs 70.5 --ap-lat 40 "
        "--ap-lon -70 --index-min -2 --json" +
        ephemeris_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const FlatObject o = parsed(r.out);
    for (const char* key : {"hs",
                            "dip",
                            "index_correction",
                            "ha",
                            "refraction",
                            "pa",
                            "sd",
                            "ho",
                            "hc",
                            "zn",
                            "intercept",
                            "intercept_nm",
                            "ra_hours",
                            "dec",
                            "distance_km",
                            "gha_body",
                            "gha_aries",
                            "gst_hours",
                            "sha",
                            "lha",
                            "delta_t_s",
                            "run_time_hours",
                            "dr_lat",
                            "dr_lon"})
        EXPECT_TRUE(std::isfinite(number(o, key))) << key;
    EXPECT_NEAR(number(o, "dip"), 0.0293, 1e-12);  // the default height of 1 m
    EXPECT_NEAR(number(o, "index_correction"), -2.0 / 60.0, 1e-12);
    EXPECT_NEAR(number(o, "ha"), 70.5 - 2.0 / 60.0 - 0.0293, 1e-12);
    EXPECT_NEAR(number(o, "ho"), number(o, "ha") + number(o, "refraction") + number(o, "pa") - number(o, "sd"), 1e-12);
    EXPECT_NEAR(number(o, "intercept"), number(o, "ho") - number(o, "hc"), 1e-12);
    EXPECT_NEAR(number(o, "intercept_nm"), 60.0 * number(o, "intercept"), 1e-9);
    EXPECT_NEAR(number(o, "dec"), 23.44, 0.01);  // the solstice
    EXPECT_NEAR(number(o, "gha_aries"), 15.0 * number(o, "gst_hours"), 1e-9);
    const std::string text = o.at("result_text").text;
    EXPECT_NE(text.find(number(o, "intercept") < 0 ? "away from AP" : "toward AP"), std::string::npos) << text;
}

TEST_F(NavigationCli, ReduceTextHasTheDetailsTableAndTheResult) {
    const auto r = runCli(
        "reduce --star 2491 --utc 2024-03-20T20:00:00 --hs 30 --ap-lat 36 --ap-lon -24 "
        "--course 90 --speed 12 --ap-utc 2024-03-20T18:00:00 --format 0" +
        ephemeris_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string table = r.out.substr(0, r.out.find("\n\n"));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n') + 1, 41) << r.out;
    EXPECT_EQ(r.out.rfind("Body", 0), 0u);
    EXPECT_NE(r.out.find("Sirius"), std::string::npos);
    EXPECT_NE(r.out.find("BrightStar #"), std::string::npos);
    EXPECT_NE(r.out.find("along Az: "), std::string::npos);
}

TEST_F(NavigationCli, ReduceRefusesBadOptionsAndInstantsOutsideTheEphemeris) {
    const std::string sight = " --utc 2024-03-20T20:00:00 --hs 30 --ap-lat 36 --ap-lon -24";
    EXPECT_EQ(runCli("reduce --star 2491 --body Sun" + sight + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("reduce --star 2491 --limb upper" + sight + ephemeris_).exitCode, 2);
    const auto height = runCli("reduce --star 2491 --height 40000" + sight + ephemeris_);
    EXPECT_EQ(height.exitCode, 2);
    EXPECT_NE(height.err.find("--height must be a number from 0 to 30000"), std::string::npos) << height.err;
    EXPECT_EQ(runCli("reduce --star 2491 --utc 2024-03-20T20:00:00 --hs 30 --ap-lat 36" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("reduce --body Earth" + sight + ephemeris_).exitCode, 2);
    EXPECT_EQ(
        runCli("reduce --star 2491 --utc 2075-03-20T20:00:00 --hs 30 --ap-lat 36 --ap-lon -24" + ephemeris_).exitCode,
        3);
}

TEST_F(NavigationCli, FixFindsThePositionOfPreCorrectedSights) {
    // Sights pre-corrected (Ho = Hs) taken at 36.2 N 24.5 W; the AP is 20 miles off.
    const double lat = 36.2, lon = -24.5;
    const struct {
        int star;
        const char* utc;
    } sights[] = {{2491, "2024-03-20T20:00:00"},
                  {424, "2024-03-20T20:04:00"},
                  {1457, "2024-03-20T20:08:00"},
                  {3982, "2024-03-20T20:12:00"}};
    std::string lines;
    for (const auto& s : sights) {
        char line[200];
        std::snprintf(line, sizeof line,
                      "{\"star\": %d, \"utc\": \"%s\", \"hs\": %.12f, \"ap_lat\": 36.5, \"ap_lon\": -24.3, "
                      "\"no_corrections\": true}\n\n",
                      s.star, s.utc, hcAt(s.star, s.utc, lat, lon));
        lines += line;
    }
    const auto r = runCli("fix " + writeFile(lines) + " --json" + ephemeris_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const FlatObject o = parsed(r.out);
    EXPECT_NEAR(number(o, "fix_lat_deg"), lat, 0.05 / 60.0);
    EXPECT_NEAR(number(o, "fix_lon_deg"), lon, 0.05 / 60.0);
    EXPECT_NEAR(number(o, "mpp_lat_deg"), lat, 0.05 / 60.0);  // no run
    EXPECT_LT(number(o, "std_error_nm"), 0.05);
    EXPECT_GE(number(o, "iterations"), 2.0);
    EXPECT_EQ(number(o, "sights"), 4.0);
    EXPECT_NE(o.at("text").text.find("Err: 0.0 NMi"), std::string::npos) << o.at("text").text;
    // The same from standard input, as text.
    const auto t = runCli("fix -" + ephemeris_, lines);
    ASSERT_EQ(t.exitCode, 0) << t.err;
    EXPECT_EQ(t.out.rfind("AP Correction:\n", 0), 0u) << t.out;
}

TEST_F(NavigationCli, FixReportsWhyThereIsNoFixAndWhichLineIsBad) {
    const std::string one =
        "{\"star\": 2491, \"utc\": \"2024-03-20T20:00:00\", \"hs\": 30, \"ap_lat\": 36, "
        "\"ap_lon\": -24}\n";
    auto r = runCli("fix " + writeFile(one) + " --json" + ephemeris_);
    EXPECT_EQ(r.exitCode, 1);
    // A failure says so on stderr too, not only in the document on stdout.
    EXPECT_NE(r.err.find("no fix: "), std::string::npos) << r.err;
    EXPECT_EQ(runCli("fix - " + ephemeris_, "").err.find("no fix: "), 0u + std::string("celestra-cli fix: ").size());
    FlatObject o = parsed(r.out);
    EXPECT_TRUE(isNull(o, "fix_lat_deg"));
    EXPECT_TRUE(isNull(o, "fix_lon_deg"));
    EXPECT_NE(o.at("reason").text.find("two"), std::string::npos);
    r = runCli("fix " + writeFile(one + one) + " --json" + ephemeris_);  // equal azimuths
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(parsed(r.out).at("reason").text.find("parallel"), std::string::npos) << r.out;

    for (const std::string& bad :
         {std::string("{\"star\": 2491, \"utc\": \"2024-03-20T20:00:00\"}"),
          std::string("{\"star\": 2491, \"hs\": 30, \"oops\": 1}"), std::string("[1, 2]"),
          std::string("{\"star\": 2491,"), one.substr(0, one.size() - 2) + ", \"height\": -5}"}) {
        r = runCli("fix " + writeFile(one + bad + "\n" + one) + ephemeris_);
        EXPECT_EQ(r.exitCode, 4) << bad;
        EXPECT_NE(r.err.find("line 2: "), std::string::npos) << r.err;
    }
    EXPECT_EQ(runCli("fix /nonexistent/sights.jsonl" + ephemeris_).exitCode, 4);
    EXPECT_EQ(runCli("fix" + ephemeris_).exitCode, 2);
}

TEST(FlatJsonReader, ScalarsEscapesAndFaults) {
    std::string error;
    const auto o = parseFlatObject(
        R"( {"a": "x\"\\\/\n\u00e9\ud83d\ude00", "b": -1.5e+3, "c": true, "d": false, "e": null, "f": 0} )", error);
    ASSERT_TRUE(o.has_value()) << error;
    EXPECT_EQ(o->at("a").text, "x\"\\/\n\u00e9\U0001F600");
    EXPECT_EQ(o->at("b").number, -1500.0);
    EXPECT_TRUE(o->at("c").boolean);
    EXPECT_EQ(o->at("d").kind, JsonScalar::Kind::Boolean);
    EXPECT_FALSE(o->at("d").boolean);
    EXPECT_EQ(o->at("e").kind, JsonScalar::Kind::Null);
    EXPECT_TRUE(parseFlatObject("{}", error).has_value());

    const struct {
        const char* text;
        const char* message;
    } faults[] = {{"{\"a\": 01}", "column 8"},
                  {"{\"a\": 1.}", "digits after"},
                  {"{\"a\": -}", "expected a value"},
                  {"{\"a\": 1e}", "exponent"},
                  {"{\"a\": 1e999}", "out of range"},
                  {"{\"a\": {}}", "nested"},
                  {"{\"a\": 1, \"a\": 2}", "duplicate"},
                  {"{\"a\": 1} x", "after the object"},
                  {"{\"a\": \"\\ud800\"}", "surrogate"},
                  {"{\"a\": \"tab\there\"}", "control"},
                  {"{\"a\" 1}", "expected ':'"},
                  {"{\"a\": 1", "expected ',' or '}'"},
                  {"{\"a\": \"open", "unterminated"},
                  {"{a: 1}", "double quotes"},
                  {"", "expected '{'"}};
    for (const auto& f : faults) {
        EXPECT_FALSE(parseFlatObject(f.text, error).has_value()) << f.text;
        EXPECT_NE(error.find(f.message), std::string::npos) << f.text << " -> " << error;
    }
}

}  // namespace
}  // namespace celestra
