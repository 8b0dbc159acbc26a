#include "calculators/converters.h"

#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace celestra {
namespace {

// "%lf", then trailing zeros (and a bare point) dropped, the whole part
// padded to two digits: 30.000000 -> "30", 5.25 -> "05.25".
std::string compactField(double magnitude) {
    char buf[64];
    snprintfC(buf, sizeof buf, "%lf", magnitude);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    const size_t point = s.find('.');
    const size_t wholeDigits = point == std::string::npos ? s.size() : point;
    if (wholeDigits < 2) s.insert(0, 2 - wholeDigits, '0');
    return s;
}

std::string printf02d(int v) {
    char buf[32];
    snprintfC(buf, sizeof buf, "%02d", v);
    return buf;
}

}  // namespace

std::string formatPlainDecimal(double value) {
    char buf[64];
    snprintfC(buf, sizeof buf, "%lf", value);
    return buf;
}

DmsValue decimalToDms(double value, bool useSeconds) {
    DmsValue out;
    out.useSeconds = useSeconds;
    // Rounded once, in whole units of the last place shown (a microsecond of
    // arc with seconds, a millionth of a minute without), then split: a
    // rounding up carries into the minutes and degrees, so 0.9999999999° is
    // 01° 00′ 00″ and never 00° 59′ 60″. |value| <= 999999 keeps the count
    // below 2^53, where every unit is exact.
    const double magnitude = std::fmin(std::fabs(value), kDmsMaxMagnitude);
    const long long unitsPerMinute = useSeconds ? 60'000'000LL : 1'000'000LL;
    const long long units = std::llround(magnitude * 60.0 * static_cast<double>(unitsPerMinute));
    const long long perDegree = 60 * unitsPerMinute;
    out.negative = value < 0.0 && units != 0;
    out.degrees = static_cast<int>(units / perDegree);
    const long long rest = units % perDegree;
    out.degreesText = (out.negative ? "-" : "") + printf02d(out.degrees);
    if (useSeconds) {
        out.minutes = static_cast<int>(rest / unitsPerMinute);
        out.seconds = static_cast<double>(rest % unitsPerMinute) / 1e6;
        out.minutesDecimal = out.minutes + out.seconds / 60.0;
        out.minutesText = printf02d(out.minutes);
        out.secondsText = formatPlainDecimal(out.seconds);
        out.text = out.degreesText + "\u00b0 " + out.minutesText + "\u2032 " + compactField(out.seconds) + "\u2033";
    } else {
        out.minutesDecimal = static_cast<double>(rest) / 1e6;
        out.minutes = static_cast<int>(out.minutesDecimal);
        out.minutesText = formatPlainDecimal(out.minutesDecimal);
        out.secondsText.clear();
        out.text = out.degreesText + "\u00b0 " + compactField(out.minutesDecimal) + "\u2032";
    }
    return out;
}

double dmsToDecimal(bool negative, double degrees, double minutes, double seconds, bool useSeconds) {
    const double magnitude =
        std::fabs(degrees) + std::fabs(minutes) / 60.0 + (useSeconds ? std::fabs(seconds) / 3600.0 : 0.0);
    return negative ? -magnitude : magnitude;
}

double dmsToDecimal(double degrees, double minutes, double seconds, bool useSeconds) {
    return dmsToDecimal(std::signbit(degrees), degrees, minutes, seconds, useSeconds);
}

double julianDayFromCivil(const CivilDateTime& t) {
    const long y = t.year, m = t.month, d = t.day;
    const long a = (m - 14) / 12;
    const long dayNumber =
        d - 32075 + 1461 * (y + 4800 + a) / 4 + 367 * (m - 2 - a * 12) / 12 - 3 * ((y + 4900 + a) / 100) / 4;
    const double hours = t.hour + t.minute / 60.0 + t.second / 3600.0;
    return static_cast<double>(dayNumber) - 0.5 + hours / 24.0;
}

namespace {

void civilDateFromDayNumber(long d, CivilDateTime& out) {
    const long n = (4 * d + 274276) / 146097;
    const long h = (146097 * n + 3) / 4;
    const long i = 4000 * (d - h + 68570) / 1461001;
    const long l = d - h + 68600 - 1461 * i / 4;
    const long j = 80 * l / 2447;
    out.day = static_cast<int>(l - 2447 * j / 80);
    const long k = j / 11;
    out.month = static_cast<int>(j + 2 - 12 * k);
    out.year = static_cast<int>(100 * n + i + k - 4900);
}

}  // namespace

CivilDateTime civilFromJulianDay(double jd) {
    CivilDateTime out;
    const long d = static_cast<long>(std::trunc(jd + 0.5));
    double hours = std::fmod(jd + 0.5, 1.0) * 24.0;
    if (hours < 0.0) hours += 24.0;  // days before JD 0.5 (proleptic far past)
    int hh = static_cast<int>(hours);
    double frac = (hours - hh) * 60.0;
    int mm = static_cast<int>(frac);
    frac = (frac - mm) * 60.0;
    int ss = static_cast<int>(frac);
    const double ms = (frac - ss) * 1000.0;
    if (ms >= 500.0) ++ss;
    if (ss >= 60) {
        ss = 0;
        ++mm;
    }
    if (mm >= 60) {
        mm = 0;
        ++hh;
    }
    long dayNumber = d;
    if (hh >= 24) {
        hh = 0;
        ++dayNumber;
    }
    civilDateFromDayNumber(dayNumber, out);
    out.hour = hh;
    out.minute = mm;
    out.second = ss;
    return out;
}

std::string formatCivilIso(const CivilDateTime& t) {
    char buf[64];
    snprintfC(buf, sizeof buf, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
    return buf;
}

}  // namespace celestra
