#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(CatalogCli, StarPrintsTheInformationText) {
    const auto r = runCli("star 2491");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "Bright Star Catalog:          2491\n"));
    EXPECT_TRUE(contains(r.out, "Name:                       Sirius\n"));
    EXPECT_TRUE(contains(r.out, "Distance (light years):     8.6933\n"));
    EXPECT_FALSE(contains(r.out, "\r"));
    EXPECT_TRUE(contains(runCli("star 1").out, "Distance (light years): Data Missing\n"));
}

TEST(CatalogCli, StarJsonKeepsStoredUnits) {
    const auto r = runCli("star 2491 --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    for (const char* part :
         {"\"number\":2491", "\"identity\":\"  9Alp CMa\"", "\"name\":\"Sirius\"", "\"magnitude\":-1460",
          "\"parallax\":0.375", "\"radial_velocity\":-8", "\"pm_dec\":-120.5", "\"spectral_class\":\"A\"",
          "\"figure_links\":[", "\"ra_hours\":6.75", "\"dec_deg\":-16.71", "\"pm_ra\":-3.849",
          "\"info_text\":\"Bright Star Catalog:          2491\\r\\n"}) {
        EXPECT_TRUE(contains(r.out, part)) << part << " in " << r.out;
    }
}

TEST(CatalogCli, StarRejectsNumbersOutsideTheCatalogue) {
    for (const char* args : {"star 0", "star 9111", "star 12.5", "star abc", "star"}) {
        const auto r = runCli(args);
        EXPECT_EQ(r.exitCode, 2) << args;
        EXPECT_TRUE(r.out.empty()) << args;
    }
    EXPECT_TRUE(contains(runCli("star 9111").err, "1 to 9110"));
}

TEST(CatalogCli, ObjectAcceptsDesignationsNamesAndNumbers) {
    const auto m31 = runCli("object M31 --json");
    ASSERT_EQ(m31.exitCode, 0) << m31.err;
    EXPECT_TRUE(contains(m31.out, "\"object\":9140"));
    EXPECT_TRUE(contains(m31.out, "\"identity\":\"NGC 224 Andromeda Galaxy\""));
    EXPECT_TRUE(contains(m31.out, "\"figure_links\":[]"));
    EXPECT_TRUE(contains(runCli("object C14").out, "Identity: NGC 869 & NGC 884 Double Cluster\n"));
    EXPECT_TRUE(contains(runCli("object BS2491 --json").out, "\"number\":2491"));
    EXPECT_TRUE(contains(runCli("object 9328 --json").out, "\"name\":\"C109\""));
    EXPECT_TRUE(contains(runCli("object alp cma --json").out, "\"name\":\"Sirius\""));
}

TEST(CatalogCli, UnknownObjectIsABadArgument) {
    const auto r = runCli("object M111");
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(contains(r.err, "no catalogue object \"M111\""));
    EXPECT_EQ(runCli("object 9329").exitCode, 2);
    EXPECT_EQ(runCli("object").exitCode, 2);
}

TEST(CatalogCli, PlacesListAndSearch) {
    const auto all = runCli("places --json");
    ASSERT_EQ(all.exitCode, 0) << all.err;
    EXPECT_TRUE(contains(all.out, "{\"count\":1736,"));
    EXPECT_TRUE(contains(all.out,
                         "{\"index\":5,\"name\":\"Abidjan\",\"lat_deg\":5.33,\"lon_deg\":-4.03,"
                         "\"country\":\"Ivory Coast\",\"zone\":\"Africa/Abidjan\"}"));
    const auto zurich = runCli("places --search zurich");
    ASSERT_EQ(zurich.exitCode, 0);
    EXPECT_EQ(zurich.out, "1734   47.38     8.54  Z\u00fcrich, Switzerland  Europe/Zurich\n");
    const auto london = runCli("places --search London --json");
    EXPECT_TRUE(contains(london.out, "\"lat_deg\":42.97,\"lon_deg\":-81.24,\"country\":\"Canada\""));
    EXPECT_TRUE(contains(london.out, "\"lat_deg\":51.52,\"lon_deg\":-0.1,\"country\":\"United Kingdom\""));
    EXPECT_EQ(runCli("places --search nowhere-at-all --json").out, "{\"count\":0,\"places\":[]}\n");
    EXPECT_EQ(runCli("places extra").exitCode, 2);
}

}  // namespace
}  // namespace celestra
