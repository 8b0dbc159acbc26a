// Comet element files: the fixed-column parser and its acceptance rules,
// loading under the comet lock, the selection, the comet step's tracks,
// the download sequence and its messages.
#include "solarsystem/comets.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/http_download.h"
#include "core/horizon.h"
#include "solarsystem/comet_download.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

// A line of the element format with every field in its columns; `put`
// overwrites columns from `first` (counted from 1).
struct Line {
    std::string text = std::string(160, ' ');
    Line() {
        put(1, "0001P");
        put(15, "1986 02  9.4589  0.587104  0.967187  111.8657   58.8601  162.2422  20250105   4.0  6.0");
        name("1P/Halley");
    }
    Line& put(std::size_t first, const std::string& s) {
        if (text.size() < first - 1 + s.size()) text.resize(first - 1 + s.size(), ' ');
        text.replace(first - 1, s.size(), s);
        return *this;
    }
    Line& name(const std::string& s) { return put(103, std::string(57, ' ')).put(103, s); }
    Line& length(std::size_t n) {
        text.resize(n, ' ');
        return *this;
    }
};

bool parse(const Line& line, CometRecord& out) { return parseCometLine(line.text, out); }
bool accepted(const Line& line) {
    CometRecord c;
    return parse(line, c);
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(CometLine, FieldsAreReadFromTheirColumns) {
    CometRecord c;
    ASSERT_TRUE(parse(Line(), c));
    EXPECT_EQ(c.periodicNumber, 1);
    EXPECT_EQ(c.orbitType, 'P');
    EXPECT_EQ(c.perihelionYear, 1986);
    EXPECT_EQ(c.perihelionMonth, 2);
    EXPECT_DOUBLE_EQ(c.q, 0.587104);
    EXPECT_DOUBLE_EQ(c.e, 0.967187);
    EXPECT_DOUBLE_EQ(c.perihelionArgDeg, 111.8657);
    EXPECT_DOUBLE_EQ(c.nodeDeg, 58.8601);
    EXPECT_DOUBLE_EQ(c.inclinationDeg, 162.2422);
    EXPECT_DOUBLE_EQ(c.epochJd, julianDayFromCalendar(2025, 1, 5, 0.0));
    EXPECT_DOUBLE_EQ(c.absoluteMagnitude, 4.0);
    EXPECT_DOUBLE_EQ(c.slope, 6.0);
    EXPECT_EQ(c.hThousandths, 4000);
    EXPECT_EQ(c.name, "1P/Halley");
    // Day 9.4589: 0 h of the 9th plus the fraction.
    EXPECT_DOUBLE_EQ(c.perihelionJd, julianDayFromCalendar(1986, 2, 9, 0.0) + 0.4589);
    EXPECT_TRUE(c.orbit.valid);

    // A non-periodic comet: blank number, designation in columns 6-12; blank epoch.
    ASSERT_TRUE(parse(Line().put(1, "    CK20F030").put(82, "        "), c));
    EXPECT_EQ(c.periodicNumber, 0);
    EXPECT_EQ(c.provisional, "K20F030");
    EXPECT_EQ(c.epochJd, 0.0);
    // H × 1000 truncates toward zero, also below zero.
    ASSERT_TRUE(parse(Line().put(92, "-1.7"), c));
    EXPECT_EQ(c.hThousandths, -1700);
    // Bytes above 127 are Latin-1 and come out as UTF-8.
    ASSERT_TRUE(parse(Line().name("C/1995 O1 (Hale-Bopp\xe9)"), c));
    EXPECT_EQ(c.name, "C/1995 O1 (Hale-Bopp\xc3\xa9)");
}

TEST(CometLine, AdjacentFieldsDoNotLeakIntoEachOther) {
    CometRecord c;
    // q's columns run into e's neighbours without a blank between them.
    ASSERT_TRUE(parse(Line().put(31, "123456789").put(40, "99").put(42, "0.967187").put(50, "77"), c));
    EXPECT_DOUBLE_EQ(c.q, 123456789.0);
    EXPECT_DOUBLE_EQ(c.e, 0.967187);
    // H in 92-95 whatever stands in 96-101.
    ASSERT_TRUE(parse(Line().put(92, " 4.0").put(96, "912.50"), c));
    EXPECT_DOUBLE_EQ(c.absoluteMagnitude, 4.0);
    EXPECT_DOUBLE_EQ(c.slope, 12.5);
}

TEST(CometLine, LengthAndOrbitTypeDecideAcceptance) {
    EXPECT_FALSE(accepted(Line().length(104)));
    EXPECT_TRUE(accepted(Line().length(105)));
    EXPECT_TRUE(accepted(Line().length(171)));
    EXPECT_FALSE(accepted(Line().length(172)));
    for (const char* type : {"C", "P", "D"}) EXPECT_TRUE(accepted(Line().put(5, type))) << type;
    for (const char* type : {"A", "X", "I", "c", " "}) EXPECT_FALSE(accepted(Line().put(5, type))) << type;
}

TEST(CometLine, FieldsThatDoNotParseOrImpossibleOrbitsAreRejected) {
    struct Case {
        std::size_t column;
        const char* text;
    };
    for (const Case& c : {Case{31, "  0.58x10"}, Case{31, "         "}, Case{31, " 0.000000"}, Case{31, "-0.587104"},
                          Case{42, "-0.00001"}, Case{42, "     nan"}, Case{20, "00"}, Case{20, "13"}, Case{20, " x"},
                          Case{23, " 0.4589"}, Case{23, "32.0   "}, Case{15, "19 6"}, Case{52, "111,8657"},
                          Case{92, "    "}, Case{97, "  six"}, Case{86, "13"}, Case{1, "000x"}, Case{92, "1e99"}})
        EXPECT_FALSE(accepted(Line().put(c.column, c.text))) << "columns from " << c.column << ": " << c.text;
    // The day must lie within the month: 29 February only in a leap year.
    EXPECT_FALSE(accepted(Line().put(15, "1986 02 30.1")));
    EXPECT_FALSE(accepted(Line().put(15, "2023 02 29.5")));
    EXPECT_TRUE(accepted(Line().put(15, "2024 02 29.5")));
    EXPECT_FALSE(accepted(Line().put(15, "2023 04 31.0")));
    // Parabolic and hyperbolic orbits are orbits.
    EXPECT_TRUE(accepted(Line().put(42, "1.000000")));
    EXPECT_TRUE(accepted(Line().put(42, "3.356600")));
}

TEST(CometText, LineEndsAnyRunAndTheLastLineWithoutOne) {
    const std::string good = Line().text;
    const std::string bad = Line().put(5, "A").text;
    std::vector<CometRecord> records;
    const std::string text = good + "\r\n" + bad + "\n\n\r" + good + "\r" + Line().name("last").text;
    const CometFileCounts counts = parseCometText(text.data(), text.size(), records);
    EXPECT_EQ(counts.accepted, 3);
    EXPECT_EQ(counts.rejected, 1);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records.back().name, "last");

    records.clear();
    const CometFileCounts none = parseCometText("\r\n\n", 3, records);
    EXPECT_EQ(none.accepted + none.rejected, 0);
}

class CometFilesTest : public ::testing::Test {
protected:
    void SetUp() override { folder_ = test::makeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string path(int file) const { return cometFilePaths(folder_)[static_cast<std::size_t>(file)]; }
    std::string folder_;
};

TEST_F(CometFilesTest, NoFilesGiveAnEmptyListAndCountAsLoaded) {
    CometList list;
    list.selection = {0, 1};
    EXPECT_EQ(loadComets(list, folder_), 1);
    EXPECT_TRUE(list.records.empty());
    EXPECT_TRUE(list.selection.empty());
    EXPECT_EQ(list.counts.accepted + list.counts.rejected, 0);
    EXPECT_EQ(path(0), folder_ + "/Celestra.Comets.txt");
    EXPECT_EQ(path(2), folder_ + "/Celestra.CometsUser.txt");
}

TEST_F(CometFilesTest, FilesAreReadInOrderAndAMissingOneIsSkipped) {
    writeFile(path(2), Line().name("user").text + "\n" + Line().put(5, "X").text);
    writeFile(path(0), Line().name("first").text + "\r\n" + Line().name("second").text);
    CometList list;
    ASSERT_EQ(loadComets(list, folder_), 1);
    ASSERT_EQ(list.records.size(), 3u);
    EXPECT_EQ(list.records[0].name, "first");
    EXPECT_EQ(list.records[1].name, "second");
    EXPECT_EQ(list.records[2].name, "user");
    EXPECT_EQ(list.counts.accepted, 3);
    EXPECT_EQ(list.counts.rejected, 1);
}

TEST_F(CometFilesTest, ALoadThatCannotHaveTheLockWithinTwoSecondsChangesNothing) {
    writeFile(path(0), Line().text);
    CometList list;
    std::unique_lock<std::timed_mutex> held(list.lock);
    const auto start = std::chrono::steady_clock::now();
    int result = -1;
    std::thread([&] { result = loadComets(list, folder_); }).join();
    const double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(result, 0);
    EXPECT_GE(waited, 1.9);
    EXPECT_LT(waited, 5.0);
    EXPECT_TRUE(list.records.empty());
    held.unlock();
    EXPECT_EQ(loadComets(list, folder_), 1);
    EXPECT_EQ(list.records.size(), 1u);
}

TEST_F(CometFilesTest, DownloadFetchesTheProjectListThenTheElementsAndReloads) {
    struct Call {
        std::string server, remote, local;
    };
    std::vector<Call> calls;
    bool elementsOk = true;
    const CometFetchFn fetch = [&](const std::string& server, const std::string& remote, const std::string& local) {
        calls.push_back({server, remote, local});
        if (remote == kCometElementsPath && !elementsOk) return false;
        writeFile(local, Line().name(remote).text + "\n");
        return true;
    };
    CometList list;
    CometServers servers;
    // No project address: only the elements server is asked.
    EXPECT_NE(downloadComets(list, servers, folder_, fetch), 0);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].server, "https://www.minorplanetcenter.net/");
    EXPECT_EQ(downloadUrl(calls[0].server, calls[0].remote),
              "https://www.minorplanetcenter.net/iau/Ephemerides/Comets/Soft00Cmt.txt");
    // Fetched beside the file, which it replaces once it reads as a list.
    EXPECT_EQ(calls[0].local, path(0) + ".download");
    EXPECT_FALSE(std::filesystem::exists(path(0) + ".download"));
    EXPECT_EQ(list.records.size(), 1u);
    EXPECT_EQ(cometDownloadMessage(true, static_cast<int>(list.records.size())),
              "Download succeeded.  1 comets downloaded.");

    calls.clear();
    servers.projectWebsite = "example.org";
    EXPECT_NE(downloadComets(list, servers, folder_, fetch), 0);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].remote, kProjectCometsPath);
    EXPECT_EQ(calls[0].local, path(1) + ".download");
    EXPECT_EQ(list.records.size(), 2u);

    // The elements file fails: no reload, the list stays.
    elementsOk = false;
    std::filesystem::remove(path(1));
    EXPECT_EQ(downloadComets(list, servers, folder_, fetch), 0);
    EXPECT_EQ(list.records.size(), 2u);
    EXPECT_EQ(cometDownloadMessage(false, 2), "Download failed.  No comets downloaded.  Verify internet connection.");
    EXPECT_STREQ(kCometDownloadTitle, "Comet Download");
    EXPECT_NE(projectWebsiteDisabledReason(""), "");
    EXPECT_EQ(projectWebsiteDisabledReason("example.org"), "");
}

TEST_F(CometFilesTest, ADownloadThatIsNoCometListReplacesNothing) {
    const std::string good = Line().name("kept").text + "\n";
    writeFile(path(0), good);
    writeFile(path(1), good);
    std::string answer;
    const CometFetchFn fetch = [&](const std::string&, const std::string&, const std::string& local) {
        writeFile(local, answer);
        return true;  // a 200 with a whole body
    };
    CometList list;
    ASSERT_EQ(loadComets(list, folder_), 1);
    CometServers servers;
    servers.projectWebsite = "example.org";
    const std::string valid = Line().text, invalid = Line().put(5, "X").text;
    const std::string refused[] = {
        "<!DOCTYPE html><html><body>Please log in to the hotel network</body></html>\n",
        std::string(300, '\0') + "\xff\xfe random bytes\n", "",
        invalid + "\n" + invalid + "\n" + valid + "\n",  // a third valid: under the share
    };
    for (const std::string& body : refused) {
        answer = body;
        EXPECT_EQ(downloadComets(list, servers, folder_, fetch), 0);
        EXPECT_EQ(readFile(path(0)), good);
        EXPECT_EQ(readFile(path(1)), good);
        EXPECT_FALSE(std::filesystem::exists(path(0) + ".download"));
        EXPECT_FALSE(std::filesystem::exists(path(1) + ".download"));
        EXPECT_EQ(list.records.size(), 2u);
        EXPECT_EQ(list.records[0].name, "kept");
    }
    // Half valid is a list with a few lines this parser does not take.
    answer = invalid + "\n" + valid + "\n";
    EXPECT_NE(downloadComets(list, servers, folder_, fetch), 0);
    EXPECT_EQ(readFile(path(0)), answer);
    EXPECT_EQ(list.records.size(), 2u);
    EXPECT_TRUE(cometListAcceptable({1, 1}));
    EXPECT_FALSE(cometListAcceptable({0, 0}));
    EXPECT_FALSE(cometListAcceptable({1, 2}));
}

TEST_F(CometFilesTest, FilesThatAreNotRegularOrTooLargeAreSkippedAndNamed) {
    writeFile(path(1), Line().name("second").text + "\n");
    std::filesystem::create_directory(path(0));     // once an uncaught exception at every start
    ASSERT_EQ(::mkfifo(path(2).c_str(), 0644), 0);  // once a hang in open()
    CometList list;
    ASSERT_EQ(loadComets(list, folder_), 1);
    ASSERT_EQ(list.records.size(), 1u);
    EXPECT_EQ(list.records[0].name, "second");
    EXPECT_EQ(list.problems, (std::vector<std::string>{"comet file " + path(0) + " is a directory; skipped",
                                                       "comet file " + path(2) + " is a named pipe (FIFO); skipped"}));
    std::filesystem::remove(path(0));
    const int fd = ::open(path(0).c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(kCometFileMaxBytes) + 1), 0);
    ::close(fd);
    std::filesystem::remove(path(2));
    ASSERT_EQ(loadComets(list, folder_), 1);
    ASSERT_EQ(list.problems.size(), 1u);
    EXPECT_NE(list.problems[0].find("is larger than the 16 MiB allowed"), std::string::npos) << list.problems[0];
    EXPECT_EQ(list.records.size(), 1u);
}

TEST(CometTexts, MagnitudeStepAndInfoText) {
    EXPECT_DOUBLE_EQ(cometMagnitude(4.0, 6.0, 1.0, 1.0), 4.0);
    EXPECT_DOUBLE_EQ(cometMagnitude(4.0, 4.0, 10.0, 0.1), 4.0 + 5.0 - 10.0);
    CometRecord c;
    c.absoluteMagnitude = 4.0;
    c.apparentMagnitude = 12.345;
    EXPECT_EQ(cometInfoText(c), "M-abs: 4.0, M-app:12.3");
    EXPECT_EQ(cometTrackStepDays(true, 50.0), 14.0);
    EXPECT_EQ(cometTrackStepDays(false, 9.999), 7.0);
    EXPECT_EQ(cometTrackStepDays(false, 10.0), 1.0);
    EXPECT_EQ(downloadShownName("iau/Ephemerides/Comets/Soft00Cmt.txt"), "Soft00Cmt.txt");
    EXPECT_EQ(downloadShownName("/Soft00Cmt.txt"), "/Soft00Cmt.txt");
    EXPECT_EQ(downloadUrl("127.0.0.1:8080//", "/a/b.txt"), "http://127.0.0.1:8080/a/b.txt");
}

// The comet step on the DE405 file, with Halley's 1986 elements.
class CometStepTest : public test::De405Test {
protected:
    void SetUp() override {
        test::De405Test::SetUp();
        if (IsSkipped()) return;
        const std::string text = Line().text + "\n" + Line().put(92, "11.0").name("faint").text + "\n";
        list_.counts = parseCometText(text.data(), text.size(), list_.records);
        observer_.latitude = -33.9;
        observer_.longitude = 18.4;
    }
    CometStepResult step(std::vector<CometTrack>& tracks) {
        return updateComets(list_, observer_, inputs_, context_, tracks);
    }
    CometList list_;
    CObserverState observer_{julianDayFromCalendar(1986, 3, 20, 3.0), 0.0};
    CometStepInputs inputs_;
};

TEST_F(CometStepTest, TracksHoldTwentyOnePointsAroundThePresent) {
    std::vector<CometTrack> tracks;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    ASSERT_EQ(tracks.size(), 1u);  // H 11.0 is beyond the default limit of 10.0
    const CometTrack& track = tracks[0];
    EXPECT_EQ(track.name, "1P/Halley");
    EXPECT_EQ(track.comet, 0);
    // Zoom 2: 7-day steps, so point 0 is 70 days back (9 January) and point 20 on 29 May.
    EXPECT_EQ(track.points[0].label, "1.9");
    EXPECT_EQ(track.points[kCometPresentPoint].label, "3.20");
    EXPECT_EQ(track.points[20].label, "5.29");
    for (const CometTrackPoint& p : track.points) EXPECT_TRUE(p.valid);

    // The present point: the topocentric place, the chart's conversion and
    // the refraction of the observer's option (on by default).
    const ObserverSite site{observer_.latitude, observer_.longitude, observer_.height, observer_.temperature,
                            observer_.pressure};
    double ra, dec, distance;
    ASSERT_EQ(cometApparentPlace(context_, list_.records[0], observer_.instant, &site, ra, dec, distance), Status::Ok);
    const ChartFrame frame = makeChartFrame(
        localSiderealTime(siderealTimeFromUtc(observer_.instant, false), observer_.longitude), observer_.latitude);
    double zd, az;
    chartZenithAzimuth(frame, ra, dec, zd, az);
    ASSERT_EQ(observer_.refraction, 1);
    EXPECT_EQ(track.points[kCometPresentPoint].zenithDistanceFixed,
              toFixed16(apparentZenithDistance(site, kRefractionSite, zd)));
    EXPECT_LT(track.points[kCometPresentPoint].zenithDistanceFixed, toFixed16(zd));
    EXPECT_EQ(track.points[kCometPresentPoint].azimuthFixed, toFixed16(az));
    EXPECT_EQ(track.raHours, ra);
    EXPECT_EQ(track.decDeg, dec);
    // Halley's two close approaches to the Earth: 0.62 AU on 1985 November 27
    // and 0.417 AU on 1986 April 11 (published figures of that apparition).
    double delta, r;
    ASSERT_EQ(cometDistances(context_, list_.records[0], ttFromUtc(julianDayFromCalendar(1985, 11, 27, 0.0)), delta, r),
              Status::Ok);
    EXPECT_NEAR(delta, 0.62, 0.005);
    ASSERT_EQ(cometDistances(context_, list_.records[0], ttFromUtc(julianDayFromCalendar(1986, 4, 11, 0.0)), delta, r),
              Status::Ok);
    EXPECT_NEAR(delta, 0.417, 0.002);
    ASSERT_EQ(cometDistances(context_, list_.records[0], ttFromUtc(observer_.instant), delta, r), Status::Ok);
    EXPECT_DOUBLE_EQ(track.apparentMagnitude, cometMagnitude(4.0, 6.0, delta, r));
    EXPECT_EQ(cometInfoText(list_.records[0]).substr(0, 11), "M-abs: 4.0,");
}

TEST_F(CometStepTest, RecomputesOnlyWhenAnInputChanged) {
    std::vector<CometTrack> tracks;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    observer_.instant += 50.0 / 86400.0;
    EXPECT_EQ(step(tracks), CometStepResult::Unchanged);
    observer_.instant += 10.0 / 86400.0;  // 60 s from the tracks' instant
    EXPECT_EQ(step(tracks), CometStepResult::Recomputed);
    EXPECT_EQ(step(tracks), CometStepResult::Unchanged);
    observer_.temperature += 0.1;
    EXPECT_EQ(step(tracks), CometStepResult::Recomputed);

    // Zoom 10 and up: one-day steps.
    inputs_.zoom = 10.0;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    EXPECT_EQ(tracks[0].points[0].label, "3.10");
    inputs_.globalMode = true;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    EXPECT_EQ(tracks[0].points[9].label, "3.6");

    // A higher limit takes the faint comet in.
    inputs_.magnitudeLimit = 11000;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[1].name, "faint");

    inputs_.cometsOn = false;
    EXPECT_EQ(step(tracks), CometStepResult::Cleared);
    EXPECT_TRUE(tracks.empty());
    inputs_.cometsOn = true;
    EXPECT_EQ(step(tracks), CometStepResult::Recomputed);
    EXPECT_EQ(tracks.size(), 2u);
}

TEST_F(CometStepTest, AReloadRebuildsTheSelectionBeforeTheNextTracks) {
    std::vector<CometTrack> tracks;
    inputs_.magnitudeLimit = 20000;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    ASSERT_EQ(list_.selection.size(), 2u);
    // The reloaded list has one comet: the old selection's index 1 must not survive.
    const std::string folder = test::makeTempDir();
    writeFile(cometFilePaths(folder)[2], Line().name("only").text);
    ASSERT_EQ(loadComets(list_, folder), 1);
    std::filesystem::remove_all(folder);
    EXPECT_TRUE(list_.selection.empty());
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].name, "only");
}

TEST_F(CometStepTest, PointsOutsideTheEphemerisAreMarkedAndNotDrawn) {
    observer_.instant = context_.startJd + 20.0;  // 7-day steps: the first points fall before the file
    std::vector<CometTrack> tracks;
    ASSERT_EQ(step(tracks), CometStepResult::Recomputed);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_FALSE(tracks[0].points[0].valid);
    EXPECT_EQ(tracks[0].points[0].zenithDistanceFixed, 0);
    EXPECT_TRUE(tracks[0].points[kCometPresentPoint].valid);
    EXPECT_FALSE(tracks[0].points[0].label.empty());
}

}  // namespace
}  // namespace celestra
