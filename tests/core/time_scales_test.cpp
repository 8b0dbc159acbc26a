#include "core/time_scales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "core/log.h"
#include "core/side_files.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

// Rows of numbers from one of the shared CSV files (comments and the header skipped).
std::vector<std::vector<double>> readCsv(const std::string& path) {
    std::vector<std::vector<double>> rows;
    std::ifstream in(path);
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (header) {
            header = false;
            continue;
        }
        std::vector<double> row;
        std::stringstream ss(line);
        std::string cell;
        while (std::getline(ss, cell, ',')) row.push_back(std::strtod(cell.c_str(), nullptr));
        rows.push_back(row);
    }
    return rows;
}

void expectClock(const BrokenDownTime& t, int hour, int minute, int second) {
    EXPECT_EQ(t.hour, hour);
    EXPECT_EQ(t.minute, minute);
    EXPECT_EQ(t.second, second);
}

// --- calendar --------------------------------------------------------------

TEST(Calendar, KnownEpochs) {
    EXPECT_EQ(julianDayFromCalendar(2000, 1, 1, 12.0), 2451545.0);
    EXPECT_EQ(julianDayFromCalendar(1858, 11, 17, 0.0), 2400000.5);                  // MJD 0
    EXPECT_EQ(julianDayFromCalendar(1582, 10, 15, 0.0), 2299160.5);                  // first Gregorian day
    EXPECT_EQ(julianDayFromCalendar(-4713, 11, 24, 12.0), 0.0);                      // proleptic Gregorian JD 0
    EXPECT_NEAR(julianDayFromCalendar(1957, 10, 4, 0.81 * 24.0), 2436116.31, 1e-9);  // Sputnik 1

    const CalendarDate c = calendarFromJulianDay(2451545.0);
    EXPECT_EQ(c.year, 2000);
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 1);
    EXPECT_EQ(c.hour, 12.0);
}

TEST(Calendar, RoundTripOverTheGregorianRange) {
    // Every 37th day from year -4700 to 9999, with a fraction of the day.
    const double first = julianDayFromCalendar(-4700, 1, 1, 0.0);
    const double last = julianDayFromCalendar(9999, 12, 31, 0.0);
    int checked = 0;
    for (double jd = first; jd <= last; jd += 37.0) {
        const CalendarDate c = calendarFromJulianDay(jd);
        ASSERT_EQ(julianDayFromCalendar(c.year, c.month, c.day, 0.0), jd) << c.year << "-" << c.month << "-" << c.day;
        ASSERT_EQ(c.hour, 0.0);
        const CalendarDate f = calendarFromJulianDay(jd + 0.75);
        ASSERT_EQ(f.day, c.day);
        ASSERT_NEAR(f.hour, 18.0, 1e-6);
        ++checked;
    }
    EXPECT_GT(checked, 100000);
}

TEST(Calendar, MonthLengthsAndLeapYears) {
    struct Case {
        int year, month, days;
    };
    for (const Case k : {Case{2024, 2, 29}, Case{2023, 2, 28}, Case{1900, 2, 28}, Case{2000, 2, 29}, Case{2100, 2, 28},
                         Case{2024, 4, 30}, Case{2024, 12, 31}}) {
        const double lastDay = julianDayFromCalendar(k.year, k.month, k.days, 0.0);
        const CalendarDate next = calendarFromJulianDay(lastDay + 1.0);
        EXPECT_EQ(next.day, 1) << k.year << "-" << k.month;
        EXPECT_EQ(next.month, k.month == 12 ? 1 : k.month + 1);
    }
}

TEST(Calendar, InvalidJulianDayGivesTheZeroDate) {
    EXPECT_EQ(calendarFromJulianDay(NAN).month, 0);
    EXPECT_EQ(calendarFromJulianDay(1e300).month, 0);
}

TEST(BrokenDownTime, RoundsToTheSecondWithCarries) {
    struct Case {
        int y, m, d;  // the day whose 23:59:59.6 is converted
        int ny, nm, nd;
    };
    for (const Case k : {Case{2024, 3, 14, 2024, 3, 15}, Case{2024, 4, 30, 2024, 5, 1}, Case{2024, 2, 29, 2024, 3, 1},
                         Case{2023, 2, 28, 2023, 3, 1}, Case{2023, 12, 31, 2024, 1, 1}}) {
        const double jd = julianDayFromCalendar(k.y, k.m, k.d, 23.0 + 59.0 / 60.0 + 59.6 / 3600.0);
        const BrokenDownTime t = brokenDownTimeFromJulianDay(jd);
        EXPECT_EQ(t.year, k.ny);
        EXPECT_EQ(t.month, k.nm);
        EXPECT_EQ(t.day, k.nd);
        expectClock(t, 0, 0, 0);
    }
    const BrokenDownTime below =
        brokenDownTimeFromJulianDay(julianDayFromCalendar(2023, 12, 31, 23.0 + 59.0 / 60.0 + 59.4 / 3600.0));
    EXPECT_EQ(below.day, 31);
    expectClock(below, 23, 59, 59);
    EXPECT_EQ(below.dayOfWeek, 0);
    EXPECT_EQ(below.milliseconds, 0);
}

TEST(BrokenDownTime, RoundTripsWholeSeconds) {
    BrokenDownTime t;
    t.year = 1987;
    t.month = 4;
    t.day = 10;
    t.hour = 19;
    t.minute = 21;
    t.second = 7;
    t.milliseconds = 900;
    const double jd = julianDayFromBrokenDownTime(t);
    EXPECT_NEAR(jd, julianDayFromCalendar(1987, 4, 10, 19.0 + 21.0 / 60.0 + 7.0 / 3600.0), 1e-12);  // ms ignored
    const BrokenDownTime back = brokenDownTimeFromJulianDay(jd);
    expectClock(back, 19, 21, 7);
}

TEST(CRuntimeTime, EpochsAndTheClock) {
    EXPECT_EQ(julianDayFromCRuntimeTime(0), 2440587.5);
    EXPECT_EQ(julianDayFromCRuntimeTime(946728000), 2451545.0);  // 2000-01-01 12:00:00 UTC
    // The clock itself is what is read here.
    const double now = currentJulianDayUtc();
    const double expected = 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0;
    EXPECT_NEAR(now, expected, 2.0 / 86400.0);
}

// --- ΔT, TAI-UTC, TT -------------------------------------------------------

TEST(DeltaT, TableValuesInterpolationAndClamping) {
    resetTimeTablesForTesting();
    EXPECT_EQ(deltaT(2451544.5), 63.8285);
    EXPECT_NEAR(deltaT((2453371.5 + 2453736.5) / 2), (64.6876 + 64.8452) / 2, 1e-12);
    EXPECT_NEAR(deltaT(2453736.5 + 365.0 / 4), 64.8452 + (65.1464 - 64.8452) / 4, 1e-12);  // 2006 -> 2007
    EXPECT_EQ(deltaT(2400000.5), -2.7);     // before 1900: the first value
    EXPECT_EQ(deltaT(2459912.5), 69.2032);  // last IERS value, 2022-11-29
    EXPECT_EQ(deltaT(2470000.5), 69.2032);  // held after it, not extrapolated
}

TEST(DeltaT, CacheReusesValuesWithinAQuarterDay) {
    resetTimeTablesForTesting();
    const double x = 2457000.5;
    auto fresh = [](double jd) {  // another thread has its own, empty cache
        double v = 0.0;
        std::thread([&] { v = deltaT(jd); }).join();
        return v;
    };
    const double atX = deltaT(x);
    EXPECT_EQ(deltaT(x + 0.2), atX);  // reused
    EXPECT_NE(fresh(x + 0.2), atX);   // though the true value differs
    // The remembered argument stays x: 0.4 day on is recomputed even though
    // it is within 0.25 day of the previous call.
    EXPECT_EQ(deltaT(x + 0.4), fresh(x + 0.4));
    EXPECT_NE(deltaT(x + 0.4), atX);
}

TEST(LeapSeconds, StepsAtEachEntry) {
    resetTimeTablesForTesting();
    EXPECT_EQ(taiMinusUtc(2454832.4), 33.0);
    EXPECT_EQ(taiMinusUtc(2454832.5), 34.0);
    EXPECT_EQ(taiMinusUtc(2430000.5), 10.0);  // before 1972
    EXPECT_EQ(taiMinusUtc(2460000.5), 37.0);  // after 2017
    const auto& table = builtinLeapSecondTable();
    for (size_t i = 1; i < table.size(); ++i) {
        EXPECT_EQ(taiMinusUtc(table[i].jd - 1e-6), table[i - 1].value) << table[i].jd;
        EXPECT_EQ(taiMinusUtc(table[i].jd), table[i].value) << table[i].jd;
        EXPECT_EQ(table[i].value - table[i - 1].value, 1.0);  // one second per step
    }
}

TEST(LeapSeconds, TtMinusUtc) {
    resetTimeTablesForTesting();
    // A Julian day near 2.45e6 resolves 4.7e-10 day = 4e-5 s; hence 1e-4 s.
    EXPECT_NEAR((ttFromUtc(2455000.5) - 2455000.5) * 86400.0, 34 + 32.184, 1e-4);
    EXPECT_NEAR((ttFromUtc(2460000.5) - 2460000.5) * 86400.0, 37 + 32.184, 1e-4);
    EXPECT_NEAR((ttFromUtc(2441317.4) - 2441317.4) * 86400.0, 10 + 32.184, 1e-4);
    EXPECT_NEAR(ut1FromTt(2451545.0, 86.4), 2451544.999, 1e-12);
}

TEST(BuiltinTables, MatchThePublishedFiles) {
    CELESTRA_REQUIRE_FILE(leapPath, test::testDataFile("leap-seconds.csv"));
    CELESTRA_REQUIRE_FILE(deltaTPath, test::testDataFile("deltat-iers-2007-2022.csv"));

    const auto leaps = readCsv(leapPath);
    const auto& leapTable = builtinLeapSecondTable();
    ASSERT_EQ(leaps.size(), 28u);
    ASSERT_EQ(leapTable.size(), leaps.size());
    for (size_t i = 0; i < leaps.size(); ++i) {
        EXPECT_EQ(leapTable[i].jd, leaps[i][0]) << i;
        EXPECT_EQ(leapTable[i].value, leaps[i][1]) << i;
    }

    // ΔT: the 23 entries 1900-2006, then the IERS rows.
    const auto iers = readCsv(deltaTPath);
    const auto& dtTable = builtinDeltaTTable();
    ASSERT_EQ(dtTable.size(), 23 + iers.size());
    EXPECT_EQ(dtTable[22].jd, 2453736.5);
    for (size_t i = 0; i < iers.size(); ++i) {
        EXPECT_EQ(dtTable[23 + i].jd, iers[i][0]) << i;
        EXPECT_EQ(dtTable[23 + i].value, iers[i].back()) << i;
    }
    for (const auto* t : {&leapTable, &dtTable})
        for (size_t i = 1; i < t->size(); ++i) EXPECT_GT((*t)[i].jd, (*t)[i - 1].jd);
}

// --- side files ------------------------------------------------------------

class SideTables : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::makeTempDir();
        setExecutablePathOverride(dir_ + "/celestra");
        // The user's folder is read first; the tests choose what it holds.
        config_ = std::make_unique<test::ScopedEnv>("XDG_CONFIG_HOME", dir_ + "/config");
        resetTimeTablesForTesting();
    }
    void TearDown() override {
        setExecutablePathOverride("");
        resetTimeTablesForTesting();
        std::filesystem::remove_all(dir_);
    }
    void write(const std::string& extension, const std::string& text) {
        std::ofstream(dir_ + "/celestra." + extension) << text;
    }
    void writeUserFile(const std::string& name, const std::string& text) {
        std::filesystem::create_directories(dir_ + "/config/celestra");
        std::ofstream(dir_ + "/config/celestra/celestra." + name) << text;
    }
    std::string dir_;
    std::unique_ptr<test::ScopedEnv> config_;
};

TEST_F(SideTables, TheUsersFileComesBeforeTheOneBesideTheExecutable) {
    EXPECT_EQ(timeTablePaths("DeltaT"),
              (std::vector<std::string>{dir_ + "/config/celestra/celestra.DeltaT", dir_ + "/celestra.DeltaT"}));
    write("DeltaT", "2451544.5 60.0 2460000.5 70.0\n");
    writeUserFile("DeltaT", "2451544.5 50.0 2460000.5 55.0\n");
    EXPECT_EQ(deltaT(2480000.5), 55.0);
    // A user's file that is not a table gives way to the portable copy's.
    writeUserFile("LeapSeconds", "2441317.5\n");
    write("LeapSeconds", "2441317.5 10 2470000.5 38\n");
    EXPECT_EQ(taiMinusUtc(2470000.5), 38.0);
}

TEST_F(SideTables, ReplaceTheBuiltinTables) {
    write("DeltaT", "2451544.5 60.0\n2460000.5\t+70.0  ");
    write("LeapSeconds", "2441317.5 10 2470000.5 38\n");
    EXPECT_EQ(deltaTTable().size(), 2u);
    EXPECT_NEAR(deltaT((2451544.5 + 2460000.5) / 2), 65.0, 1e-12);
    EXPECT_EQ(deltaT(2480000.5), 70.0);
    EXPECT_EQ(taiMinusUtc(2469999.5), 10.0);
    EXPECT_EQ(taiMinusUtc(2470000.5), 38.0);
}

TEST_F(SideTables, SingleNumberOrGarbageFallsBack) {
    write("DeltaT", "2451544.5\n");
    write("LeapSeconds", "not a number 2441317.5 10\n");
    EXPECT_EQ(&deltaTTable(), &builtinDeltaTTable());
    EXPECT_EQ(&leapSecondTable(), &builtinLeapSecondTable());
    EXPECT_EQ(deltaT(2451544.5), 63.8285);
}

TEST_F(SideTables, NonAscendingFileIsRejectedWithOneDiagnostic) {
    write("DeltaT", "2451544.5 60.0 2460000.5 70.0 2455000.5 65.0\n");
    std::vector<std::string> lines;
    const LogSink old = setLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_EQ(deltaT(2451544.5), 63.8285);
    EXPECT_EQ(deltaT(2459912.5), 69.2032);
    EXPECT_EQ(&deltaTTable(), &builtinDeltaTTable());
    setLogSink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("DeltaT"), std::string::npos);

    write("LeapSeconds", "2441317.5 10 2441317.5 11\n");  // equal days are not ascending either
    std::vector<TimeTableEntry> out;
    EXPECT_FALSE(loadTimeTableFile(dir_ + "/celestra.LeapSeconds", out));
    EXPECT_TRUE(out.empty());
}

TEST_F(SideTables, AFileWrongAnywhereIsIgnoredWithOneDiagnostic) {
    // Each of these used to be read in part (up to the stray text, without
    // the odd number) or used as it was (1e300 left no sidereal time).
    const struct {
        const char* text;
        const char* why;
    } cases[] = {
        {"2451544.5 60.0 2460000.5 70.0 2470000.5", "holds 5 numbers"},
        {"2451544.5 60.0 oops 2460000.5 70.0", "\"oops\" at byte 15 is not a number"},
        {"2451544.5 60.0 2460000.5 1e300", "value 1e+300"},
        {"2451544.5 60.0 2460000.5 nan", "\"nan\""},
        {"-10 60.0 2460000.5 70.0", "Julian day -10.000000 lies outside"},
        {"2451544.5 60.0 9e9 70.0", "Julian day 9000000000.000000 lies outside"},
    };
    for (const auto& c : cases) {
        write("DeltaT", c.text);
        resetTimeTablesForTesting();
        std::vector<std::string> lines;
        const LogSink old = setLogSink([&](const std::string& line) { lines.push_back(line); });
        EXPECT_EQ(&deltaTTable(), &builtinDeltaTTable()) << c.text;
        EXPECT_EQ(deltaT(2451544.5), 63.8285) << c.text;
        setLogSink(old);
        ASSERT_EQ(lines.size(), 1u) << c.text;
        EXPECT_NE(lines[0].find(c.why), std::string::npos) << lines[0];
    }
    // TAI - UTC has its own, smaller bound; a directory in the file's place
    // is refused (it once aborted the program with an uncaught exception).
    std::vector<TimeTableEntry> out;
    write("LeapSeconds", "2441317.5 10 2470000.5 90000\n");
    EXPECT_FALSE(loadTimeTableFile(dir_ + "/celestra.LeapSeconds", out, kTaiMinusUtcLimitSeconds));
    EXPECT_TRUE(loadTimeTableFile(dir_ + "/celestra.LeapSeconds", out, kDeltaTLimitSeconds));
    out.clear();
    std::filesystem::create_directory(dir_ + "/celestra.DeltaT.d");
    std::vector<std::string> lines;
    const LogSink old = setLogSink([&](const std::string& line) { lines.push_back(line); });
    EXPECT_FALSE(loadTimeTableFile(dir_ + "/celestra.DeltaT.d", out));
    setLogSink(old);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("is a directory"), std::string::npos);
    EXPECT_TRUE(out.empty());
}

TEST_F(SideTables, TablesAreLoadedOncePerProcess) {
    EXPECT_EQ(deltaT(2470000.5), 69.2032);
    write("DeltaT", "2451544.5 60.0 2460000.5 70.0\n");
    EXPECT_EQ(deltaT(2480000.5), 69.2032);  // the file appeared too late
    resetTimeTablesForTesting();
    EXPECT_EQ(deltaT(2480000.5), 70.0);
}

TEST(TimeTables, FirstUseFromTwoThreadsAtOnce) {
    // The worker and the UI thread may both make the first lookup; both must
    // see the same fully loaded table (run under ThreadSanitizer too).
    resetTimeTablesForTesting();
    double results[2][3] = {};
    auto work = [&](int k) {
        for (int i = 0; i < 200; ++i) {
            results[k][0] = deltaT(2451544.5 + i);
            results[k][1] = taiMinusUtc(2454832.5 + i);
            results[k][2] = siderealTimeFromUtc(2455000.5 + i, false);
        }
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    for (int j = 0; j < 3; ++j) EXPECT_EQ(results[0][j], results[1][j]);
}

// --- sidereal time ---------------------------------------------------------

double hms(double h, double m, double s) { return h + m / 60.0 + s / 3600.0; }

TEST(SiderealTime, MeanAgainstPublishedValues) {
    EXPECT_NEAR(siderealTime(2451545.0, 0.0, true), 18.697374558, 1e-9);
    // Meeus, Astronomical Algorithms, examples 12.a and 12.b (0h and 19:21 UT).
    EXPECT_NEAR(siderealTime(2446895.5, 0.0, true), hms(13, 10, 46.3668), 1e-4 / 3600);
    EXPECT_NEAR(siderealTime(2446896.30625, 0.0, true), hms(8, 34, 57.0896), 1e-4 / 3600);
    // ΔT moves UT1 back: 86.4 s of ΔT is 86.4 s of UT1, 86.636 s of sidereal time.
    EXPECT_NEAR((siderealTime(2451545.0, 0.0, true) - siderealTime(2451545.0, 86.4, true)) * 3600, 86.4 * 1.00273790935,
                1e-4);
}

TEST(SiderealTime, ApparentAgainstPublishedValue) {
    // Meeus example 12.a: apparent 13h10m46.1351s (Δψ cos ε / 15 = -0.2317 s).
    // Meeus omits the 1994 complementary terms (here 0.00264" sin Ω / 15,
    // below 0.0002 s), hence the tolerance.
    const double gast = siderealTime(2446895.5, 0.0, false);
    EXPECT_NEAR((gast - hms(13, 10, 46.1351)) * 3600, 0.0, 3e-4);
    const double eqeq = (gast - siderealTime(2446895.5, 0.0, true)) * 3600;
    EXPECT_NEAR(eqeq, -0.2317, 3e-4);
}

TEST(SiderealTime, RangeAndLocalTime) {
    for (double jd = 2400000.5; jd < 2500000.5; jd += 1234.567) {
        for (bool meanOnly : {true, false}) {
            const double st = siderealTime(jd, 60.0, meanOnly);
            ASSERT_GE(st, 0.0);
            ASSERT_LT(st, 24.0);
        }
    }
    EXPECT_NEAR(localSiderealTime(2.0, -75.0), 21.0, 1e-12);
    EXPECT_NEAR(localSiderealTime(23.0, 30.0), 1.0, 1e-12);
    EXPECT_NEAR(localSiderealTime(12.0, 180.0), 0.0, 1e-12);
    EXPECT_NEAR(localSiderealTime(12.0, -180.0), 0.0, 1e-12);
}

// --- time zone -------------------------------------------------------------

TEST(Zone, TransitionDates) {
    auto first = [](int year, int weekday) {
        BrokenDownTime t;
        t.year = static_cast<uint16_t>(year);
        t.dayOfWeek = static_cast<uint16_t>(weekday);
        return t;
    };
    DaylightRule lastSundayMarch{3, 0, 5, 1, 0, 0};
    DaylightRule secondSundayMarch{3, 0, 2, 2, 0, 0};
    // 1 March 2024 was a Friday, 1 March 2023 a Wednesday.
    EXPECT_EQ(transitionDate(first(2024, 5), lastSundayMarch).day, 31);
    EXPECT_EQ(transitionDate(first(2023, 3), lastSundayMarch).day, 26);
    EXPECT_EQ(transitionDate(first(2024, 5), secondSundayMarch).day, 10);
    EXPECT_EQ(transitionDate(first(2023, 3), secondSundayMarch).day, 12);
    // 1 February 2024 (leap year) and 2023 were a Thursday and a Wednesday:
    // a fifth weekday exists only in the leap year.
    EXPECT_EQ(transitionDate(first(2024, 4), DaylightRule{2, 4, 5, 0, 0, 0}).day, 29);
    EXPECT_EQ(transitionDate(first(2023, 3), DaylightRule{2, 3, 5, 0, 0, 0}).day, 22);

    const BrokenDownTime t = transitionDate(first(2024, 5), DaylightRule{3, 0, 5, 1, 30, 15});
    EXPECT_EQ(t.year, 2024);
    EXPECT_EQ(t.month, 3);
    EXPECT_EQ(t.dayOfWeek, 0);
    expectClock(t, 1, 30, 15);
}

TEST(Zone, LabelFormat) {
    EXPECT_EQ(formatZoneLabel(1.0 / 24), "UTC +1h");
    EXPECT_EQ(formatZoneLabel(-5.0 / 24), "UTC -5h");
    EXPECT_EQ(formatZoneLabel(0.0), "UTC +0h");
    EXPECT_EQ(formatZoneLabel(-0.0), "UTC +0h");
    EXPECT_EQ(formatZoneLabel(12.0 / 24), "UTC +12h");
    EXPECT_EQ(formatZoneLabel(5.5 / 24), "UTC +5.5h");
    EXPECT_EQ(formatZoneLabel(5.75 / 24), "UTC +5.75h");
    EXPECT_EQ(formatZoneLabel(-3.5 / 24), "UTC -3.5h");
}

class ZoneWithTz : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* tz = std::getenv("TZ")) saved_ = tz, hadTz_ = true;
    }
    void TearDown() override {
        setClockForTesting(0.0);
        if (hadTz_) setenv("TZ", saved_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }
    bool use(const std::string& zone) {
        if (!std::filesystem::exists("/usr/share/zoneinfo/" + zone)) return false;
        setenv("TZ", zone.c_str(), 1);
        tzset();
        return true;
    }
    std::string saved_;
    bool hadTz_ = false;
};

TEST_F(ZoneWithTz, OffsetsAndDaylightSaving) {
    if (!use("Europe/Berlin")) GTEST_SKIP() << "zoneinfo for Europe/Berlin is absent";
    ZoneOffset winter = platformZoneOffsetAt(julianDayFromCalendar(2024, 1, 15, 12.0));
    ZoneOffset summer = platformZoneOffsetAt(julianDayFromCalendar(2024, 7, 15, 12.0));
    EXPECT_NEAR(winter.offsetDays, 1.0 / 24, 1e-12);
    EXPECT_FALSE(winter.daylight);
    EXPECT_NEAR(summer.offsetDays, 2.0 / 24, 1e-12);
    EXPECT_TRUE(summer.daylight);
    // The change: 31 March 2024 at 01:00 UTC.
    EXPECT_FALSE(platformZoneOffsetAt(julianDayFromCalendar(2024, 3, 31, 0.99)).daylight);
    EXPECT_TRUE(platformZoneOffsetAt(julianDayFromCalendar(2024, 3, 31, 1.01)).daylight);

    ASSERT_TRUE(use("America/New_York"));
    EXPECT_NEAR(platformZoneOffsetAt(julianDayFromCalendar(2024, 1, 15, 12.0)).offsetDays, -5.0 / 24, 1e-12);
    EXPECT_NEAR(platformZoneOffsetAt(julianDayFromCalendar(2024, 7, 15, 12.0)).offsetDays, -4.0 / 24, 1e-12);

    ASSERT_TRUE(use("UTC"));
    const ZoneOffset now = platformZoneOffset();
    EXPECT_EQ(now.offsetDays, 0.0);
    EXPECT_FALSE(now.daylight);
}

TEST_F(ZoneWithTz, AFixedClockIsWhatNowMeansEverywhere) {
    ASSERT_TRUE(use("Europe/Berlin"));
    // 2024-03-31 00:30 UTC, half an hour before summer time begins, then 01:30.
    setClockForTesting(julianDayFromCalendar(2024, 3, 31, 0.5));
    EXPECT_EQ(currentJulianDayUtc(), julianDayFromCalendar(2024, 3, 31, 0.5));
    EXPECT_NEAR(platformZoneOffset().offsetDays, 1.0 / 24, 1e-12);
    EXPECT_FALSE(platformZoneOffset().daylight);
    setClockForTesting(julianDayFromCalendar(2024, 3, 31, 1.5));
    EXPECT_NEAR(platformZoneOffset().offsetDays, 2.0 / 24, 1e-12);
    EXPECT_TRUE(platformZoneOffset().daylight);
    setClockForTesting(0.0);  // the system clock again
    EXPECT_NEAR(currentJulianDayUtc(), 2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0, 2.0 / 86400.0);
}

}  // namespace
}  // namespace celestra
