#include "catalogs/deep_sky.h"

#include <gtest/gtest.h>

#include <string>

namespace celestra {
namespace {

TEST(DeepSky, CombinedNumberingRanges) {
    EXPECT_EQ(catalogueObject(0), starByNumber(1));
    EXPECT_EQ(catalogueObject(9109), starByNumber(9110));
    EXPECT_EQ(catalogueObject(9110), messierByNumber(1));
    EXPECT_EQ(catalogueObject(9219), messierByNumber(110));
    EXPECT_EQ(catalogueObject(9220), caldwellByNumber(1));
    EXPECT_EQ(catalogueObject(9328), caldwellByNumber(109));
    EXPECT_EQ(catalogueObject(-1), nullptr);
    EXPECT_EQ(catalogueObject(9329), nullptr);
    EXPECT_EQ(messierByNumber(0), nullptr);
    EXPECT_EQ(messierByNumber(111), nullptr);
    EXPECT_EQ(caldwellByNumber(110), nullptr);
    EXPECT_STREQ(catalogueObject(9110)->name, "M1");
    EXPECT_STREQ(catalogueObject(9328)->name, "C109");
}

TEST(DeepSky, RecordsFollowTheStarLayout) {
    for (int k = kFirstMessierObject; k < kCatalogueObjectCount; ++k) {
        const StarEntry& e = *catalogueObject(k);
        const bool messier = k < kFirstCaldwellObject;
        const int n = messier ? k - kFirstMessierObject + 1 : k - kFirstCaldwellObject + 1;
        EXPECT_EQ(e.number, n);
        EXPECT_EQ(std::string(e.name), (messier ? "M" : "C") + std::to_string(n));
        EXPECT_EQ(catalogueObjectLabel(k), e.name);
        EXPECT_NE(e.identity[0], '\0') << e.name;
        EXPECT_EQ(e.properMotionRa, 0.0f);
        EXPECT_EQ(e.properMotionDec, 0.0f);
        EXPECT_EQ(e.radialVelocity, 0.0f);
        EXPECT_EQ(e.figureLink1, -1);
        EXPECT_EQ(e.figureLink2, -1);
        EXPECT_EQ(e.spectralClass, '0');
        EXPECT_GE(e.rightAscension, 0.0f);
        EXPECT_LT(e.rightAscension, 24.0f);
        EXPECT_GE(e.parallax, 0.0f);
    }
}

TEST(DeepSky, IdentitiesAndValuesOfKnownObjects) {
    EXPECT_STREQ(messierByNumber(1)->identity, "NGC 1952 Crab Nebula");
    EXPECT_STREQ(messierByNumber(31)->identity, "NGC 224 Andromeda Galaxy");
    EXPECT_STREQ(messierByNumber(45)->identity, "Subaru, Pleiades, Seven Sisters");
    EXPECT_STREQ(messierByNumber(2)->identity, "NGC 7089");
    EXPECT_STREQ(caldwellByNumber(14)->identity, "NGC 869 & NGC 884 Double Cluster");
    // The Double Cluster's record lies between its two clusters (2h19m, 2h22m).
    EXPECT_GT(caldwellByNumber(14)->rightAscension, 2.31f);
    EXPECT_LT(caldwellByNumber(14)->rightAscension, 2.38f);
    // The Crab lies some 6500 light years away; the distance is held as a parallax.
    double ly = 0.0;
    ASSERT_TRUE(starDistanceLightYears(*messierByNumber(1), ly));
    EXPECT_GT(ly, 5000.0);
    EXPECT_LT(ly, 8000.0);
    EXPECT_EQ(messierByNumber(31)->magnitude, 3400);
    EXPECT_EQ(caldwellByNumber(99)->magnitude, kUnknownDeepSkyMagnitude);  // the Coalsack
}

TEST(DeepSky, InfoTextNamesTheDeepSkyCatalogue) {
    const std::string text = catalogueObjectInfoText(kFirstMessierObject + 30);
    EXPECT_EQ(text.rfind("Messier Catalog:                31\r\nName:                          M31\r\n"
                         "Identity: NGC 224 Andromeda Galaxy\r\n",
                         0),
              0u);
    EXPECT_EQ(
        catalogueObjectInfoText(kFirstCaldwellObject).rfind("Caldwell Catalog:" + std::string(16, ' ') + "1\r\n", 0),
        0u);
    EXPECT_EQ(catalogueObjectInfoText(2490), starInfoText(*starByNumber(2491)));
    EXPECT_EQ(catalogueObjectInfoText(kCatalogueObjectCount), "");
}

TEST(DeepSky, PictureQueryTexts) {
    EXPECT_EQ(pictureQueryText(9110), "catalog=messier&index=1&name=M1");
    EXPECT_EQ(pictureQueryText(9328), "catalog=caldwell&index=109&name=C109");
    EXPECT_EQ(pictureQueryText(2490), "catalog=brightstar&index=0&name=Sirius");
    EXPECT_EQ(pictureQueryText(6878), "catalog=brightstar&index=0&name=Kaus%20Australis");
    EXPECT_EQ(pictureQueryText(-1), "catalog=unknown&index=0");
    EXPECT_EQ(pictureQueryText(9329), "catalog=unknown&index=0");
}

TEST(DeepSky, FindsObjectsByWhatUsersType) {
    EXPECT_EQ(findCatalogueObject("M31"), 9140);
    EXPECT_EQ(findCatalogueObject("m 31"), 9140);
    EXPECT_EQ(findCatalogueObject("C14"), 9233);
    EXPECT_EQ(findCatalogueObject("BS2491"), 2490);
    EXPECT_EQ(findCatalogueObject("hr 2491"), 2490);
    EXPECT_EQ(findCatalogueObject("9328"), 9328);
    EXPECT_EQ(findCatalogueObject("0"), 0);
    EXPECT_EQ(findCatalogueObject("Sirius"), 2490);
    EXPECT_EQ(findCatalogueObject("Alp CMa"), 2490);
    EXPECT_EQ(findCatalogueObject("NGC 224"), 9140);
    for (const char* unknown : {"9329", "M0", "M111", "C110", "BS0", "BS9111", "NGC 22", "c", "", "-5", "M31x"}) {
        EXPECT_EQ(findCatalogueObject(unknown), std::nullopt) << unknown;
    }
}

}  // namespace
}  // namespace celestra
