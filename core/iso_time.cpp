#include "core/iso_time.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace celestra {

namespace {

// Reads exactly `width` digits at text[pos].
bool digits(const std::string& text, size_t pos, size_t width, int& out) {
    if (pos + width > text.size()) return false;
    int v = 0;
    for (size_t i = pos; i < pos + width; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        v = v * 10 + (text[i] - '0');
    }
    out = v;
    return true;
}

int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return (month == 2 && leap) ? 29 : days[month - 1];
}

}  // namespace

std::optional<JulianDay> parseIsoTime(const std::string& text, std::string* problem) {
    if (problem) problem->clear();
    int year, month, day, hour, minute, second;
    if (!digits(text, 0, 4, year) || text.size() < 19 || text[4] != '-' || !digits(text, 5, 2, month) ||
        text[7] != '-' || !digits(text, 8, 2, day) || (text[10] != 'T' && text[10] != 't') ||
        !digits(text, 11, 2, hour) || text[13] != ':' || !digits(text, 14, 2, minute) || text[16] != ':' ||
        !digits(text, 17, 2, second))
        return std::nullopt;
    size_t pos = 19;
    double fraction = 0.0;
    if (pos < text.size() && text[pos] == '.') {
        ++pos;
        double scale = 0.1;
        const size_t start = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            fraction += (text[pos] - '0') * scale;
            scale /= 10.0;
            ++pos;
        }
        if (pos == start) return std::nullopt;
    }
    if (pos < text.size() && (text[pos] == 'Z' || text[pos] == 'z')) ++pos;
    if (pos != text.size()) return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 || second > 60)
        return std::nullopt;
    if (second == 60) {
        const JulianDay jd0h = julianDayFromCalendar(year, month, day, 0.0);
        const std::string date = text.substr(0, 10);
        std::string refusal;
        if (hour != 23 || minute != 59)
            refusal = text.substr(11, 8) +
                      " is not a time: second 60 occurs only as 23:59:60, on a day that ends "
                      "with a leap second";
        else if (!utcDayEndsWithLeapSecond(jd0h))
            refusal = date + " does not end with a leap second, so it has no 23:59:60";
        else if (fraction > 0.0)
            refusal = "a fraction of the leap second 23:59:60 cannot be held on the UTC scale used here: give " + date +
                      "T23:59:60 or the next day's 00:00:00";
        if (!refusal.empty()) {
            if (problem) *problem = refusal;
            return std::nullopt;
        }
        return std::nextafter(jd0h + 1.0, 0.0);
    }
    const double hours = hour + (minute + (second + fraction) / 60.0) / 60.0;
    return julianDayFromCalendar(year, month, day, hours);
}

std::string formatIsoTime(JulianDay jd) {
    const BrokenDownTime t = brokenDownTimeFromJulianDay(jd);
    char buffer[48];
    // Rounded up to a 0h that follows a leap second: the second is 23:59:60.
    const JulianDay rounded = julianDayFromCalendar(t.year, t.month, t.day, 0.0);
    if (t.hour == 0 && t.minute == 0 && t.second == 0 && jd < rounded && utcDayEndsWithLeapSecond(rounded - 1.0)) {
        const CalendarDate d = calendarFromJulianDay(rounded - 1.0);
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT23:59:60", d.year, d.month, d.day);
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

std::string formatIsoTimeMillis(JulianDay jd) {
    // Whole days from the midnight before, then milliseconds into that day.
    double dayStart = std::floor(jd + 0.5) - 0.5;
    long long ms = std::llround((jd - dayStart) * 86400000.0);
    if (ms >= 86400000) {
        dayStart += 1.0;
        ms -= 86400000;
    }
    const CalendarDate d = calendarFromJulianDay(dayStart);
    const int hour = static_cast<int>(ms / 3600000), minute = static_cast<int>(ms / 60000 % 60);
    const int second = static_cast<int>(ms / 1000 % 60), milli = static_cast<int>(ms % 1000);
    char buffer[48];
    if (milli == 0)
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", d.year, d.month, d.day, hour, minute,
                      second);
    else
        std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d.%03d", d.year, d.month, d.day, hour, minute,
                      second, milli);
    return buffer;
}

}  // namespace celestra
