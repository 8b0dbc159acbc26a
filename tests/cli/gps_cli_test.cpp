// celestra-cli nmea and gps.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>

#include "tests/support/flooding_gpsd.h"
#include "tests/support/pty_pair.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::nmeaSentence;
using test::runCli;

TEST(NmeaCli, DecodesEveryLineOfAFileAsTextOrJson) {
    const std::string dir = test::makeTempDir();
    const std::string path = dir + "/log.nmea";
    std::ofstream(path) << nmeaSentence("GPHDT,123.4,T")
                        << "$GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W\n"
                        << nmeaSentence("GPGSV,1,1,00") << "garbage\n"
                        << nmeaSentence("GPZDA,201530.00,04,07,2002,00,00");

    const auto text = runCli("nmea '" + path + "'");
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_EQ(text.out,
              "Your true heading is 123.40 degrees.\n"
              "Missing Checksum\n"
              "GSV is an unknown type of sentence\n"
              "Not an NMEA sentence\n"
              "No Error\n");

    const auto json = runCli("nmea --json -", nmeaSentence("GPHDT,123.4,T") + "$GPGLL,1,N,2,E,000001,V*00\n");
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"type\":\"HDT\",\"decoded\":true,\"error\":null,\"talker\":\"GP\","
              "\"summary\":\"Your true heading is 123.40 degrees.\"}\n"
              "{\"type\":\"GLL\",\"decoded\":false,\"error\":\"Invalid Checksum\",\"talker\":null,\"summary\":null}\n");

    EXPECT_EQ(runCli("nmea '" + dir + "/missing'").exitCode, 4);
    EXPECT_EQ(runCli("nmea a b").exitCode, 2);
}

TEST(GpsCli, ReadsAPositionFromASerialDevice) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    pty.StartFeeding({nmeaSentence("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00"),
                      nmeaSentence("GPGGA,123519,4807.038,S,01131.000,W,1,08,0.9,545.4,M,46.9,M,,"),
                      nmeaSentence("GPRMC,123519,A,4807.038,S,01131.000,W,022.4,084.4,081226,003.1,W,A")},
                     100);
    const auto r = runCli("gps --device '" + pty.slavePath() + "' --baud 9600 --seconds 1.5 --json");
    pty.StopFeeding();
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const auto number = [&](const std::string& key) {
        const size_t at = r.out.find("\"" + key + "\":");
        return at == std::string::npos ? 0.0 : std::stod(r.out.substr(at + key.size() + 3));
    };
    EXPECT_NEAR(number("lat_deg"), -48.1173, 1e-9) << r.out;
    EXPECT_NEAR(number("lon_deg"), -11.516666666666667, 1e-9) << r.out;
    EXPECT_NE(r.out.find(",\"utc\":\"2026-12-08T12:35:19Z\",\"speed_kn\":22.4,\"course_deg\":84.4,"
                         "\"altitude_m\":545.4,\"satellites_used\":8}\n"),
              std::string::npos)
        << r.out;
}

TEST(GpsCli, AFloodingGpsdIsLeftWhenTheSecondsAreUp) {
    // It never pauses and only gives up (closing) after 30 s: a client that
    // reads until the socket runs dry would stay that long and then fail
    // with the closed connection.
    test::FloodingGpsd gpsd(UINT64_MAX);
    ASSERT_NE(gpsd.port(), 0);
    const auto r = runCli("gps --gpsd 127.0.0.1:" + std::to_string(gpsd.port()) + " --seconds 1 --json");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"lat_deg\":48.1173,\"lon_deg\":-11.516667,\"utc\":\"2026-12-08T12:35:19Z\""),
              std::string::npos)
        << r.out;
}

TEST(GpsCli, SilenceTimesOutAndBadSourcesFail) {
    test::PtyPair pty;
    ASSERT_TRUE(pty.ok());
    const auto silent = runCli("gps --device '" + pty.slavePath() + "' --seconds 1");
    EXPECT_EQ(silent.exitCode, 5);
    EXPECT_NE(silent.err.find("timed out: no position received from " + pty.slavePath() + " within 1 seconds"),
              std::string::npos)
        << silent.err;

    const auto missing = runCli("gps --device /nonexistent/ttyUSB0 --seconds 1");
    EXPECT_EQ(missing.exitCode, 5);
    EXPECT_NE(missing.err.find("/nonexistent/ttyUSB0"), std::string::npos);
    EXPECT_EQ(runCli("gps --gpsd 127.0.0.1:1 --seconds 1").exitCode, 5);

    EXPECT_EQ(runCli("gps --seconds 1").exitCode, 2);
    EXPECT_EQ(runCli("gps --device /dev/null --gpsd localhost:2947").exitCode, 2);
    EXPECT_EQ(runCli("gps --gpsd localhost").exitCode, 2);
    EXPECT_EQ(runCli("gps --device /dev/null --seconds -1").exitCode, 2);
}

}  // namespace
}  // namespace celestra
