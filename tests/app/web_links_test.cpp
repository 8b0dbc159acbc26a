#include "app/web_links.h"

#include <gtest/gtest.h>

#include "catalogs/deep_sky.h"

namespace celestra {
namespace {

TEST(WebLinks, SimbadIdentifiers) {
    EXPECT_EQ(simbadIdentifier(2490), "HR 2491");
    EXPECT_EQ(simbadUrl(2490), "https://simbad.cds.unistra.fr/simbad/sim-id?Ident=HR%202491");
    EXPECT_EQ(simbadIdentifier(kFirstMessierObject + 30), "M 31");
    // Caldwell numbers are not SIMBAD's: the record's leading designation goes instead.
    EXPECT_EQ(simbadIdentifier(kFirstCaldwellObject + 13), "NGC 869");
    EXPECT_EQ(simbadIdentifier(-1), "");
    EXPECT_EQ(simbadIdentifier(kCatalogueObjectCount), "");
    EXPECT_EQ(simbadUrl(-1), "");
}

TEST(WebLinks, WebsiteAddresses) {
    EXPECT_EQ(newsUrl(""), "");
    EXPECT_EQ(newsUrl("   "), "");
    EXPECT_EQ(newsUrl("https://example.org/"), "https://example.org/news/default.aspx?lang=ENU&client=pda");
    EXPECT_EQ(redirectUrl("", "catalog=messier&index=31&name=M31"), "");
    EXPECT_EQ(
        objectRedirectUrl("https://example.org//", kFirstMessierObject + 30),
        "https://example.org/PocketPC/Celestra/Redirect/Redirect.htm?client=pda&catalog=messier&index=31&name=M31");
    EXPECT_EQ(bodyRedirectQuery(11), "catalog=planet&index=11&name=Moon");
    EXPECT_EQ(percentEncode("a b&c/ü"), "a%20b%26c%2F%C3%BC");
}

}  // namespace
}  // namespace celestra
