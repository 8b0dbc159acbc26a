#include "cli/iso_time.h"

#include <cctype>
#include <cstdio>

namespace celestra::cli {

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

std::optional<JulianDay> parseIsoTime(const std::string& text) {
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
    // A leap second (:60) is accepted and lands on the next minute's start.
    const double hours = hour + (minute + (second + fraction) / 60.0) / 60.0;
    return julianDayFromCalendar(year, month, day, hours);
}

std::string formatIsoTime(JulianDay jd) {
    const BrokenDownTime t = brokenDownTimeFromJulianDay(jd);
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
                  t.second);
    return buffer;
}

}  // namespace celestra::cli
