#include "gps/nmea0183.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "core/number_text.h"

namespace celestra {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n' || c == '\0'; }

bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Two decimal digits at text[pos], or -1.
int twoDigits(const std::string& text, size_t pos) {
    if (pos + 1 >= text.size() || !isDigit(text[pos]) || !isDigit(text[pos + 1])) return -1;
    return (text[pos] - '0') * 10 + (text[pos + 1] - '0');
}

int daysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return kDays[month - 1];
}

bool validDate(const NmeaDate& d) {
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

// Decimal number at the start of the text (a leading "+" allowed); 0 when
// there is none. Independent of the C locale, which a GUI may have changed.
template <class T>
T leadingNumber(const std::string& text) {
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') ++first;
    T value{};
    const auto result = std::from_chars(first, last, value);
    if (result.ec != std::errc()) return T{};
    if constexpr (std::is_floating_point_v<T>) {
        if (!std::isfinite(value)) return T{};  // "nan", "inf" are not NMEA numbers
    }
    return value;
}

std::string format(const char* fmt, double a) {
    char buffer[64];
    snprintfC(buffer, sizeof buffer, fmt, a);
    return buffer;
}

std::string clockText(const BrokenDownTime& t) {
    char buffer[48];
    snprintfC(buffer, sizeof buffer, "%d:%d:%d", t.hour, t.minute, t.second);
    return buffer;
}

}  // namespace

BrokenDownTime makeBrokenDownTime(int year, int month, int day, int hour, int minute, int second, int milliseconds) {
    BrokenDownTime t;
    t.year = static_cast<uint16_t>(year);
    t.month = static_cast<uint16_t>(month);
    t.day = static_cast<uint16_t>(day);
    t.hour = static_cast<uint16_t>(hour);
    t.minute = static_cast<uint16_t>(minute);
    t.second = static_cast<uint16_t>(second);
    t.milliseconds = static_cast<uint16_t>(milliseconds);
    return t;
}

NmeaDate systemUtcDate() {
    const BrokenDownTime utc = brokenDownTimeFromJulianDay(currentJulianDayUtc());
    return NmeaDate{utc.year, utc.month, utc.day, utc.hour * 3600 + utc.minute * 60 + std::min<int>(utc.second, 59)};
}

// ---------------------------------------------------------------------------

CNmeaSentence::CNmeaSentence(std::string_view line) {
    if (line.size() > kMaxLength) line = line.substr(0, kMaxLength + 1);  // still too long: refused below
    text_.assign(line.data(), line.size());

    size_t end = 0;  // end of the sentence proper: first CR, LF or NUL
    while (end < text_.size() && !isLineEnd(text_[end])) ++end;

    const size_t star = text_.find('*');
    hasStar_ = star != std::string::npos && star < end;
    const size_t dataEnd = hasStar_ ? star : end;
    if (hasStar_) checksumText_ = text_.substr(star + 1, end - star - 1);

    // Fields after the "$" (or from the start for a line without one, so that
    // field access stays defined; such a line is not well formed).
    const size_t begin = (!text_.empty() && text_[0] == '$') ? 1 : 0;
    size_t pos = begin;
    while (true) {
        const size_t comma = text_.find(',', pos);
        if (comma == std::string::npos || comma >= dataEnd) {
            fields_.push_back(text_.substr(pos, dataEnd - pos));
            break;
        }
        fields_.push_back(text_.substr(pos, comma - pos));
        pos = comma + 1;
    }

    bool ok = begin == 1 && text_.size() <= kMaxLength;
    // Only CR and LF may follow the sentence proper.
    for (size_t i = end; ok && i < text_.size(); ++i) ok = text_[i] == '\r' || text_[i] == '\n';
    for (size_t i = 0; ok && i < end; ++i) ok = text_[i] >= 0x20 && text_[i] <= 0x7E;
    if (ok) {
        const std::string& address = fields_[0];
        ok = address.size() >= 3 && address.size() <= 10;
        for (char c : address) ok = ok && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || isDigit(c));
    }
    wellFormed_ = ok;
}

std::string CNmeaSentence::Field(size_t n) const { return n < fields_.size() ? fields_[n] : std::string(); }

int CNmeaSentence::Integer(size_t n) const { return leadingNumber<int>(Field(n)); }

double CNmeaSentence::Double(size_t n) const { return leadingNumber<double>(Field(n)); }

NmeaTruth CNmeaSentence::Truth(size_t n) const {
    const std::string f = Field(n);
    if (f == "A") return NmeaTruth::True;
    if (f == "V") return NmeaTruth::False;
    return NmeaTruth::Unknown;
}

NmeaNorthSouth CNmeaSentence::NorthOrSouth(size_t n) const {
    const std::string f = Field(n);
    if (f == "N") return NmeaNorthSouth::North;
    if (f == "S") return NmeaNorthSouth::South;
    return NmeaNorthSouth::Unknown;
}

NmeaEastWest CNmeaSentence::EastOrWest(size_t n) const {
    const std::string f = Field(n);
    if (f == "E") return NmeaEastWest::East;
    if (f == "W") return NmeaEastWest::West;
    return NmeaEastWest::Unknown;
}

bool CNmeaSentence::Time(size_t n, const NmeaDate& date, BrokenDownTime& out) const {
    out = BrokenDownTime();
    const std::string f = Field(n);
    if (f.size() <= 5) return false;
    const int hour = twoDigits(f, 0), minute = twoDigits(f, 2), second = twoDigits(f, 4);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60) return false;
    if (!validDate(date)) return false;
    NmeaDate day = date;
    if (date.secondOfDay >= 0) {
        const int difference = hour * 3600 + minute * 60 + second - date.secondOfDay;
        if (difference > 43200 || difference < -43200) {
            const CalendarDate c = calendarFromJulianDay(julianDayFromCalendar(date.year, date.month, date.day, 12.0) +
                                                         (difference > 0 ? -1.0 : 1.0));
            day = NmeaDate{c.year, c.month, c.day};
        }
    }
    int milliseconds = 0;
    if (f.size() > 6 && f[6] == '.') {
        int scale = 100;
        for (size_t i = 7; i < f.size() && isDigit(f[i]) && scale > 0; ++i, scale /= 10)
            milliseconds += (f[i] - '0') * scale;
    }
    out = makeBrokenDownTime(day.year, day.month, day.day, hour, minute, second, milliseconds);
    return true;
}

uint8_t CNmeaSentence::ComputeChecksum() const {
    uint8_t sum = 0;
    for (size_t i = 1; i < text_.size(); ++i) {
        const char c = text_[i];
        if (c == '*' || c == '\r' || c == '\n') break;
        sum ^= static_cast<uint8_t>(c);
    }
    return sum;
}

NmeaTruth CNmeaSentence::IsChecksumBad() const {
    if (!hasStar_ || checksumText_.empty()) return NmeaTruth::Unknown;
    // Compared as a number, so "3c" and "3C" are the same checksum; anything
    // but one or two hexadecimal digits cannot match.
    if (checksumText_.size() > 2) return NmeaTruth::True;
    int value = 0;
    for (char c : checksumText_) {
        const int d = hexDigit(c);
        if (d < 0) return NmeaTruth::True;
        value = value * 16 + d;
    }
    return value == ComputeChecksum() ? NmeaTruth::False : NmeaTruth::True;
}

std::string appendNmeaChecksum(const std::string& sentence) {
    const CNmeaSentence s(sentence);
    char suffix[8];
    snprintfC(suffix, sizeof suffix, "*%02X%c%c", s.ComputeChecksum(), 13, 10);
    return sentence + suffix;
}

// ---------------------------------------------------------------------------

std::string NmeaLatitude::Write() const {
    return format("%07.2f", value) + (hemisphere == NmeaNorthSouth::South ? ",S" : ",N");
}

std::string NmeaLongitude::Write() const {
    return format("%08.2f", value) + (hemisphere == NmeaEastWest::West ? ",W" : ",E");
}

std::string NmeaPosition::PlainText() const {
    char buffer[160];
    snprintfC(buffer, sizeof buffer, "Latitude %d %8.5lf%s%d %8.5lf%s", latitude.WholeDegrees(), latitude.Minutes(),
              latitude.hemisphere == NmeaNorthSouth::North ? " North, Longitude " : " South, Longitude ",
              longitude.WholeDegrees(), longitude.Minutes(),
              longitude.hemisphere == NmeaEastWest::East ? " East" : " West");
    return buffer;
}

namespace {

// Fields first..first+3: latitude, N/S, longitude, E/W.
NmeaPosition readPosition(const CNmeaSentence& s, size_t first) {
    NmeaPosition p;
    p.latitude.value = s.Double(first);
    p.latitude.hemisphere = s.NorthOrSouth(first + 1);
    p.longitude.value = s.Double(first + 2);
    p.longitude.hemisphere = s.EastOrWest(first + 3);
    // Plain unsigned decimals: ddmm.mmmm has neither sign nor exponent.
    const auto plain = [](const std::string& f) {
        bool point = false, digit = false;
        for (char c : f) {
            if (c == '.' && !point) point = true;
            else if (isDigit(c)) digit = true;
            else return false;
        }
        return digit;
    };
    const auto inRange = [](double value, double maxDegrees) {
        return value >= 0.0 && value <= maxDegrees * 100.0 && value - 100.0 * nmeaWholeDegrees(value) < 60.0;
    };
    p.present = plain(s.Field(first)) && plain(s.Field(first + 2)) &&
                p.latitude.hemisphere != NmeaNorthSouth::Unknown && p.longitude.hemisphere != NmeaEastWest::Unknown &&
                inRange(p.latitude.value, 90.0) && inRange(p.longitude.value, 180.0);
    return p;
}

}  // namespace

bool CNmeaResponse::Parse(const CNmeaSentence& sentence, const NmeaDate& date) {
    const NmeaTruth bad = sentence.IsChecksumBad();
    if (bad == NmeaTruth::True) {
        errorMessage_ = "Invalid Checksum";
        return false;
    }
    if (bad == NmeaTruth::Unknown && RequiresChecksum()) {
        errorMessage_ = "Missing Checksum";
        return false;
    }
    Decode(sentence, date);
    errorMessage_ = "No Error";
    return true;
}

void CNmeaGGA::Decode(const CNmeaSentence& s, const NmeaDate& date) {
    utcTimeText = s.Field(1);
    timeValid = s.Time(1, date, time);
    position = readPosition(s, 2);
    gpsQuality = s.Integer(6);
    numberOfSatellitesInUse = s.Integer(7);
    horizontalDilutionOfPrecision = s.Double(8);
    antennaAltitudeMeters = s.Double(9);
    geoidalSeparationMeters = s.Double(11);
    ageOfDifferentialGpsDataSeconds = s.Double(13);
    differentialReferenceStationId = s.Integer(14);
}

std::string CNmeaGGA::PlainText() const {
    std::string text = "At " + clockText(time) + " UTC, you were at " + position.PlainText() + ", ";
    if (gpsQuality == 1) text += "based upon a GPS fix";
    else if (gpsQuality == 2) text += "based upon a differential GPS fix";
    else text += "a GPS fix was not available";
    char buffer[64];
    snprintfC(buffer, sizeof buffer, ", %d satellites are in use.", numberOfSatellitesInUse);
    return text + buffer;
}

void CNmeaGLL::Decode(const CNmeaSentence& s, const NmeaDate& date) {
    position = readPosition(s, 1);
    utcTimeText = s.Field(5);
    timeValid = s.Time(5, date, time);
    isDataValid = s.Truth(6);
    modeIndicator = s.Field(7);
}

std::string CNmeaGLL::PlainText() const {
    return "At " + clockText(time) + " UTC, you were at " + position.PlainText() + ".";
}

void CNmeaRMC::Decode(const CNmeaSentence& s, const NmeaDate& date) {
    utcTimeText = s.Field(1);
    isDataValid = s.Truth(2);
    position = readPosition(s, 3);
    speedOverGroundKnots = s.Double(7);
    trackMadeGoodDegreesTrue = s.Double(8);
    dateText = s.Field(9);
    magneticVariation = s.Double(10);
    magneticVariationDirection = s.EastOrWest(11);
    modeIndicator = s.Field(12);
    navigationalStatus = s.Field(13);

    NmeaDate own = date;
    if (dateText.size() == 6) {
        const int dd = twoDigits(dateText, 0), mm = twoDigits(dateText, 2), yy = twoDigits(dateText, 4);
        // Two-digit years: 80-99 are 1980-1999 (GPS time starts in 1980), the rest 2000-2079.
        const NmeaDate candidate{yy < 80 ? 2000 + yy : 1900 + yy, mm, dd};
        if (dd >= 0 && mm >= 0 && yy >= 0 && validDate(candidate)) own = candidate;
    }
    timeValid = s.Time(1, own, time);
}

std::string CNmeaRMC::PlainText() const {
    std::string text = "At " + clockText(time) + " UTC, you were at " + position.PlainText() + ", making ";
    text += format("%lf", speedOverGroundKnots) + " knots, track made good ";
    text += format("%lf", trackMadeGoodDegreesTrue) + " degrees true.";
    return text;
}

void CNmeaZDA::Decode(const CNmeaSentence& s, const NmeaDate&) {
    utcTimeText = s.Field(1);
    day = s.Integer(2);
    month = s.Integer(3);
    year = s.Integer(4);
    localHourDeviation = s.Integer(5);
    localMinutesDeviation = s.Integer(6);
    timeValid = s.Time(1, NmeaDate{year, month, day}, time);
}

void CNmeaHDG::Decode(const CNmeaSentence& s, const NmeaDate&) {
    magneticSensorHeadingDegrees = s.Double(1);
    magneticDeviationDegrees = s.Double(2);
    magneticDeviationDirection = s.EastOrWest(3);
    magneticVariationDegrees = s.Double(4);
    magneticVariationDirection = s.EastOrWest(5);
}

void CNmeaHDT::Decode(const CNmeaSentence& s, const NmeaDate&) { degreesTrue = s.Double(1); }

std::string CNmeaHDT::PlainText() const { return format("Your true heading is %6.2lf degrees.", degreesTrue); }

// ---------------------------------------------------------------------------

CNmea0183::CNmea0183() : responses_{&Gga, &Gll, &Hdg, &Hdt, &Rmc, &Zda} {}

CNmeaResponse* CNmea0183::Find(const std::string& type) {
    // Binary search over the sorted table, starting at the middle element,
    // with a bound on the probes so that a damaged table cannot loop.
    const int count = static_cast<int>(responses_.size());
    const int maxProbes = count < 20 ? 10 : count / 2 + 2;
    int low = 0, high = count - 1;
    for (int probes = 0; probes < maxProbes && low <= high; ++probes) {
        const int mid = low + (high - low) / 2;
        const int order = type.compare(responses_[mid]->Type());
        if (order == 0) return responses_[mid];
        if (order < 0) high = mid - 1;
        else low = mid + 1;
    }
    return nullptr;
}

bool CNmea0183::Parse(std::string_view line) {
    const CNmeaSentence sentence(line);
    if (!sentence.IsWellFormed()) {
        errorMessage_ = "Not an NMEA sentence";
        lastReceived_.clear();
        return false;
    }
    const std::string address = sentence.Field(0);
    const std::string type = address[0] == 'P' ? address : address.substr(address.size() - 3);
    errorMessage_ = type + " is an unknown type of sentence";
    lastReceived_ = type;

    CNmeaResponse* response = Find(type);
    if (!response) return false;
    const NmeaDate date = date_ ? *date_ : systemUtcDate();
    if (!response->Parse(sentence, date)) {
        errorMessage_ = response->ErrorMessage();
        return false;
    }
    errorMessage_ = "No Error";
    lastParsed_ = type;
    talkerId_ = sentence.Text().size() >= 3 ? sentence.Text().substr(1, 2) : std::string();
    expandedTalkerId_ = "Unknown - " + talkerId_;
    plainText_ = response->PlainText();
    return true;
}

}  // namespace celestra
