// Angle and vector utilities, and the fixed text formats of angles, clock
// times, dates and ordinals. Angles between subsystems are degrees (right
// ascension, hour angle and sidereal time in hours); radians live only
// inside formulas.
#pragma once

#include <cmath>
#include <functional>
#include <string>

#include "core/time_scales.h"

namespace celestra {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kRadToDeg = 57.29577951308232;
constexpr double kHoursToRad = 0.2617993877991494;
constexpr double kArcsecPerRad = 206264.80624709636;
// The shorter factor the rotation and spherical helpers use.
constexpr double kDegToRadShort = 0.01745329251994;

struct Vector3 {
    double x = 0.0, y = 0.0, z = 0.0;

    Vector3& operator+=(const Vector3& o) {
        x += o.x;
        y += o.y;
        z += o.z;
        return *this;
    }
    Vector3& operator-=(const Vector3& o) {
        x -= o.x;
        y -= o.y;
        z -= o.z;
        return *this;
    }
    Vector3& operator*=(double s) {
        x *= s;
        y *= s;
        z *= s;
        return *this;
    }
    friend Vector3 operator+(Vector3 a, const Vector3& b) { return a += b; }
    friend Vector3 operator-(Vector3 a, const Vector3& b) { return a -= b; }
    friend Vector3 operator*(Vector3 a, double s) { return a *= s; }
    friend Vector3 operator*(double s, Vector3 a) { return a *= s; }
    friend Vector3 operator-(const Vector3& a) { return {-a.x, -a.y, -a.z}; }
    double dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
    Vector3 cross(const Vector3& o) const { return {y * o.z - z * o.y, z * o.x - x * o.z, x * o.y - y * o.x}; }
    double norm() const { return std::sqrt(dot(*this)); }
};

// radius, polar angle θ from +z (degrees), azimuth φ in the x-y plane from +x toward +y (degrees).
struct SphericalPoint {
    double radius = 0.0, theta = 0.0, phi = 0.0;
};

// a - floor(a / c) * c: [0, c) for c > 0.
double wrapFloor(double a, double c);
// 0 when c is 0; else a - trunc(a / c) * c, plus c when negative.
double wrapPositive(double a, double c);
// One step into [0, 360): callers give angles within one turn of the range.
double wrapDegrees(double a);
// Counter-clockwise-from-east angle <-> clockwise-from-north bearing (its own inverse).
double bearingFromMathAngle(double a);

// Right-handed rotations in place by `degrees`.
void rotateX(Vector3& v, double degrees);
void rotateY(Vector3& v, double degrees);
void rotateZ(Vector3& v, double degrees);

Vector3 cartesianFromSpherical(const SphericalPoint& p);
double distanceSquared2(const Vector3& a, const Vector3& b);
double distanceSquared3(const Vector3& a, const Vector3& b);

enum class AngleSignStyle {
    Signed,     // "-" or " "
    Latitude,   // "S " or "N "
    Longitude,  // "W " or "E "
};

// Angle display forms 0-8: 0 "%9.4lf°", 1 "%03d°%05.2lf'", 2 "%03d°%02d'%02d\"",
// 3 "%06.2lf°", 4 "%02d°%05.2lf'", 5 "%02d°%02d'%02d\"", 6 grads, 7 mils, 8 R-mils.
// The value is nudged away from zero by 2^-23 degree before it is split, so
// 29.9999999 prints as 30°00'. Minutes and seconds are truncated. Any other
// selector yields only the sign prefix. Text is UTF-8 (° is U+00B0).
void formatAngle(double value, int format, AngleSignStyle sign, bool append, std::string& out);
std::string formatAngle(double value, int format, AngleSignStyle sign = AngleSignStyle::Signed);

// Degrees and minutes of an angle in degrees, rounded (not truncated) to
// `minuteDecimals` decimals of a minute (0-6): the sign style's prefix, the
// whole degrees zero-padded to `degreeDigits` (1-3), "°", the minutes
// zero-padded to two digits, "'". A rounding up to 60' carries into the
// degrees; a value that rounds to zero has no negative sign. For values
// shown to the precision they were measured with (0.1' of an altitude,
// 0.001' of a GPS position), where formatAngle's truncated hundredths would
// misstate the last digit. 48.1173 with 2, 3, Latitude: "N 48°07.038'".
std::string formatDegreesMinutes(double value, int degreeDigits, int minuteDecimals, AngleSignStyle sign);

// "%02d:%02d:%02d" of (hours + offsetHours) wrapped into [0, 24), truncated.
void formatClockTime(double hours, double offsetHours, std::string& out);
std::string formatClockTime(double hours, double offsetHours = 0.0);

// Appends n with its English suffix: "1st.", "2nd.", "11th.", "112nd.".
void formatOrdinal(int n, std::string& out);

// Date and 24-hour time of day of a Julian day (converted to a broken-down
// time, rounded to the second, first), through the installed formatter.
void formatDate(JulianDay jd, bool shortForm, std::string& out);
// With asJulianDay: "%14.6lf Julian Days" of jd itself.
void formatTimeOfDay(JulianDay jd, bool asJulianDay, std::string& out);

// The formatter behind formatDate/formatTimeOfDay. The engine's default
// writes dates that no reader can take for another: ISO 8601 "2024-03-20"
// (short), "Wednesday, 20 March 2024" (long) and "03:06:00", in English
// whatever the locale (the command line's texts). The GUI replaces it with
// one built on its toolkit's locale, the month as a name.
struct DateTimeFormatter {
    std::function<std::string(const BrokenDownTime&)> shortDate;
    std::function<std::string(const BrokenDownTime&)> longDate;
    std::function<std::string(const BrokenDownTime&)> timeOfDay;
};
void setDateTimeFormatter(DateTimeFormatter formatter);  // empty members restore the defaults

}  // namespace celestra
