#include "calculators/converters.h"

#include <gtest/gtest.h>

#include "calculators/horizon_distance.h"
#include "core/number_text.h"

namespace celestra {
namespace {

TEST(DmsConverter, PageStartingValueAndSecondsForm) {
    DmsValue v = decimalToDms(359.5, false);
    EXPECT_EQ(v.degreesText, "359");
    EXPECT_EQ(v.minutesText, "30.000000");
    EXPECT_EQ(v.secondsText, "");
    EXPECT_EQ(v.text, "359\u00b0 30\u2032");
    v = decimalToDms(-12.5, true);
    EXPECT_TRUE(v.negative);
    EXPECT_EQ(v.degreesText, "-12");
    EXPECT_EQ(v.minutesText, "30");
    EXPECT_EQ(v.secondsText, "0.000000");
    EXPECT_EQ(v.text, "-12\u00b0 30\u2032 00\u2033");
    // The 5e-10 nudge: 1/3 degree is 20′ 00″, not 19′ 59.999999″.
    v = decimalToDms(10.0 + 1.0 / 3.0, true);
    EXPECT_EQ(v.minutes, 20);
    EXPECT_EQ(v.secondsText, "0.000000");
    v = decimalToDms(1.0 + 2.0 / 60.0 + 3.25 / 3600.0, true);
    EXPECT_EQ(v.text, "01\u00b0 02\u2032 03.25\u2033");
}

TEST(DmsConverter, AnglesBetweenMinusOneAndZeroKeepTheirSign) {
    DmsValue v = decimalToDms(-0.5, false);
    EXPECT_TRUE(v.negative);
    EXPECT_EQ(v.degrees, 0);
    EXPECT_EQ(v.degreesText, "-00");
    EXPECT_EQ(v.text, "-00\u00b0 30\u2032");
    v = decimalToDms(-0.5, true);
    EXPECT_EQ(v.text, "-00\u00b0 30\u2032 00\u2033");
    EXPECT_FALSE(decimalToDms(0.0, true).negative);
    EXPECT_FALSE(decimalToDms(-0.0, true).negative);
    // And back: the explicit flag, or the "-00" degree field read as -0.0.
    EXPECT_DOUBLE_EQ(dmsToDecimal(true, 0.0, 30.0, 0.0, false), -0.5);
    EXPECT_DOUBLE_EQ(dmsToDecimal(-0.0, 30.0, 0.0, false), -0.5);
    EXPECT_DOUBLE_EQ(dmsToDecimal(-12.0, 30.0, 0.0, false), -12.5);
    EXPECT_DOUBLE_EQ(dmsToDecimal(-12.0, 30.0, 36.0, true), -12.51);
    EXPECT_DOUBLE_EQ(dmsToDecimal(12.0, 30.0, 36.0, false), 12.5);  // seconds ignored without "Use Seconds"
    EXPECT_EQ(formatPlainDecimal(dmsToDecimal(-12.0, 30.0, 0.0, false)), "-12.500000");
    // A typed "-00" keeps its sign through the number reader.
    EXPECT_DOUBLE_EQ(dmsToDecimal(*parseDecimal("-00"), *parseDecimal("30"), 0.0, false), -0.5);
}

TEST(JulianDayConverter, CalendarAndBack) {
    EXPECT_EQ(formatPlainDecimal(julianDayFromCivil({2000, 1, 1, 12, 0, 0})), "2451545.000000");
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(2451544.5)), "2000-01-01T00:00:00");
    EXPECT_DOUBLE_EQ(julianDayFromCivil({1858, 11, 17, 0, 0, 0}), 2400000.5);  // MJD 0
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(2460000.25)), "2023-02-24T18:00:00");
    // A leap day and a century year that is not leap.
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({2024, 2, 29, 6, 30, 15}))), "2024-02-29T06:30:15");
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({1900, 3, 1, 0, 0, 0}) - 0.25)),
              "1900-02-28T18:00:00");
}

TEST(JulianDayConverter, CarriesUpToMidnight) {
    // 23:59:59.8 on the last day of a month and of a year rounds into the next day.
    const double almost = 0.2 / 86400.0;
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({2024, 4, 1, 0, 0, 0}) - almost)),
              "2024-04-01T00:00:00");
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({2025, 1, 1, 0, 0, 0}) - almost)),
              "2025-01-01T00:00:00");
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({2024, 3, 1, 0, 0, 0}) - almost)),
              "2024-03-01T00:00:00");
    // Below half a second the time truncates.
    EXPECT_EQ(formatCivilIso(civilFromJulianDay(julianDayFromCivil({2024, 4, 1, 12, 0, 7}) + 0.4 / 86400.0)),
              "2024-04-01T12:00:07");
}

TEST(HorizonDistance, CoefficientsAndZeroHeight) {
    HorizonDistance d = horizonDistance(2.0, HeightUnit::Meters);
    EXPECT_EQ(d.visibleText, "2.93 NMi");
    EXPECT_EQ(d.radarText, "3.13 NMi");
    d = horizonDistance(100.0, HeightUnit::Feet);
    EXPECT_EQ(d.visibleText, "11.70 NMi");
    EXPECT_EQ(d.radarText, "12.20 NMi");
    d = horizonDistance(0.0, HeightUnit::Meters);
    EXPECT_EQ(d.visibleText, "0.00 NMi");
    EXPECT_GT(d.visibleNm, 0.0);  // from the 1e-7 substitute, not a square root of 0
    EXPECT_EQ(horizonDistance(-5.0, HeightUnit::Feet).radarText, "0.00 NMi");
}

}  // namespace
}  // namespace celestra
