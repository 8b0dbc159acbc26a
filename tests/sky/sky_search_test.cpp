#include "sky/sky_search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "catalogs/deep_sky.h"

namespace celestra {
namespace {

int objectOf(const std::string& text) {
    auto hit = findSkyObject(text);
    return hit && hit->kind == SkySearchHit::Kind::Object ? hit->id : -1;
}

TEST(SkySearch, DeepSkyByEveryForm) {
    const int m31 = kFirstMessierObject + 30;
    for (const char* text : {"M31", "m 31", "Messier 31", " messier31 ", "NGC 224", "andromeda galaxy"})
        EXPECT_EQ(objectOf(text), m31) << text;
    EXPECT_EQ(objectOf("C14"), kFirstCaldwellObject + 13);
    EXPECT_EQ(objectOf("Caldwell 109"), kFirstCaldwellObject + 108);
    // Past the ends of the catalogues.
    EXPECT_EQ(objectOf("M111"), -1);
    EXPECT_EQ(objectOf("Caldwell 0"), -1);
    EXPECT_EQ(objectOf("Messier"), -1);
}

TEST(SkySearch, StarsByNameNumberAndIdentity) {
    // Sirius is HR 2491, combined number 2490.
    for (const char* text : {"Sirius", "SIRIUS", "HR 2491", "BS2491", "2491", " 02491 ", "alp CMa", "9 CMa"})
        EXPECT_EQ(objectOf(text), 2490) << text;
    // A plain number is the Bright Star number, not the tables' combined
    // number one below it; past the catalogue it names nothing.
    EXPECT_EQ(objectOf("1708"), 1707);
    EXPECT_EQ(objectOf("9110"), 9109);
    EXPECT_EQ(objectOf("0"), -1);
    EXPECT_EQ(objectOf("9111"), -1);
    EXPECT_EQ(objectOf("9140"), -1);
    EXPECT_FALSE(findSkyObject("").has_value());
    EXPECT_FALSE(findSkyObject("   ").has_value());
    EXPECT_FALSE(findSkyObject("no such thing").has_value());
}

TEST(SkySearch, BodiesAndConstellations) {
    auto mars = findSkyObject(" mars ");
    ASSERT_TRUE(mars);
    EXPECT_EQ(mars->kind, SkySearchHit::Kind::Body);
    EXPECT_EQ(mars->id, 4);
    auto moon = findSkyObject("Moon");
    ASSERT_TRUE(moon);
    EXPECT_EQ(moon->id, 11);
    EXPECT_STREQ(bodyName(10), "Sun");
    EXPECT_STREQ(bodyName(0), "");
    EXPECT_STREQ(bodyName(12), "");
    // A constellation resolves to the star under its label (Orion: HR 1713, Rigel).
    auto orion = findSkyObject("orion");
    ASSERT_TRUE(orion);
    EXPECT_EQ(orion->id, 1712);
    EXPECT_EQ(orion->label.rfind("Orion: ", 0), 0u) << orion->label;
}

TEST(SkySearch, EveryCandidateResolves) {
    const auto& list = skySearchCandidates();
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
    EXPECT_TRUE(std::adjacent_find(list.begin(), list.end()) == list.end());
    for (const char* expected : {"M1", "M110", "C109", "Pluto", "Sirius", "Orion"})
        EXPECT_TRUE(std::binary_search(list.begin(), list.end(), std::string(expected))) << expected;
    for (const std::string& c : list) EXPECT_TRUE(findSkyObject(c).has_value()) << c;
}

}  // namespace
}  // namespace celestra
