#include "catalogs/constellations.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace celestra {
namespace {

TEST(Constellations, EightyTwoLabelsInStoredOrder) {
    const char* const expected[kConstellationLabelCount] = {"Andromeda",
                                                            "Antlia",
                                                            "Apus",
                                                            "Aquarius",
                                                            "Aquila",
                                                            "Ara",
                                                            "Aries",
                                                            "Auriga",
                                                            "Bootes",
                                                            "Camelopardalis",
                                                            "Cancer",
                                                            "Canes Venatici",
                                                            "Canis Major",
                                                            "Canis Minor",
                                                            "Capricornus",
                                                            "Carina",
                                                            "Cassiopeia",
                                                            "Centaurus",
                                                            "Cepheus",
                                                            "Cetus",
                                                            "Chamaeleon",
                                                            "Circinus",
                                                            "Columba",
                                                            "Coma Berenices",
                                                            "Corona Australis",
                                                            "Corona Borealis",
                                                            "Corvus",
                                                            "Crater",
                                                            "Crux",
                                                            "Cygnus",
                                                            "Delphinus",
                                                            "Dorado",
                                                            "Draco",
                                                            "Equuleus",
                                                            "Eridanus",
                                                            "Fornax",
                                                            "Gemini",
                                                            "Grus",
                                                            "Hercules",
                                                            "Hydra",
                                                            "Hydrus",
                                                            "Indus",
                                                            "Lacerta",
                                                            "Leo",
                                                            "Leo Minor",
                                                            "Lepus",
                                                            "Libra",
                                                            "Lupus",
                                                            "Lynx",
                                                            "Lyra",
                                                            "Microscopus",
                                                            "Monocerus",
                                                            "Musca",
                                                            "Octans",
                                                            "Ophiuchus",
                                                            "Orion",
                                                            "Pavo",
                                                            "Pegasus",
                                                            "Perseus",
                                                            "Phoenix",
                                                            "Pictor",
                                                            "Pisces Austrinus",
                                                            "Pisces",
                                                            "Puppis",
                                                            "Reticulum",
                                                            "Sagitta",
                                                            "Sagittarius",
                                                            "Scorpius",
                                                            "Sculptor",
                                                            "Scutum",
                                                            "Serpens",
                                                            "Sextans",
                                                            "Taurus",
                                                            "Telescopium",
                                                            "Triangulum Australis",
                                                            "Triangulum",
                                                            "Tucana",
                                                            "Ursa Major",
                                                            "Ursa Minor",
                                                            "Vela",
                                                            "Virgo",
                                                            "Volans"};
    const ConstellationLabel* labels = constellationLabels();
    for (int i = 0; i < kConstellationLabelCount; ++i) EXPECT_STREQ(labels[i].name, expected[i]) << i;
}

TEST(Constellations, ExampleRowsAndAnchors) {
    const ConstellationLabel* labels = constellationLabels();
    EXPECT_EQ(labels[0].anchorStar, 269);
    EXPECT_EQ(labels[0].threshold, 2000);
    EXPECT_STREQ(starByNumber(269)->identity, " 37Mu  And");
    EXPECT_EQ(labels[4].anchorStar, 7570);
    EXPECT_EQ(labels[4].threshold, 0);
    EXPECT_STREQ(starByNumber(7570)->identity, " 55Eta Aql");
    EXPECT_EQ(labels[1].anchorStar, 4104);
    EXPECT_EQ(labels[1].threshold, 4000);
    // Every anchor is a star of a figure: it carries or receives a line.
    std::set<int> figureStars;
    for (int n = 1; n <= kBrightStarCount; ++n) {
        for (int link : {starByNumber(n)->figureLink1, starByNumber(n)->figureLink2}) {
            if (figureLinkValid(link)) figureStars.insert({n, link});
        }
    }
    for (int i = 0; i < kConstellationLabelCount; ++i) {
        EXPECT_EQ(figureStars.count(labels[i].anchorStar), 1u) << labels[i].name;
    }
}

// Below level 0 only the two brightest constellations (thresholds -1500 and
// -320) may be labelled; every threshold comes from the table's set.
TEST(Constellations, ThresholdsAndLevels) {
    const std::string allowed = " -1500 -320 0 320 1000 1500 2000 2500 3000 3500 4000 4500 ";
    int negative = 0;
    for (int i = 0; i < kConstellationLabelCount; ++i) {
        const ConstellationLabel& label = constellationLabels()[i];
        EXPECT_NE(allowed.find(" " + std::to_string(label.threshold) + " "), std::string::npos) << label.name;
        negative += constellationLabelEnabled(label, -1);
    }
    EXPECT_EQ(negative, 2);
    EXPECT_FALSE(constellationLabelEnabled({"x", 1, -1500}, 5000));  // anchors below 2 disable a label
    EXPECT_TRUE(constellationLabelEnabled({"x", 2, 320}, 320));
    EXPECT_FALSE(constellationLabelEnabled({"x", 2, 320}, 319));
}

TEST(Constellations, FigureLinkValidity) {
    EXPECT_FALSE(figureLinkValid(-1));
    EXPECT_FALSE(figureLinkValid(0));
    EXPECT_TRUE(figureLinkValid(1));
    EXPECT_TRUE(figureLinkValid(9110));
    EXPECT_FALSE(figureLinkValid(9111));  // would index past the star table
    EXPECT_FALSE(figureLinkValid(9998));
    EXPECT_FALSE(figureLinkValid(9999));
    EXPECT_FALSE(figureLinkValid(-2147483647 - 1));
}

}  // namespace
}  // namespace celestra
