#include "solarsystem/ephemeris.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "core/data_paths.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/regular_file.h"
#include "core/sha256.h"

namespace celestra {

namespace {

// Byte offsets of the header fields in the two layouts.
struct HeaderOffsets {
    EphemerisLayout layout;
    const char* name;
    int start, end, span, constantCount, au, emrat, pointers, deNumber, libration;
};
constexpr HeaderOffsets kStandardOffsets{
    EphemerisLayout::Standard, "standard", 2652, 2660, 2668, 2676, 2680, 2688, 2696, 2840, 2844};
constexpr HeaderOffsets kPaddedOffsets{
    EphemerisLayout::Padded, "padded", 2656, 2664, 2672, 2680, 2688, 2696, 2704, 2848, 2852};

constexpr int kTitleBytes = 3 * 84;
constexpr int kNamesOffset = kTitleBytes;
constexpr int kNameBytes = 6;
constexpr int kNamesInHeader = 400;
// The standard layout keeps the names of constants 401.. after the libration pointer.
constexpr int kStandardExtraNamesOffset = 2856;
// A header whose astronomical unit is not within 0.5 % of kAuKmIau2012 is not read in that layout.
constexpr double kLongestSensibleSpanDays = 1000.0;
constexpr long long kMostRecords = 10'000'000;
// Tolerance on a record's own start and end day (they are whole or half days in real files).
constexpr double kRecordDayTolerance = 1e-6;

const char* const kSeriesNames[kEphemerisRequestCount] = {"Mercury",   "Venus",   "Earth-Moon barycentre",
                                                          "Mars",      "Jupiter", "Saturn",
                                                          "Uranus",    "Neptune", "Pluto",
                                                          "Moon",      "Sun",     "nutations",
                                                          "librations"};

int seriesComponents(int k) { return k == 11 ? 2 : 3; }

template <class T>
T readAt(const unsigned char* bytes, int offset) {
    T value;
    std::memcpy(&value, bytes + offset, sizeof value);
    return value;
}

std::string formatDouble(double v) {
    char buffer[64];
    snprintfC(buffer, sizeof buffer, "%.10g", v);
    return buffer;
}

struct HeaderFields {
    double start = 0, end = 0, span = 0, au = 0, emrat = 0;
    int32_t constantCount = 0, deNumber = 0;
    CoefficientPointer pointers[kEphemerisRequestCount];
};

HeaderFields readHeaderFields(const unsigned char* header, const HeaderOffsets& at) {
    HeaderFields f;
    f.start = readAt<double>(header, at.start);
    f.end = readAt<double>(header, at.end);
    f.span = readAt<double>(header, at.span);
    f.constantCount = readAt<int32_t>(header, at.constantCount);
    f.au = readAt<double>(header, at.au);
    f.emrat = readAt<double>(header, at.emrat);
    for (int k = 0; k < kEphemerisSeriesCount; ++k) {
        f.pointers[k].first = readAt<int32_t>(header, at.pointers + 12 * k);
        f.pointers[k].count = readAt<int32_t>(header, at.pointers + 12 * k + 4);
        f.pointers[k].subintervals = readAt<int32_t>(header, at.pointers + 12 * k + 8);
    }
    f.deNumber = readAt<int32_t>(header, at.deNumber);
    f.pointers[12].first = readAt<int32_t>(header, at.libration);
    f.pointers[12].count = readAt<int32_t>(header, at.libration + 4);
    f.pointers[12].subintervals = readAt<int32_t>(header, at.libration + 8);
    return f;
}

bool plausibleAu(double au) { return std::isfinite(au) && std::fabs(au / kAuKmIau2012 - 1.0) < 0.005; }

// What is wrong with the header read in one layout, or "" when it is sound.
// fileBytes is the size of the file; recordCount receives the data records.
std::string headerProblem(const HeaderFields& f, long long fileBytes, long long& recordCount) {
    if (!plausibleAu(f.au))
        return "the astronomical unit in the header (" + formatDouble(f.au) + " km) is not plausible";
    if (!(std::isfinite(f.emrat) && f.emrat > 1.0))
        return "the Earth/Moon mass ratio in the header (" + formatDouble(f.emrat) + ") is not plausible";
    if (!std::isfinite(f.span) || f.span <= 0.0)
        return "the record span (" + formatDouble(f.span) + " days) is not positive";
    if (f.span > kLongestSensibleSpanDays)
        return "the record span (" + formatDouble(f.span) + " days) is implausibly long";
    if (!std::isfinite(f.start) || !std::isfinite(f.end)) return "the start or end day is not a number";
    if (f.start >= f.end)
        return "the start day (" + formatDouble(f.start) + ") is not before the end day (" + formatDouble(f.end) + ")";
    if (f.constantCount < 0 || f.constantCount > kEphemerisRecordDoubles)
        return "the number of constants (" + std::to_string(f.constantCount) + ") is outside 0.." +
               std::to_string(kEphemerisRecordDoubles);

    long long lastIndex = 0;
    for (int k = 0; k < kEphemerisRequestCount; ++k) {
        const CoefficientPointer& p = f.pointers[k];
        const std::string what = std::string("the coefficient pointer of the ") + kSeriesNames[k] + " (" +
                                 std::to_string(p.first) + ", " + std::to_string(p.count) + ", " +
                                 std::to_string(p.subintervals) + ")";
        if (p.count == 0) {
            if (k <= 10) return what + " marks the series absent; the reader needs it";
            continue;
        }
        if (p.count < 0 || p.count > kMaxChebyshevCoefficients)
            return what + " gives " + std::to_string(p.count) + " coefficients; at most " +
                   std::to_string(kMaxChebyshevCoefficients) + " are supported";
        if (p.subintervals < 1) return what + " gives no sub-intervals";
        // The first two doubles of a record are its own start and end day.
        const long long end = static_cast<long long>(p.first) - 1 +
                              static_cast<long long>(p.count) * seriesComponents(k) * p.subintervals;
        if (p.first < 3 || end > kEphemerisRecordDoubles)
            return what + " lies outside the " + std::to_string(kEphemerisRecordDoubles) + "-double record";
        lastIndex = std::max(lastIndex, end);
    }
    if (lastIndex != kEphemerisRecordDoubles)
        return "the coefficient pointers describe records of " + std::to_string(lastIndex * 8) + " bytes; only " +
               std::to_string(kEphemerisRecordBytes) + "-byte records are supported";

    const double records = (f.end - f.start) / f.span;
    const double wholeRecords = std::round(records);
    if (std::fabs(records - wholeRecords) > 1e-9 * std::max(1.0, records) || wholeRecords < 1 ||
        wholeRecords > static_cast<double>(kMostRecords))
        return "the date range " + formatDouble(f.start) + " to " + formatDouble(f.end) + " is not a whole number of " +
               formatDouble(f.span) + "-day records";
    recordCount = static_cast<long long>(wholeRecords);
    const long long needed = (recordCount + 2) * kEphemerisRecordBytes;
    if (fileBytes < needed)
        return "the file is truncated: its date range needs " + std::to_string(needed) + " bytes, it has " +
               std::to_string(fileBytes);
    return {};
}

std::string trimmedName(const unsigned char* bytes, int offset) {
    std::string name(reinterpret_cast<const char*>(bytes) + offset, kNameBytes);
    while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
    return name;
}

bool isRegularFile(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace

void splitJulianDay(double x, double& whole, double& fraction) {
    whole = std::trunc(x);
    fraction = x - whole;
    if (x < 0.0 && fraction != 0.0) {
        whole -= 1.0;
        fraction += 1.0;
    }
}

void chebyshevInterpolate(const double* coefficients, double t, double spanDays, int n, int components,
                          int subintervals, int level, double* out, ChebyshevCache& cache) {
    const int outputs = components * (level >= 2 ? 2 : 1);
    if (n < 1 || n > kMaxChebyshevCoefficients || subintervals < 1 || components < 1) {
        std::fill(out, out + outputs, 0.0);
        return;
    }
    // Sub-interval and normalised Chebyshev time; t = 1 gives the last
    // sub-interval at tc = +1.
    double wholeT = 0.0;
    std::modf(t, &wholeT);
    const double scaled = subintervals * t;
    double wholeScaled = 0.0;
    const double fracScaled = std::modf(scaled, &wholeScaled);
    const int l = std::clamp(static_cast<int>(scaled - wholeT), 0, subintervals - 1);
    const double tc = 2.0 * (fracScaled + wholeT) - 1.0;

    if (tc != cache.p[1]) {
        cache.p[1] = tc;
        cache.twoTc = tc + tc;
        cache.v[2] = cache.twoTc + cache.twoTc;
        cache.validP = 2;
        cache.validV = 3;
    }
    for (int i = cache.validP; i < n; ++i) cache.p[i] = cache.twoTc * cache.p[i - 1] - cache.p[i - 2];
    cache.validP = std::max(cache.validP, n);

    const double* block = coefficients + static_cast<size_t>(l) * n * components;
    for (int i = 0; i < components; ++i) {
        const double* c = block + i * n;
        double sum = 0.0;
        for (int j = n - 1; j >= 0; --j) sum += cache.p[j] * c[j];
        out[i] = sum;
    }
    if (level < 2) return;

    const double factor = 2.0 * subintervals / spanDays;
    for (int i = cache.validV; i < n; ++i)
        cache.v[i] = cache.twoTc * cache.v[i - 1] + 2.0 * cache.p[i - 1] - cache.v[i - 2];
    cache.validV = std::max(cache.validV, n);
    for (int i = 0; i < components; ++i) {
        const double* c = block + i * n;
        double sum = 0.0;
        for (int j = n - 1; j >= 1; --j) sum += cache.v[j] * c[j];
        out[components + i] = factor * sum;
    }
}

EphemerisFile::EphemerisFile() = default;

EphemerisFile::~EphemerisFile() {
    std::lock_guard<std::mutex> lock(mutex_);
    closeLocked();
}

void EphemerisFile::closeLocked() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
    info_ = EphemerisInfo{};
    for (auto& p : pointers_) p = CoefficientPointer{};
    constantNames_.clear();
    constantValues_.clear();
    recordInMemory_ = -1;
    cache_ = ChebyshevCache{};
    damage_.clear();
}

bool EphemerisFile::close() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!file_) return false;
    const bool ok = std::fclose(file_) == 0;
    file_ = nullptr;
    closeLocked();
    return ok;
}

bool EphemerisFile::isOpen() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return file_ != nullptr;
}

std::string EphemerisFile::damage() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return damage_;
}

EphemerisInfo EphemerisFile::info() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return info_;
}

std::vector<std::pair<std::string, double>> EphemerisFile::constants() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::pair<std::string, double>> out;
    for (size_t i = 0; i < constantValues_.size(); ++i)
        out.emplace_back(i < constantNames_.size() ? constantNames_[i] : std::string(), constantValues_[i]);
    return out;
}

bool EphemerisFile::open(const std::string& path, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    closeLocked();
    auto refuse = [&](const std::string& why) {
        if (file_) std::fclose(file_);
        file_ = nullptr;
        const std::string message = "ephemeris file " + path + ": " + why;
        debugLog("%s\n", message.c_str());
        if (error) *error = message;
        return false;
    };

    InputFileError openError;
    uint64_t size = 0;
    const int fd = openRegularFile(path, 0, openError, &size);
    if (fd < 0) {
        const std::string message = inputFileMessage("ephemeris file", path, openError);
        debugLog("%s\n", message.c_str());
        if (error) *error = message;
        return false;
    }
    file_ = ::fdopen(fd, "rb");
    if (!file_) {
        ::close(fd);
        return refuse(std::string("cannot be opened (") + std::strerror(errno) + ")");
    }
    const long long fileBytes = static_cast<long long>(size);
    if (fileBytes < 2LL * kEphemerisRecordBytes)
        return refuse("too short (" + std::to_string(fileBytes) + " bytes; the header and constants alone take " +
                      std::to_string(2 * kEphemerisRecordBytes) + ")");

    std::vector<unsigned char> header(2 * kEphemerisRecordBytes);
    if (std::fread(header.data(), 1, header.size(), file_) != header.size())
        return refuse("the header records cannot be read");

    // The layout is the one whose header is sound. When neither is, report
    // the problem of the layout whose astronomical unit is in place (the
    // header is then damaged rather than foreign).
    const HeaderOffsets* layouts[] = {&kStandardOffsets, &kPaddedOffsets};
    const HeaderOffsets* chosen = nullptr;
    HeaderFields fields;
    long long recordCount = 0;
    std::string problem;
    for (const HeaderOffsets* at : layouts) {
        HeaderFields f = readHeaderFields(header.data(), *at);
        long long records = 0;
        std::string why = headerProblem(f, fileBytes, records);
        if (why.empty()) {
            chosen = at;
            fields = f;
            recordCount = records;
            break;
        }
        if (problem.empty() && plausibleAu(f.au)) problem = why + " (" + at->name + " header layout)";
    }
    if (!chosen) {
        if (problem.empty())
            problem = "not an ephemeris file of a known layout (no plausible astronomical unit at byte " +
                      std::to_string(kStandardOffsets.au) + " or " + std::to_string(kPaddedOffsets.au) + ")";
        return refuse(problem);
    }

    const int count = fields.constantCount;
    const unsigned char* values = header.data() + kEphemerisRecordBytes;
    for (int i = 0; i < count; ++i) {
        constantValues_.push_back(readAt<double>(values, 8 * i));
        if (i < kNamesInHeader) {
            constantNames_.push_back(trimmedName(header.data(), kNamesOffset + kNameBytes * i));
        } else {
            const int offset = kStandardExtraNamesOffset + kNameBytes * (i - kNamesInHeader);
            const bool inRecord =
                chosen->layout == EphemerisLayout::Standard && offset + kNameBytes <= kEphemerisRecordBytes;
            constantNames_.push_back(inRecord ? trimmedName(header.data(), offset) : std::string());
        }
    }

    info_.path = path;
    info_.layout = chosen->layout;
    info_.deNumber = fields.deNumber;
    info_.startJd = fields.start;
    info_.endJd = fields.end;
    info_.spanDays = fields.span;
    info_.auKm = fields.au;
    info_.earthMoonMassRatio = fields.emrat;
    info_.constantCount = count;
    info_.recordCount = static_cast<int>(recordCount);
    std::copy(std::begin(fields.pointers), std::end(fields.pointers), std::begin(pointers_));
    if (fileBytes > (recordCount + 2) * kEphemerisRecordBytes)
        debugLog("ephemeris file %s: %lld bytes after the last record are ignored\n", path.c_str(),
                 fileBytes - (recordCount + 2) * kEphemerisRecordBytes);

    // The first and the last data record must carry the days the header
    // promises: this catches records of another length behind a sound header.
    if (loadRecord(2) != 0 || loadRecord(static_cast<int>(recordCount) + 1) != 0) {
        closeLocked();
        return refuse("its data records do not match the header's dates and record length");
    }
    return true;
}

int EphemerisFile::loadRecord(int recordNumber) {
    if (recordNumber == recordInMemory_) return 0;
    recordInMemory_ = -1;
    const long long offset = static_cast<long long>(recordNumber) * kEphemerisRecordBytes;
    if (::fseeko(file_, static_cast<off_t>(offset), SEEK_SET) != 0 ||
        std::fread(record_, 1, kEphemerisRecordBytes, file_) != static_cast<size_t>(kEphemerisRecordBytes)) {
        debugLog("ephemeris file %s: record %d cannot be read\n", info_.path.c_str(), recordNumber);
        std::clearerr(file_);
        return 2;
    }
    const double expectedStart = info_.startJd + (recordNumber - 2) * info_.spanDays;
    const double expectedEnd = expectedStart + info_.spanDays;
    if (!(std::fabs(record_[0] - expectedStart) <= kRecordDayTolerance &&
          std::fabs(record_[1] - expectedEnd) <= kRecordDayTolerance)) {
        char text[160];
        snprintfC(text, sizeof text, "record %d covers JD %.9g to %.9g, expected %.9g to %.9g", recordNumber,
                  record_[0], record_[1], expectedStart, expectedEnd);
        if (damage_.empty()) damage_ = text;
        debugLog("ephemeris file %s: %s\n", info_.path.c_str(), text);
        return 2;
    }
    for (int i = 2; i < kEphemerisRecordDoubles; ++i) {
        if (!std::isfinite(record_[i])) {
            char text[160];
            snprintfC(text, sizeof text, "record %d (JD %.1f to %.1f) holds a non-finite coefficient at index %d",
                      recordNumber, expectedStart, expectedEnd, i + 1);
            if (damage_.empty()) damage_ = text;
            debugLog("ephemeris file %s: %s\n", info_.path.c_str(), text);
            return 2;
        }
    }
    recordInMemory_ = recordNumber;
    return 0;
}

int EphemerisFile::interpolateBodies(double jd, const int request[kEphemerisRequestCount],
                                     double states[kEphemerisRequestCount][6], bool barycentric, double* sunState) {
    std::lock_guard<std::mutex> lock(mutex_);
    return interpolateLocked(jd, request, states, barycentric, sunState);
}

int EphemerisFile::interpolateLocked(double jd, const int request[kEphemerisRequestCount],
                                     double states[kEphemerisRequestCount][6], bool barycentric, double* sunState) {
    for (int k = 0; k < kEphemerisRequestCount; ++k) std::fill(states[k], states[k] + 6, 0.0);
    if (sunState) std::fill(sunState, sunState + 6, 0.0);
    for (int k = 0; k < kEphemerisRequestCount; ++k)
        if (request[k] < 0 || request[k] > 2) return 1;
    if (!std::isfinite(jd)) return 1;
    if (!file_) return 2;

    // Whole part on a civil midnight, fraction in [0, 1): keeps the
    // normalised time exact for instants far from the file's start.
    double w1 = 0.0, f1 = 0.0, w3 = 0.0, f3 = 0.0;
    splitJulianDay(jd - 0.5, w1, f1);
    double whole = w1 + 0.5;
    splitJulianDay(f1, w3, f3);
    whole += w3;
    if (whole + f3 < info_.startJd || whole + f3 > info_.endJd) {
        debugLog("Requested JED not within ephemeris limits.\n");
        return 2;
    }
    const int lastRecord = info_.recordCount + 1;
    int n = static_cast<int>((whole - info_.startJd) / info_.spanDays) + 2;
    if (whole == info_.endJd) n -= 1;  // the last record serves its own end point
    n = std::clamp(n, 2, lastRecord);
    double t = ((whole - ((n - 2) * info_.spanDays + info_.startJd)) + f3) / info_.spanDays;
    if (t > 1.0 && n < lastRecord) {  // only for spans that are not whole days
        ++n;
        t = ((whole - ((n - 2) * info_.spanDays + info_.startJd)) + f3) / info_.spanDays;
    }
    t = std::clamp(t, 0.0, 1.0);
    if (loadRecord(n) != 0) return 2;

    const double scale = 1.0 / info_.auKm;
    const double span = info_.spanDays;
    auto series = [&](int k, int components, int level, double* out) {
        const CoefficientPointer& p = pointers_[k];
        chebyshevInterpolate(record_ + (p.first - 1), t, span, p.count, components, p.subintervals, level, out, cache_);
    };
    double sun[6];
    series(10, 3, 2, sun);
    for (double& x : sun) x *= scale;
    if (sunState) std::copy(sun, sun + 6, sunState);

    for (int k = 0; k <= 9; ++k) {
        if (request[k] == 0) continue;
        double out[6] = {};
        series(k, 3, request[k], out);
        for (double& x : out) x *= scale;
        if (k <= 8 && !barycentric)
            for (int i = 0; i < 3 * request[k]; ++i) out[i] -= sun[i];
        std::copy(out, out + 6, states[k]);
    }
    for (int k = 11; k <= 12; ++k) {  // nutations, librations: radians, as stored
        if (request[k] == 0 || pointers_[k].count == 0) continue;
        series(k, seriesComponents(k), request[k], states[k]);
    }
    return 0;
}

int EphemerisFile::targetRelativeTo(double jd, int target, int centre, double out[6]) {
    std::lock_guard<std::mutex> lock(mutex_);
    return targetRelativeToLocked(jd, target, centre, out);
}

int EphemerisFile::targetRelativeToLocked(double jd, int target, int centre, double out[6]) {
    std::fill(out, out + 6, 0.0);
    if (target < 1 || target > 13 || centre < 1 || centre > 13) return 1;
    if (target == centre || !file_) return 2;

    int request[kEphemerisRequestCount] = {};
    constexpr int kEmb = 2, kMoonSeries = 9;
    for (int number : {target, centre}) {
        const int k = number - 1;
        if (k <= 9) request[k] = 2;
        if (k == kTargetMoon - 1) request[kEmb] = 2;
        if (k == kTargetEarth - 1) request[kMoonSeries] = 2;
        if (k == kTargetEarthMoonBarycentre - 1) request[kEmb] = 2;
    }
    double states[kEphemerisRequestCount][6];
    double sun[6];
    const int code = interpolateLocked(jd, request, states, true, sun);
    if (code != 0) return code;

    // State of each FileTarget, index number - 1.
    double pv[13][6] = {};
    for (int k = 0; k <= 9; ++k) std::copy(states[k], states[k] + 6, pv[k]);
    std::copy(sun, sun + 6, pv[kTargetSun - 1]);
    std::copy(states[kEmb], states[kEmb] + 6, pv[kTargetEarthMoonBarycentre - 1]);

    double* earth = pv[kTargetEarth - 1];
    double* moon = pv[kTargetMoon - 1];
    const bool earthAndMoon =
        (target == kTargetEarth && centre == kTargetMoon) || (target == kTargetMoon && centre == kTargetEarth);
    if (earthAndMoon) {
        // The file's Moon series is geocentric already.
        std::fill(earth, earth + 6, 0.0);
    } else {
        if (request[kEmb]) {
            const double moonShare = 1.0 / (1.0 + info_.earthMoonMassRatio);
            for (int i = 0; i < 6; ++i) earth[i] = states[kEmb][i] - states[kMoonSeries][i] * moonShare;
        }
        if (request[kMoonSeries])
            for (int i = 0; i < 6; ++i) moon[i] = states[kMoonSeries][i] + earth[i];
    }
    for (int i = 0; i < 6; ++i) out[i] = pv[target - 1][i] - pv[centre - 1][i];
    return 0;
}

int EphemerisFile::solarSystemState(double jd, int body, int origin, Vector3& position, Vector3& velocity) {
    position = Vector3{};
    velocity = Vector3{};
    if (body < kMercury || body > kMoon || (origin != kOriginBarycentre && origin != kOriginSun)) return 1;
    const int target = body == kSun ? kTargetSun : body == kMoon ? kTargetMoon : body;
    const int centre = origin == kOriginBarycentre ? kTargetSolarSystemBarycentre : kTargetSun;
    double out[6];
    const int code = targetRelativeTo(jd, target, centre, out);
    if (code == 1) return 1;  // only a non-finite instant gets here
    if (code != 0) return 2;
    position = Vector3{out[0], out[1], out[2]};
    velocity = Vector3{out[3], out[4], out[5]};
    return 0;
}

int EphemerisFile::bodyState(double jd, const SolarSystemBody& body, int origin, Vector3& position, Vector3& velocity) {
    position = Vector3{};
    velocity = Vector3{};
    if (origin != kOriginBarycentre && origin != kOriginSun) return 1;
    if (body.type != kMajorBody) return 2;  // a minor planet has no source in this reader
    const int code = solarSystemState(jd, body.number, origin, position, velocity);
    return code == 0 ? 0 : code + 10;
}

int makeBody(int type, int number, const std::string& name, SolarSystemBody& body) {
    body.type = 0;
    body.number = 0;
    if (type != kMajorBody && type != kMinorPlanet) return 1;
    if (type == kMajorBody && (number < kMercury || number > kMoon)) return 2;
    if (number < INT16_MIN || number > INT16_MAX) return 2;
    body.type = static_cast<int16_t>(type);
    body.number = static_cast<int16_t>(number);
    // At most 49 characters; cut on a UTF-8 character boundary.
    constexpr int kMaxNameCharacters = 49;
    size_t end = 0;
    for (int characters = 0; end < name.size() && characters < kMaxNameCharacters; ++characters) {
        ++end;
        while (end < name.size() && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) ++end;
    }
    body.name = name.substr(0, end);
    return 0;
}

EphemerisFile& processEphemeris() {
    static EphemerisFile reader;
    return reader;
}

bool openEphemeris(const std::string& path, double& startJd, double& endJd, double& spanDays, std::string* error) {
    EphemerisFile& reader = processEphemeris();
    const bool ok = reader.open(path, error);
    const EphemerisInfo info = reader.info();
    startJd = ok ? info.startJd : 0.0;
    endJd = ok ? info.endJd : 0.0;
    spanDays = ok ? info.spanDays : 0.0;
    return ok;
}

bool closeEphemeris() { return processEphemeris().close(); }

int solarSystemState(double jd, int body, int origin, Vector3& position, Vector3& velocity) {
    return processEphemeris().solarSystemState(jd, body, origin, position, velocity);
}

int bodyState(double jd, const SolarSystemBody& body, int origin, Vector3& position, Vector3& velocity) {
    return processEphemeris().bodyState(jd, body, origin, position, velocity);
}

std::vector<std::string> ephemerisSearchPaths(const std::string& explicitPath) {
    if (!explicitPath.empty()) return {explicitPath};
    return dataSearchPaths(kEphemerisFileName);
}

std::string findEphemerisFile(const std::string& explicitPath) {
    // An explicit path is taken as it is, so that opening it says what is
    // wrong with it (a directory, a FIFO); it is never replaced by another file.
    if (!explicitPath.empty()) return explicitPath;
    for (const std::string& candidate : ephemerisSearchPaths())
        if (isRegularFile(candidate)) return candidate;
    return {};
}

std::string ephemerisDigestPath(const std::string& path) { return path + ".sha256"; }

bool verifyEphemerisDigest(const std::string& path, std::string* error) {
    const auto refuse = [&](const std::string& why) {
        const std::string message = "ephemeris file " + path + ": " + why;
        debugLog("%s\n", message.c_str());
        if (error) *error = message;
        return false;
    };
    // The digest file: 64 hexadecimal digits first, as sha256sum writes it.
    std::vector<uint8_t> digestText;
    InputFileError digestError;
    const std::string digestPath = ephemerisDigestPath(path);
    if (readRegularFile(digestPath, 4096, digestText, digestError) != InputFileStatus::Ok) {
        if (digestError.status == InputFileStatus::Missing) {
            debugLog("ephemeris file %s: no digest file %s beside it; used unchecked\n", path.c_str(),
                     digestPath.c_str());
            return true;
        }
        return refuse("its digest file " + digestPath + " " + digestError.reason);
    }
    const std::string expected(digestText.begin(), digestText.begin() + std::min<size_t>(64, digestText.size()));
    if (expected.size() != 64 || expected.find_first_not_of("0123456789abcdef") != std::string::npos)
        return refuse("its digest file " + digestPath + " does not start with a SHA-256 digest");

    InputFileError openError;
    const int fd = openRegularFile(path, 0, openError);
    if (fd < 0) return refuse(openError.reason);
    Sha256 hash;
    std::vector<uint8_t> buffer(1 << 20);
    while (true) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int code = errno;
            ::close(fd);
            return refuse(std::string("cannot be read (") + std::strerror(code) + ")");
        }
        if (n == 0) break;
        hash.update(buffer.data(), static_cast<size_t>(n));
    }
    ::close(fd);
    const std::string actual = sha256Hex(hash.digest());
    if (actual != expected)
        return refuse("it is damaged: its SHA-256 is " + actual + ", the digest written with it (" + digestPath +
                      ") is " + expected);
    return true;
}

bool openProgramEphemeris(EphemerisFile& reader, const std::string& explicitPath, std::string& path,
                          std::string* error) {
    path = findEphemerisFile(explicitPath);
    if (path.empty()) {
        std::string places;
        for (const std::string& candidate : ephemerisSearchPaths()) places += "\n  " + candidate;
        if (error) *error = "no ephemeris file found; looked for:" + places;
        reader.close();
        return false;
    }
    // The default file is checked against the digest the build wrote with
    // it; an explicit file is the user's own choice and has none.
    if (explicitPath.empty() && !verifyEphemerisDigest(path, error)) {
        reader.close();
        return false;
    }
    return reader.open(path, error);
}

}  // namespace celestra
