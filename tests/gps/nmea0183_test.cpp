// NMEA 0183 parser: checksums, the six sentence types, summaries, errors.
#include "gps/nmea0183.h"

#include <gtest/gtest.h>

#include "tests/support/pty_pair.h"

namespace celestra {
namespace {

using test::nmeaSentence;

const std::string kGgaBody = "GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,";
const std::string kRmcBody = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W";
const std::string kRmcSummary =
    "At 12:35:19 UTC, you were at Latitude 48  7.03800 North, Longitude 11 31.00000 East, making 22.400000 "
    "knots, track made good 84.400000 degrees true.";

class Nmea : public ::testing::Test {
protected:
    Nmea() { parser.SetDate(NmeaDate{2026, 12, 8}); }
    CNmea0183 parser;
};

TEST_F(Nmea, TrueHeadingDecodesWithItsSummaryAndTalker) {
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPHDT,123.4,T")));
    EXPECT_DOUBLE_EQ(parser.Hdt.degreesTrue, 123.4);
    EXPECT_EQ(parser.PlainText(), "Your true heading is 123.40 degrees.");
    EXPECT_EQ(parser.ErrorMessage(), "No Error");
    EXPECT_EQ(parser.LastSentenceIDParsed(), "HDT");
    EXPECT_EQ(parser.TalkerID(), "GP");
    EXPECT_EQ(parser.ExpandedTalkerID(), "Unknown - GP");
}

TEST_F(Nmea, ChecksumIsComparedAsANumberAndAWrongOneIsRefused) {
    EXPECT_TRUE(parser.Parse(nmeaSentence(kRmcBody, true)));   // lower-case hex
    EXPECT_TRUE(parser.Parse(nmeaSentence(kRmcBody, false)));  // upper-case hex

    std::string damaged = nmeaSentence(kRmcBody);
    damaged[20] = damaged[20] == '5' ? '6' : '5';  // a changed digit in the data
    EXPECT_FALSE(parser.Parse(damaged));
    EXPECT_EQ(parser.ErrorMessage(), "Invalid Checksum");

    for (const char* suffix : {"*ZZ", "*1", "*123"}) {
        EXPECT_FALSE(parser.Parse("$" + kRmcBody + suffix + "\r\n")) << suffix;
        EXPECT_EQ(parser.ErrorMessage(), "Invalid Checksum") << suffix;
    }
    // A refused sentence leaves the decoded values of its type as they were.
    EXPECT_DOUBLE_EQ(parser.Rmc.speedOverGroundKnots, 22.4);
}

TEST_F(Nmea, OnlyRmcRequiresAChecksum) {
    EXPECT_FALSE(parser.Parse("$" + kRmcBody + "\r\n"));
    EXPECT_EQ(parser.ErrorMessage(), "Missing Checksum");
    EXPECT_FALSE(parser.Parse("$" + kRmcBody + "*\r\n"));
    EXPECT_EQ(parser.ErrorMessage(), "Missing Checksum");

    for (const std::string& body :
         {kGgaBody, std::string("GPGLL,4916.45,N,12311.12,W,225444,A"), std::string("GPZDA,201530.00,04,07,2002,00,00"),
          std::string("HCHDG,98.3,0.0,E,12.6,W"), std::string("HEHDT,4.0,T")}) {
        EXPECT_TRUE(parser.Parse("$" + body + "\r\n")) << body << ": " << parser.ErrorMessage();
    }
}

TEST_F(Nmea, UnsupportedAndMalformedLinesAreNamed) {
    ASSERT_TRUE(parser.Parse(nmeaSentence("HCHDG,98.3,0.0,E,12.6,W")));
    EXPECT_FALSE(parser.Parse(nmeaSentence("GPGSV,3,1,11,03,03,111,00,04,15,270,00,06,01,010,00,13,06,292,00")));
    EXPECT_EQ(parser.ErrorMessage(), "GSV is an unknown type of sentence");
    EXPECT_EQ(parser.LastSentenceIDReceived(), "GSV");
    EXPECT_FALSE(parser.Parse(nmeaSentence("GPVTG,054.7,T,034.4,M,005.5,N,010.2,K")));
    EXPECT_EQ(parser.ErrorMessage(), "VTG is an unknown type of sentence");
    // Proprietary sentences are named by their whole address field.
    EXPECT_FALSE(parser.Parse(nmeaSentence("PGRME,15.0,M,45.0,M,25.0,M")));
    EXPECT_EQ(parser.ErrorMessage(), "PGRME is an unknown type of sentence");

    for (const std::string& line :
         {std::string(""), std::string("$"), std::string("GPHDT,123.4,T"), std::string("$GP,1"),
          std::string("$GPHDT,1\x01,T"), std::string("$GPHDT,1,T\r\nextra"), std::string(2000, 'x')}) {
        EXPECT_FALSE(parser.Parse(line));
        EXPECT_EQ(parser.ErrorMessage(), "Not an NMEA sentence");
        EXPECT_EQ(parser.LastSentenceIDReceived(), "");
    }
    // The last decoded sentence is still what the parser tells about.
    EXPECT_EQ(parser.LastSentenceIDParsed(), "HDG");
}

TEST_F(Nmea, GgaDecodesEveryFieldAndNamesTheFixQuality) {
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGGA,123519.25,4807.038,N,01131.000,E,2,08,0.9,545.4,M,46.9,M,3.5,0120")));
    const CNmeaGGA& g = parser.Gga;
    EXPECT_EQ(g.utcTimeText, "123519.25");
    EXPECT_TRUE(g.timeValid);
    EXPECT_EQ(g.time.year, 2026);
    EXPECT_EQ(g.time.month, 12);
    EXPECT_EQ(g.time.day, 8);
    EXPECT_EQ(g.time.hour, 12);
    EXPECT_EQ(g.time.minute, 35);
    EXPECT_EQ(g.time.second, 19);
    EXPECT_EQ(g.time.milliseconds, 250);
    EXPECT_DOUBLE_EQ(g.position.latitude.value, 4807.038);
    EXPECT_EQ(g.position.latitude.hemisphere, NmeaNorthSouth::North);
    EXPECT_EQ(g.position.latitude.WholeDegrees(), 48);
    EXPECT_NEAR(g.position.latitude.Minutes(), 7.038, 1e-9);
    EXPECT_DOUBLE_EQ(g.position.longitude.value, 1131.0);
    EXPECT_EQ(g.position.longitude.hemisphere, NmeaEastWest::East);
    EXPECT_EQ(g.gpsQuality, 2);
    EXPECT_EQ(g.numberOfSatellitesInUse, 8);
    EXPECT_DOUBLE_EQ(g.horizontalDilutionOfPrecision, 0.9);
    EXPECT_DOUBLE_EQ(g.antennaAltitudeMeters, 545.4);
    EXPECT_DOUBLE_EQ(g.geoidalSeparationMeters, 46.9);
    EXPECT_DOUBLE_EQ(g.ageOfDifferentialGpsDataSeconds, 3.5);
    EXPECT_EQ(g.differentialReferenceStationId, 120);
    EXPECT_EQ(parser.PlainText(),
              "At 12:35:19 UTC, you were at Latitude 48  7.03800 North, Longitude 11 31.00000 East, based upon a "
              "differential GPS fix, 8 satellites are in use.");

    ASSERT_TRUE(parser.Parse(nmeaSentence(kGgaBody)));
    EXPECT_NE(parser.PlainText().find(", based upon a GPS fix, 8 satellites"), std::string::npos);

    // No fix: empty position fields, quality 0.
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGGA,000012,,,,,0,00,99.99,,,,,,")));
    EXPECT_EQ(parser.PlainText(),
              "At 0:0:12 UTC, you were at Latitude 0  0.00000 South, Longitude 0  0.00000 West, a GPS fix was not "
              "available, 0 satellites are in use.");
    EXPECT_FALSE(parser.Gga.position.present);

    // Values no position can have are decoded but not a position.
    for (const char* fields : {"9100.000,N,01131.000,E", "4860.000,N,01131.000,E", "4807.038,N,18001.000,E",
                               "nan,N,01131.000,E", "4807.038,N,1e300,E", "-4807.038,N,01131.000,E"}) {
        ASSERT_TRUE(parser.Parse(nmeaSentence(std::string("GPGGA,123519,") + fields + ",1,08,0.9,545.4,M,46.9,M,,")));
        EXPECT_FALSE(parser.Gga.position.present) << fields;
    }
}

TEST_F(Nmea, RmcOfOldAndCurrentReceiversDecodes) {
    // NMEA 2.2, 2.3 (mode indicator), 4.1 (mode and navigational status).
    const std::string v41 = "GNRMC,123519.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W,D,V";
    for (const std::string& body :
         {kRmcBody, kRmcBody + ",A", std::string("GNRMC,123519.00,A,4807.038,N,01131.000,E,022.4,084.4,230394,,,A"),
          v41}) {
        ASSERT_TRUE(parser.Parse(nmeaSentence(body))) << body << ": " << parser.ErrorMessage();
        EXPECT_EQ(parser.PlainText(), kRmcSummary) << body;
    }
    const CNmeaRMC& r = parser.Rmc;
    EXPECT_EQ(parser.TalkerID(), "GN");
    EXPECT_EQ(r.isDataValid, NmeaTruth::True);
    EXPECT_EQ(r.dateText, "230394");
    EXPECT_DOUBLE_EQ(r.magneticVariation, 3.1);
    EXPECT_EQ(r.magneticVariationDirection, NmeaEastWest::West);
    EXPECT_EQ(r.modeIndicator, "D");
    EXPECT_EQ(r.navigationalStatus, "V");
    // The sentence's own date, not the parser's default date.
    EXPECT_EQ(r.time.year, 1994);
    EXPECT_EQ(r.time.month, 3);
    EXPECT_EQ(r.time.day, 23);

    ASSERT_TRUE(parser.Parse(nmeaSentence("GPRMC,225446,V,,,,,,,191194,,,N")));
    EXPECT_EQ(parser.Rmc.isDataValid, NmeaTruth::False);
    EXPECT_EQ(parser.Rmc.time.year, 1994);
}

TEST_F(Nmea, GllOfOldAndCurrentReceiversDecodesInEveryHemisphere) {
    for (const std::string& body :
         {std::string("GPGLL,4916.45,S,12311.12,W,225444,A"), std::string("GPGLL,4916.45,S,12311.12,W,225444,A,A"),
          std::string("GNGLL,4916.45,S,12311.12,W,225444.00,A,D")}) {
        ASSERT_TRUE(parser.Parse(nmeaSentence(body))) << body << ": " << parser.ErrorMessage();
        EXPECT_EQ(parser.PlainText(),
                  "At 22:54:44 UTC, you were at Latitude 49 16.45000 South, Longitude 123 11.12000 West.");
        EXPECT_EQ(parser.Gll.isDataValid, NmeaTruth::True);
    }
    EXPECT_EQ(parser.Gll.modeIndicator, "D");
    EXPECT_EQ(parser.Gll.position.latitude.Write(), "4916.45,S");
    EXPECT_EQ(parser.Gll.position.longitude.Write(), "12311.12,W");
}

TEST_F(Nmea, ZdaAndHdgDecodeTheirFields) {
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPZDA,201530.00,04,07,2002,-05,30")));
    const CNmeaZDA& z = parser.Zda;
    EXPECT_EQ(z.day, 4);
    EXPECT_EQ(z.month, 7);
    EXPECT_EQ(z.year, 2002);
    EXPECT_EQ(z.localHourDeviation, -5);
    EXPECT_EQ(z.localMinutesDeviation, 30);
    EXPECT_TRUE(z.timeValid);
    EXPECT_EQ(z.time.year, 2002);
    EXPECT_EQ(z.time.hour, 20);
    EXPECT_EQ(parser.PlainText(), "");

    // A ZDA whose date is impossible gives no instant.
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPZDA,201530.00,31,02,2002,00,00")));
    EXPECT_FALSE(parser.Zda.timeValid);

    ASSERT_TRUE(parser.Parse(nmeaSentence("HCHDG,98.3,1.5,E,12.6,W")));
    const CNmeaHDG& h = parser.Hdg;
    EXPECT_DOUBLE_EQ(h.magneticSensorHeadingDegrees, 98.3);
    EXPECT_DOUBLE_EQ(h.magneticDeviationDegrees, 1.5);
    EXPECT_EQ(h.magneticDeviationDirection, NmeaEastWest::East);
    EXPECT_DOUBLE_EQ(h.magneticVariationDegrees, 12.6);
    EXPECT_EQ(h.magneticVariationDirection, NmeaEastWest::West);
    EXPECT_EQ(parser.TalkerID(), "HC");
}

TEST_F(Nmea, ShortOrImpossibleTimeFieldsLeaveTheInstantAtZero) {
    for (const char* time : {"12351", "", "1235ab", "246000", "126100"}) {
        ASSERT_TRUE(parser.Parse(nmeaSentence(std::string("GPGLL,4916.45,N,12311.12,W,") + time + ",A"))) << time;
        EXPECT_FALSE(parser.Gll.timeValid) << time;
        EXPECT_EQ(parser.Gll.time.year, 0) << time;
        EXPECT_EQ(parser.Gll.time.hour, 0) << time;
    }
    // Second 60 is a leap second.
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGLL,4916.45,N,12311.12,W,235960,A")));
    EXPECT_TRUE(parser.Gll.timeValid);
}

TEST_F(Nmea, TimesNearMidnightTakeTheNearestDay) {
    parser.SetDate(NmeaDate{2026, 12, 8, 10});  // read at 00:00:10
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGLL,4916.45,N,12311.12,W,235959,A")));
    EXPECT_EQ(parser.Gll.time.day, 7);
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGLL,4916.45,N,12311.12,W,120009,A")));  // 11:59:59 later
    EXPECT_EQ(parser.Gll.time.day, 8);
    parser.SetDate(NmeaDate{2026, 12, 31, 86390});  // 23:59:50 on New Year's Eve
    ASSERT_TRUE(parser.Parse(nmeaSentence("GPGGA,000005,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,")));
    EXPECT_EQ(parser.Gga.time.year, 2027);
    EXPECT_EQ(parser.Gga.time.month, 1);
    EXPECT_EQ(parser.Gga.time.day, 1);
}

TEST(NmeaClock, WithoutADateTheClockDatesATimeOfDay) {
    // 2026-12-08 00:00:10 UTC on the clock: 23:59:59 was yesterday.
    setClockForTesting(julianDayFromCalendar(2026, 12, 8, 10.0 / 3600.0));
    CNmea0183 parser;
    const bool parsed = parser.Parse(nmeaSentence("GPGLL,4916.45,N,12311.12,W,235959,A"));
    setClockForTesting(0.0);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parser.Gll.time.year, 2026);
    EXPECT_EQ(parser.Gll.time.month, 12);
    EXPECT_EQ(parser.Gll.time.day, 7);
}

TEST(NmeaSentence, FieldsNumbersAndChecksumHelpers) {
    const CNmeaSentence s("$GPXYZ,,+12.5,abc,-7,1e3*00\r\n");
    EXPECT_TRUE(s.IsWellFormed());
    EXPECT_EQ(s.FieldCount(), 6u);
    EXPECT_EQ(s.Field(1), "");
    EXPECT_DOUBLE_EQ(s.Double(1), 0.0);
    EXPECT_DOUBLE_EQ(s.Double(2), 12.5);
    EXPECT_DOUBLE_EQ(s.Double(3), 0.0);
    EXPECT_EQ(s.Integer(4), -7);
    EXPECT_DOUBLE_EQ(s.Double(5), 1000.0);
    EXPECT_EQ(s.Field(6), "");
    EXPECT_EQ(s.ChecksumText(), "00");

    const std::string out = appendNmeaChecksum("$GPHDT,123.4,T");
    EXPECT_EQ(out, nmeaSentence("GPHDT,123.4,T"));
    EXPECT_EQ(CNmeaSentence(out).IsChecksumBad(), NmeaTruth::False);
    EXPECT_EQ(CNmeaSentence("$GPHDT,123.4,T").IsChecksumBad(), NmeaTruth::Unknown);

    NmeaLatitude lat{512.5, NmeaNorthSouth::North};
    EXPECT_EQ(lat.Write(), "0512.50,N");
    NmeaLongitude lon{512.5, NmeaEastWest::East};
    EXPECT_EQ(lon.Write(), "00512.50,E");
}

}  // namespace
}  // namespace celestra
