// The universe model on the caller's thread: construction, the stage
// sequence with its tolerances, texts and bits, the visible list, orrery
// mode and the stage results.
#include "sky/universe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "catalogs/deep_sky.h"
#include "core/horizon.h"
#include "tests/sky/universe_fixture.h"

namespace celestra {
namespace {

using test::kInstant;
using test::kSecond;
using test::observerAt;

TEST(Universe, ConstructionWithoutEphemerisNamesEverythingAndReportsTheMissingFile) {
    CUniverse u(test::configWithoutEphemeris());
    EXPECT_EQ(u.StartupMessage(),
              "Ephemeris data file is missing. Planetary data will be incorrect. Please reinstall Celestra.");
    EXPECT_EQ(u.EphemerisSpanDays(), 0);
    const char* names[] = {"Mercury", "Venus",   "Earth", "Mars", "Jupiter", "Saturn",
                           "Uranus",  "Neptune", "Pluto", "Sun",  "Moon"};
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(u.Places().bodies[static_cast<size_t>(i)].name, names[i]);
        EXPECT_EQ(u.Places().bodies[static_cast<size_t>(i)].number, i + 1);
        EXPECT_EQ(u.Places().bodies[static_cast<size_t>(i)].type, 0);
    }
    EXPECT_EQ(u.StageFlags(), 0);

    // Without positions the sequence still ends with every bit set.
    u.Update(observerAt(kInstant), u.DrawState(), false);
    EXPECT_EQ(u.StageFlags(), kAllStages);
    u.ReadChart([](const ChartData& c) { EXPECT_FALSE(c.bodies.valid); });
}

TEST(Universe, ConstructionWithEphemerisRecordsItsRange) {
    ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
    CUniverse u(test::configWithEphemeris());
    EXPECT_EQ(u.StartupMessage(), "");
    EXPECT_DOUBLE_EQ(u.EphemerisStart(), 2436912.5);
    EXPECT_DOUBLE_EQ(u.EphemerisEnd(), 2473488.5);
    EXPECT_EQ(u.EphemerisSpanDays(), 36576);
}

// Which stages a second update `seconds` after the first recomputes; the
// first recomputes them all.
std::vector<int> stagesAfterStep(double seconds) {
    CUniverse u(test::configWithoutEphemeris());
    const CUniverseViewDrawState d = test::drawStateWithComets();
    u.Update(observerAt(kInstant), d, false);
    const auto before = test::stageRuns(u);
    EXPECT_EQ(before, std::vector<long>(kStageCount, 1));
    u.Update(observerAt(kInstant + seconds * kSecond), d, false);
    EXPECT_EQ(u.StageFlags(), kAllStages);
    return test::stagesThatRan(before, test::stageRuns(u));
}

TEST(Universe, StepsOfTheInstantRecomputeOnlyTheStagesPastTheirTolerance) {
    // The places follow every step, however small; the comets' tracks and
    // the daily paths wait for about a minute.
    EXPECT_EQ(stagesAfterStep(0.001), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(stagesAfterStep(-29.9), (std::vector<int>{1, 2, 3, 4}));
    // 51.6 s of the paths before 52.8 s of the comets.
    EXPECT_EQ(stagesAfterStep(52.0), (std::vector<int>{1, 2, 3, 4, 6}));
    EXPECT_EQ(stagesAfterStep(-60.0), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST(Universe, AnyOtherObserverChangeRecomputesEveryStage) {
    CUniverse u(test::configWithoutEphemeris());
    const CUniverseViewDrawState d = test::drawStateWithComets();
    CObserverState o = observerAt(kInstant);
    u.Update(o, d, false);
    auto before = test::stageRuns(u);
    o.temperature += 0.1;  // same instant
    u.Update(o, d, false);
    EXPECT_EQ(test::stagesThatRan(before, test::stageRuns(u)), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    // The same state again (no time passed): nothing.
    before = test::stageRuns(u);
    u.Update(o, d, false);
    EXPECT_EQ(test::stageRuns(u), before);
}

TEST(Universe, StageBitsTextsAndProgressInOrder) {
    CUniverse u(test::configWithoutEphemeris());
    test::Heard heard;
    heard.attach(u);
    CUniverseViewDrawState d = u.DrawState();
    d.realTime = 0;
    u.Update(observerAt(kInstant), d, false);

    // The texts from the recompute's first on (Update's own refresh comes
    // first); the opening text is also the first stage's.
    const std::vector<std::string> texts(heard.texts.begin() + 1, heard.texts.end());
    const std::vector<int32_t> flags(heard.flagsAtText.begin() + 1, heard.flagsAtText.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"Calc..     ", "Calc...    ", "Calc....   ", "Calc..... ",
                                               "Calc.Comets.. ", "Calc...... ", "Stopped       "}));
    // Set just before each text: nothing, stars, +bodies, +details, +grid, +comets, then all.
    EXPECT_EQ(flags, (std::vector<int32_t>{0, 0x01, 0x03, 0x13, 0x17, 0x37, 0x3F}));
    EXPECT_EQ(heard.posts, (std::vector<int32_t>{0, 0x03, 0x13, 0x3F}));
    EXPECT_EQ(u.StatusText(), "Stopped       ");

    d.realTime = 1;
    u.Update(observerAt(kInstant), d, false);
    EXPECT_EQ(u.StatusText(), "Realtime      ");

    // While animating: no opening post, and "Animating" as base and result.
    heard.clear();
    u.SetAnimating(true);
    u.Update(observerAt(kInstant + 60 * kSecond), d, false);
    EXPECT_EQ(heard.texts[1], "Animating.     ");
    EXPECT_EQ(heard.posts, (std::vector<int32_t>{0x03, 0x13, 0x3F}));
    EXPECT_EQ(u.StatusText(), "Animating");
}

TEST(Universe, OrreryModeReportsEveryStageAtOnce) {
    CUniverse u(test::configWithoutEphemeris());
    test::Heard heard;
    heard.attach(u);
    u.SetOrreryMode(true);
    CUniverseViewDrawState d = u.DrawState();
    d.zoom = 7.0;
    u.Update(observerAt(kInstant), d, false);
    EXPECT_EQ(u.StageFlags(), kAllStages);
    EXPECT_EQ(u.StatusText(), "");
    EXPECT_EQ(heard.posts, std::vector<int32_t>{kAllStages});
    EXPECT_EQ(test::stageRuns(u), std::vector<long>(kStageCount, 0));
    EXPECT_EQ(u.DrawState().zoom, 7.0);
}

// ---------------------------------------------------------------------------
// The visible list.

bool listed(const std::vector<int32_t>& list, int k) { return std::find(list.begin(), list.end(), k) != list.end(); }

std::vector<int32_t> listFor(CUniverse& u, bool filterOn, int32_t limit, int32_t selection) {
    CUniverseViewDrawState d = u.DrawState();
    setMagnitudeFilter(d, filterOn);
    d.magnitudeLimit = limit;
    d.deepSkySelection = selection;
    u.Update(observerAt(kInstant), d, false);
    return u.VisibleList();
}

// A star without figure links, and one with a link that is fainter than 5.0.
int plainStar() {
    for (int k = 0; k < kBrightStarCount; ++k) {
        const StarEntry* e = catalogueObject(k);
        if (e->figureLink1 == -1 && e->figureLink2 == -1 && e->magnitude > 3000 && e->magnitude < 4000) return k;
    }
    return -1;
}
int faintFigureStar() {
    for (int k = 0; k < kBrightStarCount; ++k) {
        const StarEntry* e = catalogueObject(k);
        if ((e->figureLink1 != -1 || e->figureLink2 != -1) && e->magnitude > 5000) return k;
    }
    return -1;
}

TEST(UniverseVisibleList, MagnitudeLimitIsInclusiveAndFigureStarsAlwaysListed) {
    CUniverse u(test::configWithoutEphemeris());
    const int plain = plainStar(), faint = faintFigureStar();
    ASSERT_GE(plain, 0);
    ASSERT_GE(faint, 0);
    const int32_t m = catalogueObject(plain)->magnitude;
    EXPECT_TRUE(listed(listFor(u, true, m, 0), plain));
    EXPECT_FALSE(listed(listFor(u, true, m - 1, 0), plain));
    const auto list = listFor(u, true, 5000, 0);
    EXPECT_TRUE(listed(list, faint));
    for (int32_t k : list) {
        const StarEntry* e = catalogueObject(k);
        EXPECT_TRUE(e->magnitude <= 5000 || e->figureLink1 != -1 || e->figureLink2 != -1) << k;
    }
    EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
}

TEST(UniverseVisibleList, TheMarkedObjectIsListedWhateverTheFilter) {
    CUniverse u(test::configWithoutEphemeris());
    const int plain = plainStar();
    const int32_t m = catalogueObject(plain)->magnitude;
    const int faintGalaxy = kFirstMessierObject + 100;  // M101, fainter than any limit here
    for (int marked : {plain, faintGalaxy}) {
        u.SetMarkedObject(marked);
        const auto list = listFor(u, true, m - 1, 0);
        EXPECT_TRUE(listed(list, marked)) << marked;
        EXPECT_TRUE(std::is_sorted(list.begin(), list.end()));
        EXPECT_EQ(std::count_if(list.begin(), list.end(), [](int32_t k) { return k >= kFirstMessierObject; }),
                  marked == faintGalaxy ? 1 : 0);
    }
    u.SetMarkedObject(-1);
    EXPECT_FALSE(listed(listFor(u, true, m - 1, 0), plain));
}

TEST(UniverseVisibleList, DeepSkySelection) {
    CUniverse u(test::configWithoutEphemeris());
    auto list = listFor(u, true, 7000, 0);
    EXPECT_TRUE(std::none_of(list.begin(), list.end(), [](int32_t k) { return k >= kFirstMessierObject; }));
    EXPECT_GT(list.size(), 1000u);

    // Messier selected: all 110 listed whatever their magnitude; Caldwell
    // objects only when bright enough.
    list = listFor(u, true, 5000, 1);
    const auto messier = std::count_if(list.begin(), list.end(),
                                       [](int32_t k) { return k >= kFirstMessierObject && k < kFirstCaldwellObject; });
    EXPECT_EQ(messier, kMessierCount);
    for (int32_t k : list) {
        if (k >= kFirstCaldwellObject) { EXPECT_LE(catalogueObject(k)->magnitude, 5000) << k; }
    }
    EXPECT_TRUE(listed(list, kFirstCaldwellObject + 13));  // C14, the Double Cluster, about 4.3

    list = listFor(u, true, 5000, 3);
    EXPECT_EQ(std::count_if(list.begin(), list.end(), [](int32_t k) { return k >= kFirstMessierObject; }),
              kMessierCount + kCaldwellCount);

    EXPECT_EQ(listFor(u, false, 2000, 0).size(), static_cast<size_t>(kCatalogueObjectCount));
}

TEST(UniverseVisibleList, RebuiltOnlyWhenTheFilterInputsChange) {
    CUniverse u(test::configWithoutEphemeris());
    CUniverseViewDrawState d = u.DrawState();
    setMagnitudeFilter(d, true);
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));  // never built yet
    EXPECT_FALSE(u.Update(observerAt(kInstant), d, false));
    d.zoom = 3.0;
    EXPECT_FALSE(u.Update(observerAt(kInstant), d, false));
    d.magnitudeLimit = 4000;
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));
    d.deepSkySelection = 2;
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));

    // With the filter off neither the limit nor the selection matters...
    setMagnitudeFilter(d, false);
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));
    d.magnitudeLimit = 6000;
    EXPECT_FALSE(u.Update(observerAt(kInstant), d, false));
    // ...except in orrery mode.
    u.SetOrreryMode(true);
    d.magnitudeLimit = 3000;
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));
    u.SetOrreryMode(false);

    u.ForceListRebuild();
    EXPECT_TRUE(u.Update(observerAt(kInstant), d, false));
}

TEST(UniverseVisibleList, ARebuiltListGetsFreshPositionsAtTheSameInstant) {
    CUniverse u(test::configWithoutEphemeris());
    CUniverseViewDrawState d = u.DrawState();
    setMagnitudeFilter(d, true);
    d.magnitudeLimit = 2000;
    u.Update(observerAt(kInstant), d, false);
    const long runs = u.StageRunCount(0);
    d.magnitudeLimit = 6000;
    u.Update(observerAt(kInstant), d, false);
    EXPECT_EQ(u.StageRunCount(0), runs + 1);
    u.ReadChart([&](const ChartData& c) { EXPECT_EQ(c.visibleObjects, u.VisibleList()); });
}

// ---------------------------------------------------------------------------
// Stage results.

TEST(UniverseStages, AtThePoleTheZenithDistanceIsThePolarDistanceOfDate) {
    CUniverse u(test::configWithoutEphemeris());
    CObserverState o = observerAt(kInstant);
    o.latitude = 90.0;
    o.refraction = 0;
    u.Update(o, u.DrawState(), false);
    u.ReadChart([](const ChartData& c) {
        ASSERT_FALSE(c.visibleObjects.empty());
        for (size_t i = 0; i < c.visibleObjects.size(); i += 37) {
            const auto k = static_cast<size_t>(c.visibleObjects[i]);
            EXPECT_NEAR(fromFixed16(c.objectZenithDistance[k]), 90.0 - c.objectDecDeg[k], 1e-4) << k;
        }
    });
}

TEST(UniverseStages, EclipticAndGridShareTheChartFrame) {
    CUniverse u(test::configWithoutEphemeris());
    CObserverState o = observerAt(kInstant);
    o.refraction = 0;  // opposite points add up to 180° only without it
    u.Update(o, u.DrawState(), false);
    u.ReadChart([](const ChartData& c) {
        // λ = 0 is the equinox, the grid node at 0h on the equator (row 8, column 0).
        const size_t equinoxNode = 8 * kGridColumns;
        EXPECT_NEAR(c.bodyDetails.eclipticZenithDistance[0], c.grid.zenithDistance[equinoxNode], 2);
        EXPECT_NEAR(c.bodyDetails.eclipticAzimuth[0], c.grid.azimuth[equinoxNode], 2);
        // λ = 180° is its opposite point: zenith distances add up to 180°.
        EXPECT_NEAR(fromFixed16(c.bodyDetails.eclipticZenithDistance[36]) +
                        fromFixed16(c.bodyDetails.eclipticZenithDistance[0]),
                    180.0, 1e-4);
        // Nothing from the ephemeris without one.
        EXPECT_FALSE(c.bodyDetails.bodiesValid);
    });
}

TEST(UniverseStages, BodiesAndTheirDetailsFromTheEphemeris) {
    ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
    CUniverse u(test::configWithEphemeris());
    u.Update(observerAt(kInstant), u.DrawState(), false);
    EXPECT_NEAR(u.CurrentDeltaT(), 69.2, 1.0);
    EXPECT_EQ(u.CurrentTaiMinusUtc(), 37.0);
    u.ReadChart([](const ChartData& c) {
        ASSERT_TRUE(c.bodies.valid);
        const BodySlot& sun = c.bodies.slot[kSun - 1];
        EXPECT_NEAR(sun.distanceAu, 0.989, 0.005);
        EXPECT_NEAR(sun.angularDiameterDeg, 0.538, 0.005);
        EXPECT_EQ(c.bodies.slot[kEarth - 1].distanceAu, 1e-10);
        ASSERT_TRUE(c.bodyDetails.bodiesValid);
        EXPECT_EQ(c.bodyDetails.magnitude[kSun - 1], -26.73);
        EXPECT_NEAR(c.bodyDetails.magnitude[kVenus - 1], -4.0, 0.3);
        // Five days after the new Moon of 2023-02-20: a waxing crescent of about a quarter.
        EXPECT_NEAR(c.bodyDetails.moon.illuminatedFraction, 0.22, 0.06);
    });

    // Outside the file the bodies are marked invalid; the details keep the last instant's.
    u.Update(observerAt(2480000.5), u.DrawState(), false);  // 2078
    EXPECT_EQ(u.StageFlags(), kAllStages);
    u.ReadChart([](const ChartData& c) {
        EXPECT_FALSE(c.bodies.valid);
        EXPECT_TRUE(c.bodyDetails.bodiesValid);
        EXPECT_EQ(c.bodyDetails.magnitude[kSun - 1], -26.73);
    });
}

TEST(UniverseStages, OrbitalPathsBuildTheDailyTableOnceWithProgress) {
    ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
    const std::string dir = test::makeTempDir();
    CUniverseViewDrawState d;
    d.overlays[kOrbitalPathsOverlay] = 1;
    {
        CUniverse u(test::configWithEphemeris(dir));
        test::Heard heard;
        heard.attach(u);
        // Off: nothing is built or written.
        u.Update(observerAt(kInstant), u.DrawState(), false);
        EXPECT_FALSE(std::filesystem::exists(dir + "/celestra.40C"));

        u.Update(observerAt(kInstant + 60 * kSecond), d, false);
        for (const char* text : {"One time init: 0%", "One time init: 16%", "One time init: 83%"})
            EXPECT_NE(std::find(heard.texts.begin(), heard.texts.end(), text), heard.texts.end()) << text;
        u.ReadChart([](const ChartData& c) {
            ASSERT_TRUE(c.trackValid);
            EXPECT_EQ(c.trackWindow.end - c.trackWindow.first, 364);
            EXPECT_EQ(c.track.size(), 364u * kDailyRecordFloats);
        });
        EXPECT_TRUE(std::filesystem::exists(dir + "/celestra.40C"));
    }
    // A second model reads the cache: no progress texts.
    CUniverse u(test::configWithEphemeris(dir));
    test::Heard heard;
    heard.attach(u);
    u.Update(observerAt(kInstant), d, false);
    EXPECT_EQ(std::count_if(heard.texts.begin(), heard.texts.end(),
                            [](const std::string& t) { return t.rfind("One time init", 0) == 0; }),
              0);
    u.ReadChart([](const ChartData& c) { EXPECT_TRUE(c.trackValid); });
    std::filesystem::remove_all(dir);
}

TEST(UniverseStages, CometTracksFromTheElementFiles) {
    ASSERT_TRUE(test::fileExists(test::builtEphemeris()));
    const std::string dir = test::makeTempDir();
    {
        // 1P/Halley in the one-line element format: H 4.0, K 6.0.
        std::string line(160, ' ');
        line.replace(0, 5, "0001P");
        line.replace(14, 86, "1986 02  9.4589  0.587104  0.967187  111.8657   58.8601  162.2422  20250105   4.0  6.0");
        line.replace(102, 9, "1P/Halley");
        std::ofstream(dir + "/Celestra.Comets.txt") << line << "\n";
    }
    UniverseConfig config = test::configWithEphemeris(dir);
    config.cometFolder = dir;
    CUniverse u(config);
    CUniverseViewDrawState d = test::drawStateWithComets();
    u.Update(observerAt(kInstant), d, false);
    u.ReadChart([](const ChartData& c) {
        ASSERT_EQ(c.cometTracks.size(), 1u);
        EXPECT_EQ(c.cometTracks[0].name, "1P/Halley");
        // Weekly points (zoom 2) around 2023-02-24: the present point is that date.
        EXPECT_EQ(c.cometTracks[0].points[kCometPresentPoint].label, "2.24");
        EXPECT_EQ(c.cometTracks[0].points[kCometPresentPoint + 1].label, "3.3");
        EXPECT_TRUE(c.cometTracks[0].points[0].valid);
    });
    // A limit below its H deselects it; the option off clears the tracks.
    d.cometMagnitudeLimit = 3000;
    u.Update(observerAt(kInstant), d, false);
    u.ReadChart([](const ChartData& c) { EXPECT_TRUE(c.cometTracks.empty()); });
    d.cometMagnitudeLimit = 10000;
    d.overlays[kCometsOverlay] = 0;
    u.Update(observerAt(kInstant), d, false);
    u.ReadChart([](const ChartData& c) { EXPECT_TRUE(c.cometTracks.empty()); });
    EXPECT_EQ(u.StageFlags(), kAllStages);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace celestra
