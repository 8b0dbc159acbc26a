// The JSON reader's fault messages and value offsets (the gpsd tests cover
// the values themselves).
#include "core/json_reader.h"

#include <gtest/gtest.h>

namespace celestra {
namespace {

TEST(JsonReader, FaultsNameTheColumnAndValuesKeepTheirOffsets) {
    std::string error;
    const auto v = parseJson(R"({"a": [1, 2.50], "b": {"c": -0}})", &error);
    ASSERT_TRUE(v.has_value()) << error;
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(v->Find("a")->offset, 6u);
    EXPECT_EQ(v->Find("a")->items[1].text, "2.50");  // the literal as written
    EXPECT_EQ(v->Find("b")->Find("c")->offset, 28u);

    const struct {
        const char* text;
        const char* error;
    } faults[] = {
        {"[1 2]", "column 4: expected ',' or ']'"}, {"{\"a\":1,}", "column 8: expected a string in double quotes"},
        {"\"\\q\"", "column 3: bad escape"},        {"[1e400]", "column 2: number out of range"},
        {"", "column 1: expected a value"},         {"true false", "column 6: unexpected text after the value"}};
    for (const auto& f : faults) {
        EXPECT_FALSE(parseJson(f.text, &error).has_value()) << f.text;
        EXPECT_EQ(error, f.error) << f.text;
    }
    EXPECT_EQ(parseJson(std::string(40, '[') + std::string(40, ']'), &error), std::nullopt);
    EXPECT_NE(error.find("deeper than 32"), std::string::npos);
}

}  // namespace
}  // namespace celestra
