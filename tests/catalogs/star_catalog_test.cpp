#include "catalogs/star_catalog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "catalogs/constellations.h"

namespace celestra {
namespace {

constexpr int kPlaceholders[] = {92, 95, 182, 1057, 1841, 2472, 2496, 3515, 3671, 6309, 6515, 7189, 7539, 8296};

TEST(StarCatalog, LookupByNumberCoversExactlyOneToLast) {
    ASSERT_NE(starByNumber(1), nullptr);
    EXPECT_EQ(starByNumber(1)->number, 1);
    EXPECT_NEAR(starByNumber(1)->rightAscension, 0.0861, 1e-4);  // 00h05m09.9s
    EXPECT_EQ(starByNumber(1)->magnitude, 6700);
    ASSERT_NE(starByNumber(9110), nullptr);
    EXPECT_EQ(starByNumber(9110)->number, 9110);
    EXPECT_EQ(starByNumber(0), nullptr);
    EXPECT_EQ(starByNumber(-1), nullptr);
    EXPECT_EQ(starByNumber(9111), nullptr);
    for (int n = 1; n <= kBrightStarCount; ++n) ASSERT_EQ(starByNumber(n)->number, n);
}

TEST(StarCatalog, SiriusCarriesItsCatalogueValues) {
    const StarEntry& sirius = *starByNumber(2491);
    EXPECT_STREQ(sirius.name, "Sirius");
    EXPECT_STREQ(sirius.identity, "  9Alp CMa");
    EXPECT_EQ(sirius.magnitude, -1460);
    EXPECT_DOUBLE_EQ(starMagnitude(sirius), -1.46);
    EXPECT_NEAR(sirius.rightAscension, 6.0 + 45.0 / 60 + 8.9 / 3600, 1e-6);
    EXPECT_NEAR(sirius.declination, -(16.0 + 42.0 / 60 + 58.0 / 3600), 1e-6);
    EXPECT_FLOAT_EQ(sirius.parallax, 0.375f);
    EXPECT_FLOAT_EQ(sirius.radialVelocity, -8.0f);
    EXPECT_EQ(sirius.spectralClass, 'A');
}

// The table keeps RA motion in seconds of time per century of RA itself; the
// catalogue gives arcsec/yr along the great circle. Converting back must give
// the catalogue's Arcturus values (-1.093, -1.998 arcsec/yr) with their signs.
TEST(StarCatalog, ProperMotionConvertsBackToCatalogueArcsecondsPerYear) {
    const StarEntry& arcturus = *starByNumber(5340);
    const double cosDec = std::cos(arcturus.declination * 0.017453292519943295);
    EXPECT_NEAR(15.0 * cosDec * arcturus.properMotionRa / 100.0, -1.093, 5e-6);
    EXPECT_NEAR(arcturus.properMotionDec / 100.0, -1.998, 5e-6);
    // A northward mover in the far south: Alpha Centauri A, -3.642 / +0.699.
    const StarEntry& rigil = *starByNumber(5459);
    const double cosRigil = std::cos(rigil.declination * 0.017453292519943295);
    EXPECT_NEAR(15.0 * cosRigil * rigil.properMotionRa / 100.0, -3.642, 5e-6);
    EXPECT_NEAR(rigil.properMotionDec / 100.0, 0.699, 5e-6);
}

// The stored class is the first class letter of the catalogue's type.
TEST(StarCatalog, SpectralClassSkipsLuminosityPrefixes) {
    EXPECT_EQ(starByNumber(2)->spectralClass, 'G');     // "gG9"
    EXPECT_EQ(starByNumber(2277)->spectralClass, 'G');  // "g:G9"
    EXPECT_EQ(starByNumber(5958)->spectralClass, 'B');  // "sdBe+gM3+Q"
    EXPECT_EQ(starByNumber(2583)->spectralClass, 'W');  // "WN5-B"
    EXPECT_EQ(starByNumber(4210)->spectralClass, 'P');  // Eta Car, "pec"
}

TEST(StarCatalog, PlaceholdersKeepSlotsAndOwnTexts) {
    // Exactly the 14 listed numbers carry the placeholder magnitude and class.
    for (int n = 1; n <= kBrightStarCount; ++n) {
        const StarEntry& e = *starByNumber(n);
        const bool empty = e.magnitude == kPlaceholderMagnitude && e.spectralClass == '0';
        EXPECT_EQ(isPlaceholderStar(n), empty) << n;
    }
    for (int n : kPlaceholders) {
        const StarEntry& e = *starByNumber(n);
        EXPECT_EQ(e.rightAscension, 0.0f);
        EXPECT_EQ(e.declination, 0.0f);
        EXPECT_EQ(e.magnitude, kPlaceholderMagnitude);
        EXPECT_EQ(e.spectralClass, '0');
        EXPECT_EQ(std::strlen(e.identity), 10u) << n;
    }
    EXPECT_STREQ(starByNumber(92)->identity, " NOVA 1572");
}

TEST(StarCatalog, TableWideCountsAndRanges) {
    int identities = 0, names = 0, noParallax = 0;
    const std::string classes = "OBAFGKMCSNWPD";
    for (int n = 1; n <= kBrightStarCount; ++n) {
        const StarEntry& e = *starByNumber(n);
        identities += e.identity[0] != '\0';
        names += e.name[0] != '\0';
        noParallax += e.parallax == 0.0f;
        EXPECT_LE(std::strlen(e.name), 17u);
        EXPECT_GE(e.rightAscension, 0.0f);
        EXPECT_LT(e.rightAscension, 24.0f);
        EXPECT_LE(std::fabs(e.declination), 90.0f);
        if (!isPlaceholderStar(e.number)) {
            EXPECT_NE(classes.find(static_cast<char>(e.spectralClass)), std::string::npos) << n;
            EXPECT_LT(e.magnitude, 8000) << n;
        }
    }
    EXPECT_EQ(identities, 3157);  // 3143 Bayer/Flamsteed plus the 14 placeholders' texts
    EXPECT_EQ(names, 184);        // the IAU-named stars of the catalogue
    EXPECT_EQ(noParallax, 5846);
}

TEST(StarCatalog, FigureLinksAreValidAndNeverRepeatASegment) {
    std::set<std::pair<int, int>> segments;
    int first = 0, second = 0;
    for (int n = 1; n <= kBrightStarCount; ++n) {
        const StarEntry& e = *starByNumber(n);
        EXPECT_TRUE(e.figureLink1 == -1 || figureLinkValid(e.figureLink1));
        EXPECT_TRUE(e.figureLink2 == -1 || figureLinkValid(e.figureLink2));
        EXPECT_FALSE(e.figureLink1 == -1 && e.figureLink2 != -1) << "second link without a first at " << n;
        for (int link : {e.figureLink1, e.figureLink2}) {
            if (!figureLinkValid(link)) continue;
            ASSERT_NE(link, n);
            ASSERT_FALSE(isPlaceholderStar(link));
            EXPECT_TRUE(segments.insert({std::min(n, link), std::max(n, link)}).second) << n << "-" << link;
        }
        first += figureLinkValid(e.figureLink1);
        second += figureLinkValid(e.figureLink2);
    }
    EXPECT_EQ(first + second, 676);  // every segment of the 88 figures, once
}

TEST(StarCatalog, InfoTextMatchesThePageLayout) {
    EXPECT_EQ(starInfoText(*starByNumber(2491)),
              "Bright Star Catalog:          2491\r\n"
              "Name:                       Sirius\r\n"
              "Identity:                 9Alp CMa\r\n"
              "Right Ascension (hours):    6.7525\r\n"
              "Declination   (degrees):  -16.7161\r\n"
              "Magnitude:                 -1.4600\r\n"
              "PropMotion RA:             -3.8493\r\n"
              "  (seconds / century)\r\n"
              "PropMotion Dec:          -120.5000\r\n"
              "  (arcseconds/century)\r\n"
              "Parallax (arcsec):          0.3750\r\n"
              "Distance (light years):     8.6933\r\n"
              "Radial velocity:           -8.0000\r\n"
              "  (km/sec)\r\n");
    double ly = -1.0;
    ASSERT_TRUE(starDistanceLightYears(*starByNumber(2491), ly));
    EXPECT_NEAR(ly, 8.693333, 1e-5);
}

TEST(StarCatalog, InfoTextWithoutParallaxNameOrLongIdentity) {
    const StarEntry& first = *starByNumber(1);  // no name, identity, parallax
    double ly = -1.0;
    EXPECT_FALSE(starDistanceLightYears(first, ly));
    EXPECT_EQ(ly, 0.0);
    const std::string text = starInfoText(first);
    EXPECT_NE(text.find("Distance (light years): Data Missing\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nName:" + std::string(29, ' ') + "\r\n"), std::string::npos);
    EXPECT_NE(text.find("\r\nIdentity:" + std::string(25, ' ') + "\r\n"), std::string::npos);
    // An identity longer than 24 characters starts at column 10, after its label.
    StarEntry longer = first;
    longer.identity = "NGC 869 & NGC 884 Double Cluster";
    EXPECT_NE(starInfoText(longer).find("\r\nIdentity: NGC 869 & NGC 884 Double Cluster\r\n"), std::string::npos);
}

TEST(StarCatalog, ChartAndStatusTexts) {
    EXPECT_EQ(starChartLabel(*starByNumber(2491)), "Sirius");
    EXPECT_EQ(starChartLabel(*starByNumber(1)), "BS: 1");
    EXPECT_EQ(starStatusText(*starByNumber(1)), "BS:    1\n\r");
    EXPECT_EQ(starStatusText(*starByNumber(9110)), "BS: 9110\n\r");
}

TEST(StarCatalog, FindsStarsByNameAndIdentity) {
    EXPECT_EQ(findStarByName("sirius"), starByNumber(2491));
    EXPECT_EQ(findStarByName("  VEGA "), starByNumber(7001));
    EXPECT_EQ(findStarByName("Kaus Australis"), starByNumber(6879));
    EXPECT_EQ(findStarByName("Siriu"), nullptr);
    EXPECT_EQ(findStarByName(""), nullptr);
    EXPECT_EQ(findStarByIdentity("alp cma"), starByNumber(2491));
    EXPECT_EQ(findStarByIdentity("9 CMa"), starByNumber(2491));
    EXPECT_EQ(findStarByIdentity("  9Alp CMa"), starByNumber(2491));
    EXPECT_EQ(findStarByIdentity("Pi3 Ori"), starByNumber(1543));
    EXPECT_EQ(findStarByIdentity("Pi Ori"), nullptr);  // the superscript is part of it
    EXPECT_EQ(findStarByIdentity("NOVA 1572"), nullptr);
    EXPECT_EQ(findStarByIdentity(" "), nullptr);
}

}  // namespace
}  // namespace celestra
