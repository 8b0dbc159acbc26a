// The GPS page's engine: settings, conversion, the receive buffer and the
// received position and time.
#include "gps/gps_source.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "tests/support/pty_pair.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::nmeaSentence;

const std::string kGga = nmeaSentence("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
const std::string kRmc = nmeaSentence("GPRMC,123520,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,A");

TEST(GpsSettings, BaudTableAndItsDefault) {
    EXPECT_EQ(gpsBaudRateFromSelection(5), 4800u);
    EXPECT_EQ(gpsBaudRateFromSelection(0), 110u);
    EXPECT_EQ(gpsBaudRateFromSelection(7), 14400u);
    EXPECT_EQ(gpsBaudRateFromSelection(14), 256000u);
    for (int outside : {-1, 15, 255}) {
        EXPECT_EQ(gpsBaudRateFromSelection(outside), 4800u) << outside;
        EXPECT_EQ(gpsBaudRateText(outside), "default:\r\n 4800");
    }
    EXPECT_EQ(gpsBaudRateText(12), "115200");
}

TEST(GpsSettings, WordKeepsPortBaudAndClockInTheirBits) {
    const GpsSettings s = GpsSettings::FromWord(0xFF010C03u);  // high bits ignored
    EXPECT_EQ(s.portSelection, 3);
    EXPECT_EQ(s.baudSelection, 12);
    EXPECT_TRUE(s.setSystemClock);
    EXPECT_EQ(s.ToWord(), 0x00010C03u);
    const GpsSettings d = GpsSettings::FromWord(kDefaultGpsSettingsWord);
    EXPECT_EQ(gpsBaudRateFromSelection(d.baudSelection), 4800u);
    EXPECT_FALSE(d.setSystemClock);
    EXPECT_EQ(GpsSettings{}.ToWord(), kDefaultGpsSettingsWord);
}

TEST(GpsConversion, NmeaFormToSignedDecimalDegrees) {
    EXPECT_NEAR(decimalDegreesFromNmea(4807.038, 1), 48.1173, 1e-12);
    EXPECT_NEAR(decimalDegreesFromNmea(1131.000, -1), -11.516666666666667, 1e-12);
    EXPECT_NEAR(decimalDegreesFromNmea(17959.999, -1), -179.99998333333333, 1e-10);
    EXPECT_NEAR(decimalDegreesFromNmea(0.5, 1), 0.5 / 60.0, 1e-15);
    EXPECT_NEAR(decimalDegrees(NmeaLatitude{4916.45, NmeaNorthSouth::South}), -(49 + 16.45 / 60.0), 1e-12);
    EXPECT_NEAR(decimalDegrees(NmeaLongitude{12311.12, NmeaEastWest::East}), 123 + 11.12 / 60.0, 1e-12);
}

TEST(GpsFields, TextsAndColours) {
    // Minutes to 0.001' as the receiver sends them (4807.038,N and 01131.000,W).
    EXPECT_EQ(gpsDegreesFieldText(true, decimalDegreesFromNmea(4807.038, 1), true),
              "N 48\xC2\xB0"
              "07.038'");
    EXPECT_EQ(gpsDegreesFieldText(true, -decimalDegreesFromNmea(1131.0, 1), false),
              "W 011\xC2\xB0"
              "31.000'");
    EXPECT_EQ(gpsDegreesFieldText(true, -0.0000001, true),
              "N 00\xC2\xB0"
              "00.000'");  // no "S" for a zero
    EXPECT_EQ(gpsDegreesFieldText(true, 179.9999999, false),
              "E 180\xC2\xB0"
              "00.000'");
    EXPECT_EQ(gpsDegreesFieldText(false, 48.1173, true), "?");
    EXPECT_EQ(gpsValueColor(true), (GpsRgb{25, 151, 25}));
    EXPECT_EQ(gpsValueColor(false), (GpsRgb{255, 0, 0}));
    GpsReceived r;
    EXPECT_EQ(gpsTimeFieldText(r), "?");
    r.timeReceived = true;
    r.utc = BrokenDownTime{2026, 12, 0, 8, 1, 2, 3, 0};
    EXPECT_EQ(gpsTimeFieldText(r), "2026-12-08 01:02:03");
}

class Receiver : public ::testing::Test {
protected:
    Receiver() : receiver([this] { return now; }) { receiver.SetDate(NmeaDate{2026, 12, 8}); }
    double now = 1000.0;
    CNmeaReceiver receiver;
};

TEST_F(Receiver, AShortBurstWaitsForMoreData) {
    const std::string burst = nmeaSentence("GPGLL,4916.45,N,12311.12,W,225444,A,A,EXTRA");
    ASSERT_EQ(burst.size(), 49u);
    EXPECT_EQ(receiver.Receive(burst), 0);
    EXPECT_FALSE(receiver.Received().latitudeValid);
    EXPECT_EQ(receiver.Receive("$G"), 1);  // 51 characters: the GLL goes
    EXPECT_TRUE(receiver.Received().latitudeValid);
    EXPECT_EQ(receiver.Buffer(), "$G");
}

TEST_F(Receiver, UndecodableSentencesAreSkippedNotBlocking) {
    const std::string noise = nmeaSentence("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00") +
                              nmeaSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1") +
                              nmeaSentence("PGRME,15.0,M,45.0,M,25.0,M") + "$GPGGA,garbled*00\r\n";
    EXPECT_EQ(receiver.Receive(noise + kGga + kRmc + std::string(60, ' ')), 2);
    const GpsReceived& r = receiver.Received();
    EXPECT_TRUE(r.latitudeValid && r.longitudeValid);
    EXPECT_NEAR(r.latitudeDegrees, 48.1173, 1e-9);
    EXPECT_NEAR(r.longitudeDegrees, 11.516666666666667, 1e-9);
    EXPECT_EQ(r.timeSource, GpsTimeSource::Sentence);
    EXPECT_EQ(r.utc.second, 20);  // the RMC came last, with its own date
    EXPECT_EQ(r.utc.year, 1994);
    EXPECT_DOUBLE_EQ(*r.speedKnots, 22.4);
    EXPECT_DOUBLE_EQ(*r.courseDegreesTrue, 84.4);
    EXPECT_DOUBLE_EQ(*r.altitudeMeters, 545.4);
    EXPECT_EQ(*r.satellitesUsed, 8);
    EXPECT_EQ(receiver.DisplayText(),
              "  At 12:35:19 UTC, you were at Latitude 48  7.03800 North, Longitude 11 31.00000 East, based upon a "
              "GPS fix, 8 satellites are in use.\r\n"
              "  At 12:35:20 UTC, you were at Latitude 48  7.03800 North, Longitude 11 31.00000 East, making "
              "22.400000 knots, track made good 84.400000 degrees true.\r\n");
}

TEST_F(Receiver, TheBufferDropsWholeStaleSentencesBeyond500Characters) {
    // A receiver that never ends its lines.
    const std::string endless = "$GPXXX," + std::string(300, 'a');
    receiver.Receive(endless);
    receiver.Receive(endless);
    EXPECT_LE(receiver.Buffer().size(), 500u);
    EXPECT_EQ(receiver.Buffer().substr(0, 7), "$GPXXX,");  // cut at a "$", not in the middle
    // What comes after still decodes.
    receiver.Receive("\r\n" + kGga + std::string(60, ' '));
    EXPECT_TRUE(receiver.Received().latitudeValid);

    // Noise without any "$" does not accumulate.
    receiver.Receive(std::string(1000, 'z'));
    EXPECT_LE(receiver.Buffer().size(), 500u);
}

TEST_F(Receiver, TimeSourcesAndSentencesWithoutAFix) {
    // No fix: neither position nor time are taken, the line is still shown.
    receiver.Receive(nmeaSentence("GPRMC,225446,V,4916.45,N,12311.12,W,000.5,054.7,191194,020.3,E,N") +
                     nmeaSentence("GPGGA,225446,,,,,0,00,99.99,,,,,,") + std::string(60, ' '));
    EXPECT_FALSE(receiver.Received().latitudeValid);
    EXPECT_FALSE(receiver.Received().timeReceived);
    EXPECT_NE(receiver.DisplayText().find("a GPS fix was not available"), std::string::npos);

    now = 2000.0;
    receiver.Receive(nmeaSentence("GPZDA,201530.50,04,07,2002,00,00") + std::string(60, ' '));
    GpsReceived r = receiver.Received();
    EXPECT_EQ(r.timeSource, GpsTimeSource::Zda);
    EXPECT_EQ(r.receivedAtSeconds, 2000.0);
    EXPECT_EQ(r.utc.year, 2002);
    EXPECT_EQ(r.utc.milliseconds, 500);

    // GGA after ZDA: position yes, time stays the ZDA's.
    now = 2001.0;
    receiver.Receive(kGga + std::string(60, ' '));
    r = receiver.Received();
    EXPECT_TRUE(r.latitudeValid);
    EXPECT_EQ(r.timeSource, GpsTimeSource::Zda);
    EXPECT_EQ(r.receivedAtSeconds, 2000.0);

    // The clock: received time plus the seconds since reception.
    const auto target = gpsClockTarget(r, 2003.25);
    ASSERT_TRUE(target.has_value());
    EXPECT_NEAR((*target - julianDayFromCalendar(2002, 7, 4, 20.0 + 15.0 / 60.0)) * 86400.0, 30.5 + 3.25, 1e-4);
    EXPECT_FALSE(gpsClockTarget(GpsReceived{}, 0.0).has_value());
}

TEST_F(Receiver, HeadingLinesAndDisplayTrimming) {
    receiver.Receive(nmeaSentence("HCHDG,98.3,0.0,E,12.6,W") + nmeaSentence("HEHDT,4.25,T") + std::string(60, ' '));
    EXPECT_EQ(receiver.DisplayText(), "   Heading 98.300000\r\n   Heading True 4.250000\r\n");
    EXPECT_DOUBLE_EQ(*receiver.Received().headingDegreesTrue, 4.25);

    receiver.ClearDisplay();
    receiver.AppendDisplay(std::string(800, 'a'));
    EXPECT_EQ(receiver.DisplayText().size(), 800u);
    receiver.AppendDisplay("b");  // 801: shorter than 900, so all goes
    EXPECT_EQ(receiver.DisplayText(), "");
    receiver.AppendDisplay(std::string(790, 'a'));
    receiver.AppendDisplay(std::string(160, 'c'));  // 950: the first 900 go
    EXPECT_EQ(receiver.DisplayText(), std::string(50, 'c'));
}

TEST(GpsMachine, SerialDevicesFromSysfsWithoutOpeningThem) {
    // A /dev and a /sys/class/tty as a small ARM board with a USB receiver has
    // them; the nodes are plain files, so only sysfs can tell which ttyS has a
    // UART behind it.
    const std::string dir = test::makeTempDir(), dev = dir + "/dev", sys = dir + "/sys";
    std::filesystem::create_directories(dev + "/serial/by-id");
    struct Tty {
        const char* name;
        bool device;
        const char* type;  // the serial core's port type, or none
    };
    for (const Tty& t :
         {Tty{"ttyUSB10", true, nullptr}, Tty{"ttyUSB2", true, nullptr}, Tty{"ttyACM0", true, nullptr},
          Tty{"ttyAMA0", true, "83"}, Tty{"ttyS0", true, "4"}, Tty{"ttyS1", true, "0"}, Tty{"rfcomm1", false, nullptr},
          Tty{"tty0", false, nullptr}, Tty{"console", false, nullptr}, Tty{"ttyUSB7", true, nullptr}}) {
        std::filesystem::create_directories(sys + "/" + t.name);
        if (t.device) std::filesystem::create_directory_symlink(dir, sys + "/" + t.name + "/device");
        if (t.type) std::ofstream(sys + "/" + t.name + "/type") << t.type << "\n";
        if (std::string(t.name) != "ttyUSB7") std::ofstream(dev + "/" + t.name) << "";  // unplugged: no node
    }
    std::filesystem::create_symlink("ttyAMA0", dev + "/serial0");
    std::filesystem::create_symlink("../../ttyACM0", dev + "/serial/by-id/usb-u-blox_GNSS_receiver-if00");
    std::filesystem::create_symlink("../../ttyUSB9", dev + "/serial/by-id/usb-gone-if00");  // dangling
    const std::vector<std::string> expected = {
        dev + "/rfcomm1", dev + "/ttyACM0",  dev + "/ttyAMA0", dev + "/ttyS0",
        dev + "/ttyUSB2", dev + "/ttyUSB10", dev + "/serial0", dev + "/serial/by-id/usb-u-blox_GNSS_receiver-if00"};
    EXPECT_EQ(listSerialDevices(dev, sys), expected);
    EXPECT_TRUE(listSerialDevices(dir + "/missing", dir + "/missing").empty());
    std::filesystem::remove_all(dir);
}

TEST(GpsMachine, AnInvalidClockTargetIsRefusedWithoutTouchingTheClock) {
    std::string message;
    EXPECT_EQ(setSystemClockUtc(2440000.0, message), EINVAL);  // before 1970
    EXPECT_FALSE(message.empty());
}

}  // namespace
}  // namespace celestra
