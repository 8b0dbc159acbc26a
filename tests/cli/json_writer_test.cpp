#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "cli/cli.h"

namespace celestra::cli {
namespace {

TEST(JsonWriter, NumbersAreShortestRoundTripTextAndNonFiniteIsNull) {
    Json json;
    json.beginArray().value(90.0).value(10.0).value(0.1).value(-16.71611).value(2451545.0007428704);
    json.value(1e22).value(std::nan("")).value(std::numeric_limits<double>::infinity()).endArray();
    EXPECT_EQ(json.str(), "[90,10,0.1,-16.71611,2451545.0007428704,1e+22,null,null]");
}

TEST(JsonWriter, ObjectsNestAndStringsAreEscaped) {
    Json json;
    json.beginObject().field("name", std::string("a\"b\\c\n\x01")).key("list").beginArray().value(1).value(true);
    json.null().endArray().field("n", -3).endObject();
    EXPECT_EQ(json.str(), R"({"name":"a\"b\\c\n\u0001","list":[1,true,null],"n":-3})");
}

}  // namespace
}  // namespace celestra::cli
