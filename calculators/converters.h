// The "DMS and HMS" and "Julian Day" converters: decimal degrees (or hours)
// to degrees, minutes and seconds and back, and calendar date and time to a
// Julian day and back by the integer calendar algorithms.
//
// Sign: an angle between -1° and 0° has a whole-degree field of 0, which
// cannot carry the minus. Every result here therefore carries an explicit
// `negative` flag, the degree text is "-00" for it, and the way back reads
// the sign from the flag (or from a "-0" degree field) rather than from the
// value of the degrees alone.
#pragma once

#include <string>

namespace celestra {

struct DmsValue {
    bool negative = false;        // the angle is below zero (also for -1° < x < 0)
    int degrees = 0;              // whole degrees, magnitude
    int minutes = 0;              // whole minutes, magnitude (with seconds only)
    double minutesDecimal = 0.0;  // minutes with fraction, magnitude (without seconds)
    double seconds = 0.0;         // seconds with fraction, magnitude (with seconds only)
    bool useSeconds = false;
    // The page's three fields: "%02d" degrees with the sign ("-00", "-12",
    // "359"); minutes "%02d" with seconds, else "%lf"; seconds "%lf" or "".
    std::string degreesText, minutesText, secondsText;
    // One line: "-00° 30′", "359° 30′", "-12° 30′ 00″" (U+2032, U+2033);
    // fractions are shown to six places with trailing zeros dropped.
    std::string text;
};

// The largest magnitude the converter takes, degrees or hours: the whole
// degrees must fit their field, and the value counted in microseconds of
// arc must stay exact in a double. Callers refuse anything larger.
constexpr double kDmsMaxMagnitude = 999999.0;

// Decimal degrees (or hours) to degrees, minutes and, with useSeconds,
// seconds, rounded to the microsecond of arc (without seconds, to the
// millionth of a minute) with the carry into minutes and degrees: 0.5°
// gives 30′ 00″, 0.9999999999° gives 01° 00′ 00″. A magnitude above
// kDmsMaxMagnitude is taken as that limit.
DmsValue decimalToDms(double value, bool useSeconds);

// Degrees, minutes and seconds back to decimal; the result is negative when
// `negative` is set (minutes and seconds are taken as magnitudes then).
double dmsToDecimal(bool negative, double degrees, double minutes, double seconds, bool useSeconds);
// The page's form: the sign comes from the degree field itself, so a typed
// "-0" (negative zero) still makes the result negative.
double dmsToDecimal(double degrees, double minutes, double seconds, bool useSeconds);

// "%lf" of a double, the converters' output form ("-12.500000").
std::string formatPlainDecimal(double value);

struct CivilDateTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// The integer day-number expression (divisions truncating toward zero),
// minus 0.5, plus the time of day. Gregorian calendar, years after -4800.
double julianDayFromCivil(const CivilDateTime& t);

// The inverse: whole seconds by truncation, then the carries: 500 ms or more
// add a second, and 60 s, 60 min and 24 h each carry into the next field, the
// last moving to the next calendar day with month and year carry.
CivilDateTime civilFromJulianDay(double jd);

// "YYYY-MM-DDThh:mm:ss" of a civil date and time (years 0000-9999 as four digits).
std::string formatCivilIso(const CivilDateTime& t);

}  // namespace celestra
