#include "sky/star_positions.h"

#include <algorithm>
#include <cmath>

#include "catalogs/deep_sky.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/nutation.h"
#include "core/time_scales.h"
#include "model/observer_state.h"
#include "solarsystem/planets.h"

namespace celestra {

namespace {

constexpr double kTanPiOver8 = 0.41421356237309503;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kQuarterPi = kPi / 4.0;
// Coefficients (-1)^k / (2k + 1) of the arctangent series in t².
constexpr double kAtan[10] = {1.0,         -1.0 / 3.0, 1.0 / 5.0,   -1.0 / 7.0, 1.0 / 9.0,
                              -1.0 / 11.0, 1.0 / 13.0, -1.0 / 15.0, 1.0 / 17.0, -1.0 / 19.0};
// Objects converted per block (gathered into contiguous arrays).
constexpr std::size_t kBlock = 256;
// Where deflection stops: the body within 1e-10 of the Sun-observer line in cosine.
constexpr double kDeflectionCosineLimit = 0.9999999999;

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

// Zenith distance and azimuth (degrees) of a horizon vector (east, north, up).
inline void zenithAzimuth(double east, double north, double up, double& zd, double& az) {
    const double horizontal = std::sqrt(north * north + east * east);  // cos h, >= 0
    zd = 90.0 - atan2Select(up, horizontal) * kRadToDeg;
    double a = atan2Select(east, north) * kRadToDeg;
    a = a < 0.0 ? a + 360.0 : a;
    // -1e-15 + 360 rounds to 360 exactly; the range is [0, 360).
    az = a >= 360.0 ? 0.0 : a;
}

// A block of contiguous objects: J2000 position and velocity in, true
// zenith distance, azimuth (degrees) and place of date out. Every step is
// the one of core/apparent_place.cpp with the instant's constants hoisted;
// the deflection's guard and the missing observer state are selects.
struct Block {
    double px[kBlock], py[kBlock], pz[kBlock], vx[kBlock], vy[kBlock], vz[kBlock];
    double zd[kBlock], az[kBlock], ra[kBlock], dec[kBlock];
};

void apparentBlock(const HorizonFrame& f, Block& b, std::size_t n) {
    const double dt = f.jdTdb - kJ2000;
    const Vector3 o = f.observer.baryPos;
    const Vector3 helio = f.observer.helioPos;
    const Vector3 e = f.sunToObserver;
    const Vector3 v = f.velocity;
    const double vMag = v.norm();
    const double inverseSpeed = vMag > 0.0 ? 1.0 / vMag : 0.0;
    const RotationMatrix& h = f.toHorizon;
    const RotationMatrix& d = f.toDate;
    for (std::size_t i = 0; i < n; ++i) {
        // Proper motion to the instant, then the observer-to-object vector.
        const double gx = b.px[i] + b.vx[i] * dt - o.x;
        const double gy = b.py[i] + b.vy[i] * dt - o.y;
        const double gz = b.pz[i] + b.vz[i] * dt - o.z;
        const double r = std::sqrt(gx * gx + gy * gy + gz * gz);
        const double lightTime = r / kLightAuPerDay;

        // Deflection by the Sun (sunField): p unit vector, q Sun-to-object unit vector.
        const double inverseR = 1.0 / r;
        const double ux = gx * inverseR, uy = gy * inverseR, uz = gz * inverseR;
        const double cosPE = ux * e.x + uy * e.y + uz * e.z;
        const double sx = helio.x + gx, sy = helio.y + gy, sz = helio.z + gz;
        const double inverseS = 1.0 / std::sqrt(sx * sx + sy * sy + sz * sz);
        const double qx = sx * inverseS, qy = sy * inverseS, qz = sz * inverseS;
        const double k = f.deflectionScale / (1.0 + qx * e.x + qy * e.y + qz * e.z);
        const double pq = ux * qx + uy * qy + uz * qz;
        const double dx = ux + (e.x * pq - qx * cosPE) * k;
        const double dy = uy + (e.y * pq - qy * cosPE) * k;
        const double dz = uz + (e.z * pq - qz * cosPE) * k;
        const double keep = r / std::sqrt(dx * dx + dy * dy + dz * dz);
        const bool deflect = std::fabs(cosPE) <= kDeflectionCosineLimit;
        const double fx = deflect ? dx * keep : gx, fy = deflect ? dy * keep : gy, fz = deflect ? dz * keep : gz;

        // Aberration (aberration): exact in v/c to first order in the potential.
        const double pMag = lightTime * kLightAuPerDay;
        const double cosD = (fx * v.x + fy * v.y + fz * v.z) * inverseSpeed / pMag;
        const double p = f.beta * cosD;
        const double q = (1.0 + p / (1.0 + f.gammaInverse)) * lightTime;
        const double s = 1.0 / (1.0 + p);
        const double ax = (fx * f.gammaInverse + v.x * q) * s;
        const double ay = (fy * f.gammaInverse + v.y * q) * s;
        const double az = (fz * f.gammaInverse + v.z * q) * s;

        // Precession and nutation, then the horizon: one matrix each.
        zenithAzimuth(h.m[0][0] * ax + h.m[0][1] * ay + h.m[0][2] * az,
                      h.m[1][0] * ax + h.m[1][1] * ay + h.m[1][2] * az,
                      h.m[2][0] * ax + h.m[2][1] * ay + h.m[2][2] * az, b.zd[i], b.az[i]);
        const double ex = d.m[0][0] * ax + d.m[0][1] * ay + d.m[0][2] * az;
        const double ey = d.m[1][0] * ax + d.m[1][1] * ay + d.m[1][2] * az;
        const double ez = d.m[2][0] * ax + d.m[2][1] * ay + d.m[2][2] * az;
        double ra = atan2Select(ey, ex) / kHoursToRad;
        ra = ra < 0.0 ? ra + 24.0 : ra;
        b.ra[i] = ra >= 24.0 ? 0.0 : ra;
        b.dec[i] = atan2Select(ez, std::sqrt(ex * ex + ey * ey)) * kRadToDeg;
    }
}

// Refraction as the horizon transformation applies it (not vectorised: the
// iteration's pass count differs from object to object).
inline double seenZenithDistance(const HorizonFrame& f, double trueZenithDistance) {
    return f.refraction == kRefractionNone ? trueZenithDistance
                                           : apparentZenithDistance(f.site, f.refraction, trueZenithDistance);
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

void CatalogueMotions::add(const StarPlaceInput& star) {
    Vector3 pos, vel;
    starVectors(star, pos, vel);
    px.push_back(pos.x);
    py.push_back(pos.y);
    pz.push_back(pos.z);
    vx.push_back(vel.x);
    vy.push_back(vel.y);
    vz.push_back(vel.z);
}

CatalogueMotions catalogueMotions() {
    CatalogueMotions m;
    for (auto* v : {&m.px, &m.py, &m.pz, &m.vx, &m.vy, &m.vz}) v->reserve(kCatalogueObjectCount);
    for (int k = 0; k < kCatalogueObjectCount; ++k) {
        const StarEntry* entry = catalogueObject(k);
        // Every number 0..9328 has a record; a missing one would point at the pole.
        StarPlaceInput pole;
        pole.decDeg = 90.0;
        m.add(entry != nullptr ? starPlaceInput(*entry) : pole);
    }
    return m;
}

HorizonFrame makeHorizonFrame(const PlaceContext& places, const CObserverState& observer) {
    HorizonFrame f;
    f.jdUtc = observer.instant;
    const JulianDay jdTt = ttFromUtc(f.jdUtc);
    const double dT = deltaT(f.jdUtc);
    f.jdTdb = tdbFromTt(jdTt);
    f.site = observerSite(observer);
    f.latitudeDeg = observer.latitude;
    f.refraction = observer.refraction != 0 ? kRefractionSite : kRefractionNone;

    EarthState earth;
    if (places.ephemeris != nullptr && earthState(*places.ephemeris, jdTt, places.earth(), earth) == Status::Ok) {
        f.haveObserverState = true;
        f.observer = observerState(earth, jdTt, dT, f.site);
        f.jdTdb = f.observer.jdTdb;
        f.sunDistance = f.observer.helioPos.norm();
        f.sunToObserver = f.observer.helioPos * (1.0 / f.sunDistance);
        f.deflectionScale = 2.0 * kSunGm / (kLightAuPerDay * kLightAuPerDay * f.sunDistance);
        f.velocity = f.observer.baryVel;
        f.beta = f.velocity.norm() / kLightAuPerDay;
        f.gammaInverse = std::sqrt(1.0 - f.beta * f.beta);
    }

    // The columns of the J2000-to-date matrix are the axes carried through
    // the pipeline's own precession and nutation.
    const Vector3 axes[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int j = 0; j < 3; ++j) {
        const Vector3 c = nutate(f.jdTdb, NutationDirection::MeanToTrue, precess(kJ2000, axes[j], f.jdTdb));
        f.toDate.m[0][j] = c.x;
        f.toDate.m[1][j] = c.y;
        f.toDate.m[2][j] = c.z;
    }

    // The horizon's axes of date, as equatorialToHorizontal forms them.
    const double gast = siderealTime(jdTt, dT, false);
    f.localSiderealHours = localSiderealTime(gast, observer.longitude);
    const double phi = f.site.latitude * kDegToRad, lambda = f.site.longitude * kDegToRad;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const Vector3 up = earthFixedToSpace(gast, 0.0, 0.0, {cosPhi * cosLambda, cosPhi * sinLambda, sinPhi});
    const Vector3 north = earthFixedToSpace(gast, 0.0, 0.0, {-sinPhi * cosLambda, -sinPhi * sinLambda, cosPhi});
    const Vector3 east = -earthFixedToSpace(gast, 0.0, 0.0, {sinLambda, -cosLambda, 0.0});
    f.dateToHorizon = {{{east.x, east.y, east.z}, {north.x, north.y, north.z}, {up.x, up.y, up.z}}};
    f.toHorizon = f.dateToHorizon * f.toDate;
    return f;
}

void truePlacesFixed(const HorizonFrame& frame, const CatalogueMotions& motions, const int32_t* objects, std::size_t n,
                     int32_t* zenithDistance, int32_t* azimuth, double* raHours, double* decDeg) {
    Block b;
    for (std::size_t first = 0; first < n; first += kBlock) {
        const std::size_t count = std::min(kBlock, n - first);
        for (std::size_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(objects[first + i]);
            b.px[i] = motions.px[k];
            b.py[i] = motions.py[k];
            b.pz[i] = motions.pz[k];
            b.vx[i] = motions.vx[k];
            b.vy[i] = motions.vy[k];
            b.vz[i] = motions.vz[k];
        }
        apparentBlock(frame, b, count);
        for (std::size_t i = 0; i < count; ++i) {
            const auto k = static_cast<std::size_t>(objects[first + i]);
            zenithDistance[k] = toFixed16(seenZenithDistance(frame, b.zd[i]));
            azimuth[k] = toFixed16(b.az[i]);
            raHours[k] = b.ra[i];
            decDeg[k] = b.dec[i];
        }
    }
}

void truePlace(const HorizonFrame& frame, const StarPlaceInput& star, double& zenithDistanceDeg, double& azimuthDeg,
               double& raHours, double& decDeg) {
    CatalogueMotions one;
    one.add(star);
    Block b;
    b.px[0] = one.px[0];
    b.py[0] = one.py[0];
    b.pz[0] = one.pz[0];
    b.vx[0] = one.vx[0];
    b.vy[0] = one.vy[0];
    b.vz[0] = one.vz[0];
    apparentBlock(frame, b, 1);
    zenithDistanceDeg = seenZenithDistance(frame, b.zd[0]);
    azimuthDeg = b.az[0];
    raHours = b.ra[0];
    decDeg = b.dec[0];
}

bool catalogueObjectPlace(const PlaceContext& places, const CObserverState& observer, int object,
                          double& zenithDistanceDeg, double& azimuthDeg, double& raHours, double& decDeg) {
    const StarEntry* entry = catalogueObject(object);
    if (entry == nullptr) return false;
    truePlace(makeHorizonFrame(places, observer), starPlaceInput(*entry), zenithDistanceDeg, azimuthDeg, raHours,
              decDeg);
    return true;
}

void horizonPlacesOfDate(const HorizonFrame& frame, const ChartDirections& directions, int32_t* zenithDistance,
                         int32_t* azimuth) {
    const RotationMatrix& h = frame.dateToHorizon;
    for (std::size_t i = 0; i < directions.size(); ++i) {
        const double x = directions.x[i], y = directions.y[i], z = directions.z[i];
        double zd, az;
        zenithAzimuth(h.m[0][0] * x + h.m[0][1] * y + h.m[0][2] * z, h.m[1][0] * x + h.m[1][1] * y + h.m[1][2] * z,
                      h.m[2][0] * x + h.m[2][1] * y + h.m[2][2] * z, zd, az);
        zenithDistance[i] = toFixed16(seenZenithDistance(frame, zd));
        azimuth[i] = toFixed16(az);
    }
}

void horizonOfDate(const HorizonFrame& frame, const Vector3& ofDate, double& zenithDistanceDeg, double& azimuthDeg) {
    const Vector3 h = frame.dateToHorizon * ofDate;
    zenithAzimuth(h.x, h.y, h.z, zenithDistanceDeg, azimuthDeg);
    zenithDistanceDeg = seenZenithDistance(frame, zenithDistanceDeg);
}

}  // namespace celestra
