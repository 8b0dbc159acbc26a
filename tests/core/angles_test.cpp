#include "core/angles.h"

#include <gtest/gtest.h>

#include <cmath>

namespace celestra {
namespace {

TEST(Wrapping, FloorPositiveAndOneStep) {
    EXPECT_EQ(wrapFloor(-30, 360), 330);
    EXPECT_EQ(wrapFloor(725, 360), 5);
    EXPECT_EQ(wrapPositive(-30, 360), 330);
    EXPECT_EQ(wrapPositive(725, 360), 5);
    EXPECT_EQ(wrapPositive(-725, 360), 355);
    EXPECT_EQ(wrapPositive(5, 0), 0);
    EXPECT_EQ(wrapDegrees(-10), 350);
    EXPECT_EQ(wrapDegrees(360), 0);
    EXPECT_EQ(wrapDegrees(370), 10);
    EXPECT_EQ(wrapDegrees(359.5), 359.5);
}

TEST(Bearings, MathAngleToBearingAndBack) {
    EXPECT_EQ(bearingFromMathAngle(0), 90);     // east
    EXPECT_EQ(bearingFromMathAngle(90), 0);     // north
    EXPECT_EQ(bearingFromMathAngle(180), 270);  // west
    EXPECT_EQ(bearingFromMathAngle(270), 180);  // south
    EXPECT_EQ(bearingFromMathAngle(-90), 180);
    for (double a = 0; a < 360; a += 7.5) EXPECT_NEAR(bearingFromMathAngle(bearingFromMathAngle(a)), a, 1e-12) << a;
}

void expectVector(const Vector3& v, double x, double y, double z) {
    EXPECT_NEAR(v.x, x, 1e-12);
    EXPECT_NEAR(v.y, y, 1e-12);
    EXPECT_NEAR(v.z, z, 1e-12);
}

TEST(Rotations, RightHandedQuarterTurns) {
    Vector3 v{1, 0, 0};
    rotateZ(v, 90);
    expectVector(v, 0, 1, 0);
    v = {0, 0, 1};
    rotateY(v, 90);
    expectVector(v, 1, 0, 0);
    v = {0, 1, 0};
    rotateX(v, 90);
    expectVector(v, 0, 0, 1);

    // A turn and back restores the vector, and the length is kept.
    v = {0.3, -0.4, 1.2};
    const double n = v.norm();
    rotateX(v, 33.3);
    rotateY(v, -71.0);
    rotateZ(v, 200.0);
    EXPECT_NEAR(v.norm(), n, 1e-14);
    rotateZ(v, -200.0);
    rotateY(v, 71.0);
    rotateX(v, -33.3);
    expectVector(v, 0.3, -0.4, 1.2);
}

TEST(Spherical, CartesianAndDistances) {
    expectVector(cartesianFromSpherical({2, 0, 0}), 0, 0, 2);
    expectVector(cartesianFromSpherical({2, 90, 0}), 2, 0, 0);
    expectVector(cartesianFromSpherical({2, 90, 90}), 0, 2, 0);
    expectVector(cartesianFromSpherical({1, 180, 0}), 0, 0, -1);
    const Vector3 a{1, 2, 3}, b{4, 6, 15};
    EXPECT_EQ(distanceSquared2(a, b), 25);
    EXPECT_EQ(distanceSquared3(a, b), 169);
}

TEST(FormatAngle, SpecimensOfEachForm) {
    EXPECT_EQ(formatAngle(12.25, 0), "   12.2500°");
    EXPECT_EQ(formatAngle(-5.5, 4, AngleSignStyle::Latitude), "S 05°30.00'");
    EXPECT_EQ(formatAngle(123.5, 1, AngleSignStyle::Longitude), "E 123°30.00'");
    EXPECT_EQ(formatAngle(29.5, 2), " 029°30'00\"");
    EXPECT_EQ(formatAngle(5.5, 3), " 005.50°");
    EXPECT_EQ(formatAngle(-0.5, 5, AngleSignStyle::Longitude), "W 00°30'00\"");
    EXPECT_EQ(formatAngle(90, 6), "  100.0 grad");
    EXPECT_EQ(formatAngle(-90, 7), "- 1600.0 mil");
    EXPECT_EQ(formatAngle(90, 8), "  1500.0 R-mil");
}

TEST(FormatAngle, NudgeAndTruncation) {
    EXPECT_EQ(formatAngle(29.99999999, 2), " 030°00'00\"");  // the nudge carries it over
    EXPECT_EQ(formatAngle(-29.99999999, 5), "-30°00'00\"");
    EXPECT_EQ(formatAngle(10.999, 5), " 10°59'56\"");    // 59.94' and 56.4": truncated
    EXPECT_EQ(formatAngle(29.99999, 1), " 029°59.99'");  // 59.9994' never shows as 60.00'
    EXPECT_EQ(formatAngle(0.016666, 4), " 00°00.99'");
}

TEST(FormatAngle, SignStylesZeroAndOtherSelectors) {
    EXPECT_EQ(formatAngle(-0.0, 4, AngleSignStyle::Signed), " 00°00.00'");
    EXPECT_EQ(formatAngle(-0.0, 4, AngleSignStyle::Latitude), "N 00°00.00'");
    EXPECT_EQ(formatAngle(-0.0, 4, AngleSignStyle::Longitude), "E 00°00.00'");
    EXPECT_EQ(formatAngle(-1e-12, 4, AngleSignStyle::Latitude), "S 00°00.00'");
    EXPECT_EQ(formatAngle(12.0, 9, AngleSignStyle::Latitude), "N ");
    EXPECT_EQ(formatAngle(-12.0, -1, AngleSignStyle::Longitude), "W ");
    EXPECT_NE(formatAngle(NAN, 2).find("nan"), std::string::npos);

    std::string out = "Alt: ";
    formatAngle(1.5, 4, AngleSignStyle::Signed, true, out);
    EXPECT_EQ(out, "Alt:  01°30.00'");
    formatAngle(1.5, 4, AngleSignStyle::Signed, false, out);
    EXPECT_EQ(out, " 01°30.00'");
}

TEST(FormatDegreesMinutes, RoundsAndCarriesIntoTheDegrees) {
    EXPECT_EQ(formatDegreesMinutes(23.456, 2, 1, AngleSignStyle::Signed),
              " 23\u00b0"
              "27.4'");
    // 29°59.97' to a tenth is 30°00.0', never 29°60.0'.
    EXPECT_EQ(formatDegreesMinutes(29.9995, 2, 1, AngleSignStyle::Signed),
              " 30\u00b0"
              "00.0'");
    EXPECT_EQ(formatDegreesMinutes(-0.5, 2, 1, AngleSignStyle::Latitude),
              "S 00\u00b0"
              "30.0'");
    EXPECT_EQ(formatDegreesMinutes(-0.0004, 2, 1, AngleSignStyle::Signed),
              " 00\u00b0"
              "00.0'");  // rounds to zero
    EXPECT_EQ(formatDegreesMinutes(-122.5, 3, 0, AngleSignStyle::Longitude),
              "W 122\u00b0"
              "30'");
}

TEST(FormatClockTime, WrapsAndTruncates) {
    EXPECT_EQ(formatClockTime(25.5), "01:30:00");
    EXPECT_EQ(formatClockTime(-1.0), "23:00:00");
    EXPECT_EQ(formatClockTime(23.5, 1.0), "00:30:00");
    EXPECT_EQ(formatClockTime(18.697374558), "18:41:50");  // 50.55 s truncated
    EXPECT_EQ(formatClockTime(-1e-17), "00:00:00");        // not "24:00:00"
}

TEST(FormatOrdinal, EnglishSuffixes) {
    std::string out;
    for (int n : {0, 1, 2, 3, 4, 11, 12, 13, 21, 22, 23, 101, 111, 112}) {
        formatOrdinal(n, out);
        out += ' ';
    }
    EXPECT_EQ(out, "0th. 1st. 2nd. 3rd. 4th. 11th. 12th. 13th. 21st. 22nd. 23rd. 101st. 111st. 112nd. ");
}

TEST(FormatDate, DefaultFormatterIsIsoOrNamedMonth) {
    std::string out;
    const double jd = julianDayFromCalendar(2000, 1, 1, 12.0);
    formatDate(jd, true, out);
    EXPECT_EQ(out, "2000-01-01");
    formatDate(jd, false, out);
    EXPECT_EQ(out, "Saturday, 01 January 2000");
    formatTimeOfDay(jd, false, out);
    EXPECT_EQ(out, "12:00:00");
    formatTimeOfDay(jd, true, out);
    EXPECT_EQ(out, "2451545.000000 Julian Days");
    // Rounded to the second first: 23:59:59.6 on 31 December is the next year.
    const double late = julianDayFromCalendar(2023, 12, 31, 23.0 + 59.0 / 60 + 59.6 / 3600);
    formatDate(late, false, out);
    EXPECT_EQ(out, "Monday, 01 January 2024");
    formatTimeOfDay(late, false, out);
    EXPECT_EQ(out, "00:00:00");
}

TEST(FormatDate, ReplaceableFormatter) {
    DateTimeFormatter custom;
    custom.shortDate = [](const BrokenDownTime& t) {
        return std::to_string(t.day) + "." + std::to_string(t.month) + ".";
    };
    setDateTimeFormatter(custom);
    std::string out;
    formatDate(julianDayFromCalendar(2024, 3, 20, 3.1), true, out);
    EXPECT_EQ(out, "20.3.");
    formatTimeOfDay(julianDayFromCalendar(2024, 3, 20, 3.1), false, out);  // empty member: default
    EXPECT_EQ(out, "03:06:00");
    setDateTimeFormatter({});
    formatDate(julianDayFromCalendar(2024, 3, 20, 3.1), true, out);
    EXPECT_EQ(out, "2024-03-20");
}

}  // namespace
}  // namespace celestra
