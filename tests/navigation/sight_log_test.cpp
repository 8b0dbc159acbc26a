// The sight log: a 20-sight log written as JSON lines and read back, the
// CSV table, and files that must be refused whole with the line named.
#include "navigation/sight_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "core/regular_file.h"
#include "navigation/sight_reduction.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

class SightLogTest : public test::De405Test {
protected:
    // Reads `text` as a sight file, through a file as the program reads one.
    SightFileResult readText(const std::string& text, ObservationList& out) {
        const std::string path = test::makeTempDir() + "/sights.jsonl";
        std::ofstream(path, std::ios::binary) << text;
        InputFileError error;
        const int fd = openRegularFile(path, kSightFileMaxBytes, error);
        EXPECT_GE(fd, 0) << error.reason;
        LineReader in(fd, kSightLineMaxBytes);
        const SightFileResult result = readSightLines(in, context_, out);
        ::close(fd);
        return result;
    }

    // Twenty sights of every kind: stars, both limbs of the Sun and the Moon,
    // planets; dip short of the horizon, pre-corrected readings, a running
    // fix with an earlier AP time, instants with fractions of a second.
    ObservationList twentySights() {
        const struct {
            int star, body, upper;
        } kinds[] = {{2491, 0, 0},   {0, kSun, 0},     {0, kSun, 1}, {0, kMoon, 0}, {0, kMoon, 1},
                     {0, kVenus, 0}, {0, kJupiter, 0}, {7001, 0, 0}, {5340, 0, 0},  {424, 0, 0}};
        ObservationList list;
        for (int i = 0; i < 20; ++i) {
            const JulianDay apTime = julianDayFromCalendar(2024, 3, 20, 19.0 + 0.01 * i);
            CMeasure m(CObserverState(apTime, 1.0 / 24.0));
            m.observer.latitude = 36.5 - 0.37 * i;
            m.observer.longitude = i % 3 == 0 ? 179.9 - i : -24.3 + 0.5 * i;
            const auto& k = kinds[i % 10];
            m.isStar = k.star ? 1 : 0;
            m.bodyIndex = k.star ? k.star : k.body;
            m.upperLimb = k.upper;
            m.observationTime = apTime + (i % 4 == 1 ? 0.75 / 24.0 : 0.0) + 0.1234 / 86400.0 * i;
            m.timeEnteredAsUtc = 1;
            EXPECT_TRUE(setEnviro(m, EnviroField::Height, 2.5 * i));
            EXPECT_TRUE(setEnviro(m, EnviroField::Temperature, -5.0 + i));
            EXPECT_TRUE(setEnviro(m, EnviroField::Pressure, 990.0 + 1.7 * i));
            EXPECT_TRUE(setEnviro(m, EnviroField::IndexCorrection, -2.3 + 0.2 * i));
            EXPECT_TRUE(setEnviro(m, EnviroField::Course, 17.0 * i));
            EXPECT_TRUE(setEnviro(m, EnviroField::Speed, i % 4 == 1 ? 6.5 : 0.0));
            if (i % 5 == 2) {
                setDipShortEnabled(m, true);
                EXPECT_TRUE(setEnviro(m, EnviroField::DipShortDistance, 1.25));
            }
            if (i % 7 == 3) setCorrectionsDisabled(m, true);
            m.active = 1;
            EXPECT_EQ(reduceSight(m, context_, 20.0 + 2.345678 * i), Status::Ok) << i;
            list.Append(m);
        }
        return list;
    }
};

TEST_F(SightLogTest, TwentySightsReadBackAsTheyWereWritten) {
    const ObservationList log = twentySights();
    const std::string text = sightLogJsonLines(log, context_);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 20);
    ObservationList back;
    const SightFileResult result = readText(text, back);
    ASSERT_EQ(result.status, Status::Ok) << result.message;
    ASSERT_EQ(back.Count(), 20u);
    constexpr double kMillisecond = 1e-3 / 86400.0;
    for (size_t i = 0; i < 20; ++i) {
        const CMeasure& a = log.At(i);
        const CMeasure& b = back.At(i);
        SCOPED_TRACE("sight " + std::to_string(i) + ": " + sightJsonLine(a, context_));
        EXPECT_EQ(b.isStar, a.isStar);
        EXPECT_EQ(b.bodyIndex, a.bodyIndex);
        EXPECT_EQ(b.upperLimb, a.upperLimb);
        EXPECT_EQ(b.active, 1);
        EXPECT_NEAR(b.observationTime, a.observationTime, kMillisecond);
        EXPECT_NEAR(b.ApTime(), a.ApTime(), kMillisecond);
        // Shortest round-trip numbers: exactly the same values.
        EXPECT_EQ(b.hs, a.hs);
        EXPECT_EQ(b.observer.latitude, a.observer.latitude);
        EXPECT_EQ(b.observer.longitude, a.observer.longitude);
        EXPECT_EQ(b.observer.height, a.observer.height);
        EXPECT_EQ(b.observer.temperature, a.observer.temperature);
        EXPECT_EQ(b.observer.pressure, a.observer.pressure);
        EXPECT_NEAR(b.indexCorrection, a.indexCorrection, 1e-15);
        EXPECT_EQ(b.dipShortEnabled, a.dipShortEnabled);
        EXPECT_EQ(b.dipShortDistance, a.dipShortDistance);
        EXPECT_EQ(b.course, a.course);
        EXPECT_EQ(b.speed, a.speed);
        EXPECT_EQ(b.correctionsDisabled, a.correctionsDisabled);
        // Reduced again: the same line of position.
        EXPECT_NEAR(b.ho, a.ho, 1e-9);
        EXPECT_NEAR(b.hc, a.hc, 1e-5);
        EXPECT_NEAR(b.azimuth, a.azimuth, 1e-5);
        EXPECT_NEAR(b.intercept, a.intercept, 1e-5);
    }
    // Written again, the file is the same.
    EXPECT_EQ(sightLogJsonLines(back, context_), text);
}

TEST_F(SightLogTest, CsvHasAHeaderAndEveryDetailsValuePerSight) {
    const ObservationList log = twentySights();
    const std::string csv = sightLogCsv(log, context_, 1);
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = csv.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(csv.substr(at, end - at));
    ASSERT_EQ(lines.size(), 21u);
    EXPECT_EQ(lines[0].rfind("Body,Sextant Alt. Hs,Dip D,Height h (M),", 0), 0u) << lines[0];
    // Fields split on commas outside quotes: 41 in every row.
    for (const std::string& line : lines) {
        int fields = 1;
        bool quoted = false;
        for (char c : line) {
            if (c == '"') quoted = !quoted;
            if (c == ',' && !quoted) ++fields;
        }
        EXPECT_EQ(fields, kDetailRowCount) << line;
    }
    EXPECT_EQ(lines[2].rfind("\"Sun, Lower Limb\",", 0), 0u) << lines[2];
    EXPECT_EQ(lines[1].rfind("Sirius,", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(",2491"), std::string::npos) << lines[1];
}

TEST_F(SightLogTest, AFaultyLineIsNamedAndStopsTheReading) {
    const std::string good = sightJsonLine(twentySights().At(0), context_);
    const struct {
        std::string text;
        Status status;
        size_t line;
        const char* says;
    } cases[] = {
        {good + "\n\n  \n" + good + "\n{\"star\": 2491\n", Status::Damaged, 5, "column"},
        {good + "\n{\"star\": 2491, \"utc\": \"2024-03-20T20:00:00\", \"hs\": 30, \"ap_lat\": 1, \"ap_lon\": 2, "
                "\"colour\": \"red\"}\n",
         Status::Damaged, 2, "unknown key \"colour\""},
        {"{\"star\": 92, \"utc\": \"2024-03-20T20:00:00\", \"hs\": 30, \"ap_lat\": 1, \"ap_lon\": 2}\n",
         Status::Damaged, 1, "star"},
        {"{\"body\": \"Sun\", \"utc\": \"2024-03-20T20:00:00\", \"hs\": 30, \"ap_lat\": 91, \"ap_lon\": 2}\n",
         Status::Damaged, 1, "ap_lat must be a number from -90 to 90"},
        {good + "\n{\"body\": \"Sun\", \"utc\": \"2070-03-20T20:00:00\", \"hs\": 30, \"ap_lat\": 1, \"ap_lon\": 2}\n",
         Status::OutsideEphemeris, 2, "outside the ephemeris"},
        {"[1, 2]\n", Status::Damaged, 1, "expected '{'"},
        {good + "\n" + std::string(5000, ' ') + "{}\n", Status::Damaged, 2, "longer than 4096 bytes"},
    };
    for (const auto& c : cases) {
        ObservationList list;
        const SightFileResult r = readText(c.text, list);
        EXPECT_EQ(r.status, c.status) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_EQ(r.message.rfind("line " + std::to_string(c.line) + ": ", 0), 0u) << r.message;
        EXPECT_NE(r.message.find(c.says), std::string::npos) << r.message;
        EXPECT_EQ(list.Count(), c.line - 1 - (c.line == 5 ? 2 : 0)) << c.text;
    }
}

}  // namespace
}  // namespace celestra
