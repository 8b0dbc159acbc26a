#include "core/angles.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <iomanip>
#include <locale>
#include <mutex>
#include <sstream>

#include "core/number_text.h"

namespace celestra {

double wrapFloor(double a, double c) { return a - std::floor(a / c) * c; }

double wrapPositive(double a, double c) {
    if (c == 0.0) return 0.0;
    const double r = a - std::trunc(a / c) * c;
    return r < 0.0 ? r + c : r;
}

double wrapDegrees(double a) {
    if (a < 0.0) return a + 360.0;
    if (a >= 360.0) return a - 360.0;
    return a;
}

double bearingFromMathAngle(double a) {
    if (a < 0.0) a += 360.0;
    double v = a - 90.0;
    if (v < 0.0) v += 360.0;
    return v > 0.0 ? 360.0 - v : v;
}

// The rotation and spherical helpers use the 13-digit degree factor
// (kDegToRadShort); the 4e-15 relative difference is below anything shown.
void rotateX(Vector3& v, double degrees) {
    const double a = degrees * kDegToRadShort, c = std::cos(a), s = std::sin(a);
    const double y = v.y * c - v.z * s, z = v.z * c + v.y * s;
    v.y = y;
    v.z = z;
}

void rotateY(Vector3& v, double degrees) {
    const double a = degrees * kDegToRadShort, c = std::cos(a), s = std::sin(a);
    const double x = v.x * c + v.z * s, z = v.z * c - v.x * s;
    v.x = x;
    v.z = z;
}

void rotateZ(Vector3& v, double degrees) {
    const double a = degrees * kDegToRadShort, c = std::cos(a), s = std::sin(a);
    const double x = v.x * c - v.y * s, y = v.y * c + v.x * s;
    v.x = x;
    v.y = y;
}

Vector3 cartesianFromSpherical(const SphericalPoint& p) {
    const double theta = p.theta * kDegToRadShort, phi = p.phi * kDegToRadShort;
    return {p.radius * std::cos(phi) * std::sin(theta), p.radius * std::sin(phi) * std::sin(theta),
            p.radius * std::cos(theta)};
}

double distanceSquared2(const Vector3& a, const Vector3& b) {
    const double dx = a.x - b.x, dy = a.y - b.y;
    return dx * dx + dy * dy;
}

double distanceSquared3(const Vector3& a, const Vector3& b) {
    const double dz = a.z - b.z;
    return distanceSquared2(a, b) + dz * dz;
}

// ---------------------------------------------------------------------------
// Angle text

namespace {
constexpr double kAngleNudge = 1.1920928955078125e-07;  // 2^-23 degree
const char* const kDegreeSign = "\xC2\xB0";             // U+00B0 in UTF-8

const char* signPrefix(AngleSignStyle sign, bool negative) {
    switch (sign) {
        case AngleSignStyle::Signed: return negative ? "-" : " ";
        case AngleSignStyle::Latitude: return negative ? "S " : "N ";
        case AngleSignStyle::Longitude: return negative ? "W " : "E ";
    }
    return "";
}
}  // namespace

/*
 * formatAngle: text of an angle in degrees in one of the nine display forms.
 * Notes:
 *  1. The value is nudged 2^-23 degree (0.0004") away from zero, then the
 *     degrees, minutes and seconds are truncated, so 29.9999999 reads 30°00'
 *     and a displayed field never reaches 60.
 *  2. The decimal minutes of forms 1 and 4 are truncated to hundredths too:
 *     printf's rounding would turn 29°59.996' into 29°60.00'.
 *  3. -0.0 counts as non-negative. The whole degrees are printed from a
 *     double, so huge or non-finite values give long text or "nan"/"inf",
 *     never undefined behaviour.
 */
void formatAngle(double value, int format, AngleSignStyle sign, bool append, std::string& out) {
    const double v = value >= 0.0 ? value + kAngleNudge : value - kAngleNudge;
    const double av = std::fabs(v);
    const double degrees = std::floor(av);
    const double minutes = (av - degrees) * 60.0;
    const double wholeMinutes = std::floor(minutes);
    const double seconds = std::floor((minutes - wholeMinutes) * 60.0);
    const double minutesHundredths = std::floor(minutes * 100.0) / 100.0;

    // Forms 0-2 give three-digit degrees, 3-5 two; 6-8 are the artillery units.
    const int width = format < 3 ? 3 : 2;
    char body[96] = "";
    switch (format) {
        case 0: snprintfC(body, sizeof body, "%9.4lf%s", av, kDegreeSign); break;
        case 3: snprintfC(body, sizeof body, "%06.2lf%s", av, kDegreeSign); break;
        case 1:
        case 4:
            snprintfC(body, sizeof body, "%0*.0lf%s%05.2lf'", width, degrees, kDegreeSign, minutesHundredths);
            break;
        case 2:
        case 5:
            snprintfC(body, sizeof body, "%0*.0lf%s%02.0lf'%02.0lf\"", width, degrees, kDegreeSign, wholeMinutes,
                      seconds);
            break;
        case 6: snprintfC(body, sizeof body, "%6.1lf grad", av / 360.0 * 400.0); break;
        case 7: snprintfC(body, sizeof body, "%7.1lf mil", av / 360.0 * 6400.0); break;
        case 8: snprintfC(body, sizeof body, "%7.1lf R-mil", av / 360.0 * 6000.0); break;
        default: break;
    }

    if (!append) out.clear();
    out += signPrefix(sign, v < 0.0);
    out += body;
}

std::string formatAngle(double value, int format, AngleSignStyle sign) {
    std::string s;
    formatAngle(value, format, sign, false, s);
    return s;
}

std::string formatDegreesMinutes(double value, int degreeDigits, int minuteDecimals, AngleSignStyle sign) {
    const int decimals = std::clamp(minuteDecimals, 0, 6);
    const double scale = std::pow(10.0, decimals);
    // Rounded as a whole number of the last minute digit, so 59.96' at one
    // decimal carries into the next degree instead of printing 60.0'.
    const double units = std::round(std::fabs(value) * 60.0 * scale);
    const double perDegree = 60.0 * scale;
    const double degrees = std::floor(units / perDegree);
    const double minutes = (units - degrees * perDegree) / scale;
    char body[96];
    snprintfC(body, sizeof body, "%0*.0lf%s%0*.*lf'", std::clamp(degreeDigits, 1, 3), degrees, kDegreeSign,
              decimals > 0 ? decimals + 3 : 2, decimals, minutes);
    return std::string(signPrefix(sign, value < 0.0 && units > 0.0)) + body;
}

void formatClockTime(double hours, double offsetHours, std::string& out) {
    double t = hours + offsetHours;
    t = t - std::floor(t / 24.0) * 24.0;
    if (t >= 24.0) t = 0.0;  // a tiny negative t wraps to exactly 24
    const double h = std::floor(t);
    const double m = (t - h) * 60.0;
    const double wholeM = std::floor(m);
    const double s = std::floor((m - wholeM) * 60.0);
    char buffer[64];
    snprintfC(buffer, sizeof buffer, "%02.0lf:%02.0lf:%02.0lf", h, wholeM, s);
    out = buffer;
}

std::string formatClockTime(double hours, double offsetHours) {
    std::string s;
    formatClockTime(hours, offsetHours, s);
    return s;
}

void formatOrdinal(int n, std::string& out) {
    const char* suffix = "th.";
    if (static_cast<unsigned>(n) - 10u >= 10u) {
        switch (n % 10) {
            case 1: suffix = "st."; break;
            case 2: suffix = "nd."; break;
            case 3: suffix = "rd."; break;
            default: break;
        }
    }
    out += std::to_string(n);
    out += suffix;
}

// ---------------------------------------------------------------------------
// Dates and times of day

namespace {

std::tm tmFromBrokenDownTime(const BrokenDownTime& t) {
    std::tm tm{};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    // Weekday and day of year from the Julian day of the date (JD + 1.5 mod 7: 0 = Sunday).
    const double jd = julianDayFromCalendar(t.year, t.month, t.day, 0.0);
    const long whole = static_cast<long>(std::floor(jd + 1.5));
    tm.tm_wday = static_cast<int>(((whole % 7) + 7) % 7);
    tm.tm_yday = static_cast<int>(jd - julianDayFromCalendar(t.year, 1, 1, 0.0));
    tm.tm_isdst = -1;
    return tm;
}

// In the classic locale: the engine's own texts never follow a locale.
std::string classicFormat(const BrokenDownTime& t, const char* pattern) {
    const std::tm tm = tmFromBrokenDownTime(t);
    std::ostringstream os;
    os.imbue(std::locale::classic());
    os << std::put_time(&tm, pattern);
    return os.str();
}

DateTimeFormatter defaultFormatter() {
    return {
        [](const BrokenDownTime& t) { return classicFormat(t, "%Y-%m-%d"); },
        [](const BrokenDownTime& t) { return classicFormat(t, "%A, %d %B %Y"); },
        [](const BrokenDownTime& t) { return classicFormat(t, "%H:%M:%S"); },
    };
}

// The GUI installs its formatter once at start while the worker may already
// format; the mutex keeps the swap and the copies apart.
std::mutex formatterMutex;
DateTimeFormatter& formatterSlot() {
    static DateTimeFormatter f = defaultFormatter();
    return f;
}
DateTimeFormatter currentFormatter() {
    std::lock_guard<std::mutex> lock(formatterMutex);
    return formatterSlot();
}

}  // namespace

void setDateTimeFormatter(DateTimeFormatter formatter) {
    const DateTimeFormatter defaults = defaultFormatter();
    if (!formatter.shortDate) formatter.shortDate = defaults.shortDate;
    if (!formatter.longDate) formatter.longDate = defaults.longDate;
    if (!formatter.timeOfDay) formatter.timeOfDay = defaults.timeOfDay;
    std::lock_guard<std::mutex> lock(formatterMutex);
    formatterSlot() = std::move(formatter);
}

void formatDate(JulianDay jd, bool shortForm, std::string& out) {
    const BrokenDownTime t = brokenDownTimeFromJulianDay(jd);
    const DateTimeFormatter f = currentFormatter();
    out = shortForm ? f.shortDate(t) : f.longDate(t);
}

void formatTimeOfDay(JulianDay jd, bool asJulianDay, std::string& out) {
    if (asJulianDay) {
        char buffer[64];
        snprintfC(buffer, sizeof buffer, "%14.6lf Julian Days", jd);
        out = buffer;
        return;
    }
    const DateTimeFormatter f = currentFormatter();
    out = f.timeOfDay(brokenDownTimeFromJulianDay(jd));
}

}  // namespace celestra
