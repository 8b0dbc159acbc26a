#include "core/time_zones.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace celestra {
namespace {

constexpr JulianDay kUnixEpochJd = 2440587.5;
constexpr long kMaxZoneFileBytes = 1 << 20;
constexpr int64_t kSecondsPerDay = 86400;

// ---------------------------------------------------------------------------
// Civil calendar in whole days since 1970-01-01 (proleptic Gregorian).

int64_t daysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int64_t yearOfDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    return yoe + era * 400 + (mp >= 10 ? 1 : 0);
}

bool isLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int64_t y, int m) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

int64_t floorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// ---------------------------------------------------------------------------
// The POSIX TZ rule of a TZif footer: "std offset [dst [offset] [,start[/time],end[/time]]]".

struct RuleDate {
    char kind = 'M';  // 'J' (1..365, no 29 February), 'D' (0..365), 'M' (month, week, weekday)
    int day = 0, month = 0, week = 0, weekday = 0;
    int64_t seconds = 2 * 3600;  // local time of day of the change; -167 h .. 167 h
};

struct PosixRule {
    int64_t stdOffset = 0;  // local minus UTC, seconds
    int64_t dstOffset = 0;
    bool hasDst = false;
    RuleDate start, end;
};

class RuleParser {
public:
    explicit RuleParser(std::string_view text) : s_(text) {}

    std::optional<PosixRule> parse() {
        PosixRule r;
        int64_t offset = 0;
        if (!name() || !time(offset, 24)) return std::nullopt;
        r.stdOffset = -offset;  // POSIX counts hours west of Greenwich
        if (done()) return r;
        if (!name()) return std::nullopt;
        r.hasDst = true;
        r.dstOffset = r.stdOffset + 3600;
        if (!done() && peek() != ',') {
            if (!time(offset, 24)) return std::nullopt;
            r.dstOffset = -offset;
        }
        if (done()) {
            // No rule given: POSIX's default, the US rule since 2007.
            r.start = {'M', 0, 3, 2, 0, 2 * 3600};
            r.end = {'M', 0, 11, 1, 0, 2 * 3600};
            return r;
        }
        if (!expect(',') || !date(r.start) || !expect(',') || !date(r.end) || !done()) return std::nullopt;
        return r;
    }

private:
    bool done() const { return pos_ >= s_.size(); }
    char peek() const { return done() ? '\0' : s_[pos_]; }
    bool expect(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }
    bool number(int64_t& out, int64_t max) {
        const size_t begin = pos_;
        out = 0;
        while (!done() && peek() >= '0' && peek() <= '9' && pos_ - begin < 4) out = out * 10 + (s_[pos_++] - '0');
        return pos_ > begin && out <= max;
    }
    // "<+0545>" or three or more letters.
    bool name() {
        if (expect('<')) {
            const size_t close = s_.find('>', pos_);
            if (close == std::string_view::npos || close == pos_) return false;
            pos_ = close + 1;
            return true;
        }
        const size_t begin = pos_;
        while (!done() && ((peek() >= 'A' && peek() <= 'Z') || (peek() >= 'a' && peek() <= 'z'))) ++pos_;
        return pos_ - begin >= 3;
    }
    // [+-]hh[:mm[:ss]] in seconds; hours up to `maxHours` (167 in rule times).
    bool time(int64_t& out, int64_t maxHours) {
        int64_t sign = 1;
        if (expect('-')) sign = -1;
        else expect('+');
        int64_t h = 0, m = 0, sec = 0;
        if (!number(h, maxHours)) return false;
        if (expect(':') && !number(m, 59)) return false;
        if (expect(':') && !number(sec, 59)) return false;
        out = sign * (h * 3600 + m * 60 + sec);
        return true;
    }
    bool date(RuleDate& d) {
        int64_t a = 0, b = 0, c = 0;
        if (expect('J')) {
            if (!number(a, 365) || a < 1) return false;
            d = {'J', static_cast<int>(a), 0, 0, 0, 2 * 3600};
        } else if (expect('M')) {
            if (!number(a, 12) || a < 1 || !expect('.') || !number(b, 5) || b < 1 || !expect('.') || !number(c, 6))
                return false;
            d = {'M', 0, static_cast<int>(a), static_cast<int>(b), static_cast<int>(c), 2 * 3600};
        } else {
            if (!number(a, 365)) return false;
            d = {'D', static_cast<int>(a), 0, 0, 0, 2 * 3600};
        }
        if (expect('/') && !time(d.seconds, 167)) return false;
        return true;
    }

    std::string_view s_;
    size_t pos_ = 0;
};

// Seconds since 1970 (UTC) of a rule's change in `year`, when local time
// before the change runs at `offsetBefore`.
int64_t changeInstant(const RuleDate& d, int64_t year, int64_t offsetBefore) {
    int64_t day = daysFromCivil(year, 1, 1);
    switch (d.kind) {
        case 'J': day += d.day - 1 + (isLeap(year) && d.day >= 60 ? 1 : 0); break;
        case 'D': day += d.day; break;
        default: {
            const int64_t first = daysFromCivil(year, d.month, 1);
            const int64_t firstWeekday = ((first + 4) % 7 + 7) % 7;  // 1970-01-01 was a Thursday
            int64_t dom = 1 + ((d.weekday - firstWeekday) % 7 + 7) % 7 + 7 * (d.week - 1);
            if (dom > daysInMonth(year, d.month)) dom -= 7;
            day = first + dom - 1;
        }
    }
    return day * kSecondsPerDay + d.seconds - offsetBefore;
}

ZoneOffset ruleOffsetAt(const PosixRule& r, int64_t t) {
    const auto result = [](int64_t seconds, bool daylight) {
        return ZoneOffset{static_cast<double>(seconds) / 86400.0, daylight};
    };
    if (!r.hasDst) return result(r.stdOffset, false);
    const int64_t year = yearOfDays(floorDiv(t + r.stdOffset, kSecondsPerDay));
    const int64_t start = changeInstant(r.start, year, r.stdOffset);
    const int64_t end = changeInstant(r.end, year, r.dstOffset);
    // Southern zones begin daylight saving late in the year and end it early.
    const bool daylight = start < end ? (t >= start && t < end) : !(t >= end && t < start);
    return daylight ? result(r.dstOffset, true) : result(r.stdOffset, false);
}

// ---------------------------------------------------------------------------
// TZif (RFC 8536)

struct LocalType {
    int64_t offset = 0;  // local minus UTC, seconds
    bool daylight = false;
};

struct ZoneData {
    std::vector<int64_t> transitions;  // ascending, seconds since 1970 UTC
    std::vector<uint8_t> typeOfTransition;
    std::vector<LocalType> types;
    std::optional<PosixRule> rule;  // after the last transition
};

class ByteReader {
public:
    explicit ByteReader(const std::vector<uint8_t>& bytes) : b_(bytes) {}
    bool has(size_t n) const { return pos_ <= b_.size() && b_.size() - pos_ >= n; }
    size_t position() const { return pos_; }
    void skip(size_t n) { pos_ += n; }
    int64_t signedBigEndian(int bytes) {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | b_[pos_++];
        if (bytes == 4) return static_cast<int32_t>(static_cast<uint32_t>(v));
        return static_cast<int64_t>(v);
    }
    uint8_t byte() { return b_[pos_++]; }

private:
    const std::vector<uint8_t>& b_;
    size_t pos_ = 0;
};

struct TzifCounts {
    uint32_t isut = 0, isstd = 0, leap = 0, time = 0, type = 0, chars = 0;
};

bool readHeader(ByteReader& r, char& version, TzifCounts& c) {
    if (!r.has(44)) return false;
    const char magic[4] = {static_cast<char>(r.byte()), static_cast<char>(r.byte()), static_cast<char>(r.byte()),
                           static_cast<char>(r.byte())};
    if (magic[0] != 'T' || magic[1] != 'Z' || magic[2] != 'i' || magic[3] != 'f') return false;
    version = static_cast<char>(r.byte());
    r.skip(15);
    uint32_t* fields[6] = {&c.isut, &c.isstd, &c.leap, &c.time, &c.type, &c.chars};
    for (uint32_t* f : fields) *f = static_cast<uint32_t>(r.signedBigEndian(4));
    // RFC 8536: at least one type, at most 256; indicator counts 0 or typecnt.
    if (c.type == 0 || c.type > 256 || c.chars == 0 || c.time > 100000 || c.leap > 100000) return false;
    return (c.isut == 0 || c.isut == c.type) && (c.isstd == 0 || c.isstd == c.type);
}

size_t dataBytes(const TzifCounts& c, int timeBytes) {
    return c.time * static_cast<size_t>(timeBytes) + c.time + c.type * 6u + c.chars +
           c.leap * static_cast<size_t>(timeBytes + 4) + c.isstd + c.isut;
}

bool readData(ByteReader& r, const TzifCounts& c, int timeBytes, ZoneData& z) {
    if (!r.has(dataBytes(c, timeBytes))) return false;
    z.transitions.resize(c.time);
    for (int64_t& t : z.transitions) t = r.signedBigEndian(timeBytes);
    z.typeOfTransition.resize(c.time);
    for (uint8_t& i : z.typeOfTransition) {
        i = r.byte();
        if (i >= c.type) return false;
    }
    z.types.resize(c.type);
    for (LocalType& t : z.types) {
        t.offset = r.signedBigEndian(4);
        t.daylight = r.byte() != 0;
        r.skip(1);  // abbreviation index
        // RFC 8536: -89999 .. 93599 seconds (about ±25 h).
        if (t.offset < -89999 || t.offset > 93599) return false;
    }
    r.skip(c.chars + c.leap * static_cast<size_t>(timeBytes + 4) + c.isstd + c.isut);
    return std::is_sorted(z.transitions.begin(), z.transitions.end());
}

std::optional<ZoneData> parseTzif(const std::vector<uint8_t>& bytes) {
    ByteReader r(bytes);
    char version = 0;
    TzifCounts c;
    ZoneData z;
    if (!readHeader(r, version, c)) return std::nullopt;
    if (version == '\0') {
        if (!readData(r, c, 4, z)) return std::nullopt;
        return z;
    }
    // Version 2 and later: skip the 32-bit block, read the 64-bit one and the footer.
    if (!r.has(dataBytes(c, 4))) return std::nullopt;
    r.skip(dataBytes(c, 4));
    if (!readHeader(r, version, c) || !readData(r, c, 8, z)) return std::nullopt;
    const size_t footer = r.position();
    if (footer < bytes.size() && bytes[footer] == '\n') {
        const auto close = std::find(bytes.begin() + static_cast<long>(footer) + 1, bytes.end(), '\n');
        if (close == bytes.end()) return std::nullopt;
        const std::string text(bytes.begin() + static_cast<long>(footer) + 1, close);
        if (!text.empty()) {
            z.rule = RuleParser(text).parse();
            if (!z.rule) return std::nullopt;
        }
    }
    return z;
}

ZoneOffset offsetAt(const ZoneData& z, int64_t t) {
    const auto of = [](const LocalType& type) {
        return ZoneOffset{static_cast<double>(type.offset) / 86400.0, type.daylight};
    };
    if (z.rule && (z.transitions.empty() || t >= z.transitions.back())) return ruleOffsetAt(*z.rule, t);
    const auto after = std::upper_bound(z.transitions.begin(), z.transitions.end(), t);
    if (after == z.transitions.begin()) return of(z.types.front());
    return of(z.types[z.typeOfTransition[static_cast<size_t>(after - z.transitions.begin() - 1)]]);
}

std::optional<std::vector<uint8_t>> readZoneFile(const std::string& path) {
    // Non-blocking, so a FIFO put where a zone file belongs cannot hang the reader.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    std::vector<uint8_t> bytes;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 && st.st_size <= kMaxZoneFileBytes;
    if (ok) {
        bytes.resize(static_cast<size_t>(st.st_size));
        size_t done = 0;
        while (ok && done < bytes.size()) {
            const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
            if (n > 0) done += static_cast<size_t>(n);
            else ok = false;
        }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

std::shared_ptr<const ZoneData> zoneData(const std::string& id) {
    static std::mutex mutex;
    static std::map<std::string, std::shared_ptr<const ZoneData>> cache;
    const char* dir = std::getenv("TZDIR");
    const std::string path = std::string(dir && *dir ? dir : "/usr/share/zoneinfo") + "/" + id;
    std::lock_guard<std::mutex> lock(mutex);
    const auto found = cache.find(path);
    if (found != cache.end()) return found->second;
    std::shared_ptr<const ZoneData> data;
    if (const auto bytes = readZoneFile(path))
        if (auto parsed = parseTzif(*bytes)) data = std::make_shared<const ZoneData>(std::move(*parsed));
    cache.emplace(path, data);
    return data;
}

}  // namespace

bool isWellFormedZoneId(std::string_view id) {
    if (id.empty() || id.size() > 255 || id.front() == '/' || id.back() == '/') return false;
    size_t componentStart = 0;
    for (size_t i = 0; i <= id.size(); ++i) {
        if (i == id.size() || id[i] == '/') {
            const std::string_view component = id.substr(componentStart, i - componentStart);
            if (component.empty() || component == "." || component == "..") return false;
            componentStart = i + 1;
            continue;
        }
        const char c = id[i];
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
                             c == '-' || c == '+';
        if (!allowed) return false;
    }
    return true;
}

std::optional<ZoneOffset> timeZoneOffsetAt(const std::string& id, JulianDay jdUtc) {
    if (!isWellFormedZoneId(id) || !std::isfinite(jdUtc)) return std::nullopt;
    const double seconds = std::floor((jdUtc - kUnixEpochJd) * 86400.0 + 0.5);
    if (!(std::fabs(seconds) < 9.0e15)) return std::nullopt;
    const std::shared_ptr<const ZoneData> zone = zoneData(id);
    if (!zone) return std::nullopt;
    return offsetAt(*zone, static_cast<int64_t>(seconds));
}

}  // namespace celestra
