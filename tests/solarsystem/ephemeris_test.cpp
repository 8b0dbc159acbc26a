#include "solarsystem/ephemeris.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <random>
#include <thread>
#include <vector>

#include "core/log.h"
#include "core/sha256.h"
#include "core/side_files.h"
#include "solarsystem/ephemeris_check.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

constexpr CoefficientPointer kDe405Pointers[13] = {{3, 14, 4},   {171, 10, 2}, {231, 13, 2}, {309, 11, 1}, {342, 8, 1},
                                                   {366, 7, 1},  {387, 6, 1},  {405, 6, 1},  {423, 6, 1},  {441, 13, 8},
                                                   {753, 11, 2}, {819, 10, 4}, {899, 10, 4}};

// A small ephemeris file with made-up but fully known coefficients.
struct Synthetic {
    EphemerisLayout layout = EphemerisLayout::Standard;
    double start = 2451536.5;
    double end = 2451536.5 + 3 * 32.0;
    double span = 32.0;
    int32_t constantCount = 3;
    double au = 149597870.691;
    double emrat = 81.30056;
    int32_t deNumber = 405;
    CoefficientPointer pointers[13];
    int records = 3;  // data records actually written

    Synthetic() { std::copy(std::begin(kDe405Pointers), std::end(kDe405Pointers), std::begin(pointers)); }

    // Coefficient (km, or rad for angles) at 0-based index `index` (>= 2) of data record r.
    static double coefficient(int r, int index) { return 1.0e8 * std::sin(1.3 * r + 0.7 * index + 0.1); }

    std::vector<unsigned char> bytes() const {
        std::vector<unsigned char> out(static_cast<size_t>(2 + records) * kEphemerisRecordBytes, 0);
        auto put = [&](size_t offset, auto value) { std::memcpy(out.data() + offset, &value, sizeof value); };
        const int pad = layout == EphemerisLayout::Padded ? 4 : 0;
        std::memset(out.data(), ' ', 252 + 2400);
        std::memcpy(out.data() + 252, "DENUM AU    EMRAT ", 18);
        put(2652 + pad, start);
        put(2660 + pad, end);
        put(2668 + pad, span);
        put(2676 + pad, constantCount);
        put(2680 + 2 * pad, au);
        put(2688 + 2 * pad, emrat);
        for (int k = 0; k < 12; ++k) {
            put(2696 + 2 * pad + 12 * k, pointers[k].first);
            put(2700 + 2 * pad + 12 * k, pointers[k].count);
            put(2704 + 2 * pad + 12 * k, pointers[k].subintervals);
        }
        put(2840 + 2 * pad, deNumber);
        put(2844 + 2 * pad, pointers[12].first);
        put(2848 + 2 * pad, pointers[12].count);
        put(2852 + 2 * pad, pointers[12].subintervals);
        put(kEphemerisRecordBytes + 0, 405.0);
        put(kEphemerisRecordBytes + 8, au);
        put(kEphemerisRecordBytes + 16, emrat);
        for (int r = 0; r < records; ++r) {
            const size_t base = static_cast<size_t>(2 + r) * kEphemerisRecordBytes;
            put(base, start + r * span);
            put(base + 8, start + (r + 1) * span);
            for (int i = 2; i < kEphemerisRecordDoubles; ++i) put(base + 8 * i, coefficient(r, i));
        }
        return out;
    }
};

std::string writeFile(const std::string& name, const std::vector<unsigned char>& bytes) {
    static const std::string dir = test::makeTempDir();
    const std::string path = dir + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

// Sum of c_j T_j(x) and of c_j T_j'(x) by the closed forms T_j = cos(j acos x)
// and T_j' = j U_(j-1) (U_0 = 1, U_1 = 2x, U_m = 2x U_(m-1) - U_(m-2)),
// independent of the reader's recurrences.
void chebyshevClosed(const std::function<double(int)>& c, int n, double x, double& value, double& derivative) {
    value = 0.0;
    derivative = 0.0;
    double uPrev = 1.0, u = 2.0 * x;  // U_(j-2), U_(j-1) for j >= 2
    for (int j = 0; j < n; ++j) {
        value += c(j) * std::cos(j * std::acos(std::clamp(x, -1.0, 1.0)));
        if (j == 1) derivative += c(j);
        if (j >= 2) {
            derivative += c(j) * j * u;
            const double next = 2.0 * x * u - uPrev;
            uPrev = u;
            u = next;
        }
    }
}

// Expected value of one series by the closed Chebyshev forms T_j = cos(j acos x)
// and T_j' = j U_(j-1), independent of the reader's recurrences.
// Returns position and velocity components in AU (or rad) and per day.
std::vector<double> expectedSeries(const Synthetic& f, int k, int record, double t, bool scaleToAu = true) {
    const CoefficientPointer p = f.pointers[k];
    const int components = k == 11 ? 2 : 3;
    const int s = p.subintervals, n = p.count;
    int l = t >= 1.0 ? s - 1 : static_cast<int>(std::floor(s * t));
    const double tc = t >= 1.0 ? 1.0 : 2.0 * (s * t - l) - 1.0;
    const double scale = scaleToAu ? 1.0 / f.au : 1.0;
    std::vector<double> out(2 * components, 0.0);
    for (int i = 0; i < components; ++i) {
        double value = 0.0, derivative = 0.0;
        chebyshevClosed(
            [&](int j) { return Synthetic::coefficient(record, p.first - 1 + j + i * n + l * n * components); }, n, tc,
            value, derivative);
        out[i] = value * scale;
        out[components + i] = derivative * (2.0 * s / f.span) * scale;
    }
    return out;
}

void expectNear(const double* actual, const std::vector<double>& expected, double relative, const char* what) {
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], relative * std::max(1.0, std::fabs(expected[i])))
            << what << " [" << i << "]";
}

bool allZero(const double* v, int n) {
    for (int i = 0; i < n; ++i)
        if (v[i] != 0.0) return false;
    return true;
}

// --- numerical building blocks ------------------------------------------------

TEST(SplitJulianDay, FractionAlwaysInUnitInterval) {
    double w = 0, f = 0;
    splitJulianDay(2451545.25, w, f);
    EXPECT_EQ(w, 2451545.0);
    EXPECT_EQ(f, 0.25);
    splitJulianDay(-1.25, w, f);
    EXPECT_EQ(w, -2.0);
    EXPECT_EQ(f, 0.75);
    splitJulianDay(-3.0, w, f);
    EXPECT_EQ(w, -3.0);
    EXPECT_EQ(f, 0.0);
}

TEST(ChebyshevInterpolate, MatchesClosedFormsAndSurvivesCacheReuse) {
    // Two sub-intervals, 3 components, 9 coefficients each.
    const int n = 9, c = 3, s = 2;
    std::vector<double> block(n * c * s);
    for (size_t i = 0; i < block.size(); ++i) block[i] = std::cos(0.37 * i) * (1.0 + i);
    auto closed = [&](double t, int nn, int i, bool velocity) {
        const int l = t >= 1.0 ? s - 1 : static_cast<int>(s * t);
        const double tc = t >= 1.0 ? 1.0 : 2.0 * (s * t - l) - 1.0;
        double value = 0.0, derivative = 0.0;
        chebyshevClosed([&](int j) { return block[l * nn * c + i * nn + j]; }, nn, tc, value, derivative);
        return velocity ? derivative * 2.0 * s / 32.0 : value;
    };
    ChebyshevCache cache;
    double out[6];
    // Alternate block sizes at the same instant: the cached P and V values
    // extended for a short block must serve a longer one correctly.
    for (double t : {0.0, 0.2, 0.2, 0.49999, 0.5, 0.73, 1.0}) {
        for (int nn : {n, 4, n, 2, n}) {
            chebyshevInterpolate(block.data(), t, 32.0, nn, c, s, 2, out, cache);
            for (int i = 0; i < c; ++i) {
                EXPECT_NEAR(out[i], closed(t, nn, i, false), 1e-12) << "t=" << t << " n=" << nn;
                EXPECT_NEAR(out[c + i], closed(t, nn, i, true), 1e-11) << "t=" << t << " n=" << nn;
            }
        }
    }
}

// --- synthetic files: layouts and the edges of the date range ----------------

class SyntheticFile : public ::testing::TestWithParam<EphemerisLayout> {
protected:
    void SetUp() override {
        f.layout = GetParam();
        path = writeFile(f.layout == EphemerisLayout::Padded ? "padded.405" : "standard.405", f.bytes());
        std::string error;
        ASSERT_TRUE(file.open(path, &error)) << error;
    }
    Synthetic f;
    std::string path;
    EphemerisFile file;
};

TEST_P(SyntheticFile, HeaderIsReadInEitherLayout) {
    const EphemerisInfo info = file.info();
    EXPECT_EQ(info.layout, f.layout);
    EXPECT_EQ(info.path, path);
    EXPECT_EQ(info.deNumber, 405);
    EXPECT_EQ(info.startJd, f.start);
    EXPECT_EQ(info.endJd, f.end);
    EXPECT_EQ(info.spanDays, 32.0);
    EXPECT_EQ(info.auKm, f.au);
    EXPECT_EQ(info.earthMoonMassRatio, f.emrat);
    EXPECT_EQ(info.recordCount, 3);
    const auto constants = file.constants();
    ASSERT_EQ(constants.size(), 3u);
    EXPECT_EQ(constants[1].first, "AU");
    EXPECT_EQ(constants[1].second, f.au);
}

TEST_P(SyntheticFile, RangeEdgesPickTheRightRecordAndTime) {
    double out[6];
    // Start day: first data record, t = 0.
    ASSERT_EQ(file.targetRelativeTo(f.start, kTargetMars, kTargetSolarSystemBarycentre, out), 0);
    expectNear(out, expectedSeries(f, 3, 0, 0.0), 1e-14, "start");
    // End day: last record, t = 1 (last sub-interval, tc = +1), never a record beyond the file.
    ASSERT_EQ(file.targetRelativeTo(f.end, kTargetMercury, kTargetSolarSystemBarycentre, out), 0);
    expectNear(out, expectedSeries(f, 0, 2, 1.0), 1e-14, "end");
    // A record boundary belongs to the later record.
    ASSERT_EQ(file.targetRelativeTo(f.start + 32.0, kTargetJupiter, kTargetSolarSystemBarycentre, out), 0);
    expectNear(out, expectedSeries(f, 4, 1, 0.0), 1e-14, "boundary");
    // Inside a record, at a time of day.
    const double inside = f.start + 40.3;  // t from the instant as stored, not from 8.3 / 32
    ASSERT_EQ(file.targetRelativeTo(inside, kTargetVenus, kTargetSolarSystemBarycentre, out), 0);
    expectNear(out, expectedSeries(f, 1, 1, (inside - (f.start + 32.0)) / 32.0), 1e-13, "inside");

    // 1e-9 day outside either end: result 2, zero outputs, one diagnostic line.
    std::vector<std::string> lines;
    LogSink old = setLogSink([&](const std::string& line) { lines.push_back(line); });
    for (double jd : {f.start - 1e-9, f.end + 1e-9}) {
        std::fill(out, out + 6, 7.0);
        EXPECT_EQ(file.targetRelativeTo(jd, kTargetMars, kTargetSun, out), 2);
        EXPECT_TRUE(allZero(out, 6));
        Vector3 p{1, 1, 1}, v{1, 1, 1};
        EXPECT_EQ(file.solarSystemState(jd, kMars, kOriginSun, p, v), 2);
        EXPECT_TRUE(p.x == 0 && p.y == 0 && p.z == 0 && v.x == 0 && v.y == 0 && v.z == 0);
    }
    setLogSink(old);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Requested JED not within ephemeris limits.\n");
}

TEST_P(SyntheticFile, EarthMoonAndSunArithmetic) {
    const double jd = f.start + 70.125;  // record 2, t = 6.125/32
    const double t = 6.125 / 32.0;
    const auto emb = expectedSeries(f, 2, 2, t), moon = expectedSeries(f, 9, 2, t), sun = expectedSeries(f, 10, 2, t);
    const double share = 1.0 / (1.0 + f.emrat);
    double out[6];

    // Moon relative to Earth: the file's geocentric series, no barycentre arithmetic.
    ASSERT_EQ(file.targetRelativeTo(jd, kTargetMoon, kTargetEarth, out), 0);
    expectNear(out, moon, 1e-15, "geocentric Moon");
    double reverse[6];
    ASSERT_EQ(file.targetRelativeTo(jd, kTargetEarth, kTargetMoon, reverse), 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(reverse[i], -out[i]) << i;

    // Earth = EMB - Moon/(1 + EMRAT); barycentric Moon = Earth + geocentric Moon.
    Vector3 p, v;
    ASSERT_EQ(file.solarSystemState(jd, kEarth, kOriginBarycentre, p, v), 0);
    const double earth[6] = {emb[0] - moon[0] * share, emb[1] - moon[1] * share, emb[2] - moon[2] * share,
                             emb[3] - moon[3] * share, emb[4] - moon[4] * share, emb[5] - moon[5] * share};
    EXPECT_NEAR(p.x, earth[0], 1e-14);
    EXPECT_NEAR(p.y, earth[1], 1e-14);
    EXPECT_NEAR(p.z, earth[2], 1e-14);
    EXPECT_NEAR(v.x, earth[3], 1e-14);
    EXPECT_NEAR(v.z, earth[5], 1e-14);
    ASSERT_EQ(file.solarSystemState(jd, kMoon, kOriginBarycentre, p, v), 0);
    EXPECT_NEAR(p.y, earth[1] + moon[1], 1e-14);
    EXPECT_NEAR(v.y, earth[4] + moon[4], 1e-14);

    // Heliocentric = barycentric - Sun, for a planet and for the Earth.
    ASSERT_EQ(file.solarSystemState(jd, kEarth, kOriginSun, p, v), 0);
    EXPECT_NEAR(p.x, earth[0] - sun[0], 1e-14);
    EXPECT_NEAR(v.z, earth[5] - sun[5], 1e-14);
    const auto saturn = expectedSeries(f, 5, 2, t);
    ASSERT_EQ(file.solarSystemState(jd, kSaturn, kOriginSun, p, v), 0);
    EXPECT_NEAR(p.z, saturn[2] - sun[2], 1e-14);
    ASSERT_EQ(file.solarSystemState(jd, kSun, kOriginBarycentre, p, v), 0);
    EXPECT_NEAR(p.x, sun[0], 1e-14);

    // The Earth-Moon barycentre itself; the barycentre relative to the Sun.
    ASSERT_EQ(file.targetRelativeTo(jd, kTargetEarthMoonBarycentre, kTargetSolarSystemBarycentre, out), 0);
    expectNear(out, emb, 1e-14, "EMB");
    ASSERT_EQ(file.targetRelativeTo(jd, kTargetSolarSystemBarycentre, kTargetSun, out), 0);
    EXPECT_NEAR(out[0], -sun[0], 1e-14);

    // The Sun relative to the Sun has no state.
    p = Vector3{1, 2, 3};
    EXPECT_EQ(file.solarSystemState(jd, kSun, kOriginSun, p, v), 2);
    EXPECT_EQ(p.x, 0.0);
}

TEST_P(SyntheticFile, NutationsAndLibrationsStayInRadians) {
    const int request[kEphemerisRequestCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 2};
    double states[kEphemerisRequestCount][6];
    double sun[6];
    ASSERT_EQ(file.interpolateBodies(f.start + 1.0, request, states, false, sun), 0);
    expectNear(states[11], expectedSeries(f, 11, 0, 1.0 / 32.0, false), 1e-12, "nutations");
    expectNear(states[12], expectedSeries(f, 12, 0, 1.0 / 32.0, false), 1e-12, "librations");
    expectNear(sun, expectedSeries(f, 10, 0, 1.0 / 32.0), 1e-14, "Sun");
    EXPECT_TRUE(allZero(states[0], 6));  // not requested
    const int bad[kEphemerisRequestCount] = {3};
    EXPECT_EQ(file.interpolateBodies(f.start + 1.0, bad, states, false, sun), 1);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SyntheticFile, ::testing::Values(EphemerisLayout::Standard, EphemerisLayout::Padded),
                         [](const auto& param) {
                             return param.param == EphemerisLayout::Padded ? "Padded" : "Standard";
                         });

// --- result codes ------------------------------------------------------------

TEST(EphemerisCodes, ArgumentsFileAndBodies) {
    EphemerisFile file;
    Vector3 p{1, 1, 1}, v{1, 1, 1};
    EXPECT_EQ(file.solarSystemState(2451545.0, kMars, kOriginSun, p, v), 2);  // no file
    EXPECT_EQ(p.x, 0.0);
    EXPECT_FALSE(file.close());

    Synthetic f;
    ASSERT_TRUE(file.open(writeFile("codes.405", f.bytes())));
    const double jd = f.start + 3.0;
    EXPECT_EQ(file.solarSystemState(jd, 0, kOriginSun, p, v), 1);
    EXPECT_EQ(file.solarSystemState(jd, 12, kOriginSun, p, v), 1);
    EXPECT_EQ(file.solarSystemState(jd, kMars, 2, p, v), 1);
    EXPECT_EQ(file.solarSystemState(jd, kMars, -1, p, v), 1);
    EXPECT_EQ(file.solarSystemState(std::nan(""), kMars, kOriginSun, p, v), 1);
    EXPECT_EQ(file.solarSystemState(INFINITY, kMars, kOriginSun, p, v), 1);
    double out[6];
    EXPECT_EQ(file.targetRelativeTo(jd, 14, kTargetSun, out), 1);
    EXPECT_EQ(file.targetRelativeTo(jd, kTargetMars, 0, out), 1);
    EXPECT_EQ(file.targetRelativeTo(jd, kTargetMars, kTargetMars, out), 2);

    SolarSystemBody body;
    EXPECT_EQ(makeBody(0, 12, "Twelve", body), 2);
    EXPECT_EQ(body.type, 0);
    EXPECT_EQ(body.number, 0);
    EXPECT_EQ(makeBody(2, 4, "Mars", body), 1);
    EXPECT_EQ(makeBody(0, kMoon, std::string(60, 'x'), body), 0);
    EXPECT_EQ(body.number, kMoon);
    EXPECT_EQ(body.name.size(), 49u);
    EXPECT_EQ(makeBody(0, kMars, "\xC2\xB0" + std::string(60, 'o'), body), 0);  // cut on a character
    EXPECT_EQ(body.name.size(), 50u);

    ASSERT_EQ(makeBody(0, kMars, "Mars", body), 0);
    Vector3 direct, directV;
    ASSERT_EQ(file.solarSystemState(jd, kMars, kOriginSun, direct, directV), 0);
    ASSERT_EQ(file.bodyState(jd, body, kOriginSun, p, v), 0);
    EXPECT_EQ(p.x, direct.x);
    EXPECT_EQ(file.bodyState(jd, body, 5, p, v), 1);
    EXPECT_EQ(file.bodyState(f.end + 1.0, body, kOriginSun, p, v), 12);
    body.number = 99;
    EXPECT_EQ(file.bodyState(jd, body, kOriginSun, p, v), 11);
    // A minor planet has no state here: a failure with zero outputs, not a silent success.
    ASSERT_EQ(makeBody(1, 433, "Eros", body), 0);
    p = Vector3{5, 5, 5};
    EXPECT_EQ(file.bodyState(jd, body, kOriginSun, p, v), 2);
    EXPECT_EQ(p.x, 0.0);
    body.type = 7;
    EXPECT_EQ(file.bodyState(jd, body, kOriginSun, p, v), 2);
    EXPECT_TRUE(file.close());
    EXPECT_EQ(file.solarSystemState(jd, kMars, kOriginSun, p, v), 2);
}

TEST(EphemerisCodes, ProcessWideReaderAndFreeFunctions) {
    Synthetic f;
    const std::string path = writeFile("process.405", f.bytes());
    double start = -1, end = -1, span = -1;
    ASSERT_TRUE(openEphemeris(path, start, end, span));
    EXPECT_EQ(start, f.start);
    EXPECT_EQ(end, f.end);
    EXPECT_EQ(span, 32.0);
    Vector3 p, v;
    EXPECT_EQ(solarSystemState(f.start + 1.0, kVenus, kOriginBarycentre, p, v), 0);
    SolarSystemBody venus;
    makeBody(0, kVenus, "Venus", venus);
    EXPECT_EQ(bodyState(f.start + 1.0, venus, kOriginBarycentre, p, v), 0);
    EXPECT_TRUE(closeEphemeris());
    EXPECT_FALSE(closeEphemeris());
    std::string error;
    EXPECT_FALSE(openEphemeris(path + ".absent", start, end, span, &error));
    EXPECT_EQ(start, 0.0);
    EXPECT_EQ(span, 0.0);
    EXPECT_NE(error.find(path + ".absent"), std::string::npos) << error;
    EXPECT_EQ(solarSystemState(f.start + 1.0, kVenus, kOriginBarycentre, p, v), 2);
}

// --- damaged and hostile files -----------------------------------------------

struct Damage {
    const char* name;
    std::function<void(Synthetic&)> header;                  // change to the header fields
    std::function<void(std::vector<unsigned char>&)> bytes;  // change to the written bytes
    const char* message;                                     // part of the expected message
};

TEST(DamagedEphemeris, RefusedAtOpeningWithAMessage) {
    // Keeps the first `bytes` bytes (erase rather than resize: no zero fill to reason about).
    auto cut = [](size_t bytes) {
        return [bytes](std::vector<unsigned char>& b) { b.erase(b.begin() + static_cast<long>(bytes), b.end()); };
    };
    const size_t whole = Synthetic().bytes().size();
    const std::vector<Damage> cases = {
        {"truncated", nullptr, cut(whole - 4000), "truncated"},
        {"header only", nullptr, cut(5000), "too short"},
        {"empty", nullptr, cut(0), "too short"},
        {"span zero", [](Synthetic& f) { f.span = 0.0; }, nullptr, "not positive"},
        {"span negative", [](Synthetic& f) { f.span = -32.0; }, nullptr, "not positive"},
        {"span NaN", [](Synthetic& f) { f.span = std::nan(""); }, nullptr, "not positive"},
        {"start after end", [](Synthetic& f) { std::swap(f.start, f.end); }, nullptr, "not before"},
        {"range not whole records", [](Synthetic& f) { f.end -= 5.0; }, nullptr, "whole number"},
        {"too many coefficients", [](Synthetic& f) { f.pointers[0].count = 19; }, nullptr, "at most 18"},
        {"negative coefficients", [](Synthetic& f) { f.pointers[4].count = -3; }, nullptr, "at most 18"},
        {"pointer past the record", [](Synthetic& f) { f.pointers[6].first = 1010; }, nullptr, "outside"},
        {"pointer over the record times", [](Synthetic& f) { f.pointers[0].first = 1; }, nullptr, "outside"},
        {"no sub-intervals", [](Synthetic& f) { f.pointers[10].subintervals = 0; }, nullptr, "sub-intervals"},
        {"Sun absent", [](Synthetic& f) { f.pointers[10].count = 0; }, nullptr, "absent"},
        {"huge counts",
         [](Synthetic& f) {
             f.pointers[2] = {INT32_MAX, INT32_MAX, INT32_MAX};
             f.constantCount = INT32_MAX;
         },
         nullptr, "constants"},
        {"huge sub-intervals", [](Synthetic& f) { f.pointers[9].subintervals = INT32_MAX; }, nullptr, "outside"},
        {"other record length", [](Synthetic& f) { f.pointers[12].count = 0; }, nullptr, "7184 bytes"},
        {"foreign file", [](Synthetic& f) { f.au = 1.0; }, nullptr, "known layout"},
        {"record times shifted", nullptr,
         [](auto& b) {
             const double wrong = 2400000.5;
             std::memcpy(b.data() + 2 * kEphemerisRecordBytes, &wrong, 8);
         },
         "do not match"},
    };
    for (const Damage& d : cases) {
        Synthetic f;
        if (d.header) d.header(f);
        std::vector<unsigned char> bytes = f.bytes();
        if (d.bytes) d.bytes(bytes);
        const std::string path = writeFile(std::string("damaged-") + d.name, bytes);
        EphemerisFile file;
        std::string error;
        EXPECT_FALSE(file.open(path, &error)) << d.name;
        EXPECT_FALSE(file.isOpen()) << d.name;
        EXPECT_NE(error.find(path), std::string::npos) << d.name << ": " << error;
        EXPECT_NE(error.find(d.message), std::string::npos) << d.name << ": " << error;
        Vector3 p, v;
        EXPECT_EQ(file.solarSystemState(f.start + 1.0, kMars, kOriginSun, p, v), 2) << d.name;
    }
}

TEST(DamagedEphemeris, DamagedRecordFailsOnlyItsRequests) {
    Synthetic f;
    f.records = 3;
    std::vector<unsigned char> bytes = f.bytes();
    // The middle record claims other days; the last one holds a NaN.
    const double wrong = 1.0;
    std::memcpy(bytes.data() + 3 * kEphemerisRecordBytes, &wrong, 8);
    const double nan = std::nan("");
    std::memcpy(bytes.data() + 4 * kEphemerisRecordBytes + 8 * 500, &nan, 8);
    EphemerisFile file;
    std::string error;
    // The last record is checked at opening, so a NaN there is refused at once.
    EXPECT_FALSE(file.open(writeFile("nan-last.405", bytes), &error));
    std::memcpy(bytes.data() + 4 * kEphemerisRecordBytes + 8 * 500, &wrong, 8);
    ASSERT_TRUE(file.open(writeFile("bad-middle.405", bytes), &error)) << error;
    Vector3 p, v;
    EXPECT_EQ(file.solarSystemState(f.start + 1.0, kMars, kOriginSun, p, v), 0);
    p = Vector3{3, 3, 3};
    EXPECT_EQ(file.solarSystemState(f.start + 40.0, kMars, kOriginSun, p, v), 2);
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(file.solarSystemState(f.start + 70.0, kMars, kOriginSun, p, v), 0);
    EXPECT_EQ(file.solarSystemState(f.start + 40.0, kMars, kOriginSun, p, v), 2);  // not cached as good
}

TEST(DamagedEphemeris, ADamagedRecordIsToldApartFromAnInstantOutside) {
    Synthetic f;
    std::vector<unsigned char> bytes = f.bytes();
    const double nan = std::nan("");
    std::memcpy(bytes.data() + 3 * kEphemerisRecordBytes + 8 * 700, &nan, 8);
    EphemerisFile file;
    ASSERT_TRUE(file.open(writeFile("nan-middle.405", bytes)));
    Vector3 p, v;
    EXPECT_EQ(file.solarSystemState(f.end + 1.0, kMars, kOriginSun, p, v), 2);
    EXPECT_EQ(file.damage(), "");  // outside is not damage
    EXPECT_EQ(file.solarSystemState(f.start + 40.0, kMars, kOriginSun, p, v), 2);
    EXPECT_EQ(file.damage(), "record 3 (JD 2451568.5 to 2451600.5) holds a non-finite coefficient at index 701");
    EXPECT_EQ(file.solarSystemState(f.start + 1.0, kMars, kOriginSun, p, v), 0);
    EXPECT_NE(file.damage(), "");  // kept until the file is opened again
    ASSERT_TRUE(file.open(writeFile("sound.405", f.bytes())));
    EXPECT_EQ(file.damage(), "");
}

TEST(DamagedEphemeris, OnlyARegularFileIsOpenedAndWithoutBlocking) {
    const std::string dir = test::makeTempDir();
    ASSERT_EQ(::mkfifo((dir + "/fifo.405").c_str(), 0644), 0);
    ::symlink((dir + "/b").c_str(), (dir + "/a").c_str());
    ::symlink((dir + "/a").c_str(), (dir + "/b").c_str());
    const std::pair<std::string, std::string> cases[] = {
        {dir, " is a directory"},
        {dir + "/fifo.405", " is a named pipe (FIFO)"},
        {dir + "/a", " is a loop of symbolic links"},
        {dir + "/none.405", " does not exist"},
    };
    for (const auto& [path, what] : cases) {
        // An explicit path is handed on as it is, for the reader to say what it is.
        EXPECT_EQ(findEphemerisFile(path), path);
        EphemerisFile file;
        std::string error;
        EXPECT_FALSE(file.open(path, &error));
        EXPECT_EQ(error, "ephemeris file " + path + what);
    }
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(EphemerisDigest, TheDefaultFileMustMatchTheDigestWrittenWithIt) {
    const std::string dir = test::makeTempDir();
    // The search's first place: <dir>/share/celestra/celestra.405.
    setExecutablePathOverride(dir + "/bin/celestra");
    ASSERT_EQ(::mkdir((dir + "/share").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir((dir + "/share/celestra").c_str(), 0700), 0);
    std::vector<unsigned char> bytes = Synthetic().bytes();
    const std::string path = dir + "/share/celestra/celestra.405";
    const auto writeTo = [](const std::string& file, const void* data, size_t size) {
        std::ofstream(file, std::ios::binary).write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    };
    writeTo(path, bytes.data(), bytes.size());
    const std::string digest = sha256Hex(bytes.data(), bytes.size()) + "  celestra.405\n";

    // No digest beside it (a file copied alone): used, with a diagnostic.
    std::vector<std::string> lines;
    const LogSink old = setLogSink([&](const std::string& line) { lines.push_back(line); });
    EphemerisFile reader;
    std::string found, error;
    EXPECT_TRUE(openProgramEphemeris(reader, "", found, &error)) << error;
    EXPECT_EQ(found, path);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("no digest file"), std::string::npos);

    writeTo(ephemerisDigestPath(path), digest.data(), digest.size());
    EXPECT_TRUE(verifyEphemerisDigest(path, &error)) << error;
    EXPECT_TRUE(openProgramEphemeris(reader, "", found, &error)) << error;

    // One flipped exponent bit in a coefficient: a sound header, wrong places.
    bytes[3 * kEphemerisRecordBytes + 8 * 100 + 7] ^= 0x10;
    writeTo(path, bytes.data(), bytes.size());
    EXPECT_FALSE(openProgramEphemeris(reader, "", found, &error));
    EXPECT_FALSE(reader.isOpen());
    EXPECT_EQ(error.rfind("ephemeris file " + path + ": it is damaged: its SHA-256 is ", 0), 0u) << error;
    // The same file named explicitly is the user's choice and is not checked.
    EXPECT_TRUE(openProgramEphemeris(reader, path, found, &error)) << error;

    const std::string garbage = "not a digest\n";
    writeTo(ephemerisDigestPath(path), garbage.data(), garbage.size());
    EXPECT_FALSE(verifyEphemerisDigest(path, &error));
    EXPECT_NE(error.find("does not start with a SHA-256 digest"), std::string::npos) << error;
    setLogSink(old);
    setExecutablePathOverride("");
    std::system(("rm -rf '" + dir + "'").c_str());
}

TEST(DamagedEphemeris, RandomHeaderDamageNeverCrashes) {
    // Random words over the numeric header fields: every file is either
    // refused with a message or read without touching memory outside the record.
    std::mt19937 random(405);
    const std::vector<unsigned char> good = Synthetic().bytes();
    int opened = 0;
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<unsigned char> bytes = good;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            const size_t offset = 2652 + 4 * (random() % 53);
            const uint32_t word = random() % 3 == 0 ? static_cast<uint32_t>(random() % 2000) : random();
            std::memcpy(bytes.data() + offset, &word, 4);
        }
        const std::string path = writeFile("random.405", bytes);
        EphemerisFile file;
        std::string error;
        if (file.open(path, &error)) {
            ++opened;
            double out[6];
            for (double jd : {file.info().startJd, file.info().endJd, 0.5 * (file.info().startJd + file.info().endJd)})
                for (int target = 1; target <= 13; ++target) file.targetRelativeTo(jd, target, 12, out);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_LT(opened, 300);  // most damage is caught
}

// --- the default ephemeris (DE405) against JPL's test points -----------------

void checkAgainstTestPoints(const std::string& ephemerisPath, int expectedPoints) {
    CELESTRA_REQUIRE_FILE(testpo, test::testDataFile("testpo.405"));
    std::vector<EphemerisTestPoint> points;
    std::string error;
    ASSERT_TRUE(readEphemerisTestPoints(testpo, points, &error)) << error;
    EphemerisFile file;
    ASSERT_TRUE(file.open(ephemerisPath, &error)) << error;
    EXPECT_EQ(file.info().layout, EphemerisLayout::Standard);
    EXPECT_EQ(file.info().deNumber, 405);
    const EphemerisCheckResult r = checkEphemerisTestPoints(file, points, 1e-12);
    std::printf("%s: %d test points, max error %.2e au (RMS %.2e), %.2e au/day (RMS %.2e), %.2e rad\n",
                ephemerisPath.c_str(), r.checked, r.maxPositionError, r.rmsPositionError, r.maxVelocityError,
                r.rmsVelocityError, r.maxAngleError);
    EXPECT_EQ(r.checked, expectedPoints);
    EXPECT_EQ(r.failed, 0) << r.firstFailure;
}

TEST(RealEphemeris, BuiltDe405AgreesWithJplTestPoints) {
    // Every test point of 1960-01-01 .. 2060-01-01 lies inside the file.
    CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
    checkAgainstTestPoints(path, 1201);
}

TEST(RealEphemeris, PaddedCopyReadsTheSameStates) {
    // The real file's header rewritten in the padded layout must give identical states.
    CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
    std::ifstream in(path, std::ios::binary);
    std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 3u * kEphemerisRecordBytes);
    std::vector<unsigned char> fields(bytes.begin() + 2652, bytes.begin() + 2856);
    std::memset(bytes.data() + 2652, 0, 2864 - 2652);
    std::memcpy(bytes.data() + 2656, fields.data(), 24);             // start, end, span
    std::memcpy(bytes.data() + 2680, fields.data() + 24, 4);         // constant count
    std::memcpy(bytes.data() + 2688, fields.data() + 28, 204 - 28);  // AU .. libration pointer
    const std::string padded = writeFile("de405-padded.bin", bytes);

    EphemerisFile standardFile, paddedFile;
    std::string error;
    ASSERT_TRUE(standardFile.open(path, &error)) << error;
    ASSERT_TRUE(paddedFile.open(padded, &error)) << error;
    EXPECT_EQ(paddedFile.info().layout, EphemerisLayout::Padded);
    for (double jd : {2451545.0, 2455000.3, 2466160.5}) {
        for (int body = kMercury; body <= kMoon; ++body) {
            Vector3 p1, v1, p2, v2;
            ASSERT_EQ(standardFile.solarSystemState(jd, body, kOriginBarycentre, p1, v1), 0);
            ASSERT_EQ(paddedFile.solarSystemState(jd, body, kOriginBarycentre, p2, v2), 0);
            EXPECT_EQ(p1.x, p2.x);
            EXPECT_EQ(v1.z, v2.z);
        }
    }
}

TEST(RealEphemeris, ConcurrentCallersGetConsistentStates) {
    CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
    EphemerisFile file;
    ASSERT_TRUE(file.open(path));
    // Two threads alternate between records (forcing reads and cache resets);
    // each result must equal the one computed alone beforehand.
    const double instants[2][3] = {{2451600.25, 2460000.75, 2452000.5}, {2458000.1, 2451700.9, 2465000.0}};
    Vector3 expected[2][3];
    for (int t = 0; t < 2; ++t)
        for (int i = 0; i < 3; ++i) {
            Vector3 v;
            ASSERT_EQ(file.solarSystemState(instants[t][i], t == 0 ? kMoon : kJupiter, kOriginSun, expected[t][i], v),
                      0);
        }
    int mismatches[2] = {0, 0};
    auto work = [&](int t) {
        for (int round = 0; round < 2000; ++round) {
            const int i = round % 3;
            Vector3 p, v;
            if (file.solarSystemState(instants[t][i], t == 0 ? kMoon : kJupiter, kOriginSun, p, v) != 0 ||
                p.x != expected[t][i].x || p.z != expected[t][i].z)
                ++mismatches[t];
        }
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    EXPECT_EQ(mismatches[0], 0);
    EXPECT_EQ(mismatches[1], 0);
}

// --- where the program looks for its ephemeris -------------------------------

TEST(FindEphemerisFile, SearchOrder) {
    const std::string dir = test::makeTempDir();
    for (const char* sub : {"/prefix", "/prefix/bin", "/prefix/share", "/prefix/share/celestra", "/data",
                            "/data/celestra", "/sys1", "/sys1/celestra", "/sys2", "/sys2/celestra"})
        ASSERT_EQ(::mkdir((dir + sub).c_str(), 0700), 0) << sub;
    setExecutablePathOverride(dir + "/prefix/bin/planetarium");
    test::ScopedEnv dataHome("XDG_DATA_HOME", dir + "/data");
    // A relative entry does not count; a trailing slash does not matter.
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", dir + "/sys1:share:" + dir + "/sys2/");
    auto touch = [](const std::string& p) { std::ofstream(p) << "x"; };

    const std::string installed = dir + "/prefix/share/celestra/celestra.405";
    const std::string user = dir + "/data/celestra/celestra.405";
    const std::string sys1 = dir + "/sys1/celestra/celestra.405";
    const std::string sys2 = dir + "/sys2/celestra/celestra.405";
    EXPECT_EQ(ephemerisSearchPaths(), (std::vector<std::string>{installed, user, sys1, sys2}));
    EXPECT_EQ(findEphemerisFile(), "");
    // Beside the executable is no place for data.
    touch(dir + "/prefix/bin/planetarium.405");
    touch(dir + "/prefix/bin/celestra.405");
    EXPECT_EQ(findEphemerisFile(), "");
    touch(sys2);
    EXPECT_EQ(findEphemerisFile(), sys2);
    touch(sys1);
    EXPECT_EQ(findEphemerisFile(), sys1);
    touch(user);
    EXPECT_EQ(findEphemerisFile(), user);
    touch(installed);
    EXPECT_EQ(findEphemerisFile(), installed);
    // An explicit path wins, and a wrong one is not replaced by another file:
    // it is handed on, for opening it to say what is wrong.
    EXPECT_EQ(findEphemerisFile(user), user);
    EXPECT_EQ(findEphemerisFile(dir + "/absent.405"), dir + "/absent.405");
    EXPECT_EQ(findEphemerisFile(dir + "/prefix"), dir + "/prefix");
    EXPECT_EQ(ephemerisSearchPaths(dir + "/x.405"), (std::vector<std::string>{dir + "/x.405"}));
    setExecutablePathOverride("");
}

}  // namespace
}  // namespace celestra
