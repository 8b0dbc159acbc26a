// almanac and plan subcommands: the JSON documents' shape and the exit codes.
#include <gtest/gtest.h>

#include "core/json_reader.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

class AlmanacCli : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
        ephemeris_ = " --ephemeris '" + path + "'";
    }
    JsonValue json(const std::string& arguments) {
        const auto r = runCli(arguments + ephemeris_);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        std::string error;
        const std::optional<JsonValue> v = parseJson(r.out, &error);
        EXPECT_TRUE(v.has_value()) << error;
        return v.value_or(JsonValue{});
    }
    std::string ephemeris_;
};

TEST_F(AlmanacCli, JsonHoldsEveryHourStarDayAndLatitude) {
    const JsonValue a = json("almanac --date 2024-06-21 --json");
    ASSERT_EQ(a.Find("hours")->items.size(), 72u);
    const JsonValue& first = a.Find("hours")->items.front();
    EXPECT_EQ(first.String("utc"), "2024-06-21T00:00:00");
    for (const char* body : {"sun", "venus", "mars", "jupiter", "saturn", "moon"}) {
        ASSERT_NE(first.Find(body), nullptr) << body;
        EXPECT_TRUE(first.Find(body)->Number("gha").has_value()) << body;
        EXPECT_TRUE(first.Find(body)->Number("dec").has_value()) << body;
    }
    for (const char* key : {"v", "d", "hp"}) EXPECT_TRUE(first.Find("moon")->Number(key).has_value()) << key;
    EXPECT_NEAR(*first.Find("sun")->Number("dec"), 23.44, 0.01);
    ASSERT_EQ(a.Find("stars")->items.size(), 58u);
    EXPECT_EQ(a.Find("stars")->items.back().String("name"), "Polaris");
    ASSERT_EQ(a.Find("days")->items.size(), 3u);
    const JsonValue& day = a.Find("days")->items.front();
    EXPECT_EQ(day.String("date"), "2024-06-21");
    EXPECT_EQ(day.Find("planets")->items.size(), 4u);
    EXPECT_EQ(day.String("sun_mer_pass"), "12:02");
    ASSERT_EQ(a.Find("events")->items.size(), 93u);
    // 72° N at the June solstice: the Sun never sets; the notes say so.
    const JsonValue& north = a.Find("events")->items.front();
    EXPECT_EQ(north.Number("lat"), 72.0);
    EXPECT_EQ(north.Find("sunrise")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(north.Find("note")->String("sunrise"), "always above");
    EXPECT_EQ(north.Find("note")->String("nautical_end"), "always above");
    // The equator: every Sun event happens, and the note is empty.
    const JsonValue& equator = a.Find("events")->items[18];
    EXPECT_EQ(equator.Number("lat"), 0.0);
    EXPECT_EQ(equator.String("sunrise").value_or("").size(), 5u);
}

TEST_F(AlmanacCli, RefusesBadArgumentsAndDaysOutsideTheEphemeris) {
    EXPECT_EQ(runCli("almanac --date 2024-02-30" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("almanac --date 2024-06-21 --days 4" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("almanac --date 2024-06-21 --json --pdf x.pdf" + ephemeris_).exitCode, 2);
    const auto outside = runCli("almanac --date 2070-01-01 --days 1" + ephemeris_);
    EXPECT_EQ(outside.exitCode, 3);
    EXPECT_NE(outside.err.find("outside the ephemeris"), std::string::npos) << outside.err;
    const auto text = runCli("almanac --date 2024-06-21 --days 1" + ephemeris_);
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.out.find("2024-06-21 (UT)"), std::string::npos);
    EXPECT_NE(text.out.find("always above"), std::string::npos);
}

TEST_F(AlmanacCli, PlanJsonNamesTheBestSetAndSaysWhenItIsShort) {
    const JsonValue plan = json("plan --lat 36.5 --lon -24.3 --date 2024-03-20 --count 4 --json");
    EXPECT_EQ(plan.String("utc").value_or("").substr(0, 13), "2024-03-20T20");
    const auto& bodies = plan.Find("bodies")->items;
    ASSERT_GE(bodies.size(), 10u);
    for (const JsonValue& b : bodies) {
        EXPECT_TRUE(b.Find("bs") || b.Find("body"));
        EXPECT_GE(*b.Number("hc"), 15.0);
        EXPECT_LE(*b.Number("hc"), 70.0);
    }
    EXPECT_EQ(plan.Find("best")->items.size(), 4u);
    EXPECT_EQ(plan.Find("note"), nullptr);
    const JsonValue narrow = json("plan --lat 36.5 --lon -24.3 --date 2024-03-20 --min-alt 56 --max-alt 57 --json");
    EXPECT_NE(narrow.String("note").value_or("").find("needs 3"), std::string::npos);
    EXPECT_EQ(runCli("plan --lat 78 --lon 15 --date 2024-06-21" + ephemeris_).exitCode, 1);
    EXPECT_EQ(runCli("plan --lat 36.5 --lon -24.3 --date 2024-03-20 --count 6" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("plan --lat 36.5 --lon -24.3 --utc 2024-03-20T20:00:00 --date 2024-03-20" + ephemeris_).exitCode,
              2);
}

}  // namespace
}  // namespace celestra
