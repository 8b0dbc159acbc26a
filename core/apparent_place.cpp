#include "core/apparent_place.h"

#include <cmath>
#include <limits>

#include "core/nutation.h"
#include "core/rotation_matrix.h"

namespace celestra {

namespace {

// Light-time convergence, days (0.9 µs: 3 cm of the Moon's motion), and a
// bound on the passes (each shrinks the error by v/c, so three suffice).
constexpr double kLightTimeTolerance = 1e-11;
constexpr int kLightTimeMaxPasses = 10;

constexpr double kArcsecToRad = 1.0 / kArcsecPerRad;
// Radial velocity km/s -> AU/day.
constexpr double kKmPerSecToAuPerDay = 86400.0 / kAuKmIau1976;

// IAU 1976 precession matrix from the mean equator and equinox of jdFrom to
// that of jdTo. The last pair is kept per thread: a chart update precesses
// thousands of vectors to one instant.
const RotationMatrix& precessionMatrix(JulianDay jdFrom, JulianDay jdTo) {
    // NaN: no instant matches before the first computation.
    thread_local JulianDay lastFrom = std::numeric_limits<double>::quiet_NaN(), lastTo = lastFrom;
    thread_local RotationMatrix last = RotationMatrix::identity();
    if (jdFrom == lastFrom && jdTo == lastTo) return last;
    const double bigT = (jdFrom - kJ2000) / kDaysPerJulianCentury;
    const double t = (jdTo - jdFrom) / kDaysPerJulianCentury;
    const double w = 2306.2181 + (1.39656 - 0.000139 * bigT) * bigT;
    const double zeta = (w + ((0.30188 - 0.000344 * bigT) + 0.017998 * t) * t) * t * kArcsecToRad;
    const double z = (w + ((1.09468 + 0.000066 * bigT) + 0.018203 * t) * t) * t * kArcsecToRad;
    const double theta =
        ((2004.3109 + (-0.85330 - 0.000217 * bigT) * bigT) + ((-0.42665 - 0.000217 * bigT) - 0.041833 * t) * t) * t *
        kArcsecToRad;
    last = RotationMatrix::aboutZ(-z) * RotationMatrix::aboutY(theta) * RotationMatrix::aboutZ(-zeta);
    lastFrom = jdFrom;
    lastTo = jdTo;
    return last;
}

// Nutation matrix (mean of date -> true of date) at a TDB instant, kept per thread.
const RotationMatrix& nutationMatrix(JulianDay jdTdb) {
    thread_local JulianDay lastJd = std::numeric_limits<double>::quiet_NaN();
    thread_local RotationMatrix last = RotationMatrix::identity();
    if (jdTdb == lastJd) return last;
    const EarthTilt tilt = earthTilt(jdTdb);
    const double eps0 = tilt.meanObliquityDeg * kDegToRad;
    const double eps = tilt.trueObliquityDeg * kDegToRad;
    const double dPsi = tilt.nutationLongitudeArcsec * kArcsecToRad;
    last = RotationMatrix::aboutX(-eps) * RotationMatrix::aboutZ(-dPsi) * RotationMatrix::aboutX(eps0);
    lastJd = jdTdb;
    return last;
}

// Deflection, aberration, precession and nutation of an observer-to-body
// vector, then its right ascension and declination of date.
void finishApparentPlace(Vector3 geo, double lightTimeDays, const EarthState& observer, double& raHours,
                         double& decDeg) {
    geo = sunField(geo, observer.helioPos);
    geo = aberration(geo, observer.baryVel, lightTimeDays);
    geo = precess(kJ2000, geo, observer.jdTdb);
    geo = nutate(observer.jdTdb, NutationDirection::MeanToTrue, geo);
    vectorToRaDec(geo, raHours, decDeg);
}

}  // namespace

void starVectors(const StarPlaceInput& star, Vector3& pos, Vector3& vel) {
    const double parallax = star.parallaxArcsec > 0.0 ? star.parallaxArcsec : kMinimumParallaxArcsec;
    const double distance = kArcsecPerRad / parallax;
    const double alpha = star.raHours * kHoursToRad;
    const double delta = star.decDeg * kDegToRad;
    const double sa = std::sin(alpha), ca = std::cos(alpha);
    const double sd = std::sin(delta), cd = std::cos(delta);
    pos = Vector3{cd * ca, cd * sa, sd} * distance;

    // An angle of x arcseconds at distance 206264.8/parallax AU spans x/parallax AU.
    const double perCenturyToPerDay = 1.0 / (parallax * kDaysPerJulianCentury);
    const double vAlpha = 15.0 * star.pmRaSecPerCentury * cd * perCenturyToPerDay;
    const double vDelta = star.pmDecArcsecPerCentury * perCenturyToPerDay;
    const double vRadial = star.radialVelocityKmS * kKmPerSecToAuPerDay;
    const Vector3 eAlpha{-sa, ca, 0.0};
    const Vector3 eDelta{-sd * ca, -sd * sa, cd};
    const Vector3 eRadial{cd * ca, cd * sa, sd};
    vel = eAlpha * vAlpha + eDelta * vDelta + eRadial * vRadial;
}

Vector3 properMotion(const Vector3& pos, const Vector3& vel, JulianDay jdTdb) { return pos + vel * (jdTdb - kJ2000); }

Vector3 baryToGeo(const Vector3& bodyBary, const Vector3& observerBary, double& lightTimeDays) {
    const Vector3 geo = bodyBary - observerBary;
    lightTimeDays = geo.norm() / kLightAuPerDay;
    return geo;
}

Vector3 sunField(const Vector3& geo, const Vector3& observerHelio) {
    const double pMag = geo.norm();
    const double eMag = observerHelio.norm();
    if (pMag == 0.0 || eMag == 0.0) return geo;
    const Vector3 p = geo * (1.0 / pMag);
    const Vector3 e = observerHelio * (1.0 / eMag);
    const double cosPE = p.dot(e);
    if (std::fabs(cosPE) > 0.9999999999) return geo;
    const Vector3 sunToBody = observerHelio + geo;
    const Vector3 q = sunToBody * (1.0 / sunToBody.norm());
    // 2GM / (c^2 |e|): 4.07 mas at 1 AU, the deflection's scale.
    const double f1 = 2.0 * kSunGm / (kLightAuPerDay * kLightAuPerDay * eMag);
    const double f2 = 1.0 + q.dot(e);
    const Vector3 deflected = p + (e * p.dot(q) - q * cosPE) * (f1 / f2);
    return deflected * (pMag / deflected.norm());
}

Vector3 aberration(const Vector3& geo, const Vector3& observerVel, double lightTimeDays) {
    const double pMag = lightTimeDays * kLightAuPerDay;
    const double vMag = observerVel.norm();
    if (pMag <= 0.0 || vMag == 0.0) return geo;
    const double beta = vMag / kLightAuPerDay;
    const double cosD = geo.dot(observerVel) / (pMag * vMag);
    const double gammaInverse = std::sqrt(1.0 - beta * beta);
    const double p = beta * cosD;
    const double q = (1.0 + p / (1.0 + gammaInverse)) * lightTimeDays;
    return (geo * gammaInverse + observerVel * q) * (1.0 / (1.0 + p));
}

Vector3 precess(JulianDay jdFrom, const Vector3& v, JulianDay jdTo) { return precessionMatrix(jdFrom, jdTo) * v; }

Vector3 nutate(JulianDay jdTdb, NutationDirection direction, const Vector3& v) {
    const RotationMatrix& n = nutationMatrix(jdTdb);
    return direction == NutationDirection::MeanToTrue ? n * v : n.transposeTimes(v);
}

void vectorToRaDec(const Vector3& v, double& raHours, double& decDeg) {
    const double rho = std::sqrt(v.x * v.x + v.y * v.y);
    if (rho == 0.0 && v.z == 0.0) {
        raHours = decDeg = 0.0;
        return;
    }
    double ra = (rho == 0.0 ? 0.0 : std::atan2(v.y, v.x)) / kHoursToRad;
    if (ra < 0.0) ra += 24.0;
    if (ra >= 24.0) ra -= 24.0;
    raHours = ra;
    decDeg = std::atan2(v.z, rho) * kRadToDeg;
}

void observerVectors(const ObserverSite& site, double siderealHours, Vector3& pos, Vector3& vel) {
    const double phi = site.latitude * kDegToRad;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double oneMinusF2 = (1.0 - kEarthFlattening) * (1.0 - kEarthFlattening);
    const double c = 1.0 / std::sqrt(cosPhi * cosPhi + oneMinusF2 * sinPhi * sinPhi);
    const double s = oneMinusF2 * c;
    const double heightKm = site.height / 1000.0;
    const double a = kEarthRadiusKm * c + heightKm;  // km
    const double b = kEarthRadiusKm * s + heightKm;
    const double lambda = (siderealHours * 15.0 + site.longitude) * kDegToRad;
    const double sinL = std::sin(lambda), cosL = std::cos(lambda);
    pos = Vector3{a * cosPhi * cosL, a * cosPhi * sinL, b * sinPhi} * (1.0 / kAuKmIau1976);
    const double speed = kEarthRotationRadPerSec * a * cosPhi * 86400.0 / kAuKmIau1976;  // AU/day
    vel = Vector3{-sinL, cosL, 0.0} * speed;
}

Vector3 earthFixedToSpace(double siderealHours, double poleXArcsec, double poleYArcsec, const Vector3& v) {
    // Polar motion W = R2(xp) R1(yp) (passive, IERS Conventions), then the
    // Earth's rotation R3(-θ).
    const RotationMatrix w =
        RotationMatrix::aboutY(poleXArcsec * kArcsecToRad) * RotationMatrix::aboutX(poleYArcsec * kArcsecToRad);
    return RotationMatrix::aboutZ(-siderealHours * kHoursToRad) * (w * v);
}

EarthState observerState(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const ObserverSite& site) {
    Vector3 pos, vel;
    observerVectors(site, siderealTime(jdTt, deltaTSeconds, false), pos, vel);
    const JulianDay tdb = earth.jdTdb;
    pos = precess(tdb, nutate(tdb, NutationDirection::TrueToMean, pos), kJ2000);
    vel = precess(tdb, nutate(tdb, NutationDirection::TrueToMean, vel), kJ2000);
    EarthState out = earth;
    out.baryPos += pos;
    out.baryVel += vel;
    out.helioPos += pos;
    out.helioVel += vel;
    return out;
}

void apparentStar(const EarthState& observer, const StarPlaceInput& star, double& raHours, double& decDeg) {
    Vector3 pos, vel;
    starVectors(star, pos, vel);
    double lightTime = 0.0;
    const Vector3 geo = baryToGeo(properMotion(pos, vel, observer.jdTdb), observer.baryPos, lightTime);
    finishApparentPlace(geo, lightTime, observer, raHours, decDeg);
}

void topocentricStar(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const StarPlaceInput& star,
                     const ObserverSite& site, double& raHours, double& decDeg) {
    apparentStar(observerState(earth, jdTt, deltaTSeconds, site), star, raHours, decDeg);
}

int apparentBody(const EarthState& observer, const BodyPositionFn& body, double& raHours, double& decDeg,
                 double& distanceAu) {
    raHours = decDeg = distanceAu = 0.0;
    const JulianDay tdb = observer.jdTdb;
    Vector3 pos;
    if (const int rc = body(tdb, pos); rc != 0) return rc;
    double lightTime = 0.0;
    Vector3 geo = baryToGeo(pos, observer.baryPos, lightTime);
    const double geometricDistance = lightTime * kLightAuPerDay;

    // Iterate on the light time itself: a test on the emission instant
    // (a Julian day near 2.4e6, resolved to 4.7e-10 day) could not be tighter
    // than 1e-8 day, and the Moon moves 26 m in that time (14 mas).
    for (int pass = 0; pass < kLightTimeMaxPasses; ++pass) {
        const double previous = lightTime;
        if (const int rc = body(tdb - previous, pos); rc != 0) return rc;
        geo = baryToGeo(pos, observer.baryPos, lightTime);
        if (std::fabs(lightTime - previous) <= kLightTimeTolerance) break;
    }
    finishApparentPlace(geo, lightTime, observer, raHours, decDeg);
    distanceAu = geometricDistance;
    return 0;
}

int topocentricBody(const EarthState& earth, JulianDay jdTt, double deltaTSeconds, const BodyPositionFn& body,
                    const ObserverSite& site, double& raHours, double& decDeg, double& distanceAu) {
    return apparentBody(observerState(earth, jdTt, deltaTSeconds, site), body, raHours, decDeg, distanceAu);
}

}  // namespace celestra
