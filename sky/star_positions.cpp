#include "sky/star_positions.h"

#include <algorithm>
#include <cmath>

#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/horizon.h"

namespace celestra {

namespace {

constexpr double kChartLatitudeLimitDeg = 89.9999;
constexpr double kTanPiOver8 = 0.41421356237309503;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kQuarterPi = kPi / 4.0;
// Coefficients (-1)^k / (2k + 1) of the arctangent series in t².
constexpr double kAtan[10] = {1.0,        -1.0 / 3.0,  1.0 / 5.0,   -1.0 / 7.0,  1.0 / 9.0,
                              -1.0 / 11.0, 1.0 / 13.0, -1.0 / 15.0, 1.0 / 17.0, -1.0 / 19.0};
// Objects converted per block of the listed form (gathered into contiguous arrays).
constexpr std::size_t kBlock = 256;

// The arctangent without branches, so that the loops over many objects
// compile to vector code (this file is built with -O3, -fno-math-errno and
// -fno-trapping-math for that; see CMakeLists.txt). Both quotients are
// always formed; the selects then pick the right one.
inline double atan2Select(double y, double x) {
    const double ax = std::fabs(x), ay = std::fabs(y);
    const bool steep = ay > ax;
    const double numerator = steep ? ax : ay;
    const double denominator = steep ? ay : ax;
    // Both zero: 0/1 = 0 rather than 0/0.
    const double t0 = numerator / (denominator > 0.0 ? denominator : 1.0);  // [0, 1]
    // atan t = π/4 + atan((t - 1)/(t + 1)) brings t to |t| <= tan(π/8), where
    // ten terms of the alternating series leave an error below t^21/21 < 5e-10.
    const bool reduced = t0 > kTanPiOver8;
    const double shifted = (t0 - 1.0) / (t0 + 1.0);
    const double t = reduced ? shifted : t0;
    // Estrin's scheme: independent pairs of coefficients, then the powers.
    const double t2 = t * t, t4 = t2 * t2, t8 = t4 * t4;
    const double p01 = kAtan[0] + kAtan[1] * t2, p23 = kAtan[2] + kAtan[3] * t2, p45 = kAtan[4] + kAtan[5] * t2;
    const double p67 = kAtan[6] + kAtan[7] * t2, p89 = kAtan[8] + kAtan[9] * t2;
    const double series = (p01 + p23 * t4) + (p45 + p67 * t4) * t8 + p89 * (t8 * t8);
    double angle = (reduced ? kQuarterPi : 0.0) + t * series;
    angle = steep ? kHalfPi - angle : angle;
    angle = x < 0.0 ? kPi - angle : angle;
    return y < 0.0 ? -angle : angle;
}

// Zenith distance and azimuth (degrees) of direction (x, y, z). With the
// hour angle H = LST - α: cos δ cos H = x cos LST + y sin LST and
// cos δ sin H = x sin LST - y cos LST. Up is sin h, north cos h cos A and
// east cos h sin A = -cos δ sin H, so an object west of the meridian
// (sin H > 0) gets an azimuth above 180°.
inline void horizonAngles(const ChartRotation& r, double x, double y, double z, double& zenithDistanceDeg,
                          double& azimuthDeg) {
    const double cosDecCosH = x * r.cosLst + y * r.sinLst;
    const double cosDecSinH = x * r.sinLst - y * r.cosLst;
    const double up = cosDecCosH * r.cosLat + z * r.sinLat;
    const double north = z * r.cosLat - cosDecCosH * r.sinLat;
    const double east = -cosDecSinH;
    const double horizontal = std::sqrt(north * north + east * east);  // cos h, >= 0
    zenithDistanceDeg = 90.0 - atan2Select(up, horizontal) * kRadToDeg;
    double az = atan2Select(east, north) * kRadToDeg;
    az = az < 0.0 ? az + 360.0 : az;
    // -1e-15 + 360 rounds to 360 exactly; the range is [0, 360).
    azimuthDeg = az >= 360.0 ? 0.0 : az;
}

// n contiguous directions to n contiguous 16.16 results.
void convertContiguous(const ChartRotation& r, const double* x, const double* y, const double* z, std::size_t n,
                       int32_t* zenithDistance, int32_t* azimuth) {
    for (std::size_t i = 0; i < n; ++i) {
        double zd, az;
        horizonAngles(r, x[i], y[i], z[i], zd, az);
        zenithDistance[i] = toFixed16(zd);
        azimuth[i] = toFixed16(az);
    }
}

}  // namespace

double chartAtan2(double y, double x) { return atan2Select(y, x); }

void ChartDirections::add(double raHours, double decDeg) {
    const double ra = raHours * kHoursToRad, dec = decDeg * kDegToRad;
    const double cosDec = std::cos(dec);
    x.push_back(cosDec * std::cos(ra));
    y.push_back(cosDec * std::sin(ra));
    z.push_back(std::sin(dec));
}

ChartDirections catalogueDirections() {
    ChartDirections d;
    d.x.reserve(kCatalogueObjectCount);
    d.y.reserve(kCatalogueObjectCount);
    d.z.reserve(kCatalogueObjectCount);
    for (int k = 0; k < kCatalogueObjectCount; ++k) {
        const StarEntry* entry = catalogueObject(k);
        // Every number 0..9328 has a record; a missing one would point at the pole.
        d.add(entry != nullptr ? entry->rightAscension : 0.0, entry != nullptr ? entry->declination : 90.0);
    }
    return d;
}

ChartRotation chartRotation(double localSiderealHours, double latitudeDeg) {
    const double lat = std::isnan(latitudeDeg) ? 0.0
                                               : std::clamp(latitudeDeg, -kChartLatitudeLimitDeg, kChartLatitudeLimitDeg);
    const double lst = localSiderealHours * kHoursToRad;
    ChartRotation r;
    r.cosLst = std::cos(lst);
    r.sinLst = std::sin(lst);
    r.sinLat = std::sin(lat * kDegToRad);
    r.cosLat = std::cos(lat * kDegToRad);
    return r;
}

void chartZenithAzimuthDeg(const ChartRotation& rotation, double x, double y, double z, double& zenithDistanceDeg,
                           double& azimuthDeg) {
    horizonAngles(rotation, x, y, z, zenithDistanceDeg, azimuthDeg);
}

void chartPositionsFixed(const ChartRotation& rotation, const ChartDirections& directions, const int32_t* objects,
                         std::size_t n, int32_t* zenithDistance, int32_t* azimuth) {
    double x[kBlock], y[kBlock], z[kBlock];
    int32_t zd[kBlock], az[kBlock];
    for (std::size_t first = 0; first < n; first += kBlock) {
        const std::size_t count = std::min(kBlock, n - first);
        for (std::size_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(objects[first + i]);
            x[i] = directions.x[k];
            y[i] = directions.y[k];
            z[i] = directions.z[k];
        }
        convertContiguous(rotation, x, y, z, count, zd, az);
        for (std::size_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(objects[first + i]);
            zenithDistance[k] = zd[i];
            azimuth[k] = az[i];
        }
    }
}

void chartPositionsFixed(const ChartRotation& rotation, const ChartDirections& directions, int32_t* zenithDistance,
                         int32_t* azimuth) {
    convertContiguous(rotation, directions.x.data(), directions.y.data(), directions.z.data(), directions.size(),
                      zenithDistance, azimuth);
}

}  // namespace celestra
