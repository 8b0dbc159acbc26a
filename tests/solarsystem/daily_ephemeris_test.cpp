// The daily place table: building with progress, the cache file and its
// validation, where the cache is kept, and the horizontal track window.
#include "solarsystem/daily_ephemeris.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

#include "core/side_files.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

long fileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long>(st.st_size) : -1;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

TEST(DailyEphemeris, DayCountAndTrackWindow) {
    EXPECT_EQ(dailyDayCount(2436912.5, 2473424.5), 36512);
    EXPECT_EQ(dailyDayCount(2451545.0, 2451555.9), 10);
    EXPECT_EQ(dailyDayCount(0.0, 0.0), 0);
    EXPECT_EQ(dailyDayCount(2451545.0, 2451540.0), 0);
    EXPECT_EQ(dailyDayCount(0.0, 2e7), 0);  // the table would exceed 536870911 bytes

    // Within 182 days of the start the window starts at day 0; near the end it stops at N.
    TrackWindow w = trackWindow(1000, 2451000.5, 2451000.5 + 100.25);
    EXPECT_EQ(w.first, 0);
    EXPECT_EQ(w.end, 282);
    w = trackWindow(1000, 2451000.5, 2451000.5 + 950.75);
    EXPECT_EQ(w.first, 768);
    EXPECT_EQ(w.end, 1000);
    w = trackWindow(1000, 2451000.5, 2451000.5 + 500.0);
    EXPECT_EQ(w.end - w.first, 364);
    // Far outside the table: an empty window, not a negative one.
    w = trackWindow(1000, 2451000.5, 2451000.5 - 400.0);
    EXPECT_EQ(w.end, w.first);
    w = trackWindow(1000, 2451000.5, 2451000.5 + 1300.0);
    EXPECT_EQ(w.end, w.first);
}

class DailyCacheTest : public test::De405Test {
protected:
    void SetUp() override {
        De405Test::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        // A 400-day range inside the file keeps the builds quick.
        context_.startJd = 2460000.5;
        context_.endJd = 2460400.5;
        dir_ = test::makeTempDir();
        // A folder that does not exist yet: the first build creates it.
        cache_ = dir_ + "/cache/celestra/celestra.40C";
        observer_.site = {47.55, -122.3};
        observer_.instant = 2460200.3;
    }
    void TearDown() override {
        if (!dir_.empty()) std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    // Runs one update of a fresh OrbitalPaths and returns the progress texts.
    std::vector<std::string> runFresh(OrbitalPaths& paths, bool pathsOn = true) {
        std::vector<std::string> texts;
        paths.setCachePath(cache_);
        paths.update(context_, observer_, pathsOn, [&](const std::string& t) { texts.push_back(t); });
        return texts;
    }

    std::string dir_;
    std::string cache_;
    ObserverSnapshot observer_;
};

TEST_F(DailyCacheTest, BuildsOnceWithProgressThenLoadsTheSameBytes) {
    OrbitalPaths first;
    const std::vector<std::string> texts = runFresh(first);
    EXPECT_EQ(texts, (std::vector<std::string>{"One time init: 0%", "One time init: 16%", "One time init: 33%",
                                               "One time init: 50%", "One time init: 66%", "One time init: 83%"}));
    ASSERT_TRUE(first.trackValid());
    EXPECT_EQ(fileSize(cache_), 16 + 400 * 48);
    const std::string bytes = readFile(cache_);
    double header[2];
    std::memcpy(header, bytes.data(), 16);
    EXPECT_EQ(header[0], context_.startJd);
    EXPECT_EQ(header[1], context_.endJd);

    // Day j holds the geocentric places at T0 + j, T0 the start taken to TT once.
    const DailyPlaceTable& table = first.places();
    for (int day : {0, 137, 399}) {
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            double ra = 0, dec = 0, dist = 0;
            ASSERT_EQ(geocentricPlaceUtc(context_, ttFromUtc(context_.startJd) + day, kPathBodies[slot], ra, dec, dist),
                      Status::Ok);
            EXPECT_EQ(table.raHours(day, slot), static_cast<float>(ra));
            EXPECT_EQ(table.decDeg(day, slot), static_cast<float>(dec));
        }
    }

    OrbitalPaths second;
    EXPECT_TRUE(runFresh(second).empty());  // loaded, not rebuilt
    EXPECT_EQ(second.places().places, table.places);
    EXPECT_EQ(readFile(cache_), bytes);
}

TEST_F(DailyCacheTest, MismatchedOrShortCacheIsRejectedAndRebuilt) {
    OrbitalPaths built;
    runFresh(built);
    const std::string good = readFile(cache_);

    std::string shifted = good;
    const double otherStart = context_.startJd + 1e-9;
    std::memcpy(shifted.data(), &otherStart, 8);
    writeFile(cache_, shifted);
    OrbitalPaths afterMismatch;
    EXPECT_EQ(runFresh(afterMismatch).size(), 6u);
    EXPECT_EQ(readFile(cache_), good);

    writeFile(cache_, good.substr(0, good.size() - 1));
    OrbitalPaths afterShort;
    EXPECT_EQ(runFresh(afterShort).size(), 6u);
    EXPECT_EQ(readFile(cache_), good);
}

TEST_F(DailyCacheTest, DamagedPlacesOrAFifoAreRebuiltNotUsed) {
    OrbitalPaths built;
    runFresh(built);
    const std::string good = readFile(cache_);
    // A NaN or an impossible right ascension anywhere in the table.
    for (const float bad : {std::numeric_limits<float>::quiet_NaN(), 25.0f, -0.5f}) {
        std::string damaged = good;
        std::memcpy(damaged.data() + 16 + 250 * 48 + 3 * 8, &bad, 4);
        writeFile(cache_, damaged);
        OrbitalPaths again;
        EXPECT_EQ(runFresh(again).size(), 6u) << bad;
        EXPECT_EQ(again.places().places, built.places().places);
        EXPECT_EQ(readFile(cache_), good);
    }
    // A FIFO in the cache's place is neither waited on nor read.
    std::remove(cache_.c_str());
    ASSERT_EQ(::mkfifo(cache_.c_str(), 0644), 0);
    OrbitalPaths fromFifo;
    EXPECT_EQ(runFresh(fromFifo).size(), 6u);
    EXPECT_EQ(readFile(cache_), good);  // the save renamed a real file over it
}

TEST_F(DailyCacheTest, CacheIsTheUsersAndAFolderThatCannotBeMadeKeepsItInMemory) {
    // Under a regular file no folder can be made: the table is built and
    // used, only not kept; the next model builds it again.
    writeFile(dir_ + "/blocker", "x");
    cache_ = dir_ + "/blocker/celestra/celestra.40C";
    OrbitalPaths paths;
    EXPECT_EQ(runFresh(paths).size(), 6u);
    EXPECT_TRUE(paths.trackValid());
    EXPECT_EQ(fileSize(cache_), -1);
    OrbitalPaths next;
    EXPECT_EQ(runFresh(next).size(), 6u);

    // The default: $XDG_CACHE_HOME/celestra/, wherever the executable lies.
    setExecutablePathOverride("/usr/bin/celestra");
    {
        test::ScopedEnv cache("XDG_CACHE_HOME", dir_);
        EXPECT_EQ(dailyCachePath(), dir_ + "/celestra/celestra.40C");
    }
    {
        test::ScopedEnv cache("XDG_CACHE_HOME", "relative/cache");  // not absolute: ignored, as the XDG rules say
        test::ScopedEnv home("HOME", dir_ + "/home");
        EXPECT_EQ(dailyCachePath(), dir_ + "/home/.cache/celestra/celestra.40C");
    }
    setExecutablePathOverride("");
}

TEST_F(DailyCacheTest, AStoppedBuildIsNeitherUsedNorSaved) {
    std::atomic<bool> stop{true};
    DailyPlaceTable table;
    table.startJd = context_.startJd;
    table.endJd = context_.endJd;
    table.days = dailyDayCount(table.startJd, table.endJd);
    EXPECT_FALSE(buildDailyPlaces(context_, table, nullptr, &stop));

    OrbitalPaths paths;
    paths.setStopFlag(&stop);
    paths.setCachePath(cache_);
    EXPECT_FALSE(paths.update(context_, observer_, true, nullptr));
    EXPECT_FALSE(paths.trackValid());
    EXPECT_EQ(fileSize(cache_), -1);
    // Not stopped after all: the next update builds and keeps it.
    stop = false;
    EXPECT_TRUE(paths.update(context_, observer_, true, nullptr));
    EXPECT_EQ(fileSize(cache_), 16 + 400 * 48);
}

TEST_F(DailyCacheTest, PathsOffTouchesNoFile) {
    OrbitalPaths paths;
    EXPECT_TRUE(runFresh(paths, false).empty());
    EXPECT_FALSE(paths.trackValid());
    EXPECT_EQ(fileSize(cache_), -1);
}

TEST_F(DailyCacheTest, TrackFollowsTheClockBeyond51SecondsAndMatchesTheSky) {
    OrbitalPaths paths;
    runFresh(paths);
    ASSERT_TRUE(paths.trackValid());
    const TrackWindow w = paths.window();
    EXPECT_EQ(w.first, 199 - 182);
    EXPECT_EQ(w.end, 199 + 182);

    // Each day of the window keeps the current time of day: the day's stored
    // place seen at that instant, through the full horizon transformation,
    // agrees to the float storage and the mean-versus-apparent sidereal time.
    const DailyPlaceTable& table = paths.places();
    for (int k : {w.first, 199, w.end - 1}) {
        const double utc = observer_.instant + (k - 199);
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            const HorizontalPlace h =
                equatorialToHorizontal(ttFromUtc(utc), deltaT(utc), 0.0, 0.0, observer_.site, table.raHours(k, slot),
                                       table.decDeg(k, slot), kRefractionNone);
            EXPECT_NEAR(paths.zenithDistanceDeg(k, slot), h.zenithDistanceDeg, 0.005) << k;
            EXPECT_NEAR(paths.azimuthDeg(k, slot), h.azimuthDeg, 0.01) << k;
        }
    }
    // Days outside the window hold nothing.
    EXPECT_EQ(paths.zenithDistanceDeg(w.first - 1, 0), 0.0f);

    ObserverSnapshot later = observer_;
    later.instant += 30.0 / 86400.0;
    EXPECT_FALSE(paths.update(context_, later, true, nullptr));
    later.instant = observer_.instant + 60.0 / 86400.0;
    EXPECT_TRUE(paths.update(context_, later, true, nullptr));
    later.site.longitude += 1e-6;
    EXPECT_TRUE(paths.update(context_, later, true, nullptr));
}

}  // namespace
}  // namespace celestra
