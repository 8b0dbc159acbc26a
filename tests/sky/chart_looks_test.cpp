// The chart's colours and sizes: star hues from the spectral class along the
// published B−V and Planckian-locus relations, disc sizes against the
// limit, the sky through twilight, the ground, and the Red scheme's rule
// that nothing has more green or blue than red.
#include "sky/chart_looks.h"

#include <gtest/gtest.h>

#include <cmath>

namespace celestra {
namespace {

int red(ColorRef c) { return static_cast<int>(c & 0xFF); }
int green(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
int blue(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

TEST(StarColors, HotStarsBlueCoolStarsOrangeAndWhiteNearSixThousandFiveHundredKelvin) {
    double bv = 0.0;
    ASSERT_TRUE(bMinusVOfClass('B', bv));
    const ColorRef b = colorOfBMinusV(bv);
    ASSERT_TRUE(bMinusVOfClass('M', bv));
    const ColorRef m = colorOfBMinusV(bv);
    EXPECT_GT(blue(b), red(b));
    EXPECT_EQ(blue(b), 255);
    EXPECT_GT(red(m), blue(m) + 80);
    EXPECT_EQ(red(m), 255);
    // B−V 0.31 is about 6500 K by Ballesteros' formula: the sRGB white point.
    const ColorRef white = colorOfBMinusV(0.31);
    EXPECT_GE(std::min({red(white), green(white), blue(white)}), 235);
    // Hue runs monotonically from the hottest class to the coolest.
    double previous = 10.0;
    for (char c : {'O', 'B', 'A', 'F', 'G', 'K', 'M', 'C'}) {
        ASSERT_TRUE(bMinusVOfClass(c, bv)) << c;
        const ColorRef col = colorOfBMinusV(bv);
        const double ratio = double(blue(col) + 1) / (red(col) + 1);
        EXPECT_LT(ratio, previous) << c;
        previous = ratio;
    }
    EXPECT_FALSE(bMinusVOfClass('0', bv));
    // Beyond the locus's range the colour is that of its end, not garbage.
    EXPECT_EQ(colorOfBMinusV(-2.0), colorOfBMinusV(-0.4));
    EXPECT_EQ(colorOfBMinusV(9.0), colorOfBMinusV(3.0));
}

TEST(StarColors, TheSchemeKeyGivesTheBrightnessAndTheRedSchemeKeepsItsKey) {
    const ColorRef key = rgb(200, 200, 200);
    const ColorRef b = starColor('B', key, kPresetBlack), m = starColor('M', key, kPresetBlack);
    EXPECT_EQ(std::max({red(b), green(b), blue(b)}), 200);
    EXPECT_EQ(std::max({red(m), green(m), blue(m)}), 200);
    EXPECT_NE(b, m);
    EXPECT_EQ(starColor('?', key, kPresetBlack), key);
    const ColorRef redKey = rgb(255, 128, 128);
    EXPECT_EQ(starColor('B', redKey, kPresetRed), redKey);
}

TEST(StarDiscs, FromTheLimitToTheBrightestStars) {
    EXPECT_DOUBLE_EQ(starDiscRadius(5.0, 5.0), 0.7);
    EXPECT_DOUBLE_EQ(starDiscRadius(7.0, 7.0), 0.7);
    EXPECT_DOUBLE_EQ(starDiscRadius(-1.5, 5.0), 4.6);
    EXPECT_DOUBLE_EQ(starDiscRadius(-1.5, 7.0), 4.6);
    EXPECT_DOUBLE_EQ(starDiscRadius(-26.7, 5.0), 4.6);  // clamped
    EXPECT_DOUBLE_EQ(starDiscRadius(8.0, 5.0), 0.7);
    EXPECT_LT(starDiscRadius(3.0, 5.0), starDiscRadius(2.0, 5.0));
    // A raised limit shrinks the bright stars' steps but keeps the ends.
    EXPECT_GT(starDiscRadius(3.0, 7.0), starDiscRadius(3.0, 5.0));
}

TEST(Sky, BrightensThroughTwilightInTheBlackAndWhiteSchemesOnly) {
    for (int32_t preset : {kPresetBlack, kPresetWhite}) {
        const CColorScheme scheme(preset == kPresetBlack ? CColorScheme::Kind::Black : CColorScheme::Kind::White);
        const ColorRef night = scheme.colors[BackgroundSky];
        EXPECT_EQ(skyColorForSun(scheme, preset, -30.0), night);
        EXPECT_EQ(skyColorForSun(scheme, preset, -18.0), night);
        EXPECT_EQ(skyColorForSun(scheme, preset, std::nan("")), night);
        EXPECT_NE(skyColorForSun(scheme, preset, -15.0), night);
        // Continuous at every step, and the day a blue sky.
        for (double step : {-12.0, -6.0, 0.0, 10.0}) {
            const ColorRef a = skyColorForSun(scheme, preset, step - 1e-9), b = skyColorForSun(scheme, preset, step);
            EXPECT_NEAR(blue(a), blue(b), 1) << step;
        }
        const ColorRef day = skyColorForSun(scheme, preset, 45.0);
        EXPECT_GT(blue(day), red(day) + 40);
        EXPECT_EQ(day, skyColorForSun(scheme, preset, 10.0));
    }
    // The Black sky brightens monotonically from night to day.
    const CColorScheme black(CColorScheme::Kind::Black);
    int previous = -1;
    for (double h = -20.0; h <= 12.0; h += 0.5) {
        const int b = blue(skyColorForSun(black, kPresetBlack, h));
        EXPECT_GE(b, previous) << h;
        previous = b;
    }
    const CColorScheme redScheme(CColorScheme::Kind::Red);
    EXPECT_EQ(skyColorForSun(redScheme, kPresetRed, 30.0), redScheme.colors[BackgroundSky]);
}

TEST(Ground, DiffersFromTheSkyAtEveryHourInEveryScheme) {
    const struct {
        CColorScheme::Kind kind;
        int32_t preset;
    } schemes[] = {{CColorScheme::Kind::Black, kPresetBlack},
                   {CColorScheme::Kind::White, kPresetWhite},
                   {CColorScheme::Kind::Red, kPresetRed}};
    for (const auto& s : schemes) {
        const CColorScheme scheme(s.kind);
        const ColorRef ground = groundColor(scheme, s.preset);
        for (double h = -30.0; h <= 60.0; h += 1.0) {
            const ColorRef sky = skyColorForSun(scheme, s.preset, h);
            EXPECT_GT(std::abs(red(ground) - red(sky)) + std::abs(green(ground) - green(sky)) +
                          std::abs(blue(ground) - blue(sky)),
                      30)
                << s.preset << " " << h;
        }
    }
}

TEST(RedScheme, NothingTheChartMakesHasMoreGreenOrBlueThanRed) {
    const CColorScheme scheme(CColorScheme::Kind::Red);
    const auto redOnly = [](ColorRef c) { return green(c) <= red(c) && blue(c) <= red(c); };
    for (ColorRef c : scheme.colors) EXPECT_TRUE(redOnly(c)) << std::hex << c;
    EXPECT_TRUE(redOnly(groundColor(scheme, kPresetRed)));
    EXPECT_TRUE(redOnly(skyColorForSun(scheme, kPresetRed, 20.0)));
    for (char c : {'O', 'B', 'A', 'M', 'C'}) EXPECT_TRUE(redOnly(starColor(c, scheme.colors[Stars], kPresetRed)));
    for (int body = 1; body <= 11; ++body) EXPECT_TRUE(redOnly(bodyColor(body, scheme, kPresetRed))) << body;
}

TEST(Bodies, EachPlanetHasItsOwnColour) {
    const CColorScheme scheme(CColorScheme::Kind::Black);
    for (int a = 1; a <= 11; ++a)
        for (int b = a + 1; b <= 11; ++b)
            if (a != 3 && b != 3) {
                EXPECT_NE(bodyColor(a, scheme, kPresetBlack), bodyColor(b, scheme, kPresetBlack)) << a << " " << b;
            }
    // Saturn pale gold, Neptune blue.
    const ColorRef saturn = bodyColor(6, scheme, kPresetBlack), neptune = bodyColor(8, scheme, kPresetBlack);
    EXPECT_GT(red(saturn), blue(saturn));
    EXPECT_GT(blue(neptune), red(neptune));
    // Darker on the White scheme's paper.
    const CColorScheme white(CColorScheme::Kind::White);
    EXPECT_LT(red(bodyColor(4, white, kPresetWhite)), red(bodyColor(4, scheme, kPresetBlack)));
}

}  // namespace
}  // namespace celestra
