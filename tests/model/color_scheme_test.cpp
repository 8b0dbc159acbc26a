#include "model/color_scheme.h"

#include <gtest/gtest.h>

#include <string>

namespace celestra {
namespace {

using Kind = CColorScheme::Kind;

TEST(ColorScheme, KeysInIndexOrder) {
    const auto& names = colorKeyNames();
    EXPECT_STREQ(names[BackgroundNotSky], "BackgroundNotSky");
    EXPECT_STREQ(names[NSEW], "NSEW");
    EXPECT_STREQ(names[MenuText], "MenuText");
    EXPECT_STREQ(names[MenuBackground], "MenuBackground");
    EXPECT_STREQ(names[Telrad], "Telrad");
    EXPECT_EQ(Telrad, 33);
    for (const char* n : names) EXPECT_GT(std::string(n).size(), 3u);
}

TEST(ColorScheme, DefaultTablesOfTheThreeKinds) {
    // Values read from the three columns, red byte lowest.
    EXPECT_EQ(CColorScheme(Kind::Black).colors[ConstellationNames], 0x1BCDFAu);  // 250,205,27
    EXPECT_EQ(CColorScheme(Kind::White).colors[BackgroundSky], 0xFFFFFFu);
    EXPECT_EQ(CColorScheme(Kind::White).colors[CometNames], rgb(31, 196, 244));
    EXPECT_EQ(CColorScheme(Kind::Red).colors[MenuBackground], rgb(200, 0, 0));
    EXPECT_EQ(CColorScheme(Kind::Red).colors[DialogText], rgb(255, 128, 0));
    for (Kind k : {Kind::Black, Kind::White, Kind::Red}) {
        const CColorScheme s(k);
        EXPECT_EQ(s.firstFlag, 1);
        EXPECT_EQ(s.secondFlag, 1);
        EXPECT_EQ(s.colors[ZoomControlBrush], rgb(148, 74, 0));  // the same in all three
    }
}

TEST(ColorScheme, ResetRestoresDefaultsAndTheSystemMenuColours) {
    setMenuTextColorSource([] { return rgb(1, 2, 3); });
    for (Kind k : {Kind::Black, Kind::White, Kind::Red}) {
        CColorScheme s(k);
        s.colors[BackgroundSky] = rgb(9, 9, 9);
        s.colors[MenuBackground] = 0;
        s.firstFlag = 0;
        s.secondFlag = 0;
        s.ResetToDefaults();
        EXPECT_EQ(s.colors[BackgroundSky], defaultColors(k)[BackgroundSky]);
        EXPECT_EQ(s.firstFlag, 1);
        EXPECT_EQ(s.secondFlag, 1);
        if (k == Kind::Red) {
            EXPECT_EQ(s.colors[MenuText], rgb(0, 0, 0));
            EXPECT_EQ(s.colors[MenuBackground], rgb(200, 0, 0));
        } else {
            EXPECT_EQ(s.colors[MenuText], rgb(1, 2, 3));
            EXPECT_EQ(s.colors[MenuBackground], rgb(212, 208, 200));
        }
    }
    setMenuTextColorSource({});
    CColorScheme white(Kind::White);
    white.ResetToDefaults();
    EXPECT_EQ(white.colors[MenuText], 0u);  // no source installed: black

    // The base scheme's reset touches only the flags.
    CColorScheme base;
    base.colors[Stars] = rgb(5, 5, 5);
    base.firstFlag = 0;
    base.ResetToDefaults();
    EXPECT_EQ(base.colors[Stars], rgb(5, 5, 5));
    EXPECT_EQ(base.firstFlag, 1);
}

TEST(ColorScheme, NextSchemeCyclesRedBlackWhite) {
    EXPECT_EQ(nextColorPreset(kPresetRed), kPresetBlack);
    EXPECT_EQ(nextColorPreset(kPresetBlack), kPresetWhite);
    EXPECT_EQ(nextColorPreset(kPresetWhite), kPresetRed);
    for (int32_t start : {0, 1, 2}) EXPECT_EQ(nextColorPreset(nextColorPreset(nextColorPreset(start))), start);
    EXPECT_EQ(nextColorPreset(17), kPresetWhite);

    ColorSchemes all;
    EXPECT_EQ(&all.forPreset(0), &all.red);
    EXPECT_EQ(&all.forPreset(1), &all.black);
    EXPECT_EQ(&all.forPreset(2), &all.white);
    EXPECT_EQ(&all.forPreset(-4), &all.black);
}

}  // namespace
}  // namespace celestra
