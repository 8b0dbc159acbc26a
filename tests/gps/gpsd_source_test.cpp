// The gpsd source: its JSON reader, the reports it understands, the status
// lines, and a real gpsd reading a pseudo-terminal that the test feeds.
#include "gps/gpsd_source.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

#include "core/json_reader.h"
#include "tests/support/flooding_gpsd.h"
#include "tests/support/gpsd_process.h"
#include "tests/support/pty_pair.h"

namespace celestra {
namespace {

using namespace std::chrono_literals;

TEST(JsonReader, ReadsWhatGpsdSendsAndRefusesMalformedText) {
    const auto v = parseJson(R"( {"a":[1,-2.5e1,{"b":null}],"s":"x\"\u00e9\ud83d\ude00","t":true,"f":false} )");
    ASSERT_TRUE(v.has_value());
    ASSERT_EQ(v->Find("a")->items.size(), 3u);
    EXPECT_EQ(v->Find("a")->items[1].number, -25.0);
    EXPECT_EQ(v->Find("a")->items[2].Find("b")->kind, JsonValue::Kind::Null);
    EXPECT_EQ(*v->String("s"), "x\"\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_TRUE(*v->Bool("t"));
    EXPECT_FALSE(*v->Bool("f"));
    EXPECT_FALSE(v->Number("s").has_value());  // wrong kind is absent

    for (const char* bad : {"", "{", "{\"a\":}", "{\"a\":1,}", "[1 2]", "01", "1.", "-", "NaN", "1e999", "\"\\x\"",
                            "\"\\ud800\"", "{\"a\":1} x", "\"tab\there\""}) {
        EXPECT_FALSE(parseJson(bad).has_value()) << bad;
    }
    EXPECT_FALSE(parseJson(std::string(40, '[') + std::string(40, ']')).has_value());  // too deep
    EXPECT_TRUE(parseJson(std::string(30, '[') + std::string(30, ']')).has_value());
}

TEST(GpsdTime, IsoInstantsWithAndWithoutFraction) {
    const auto t = parseGpsdTime("2026-12-08T01:30:05.250Z");
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->year, 2026);
    EXPECT_EQ(t->day, 8);
    EXPECT_EQ(t->second, 5);
    EXPECT_EQ(t->milliseconds, 250);
    EXPECT_TRUE(parseGpsdTime("2026-12-08T01:30:05Z").has_value());
    for (const char* bad : {"2026-12-08T01:30:05", "2026-13-08T01:30:05Z", "2026-12-08 01:30:05Z",
                            "2026-12-08T01:30:05.x5Z", "2026-12-08T25:30:05Z"}) {
        EXPECT_FALSE(parseGpsdTime(bad).has_value()) << bad;
    }
}

TEST(GpsdReports, TpvAndSkyBuildTheStatusLines) {
    CGpsdSource source([] { return 50.0; });
    EXPECT_TRUE(source.ApplyReport(R"({"class":"VERSION","release":"3.22","proto_major":3,"proto_minor":14})"));
    EXPECT_EQ(source.State().release, "3.22");
    EXPECT_TRUE(source.ApplyReport(
        R"({"class":"TPV","device":"/dev/pts/3","mode":3,"time":"2026-12-08T12:35:19.000Z","lat":48.1173,)"
        R"("lon":-11.516666667,"altHAE":592.3,"altMSL":545.4,"track":84.4,"speed":11.523,"magvar":-3.1})"));
    EXPECT_TRUE(
        source.ApplyReport(R"({"class":"SKY","hdop":0.9,"vdop":1.2,"pdop":1.5,"satellites":[{"PRN":4,"used":true},)"
                           R"({"PRN":5,"used":false},{"PRN":9,"used":true}]})"));
    EXPECT_EQ(source.StatusText(7),
              "7 Seconds\r\n"
              "UTC: 2026-12-08 12:35:19\r\n"
              "Lat: 48.117300\r"
              "Lon: -11.516667\r"
              "Speed: 22.398920\r"
              "Heading: 84.400000\r"
              "MagVar: -3.100000\r"
              "Alt Sea Level: 545.400000\r"
              "Alt Ellipsoid: 592.300000\r"
              "Dil of Prec: 1.500000\r"
              "Horiz Dil of Prec: 0.900000\r"
              "Vert Dil of Prec: 1.200000\r"
              "Satellite Count: 2\r"
              "Satellites in view: 3\r");
    const GpsReceived& r = source.Received();
    EXPECT_TRUE(r.latitudeValid && r.longitudeValid);
    EXPECT_EQ(r.longitudeDegrees, -11.516666667);
    EXPECT_EQ(r.timeSource, GpsTimeSource::Gpsd);
    EXPECT_EQ(r.receivedAtSeconds, 50.0);
    EXPECT_NEAR(*r.speedKnots, 22.398920, 1e-6);
    EXPECT_EQ(*r.satellitesUsed, 2);

    // A report without a fix: no Lat/Lon lines, the received position stays.
    EXPECT_TRUE(source.ApplyReport(R"({"class":"TPV","mode":1,"lat":0.0,"lon":0.0})"));
    EXPECT_EQ(source.StatusText(8).find("Lat:"), std::string::npos);
    EXPECT_EQ(source.Received().latitudeDegrees, 48.1173);
    // The counts of a newer gpsd win over the array.
    EXPECT_TRUE(source.ApplyReport(R"({"class":"SKY","nSat":12,"uSat":7})"));
    EXPECT_NE(source.StatusText(9).find("Satellite Count: 7\rSatellites in view: 12\r"), std::string::npos);

    EXPECT_FALSE(source.ApplyReport(R"({"class":"DEVICES","devices":[]})"));
    EXPECT_FALSE(source.ApplyReport("not json"));
    EXPECT_FALSE(source.ApplyReport(R"({"class":"TPV","mode":3,"lat":)"));
}

TEST(GpsdSource, NobodyListeningIsAClearFailure) {
    CGpsdSource source;
    // Port 1 on loopback: nothing listens there in a test environment.
    EXPECT_NE(source.Open("127.0.0.1", 1, 500), 0);
    EXPECT_NE(source.ErrorText().find("No gpsd answers on 127.0.0.1:1"), std::string::npos) << source.ErrorText();
    EXPECT_FALSE(source.IsOpen());
    EXPECT_FALSE(CGpsdSource::Probe("127.0.0.1", 1, 200));
    EXPECT_EQ(source.Open("127.0.0.1", 70000), EINVAL);
}

// --- against a real gpsd --------------------------------------------------

TEST(GpsdSource, OnePollTakesABoundedShareOfAFlood) {
    test::FloodingGpsd flood(UINT64_MAX);
    ASSERT_NE(flood.port(), 0);
    CGpsdSource source;
    ASSERT_EQ(source.Open("127.0.0.1", flood.port()), 0) << source.ErrorText();
    // Let megabytes wait unread: a poll that read until the socket ran dry
    // would take them all (and, under a real flood, never return).
    for (int i = 0; i < 500 && flood.sent() < (uint64_t{1} << 20); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (flood.sent() < (uint64_t{1} << 20)) GTEST_SKIP() << "the kernel would not buffer 1 MiB on loopback; skipping";
    constexpr int kReportBytes = 131;  // one TPV line of the flood
    for (int poll = 1; poll <= 3; ++poll) {
        ASSERT_EQ(source.Poll(0), 0) << source.ErrorText();
        EXPECT_LE(source.State().reports, poll * (static_cast<int>(CGpsdSource::kMaxPollBytes) / kReportBytes + 1));
        EXPECT_GT(source.State().reports, (poll - 1) * (static_cast<int>(CGpsdSource::kMaxPollBytes) / kReportBytes));
    }
    EXPECT_TRUE(source.Received().latitudeValid);
    EXPECT_DOUBLE_EQ(source.Received().latitudeDegrees, 48.1173);
}

TEST(GpsdSource, ReadsARealGpsdFedThroughAPseudoTerminal) {
    const std::string gpsd = test::findGpsd();
    if (gpsd.empty()) GTEST_SKIP() << "gpsd is not installed (Debian package gpsd); skipping";
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const int port = test::freeLoopbackPort();
    ASSERT_GT(port, 0);
    pty.StartFeeding({test::nmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,W,022.4,084.4,081226,003.1,W,A"),
                      test::nmeaSentence("GPGGA,123519,4807.038,N,01131.000,W,1,08,0.9,545.4,M,46.9,M,,"),
                      test::nmeaSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"),
                      test::nmeaSentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45"),
                      test::nmeaSentence("GPGSV,2,2,08,04,40,083,46,05,17,308,41,09,07,344,39,24,22,228,45")},
                     200);

    test::GpsdProcess process(gpsd, port, pty.slavePath());
    bool answered = false;
    for (int i = 0; i < 50 && !answered && process.Running(); ++i) {
        answered = CGpsdSource::Probe("127.0.0.1", port, 200);
        if (!answered) std::this_thread::sleep_for(100ms);
    }
    if (!answered) GTEST_SKIP() << "gpsd could not be started on 127.0.0.1:" << port << "; skipping";

    CGpsdSource source;
    ASSERT_EQ(source.Open("127.0.0.1", port), 0) << source.ErrorText();
    const auto deadline = std::chrono::steady_clock::now() + 15s;
    while (std::chrono::steady_clock::now() < deadline &&
           !(source.Received().latitudeValid && source.State().satellitesUsed && source.Received().timeReceived))
        ASSERT_EQ(source.Poll(200), 0) << source.ErrorText();

    const GpsReceived& r = source.Received();
    ASSERT_TRUE(r.latitudeValid) << "no position from gpsd; status:\n" << source.StatusText(0);
    EXPECT_NEAR(r.latitudeDegrees, 48.1173, 1e-6);
    EXPECT_NEAR(r.longitudeDegrees, -11.516666667, 1e-6);
    ASSERT_TRUE(r.timeReceived);
    EXPECT_EQ(r.utc.year, 2026);
    EXPECT_EQ(r.utc.month, 12);
    EXPECT_EQ(r.utc.day, 8);
    EXPECT_EQ(r.utc.hour, 12);
    EXPECT_EQ(r.utc.minute, 35);
    ASSERT_TRUE(source.State().satellitesUsed.has_value());
    EXPECT_EQ(*source.State().satellitesUsed, 5);

    const std::string status = source.StatusText(3);
    EXPECT_EQ(status.rfind("3 Seconds\r\nUTC: 2026-12-08 12:35:", 0), 0u) << status;
    EXPECT_NE(status.find("Lat: 48.117300\rLon: -11.516667\r"), std::string::npos) << status;
    EXPECT_NE(status.find("Satellite Count: 5\r"), std::string::npos) << status;
    pty.StopFeeding();
}

}  // namespace
}  // namespace celestra
