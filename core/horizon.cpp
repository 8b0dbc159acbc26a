#include "core/horizon.h"

#include <algorithm>
#include <cmath>

namespace celestra {

namespace {

constexpr double kChartLatitudeLimit = 89.9999;
constexpr double kRefractionTolerance = 5e-05;  // degrees of zenith distance
constexpr int kRefractionMaxPasses = 50;        // a pass contracts the error tenfold near the horizon

double clampUnit(double x) { return std::clamp(x, -1.0, 1.0); }

}  // namespace

double refraction(const ObserverSite& site, int option, double zenithDistanceDeg) {
    if (zenithDistanceDeg < 0.1 || zenithDistanceDeg > 91.0) return 0.0;
    // The standard atmosphere's pressure only when it is used: the chart
    // refracts thousands of objects with the site's own.
    const bool own = option == kRefractionSite;
    const double pressure = own ? site.pressure : 1010.0 * std::exp(-site.height / 9100.0);
    const double temperature = own ? site.temperature : 10.0;
    // No air, or a temperature at or below absolute zero: no refraction
    // rather than a negative or infinite one.
    if (pressure <= 0.0 || temperature <= -273.0) return 0.0;
    const double h = 90.0 - zenithDistanceDeg;
    const double r = 0.016667 / std::tan((h + 7.31 / (h + 4.4)) * kDegToRad);
    return r * 0.28 * pressure / (temperature + 273.0);
}

double apparentZenithDistance(const ObserverSite& site, int option, double trueZenithDistanceDeg,
                              double* refractionDeg) {
    double zd = trueZenithDistanceDeg, r = 0.0;
    if (option != kRefractionNone) {
        for (int pass = 0; pass < kRefractionMaxPasses; ++pass) {
            const double previous = zd;
            r = refraction(site, option, zd);
            zd = trueZenithDistanceDeg - r;
            if (std::fabs(zd - previous) <= kRefractionTolerance) break;
        }
    }
    if (refractionDeg) *refractionDeg = r;
    return zd;
}

HorizontalPlace equatorialToHorizontal(JulianDay jdTt, double deltaTSeconds, double poleXArcsec, double poleYArcsec,
                                       const ObserverSite& site, double raHours, double decDeg, int refractionOption) {
    HorizontalPlace out;
    out.raHours = raHours;
    out.decDeg = decDeg;

    const double gast = siderealTime(jdTt, deltaTSeconds, false);
    const double phi = site.latitude * kDegToRad, lambda = site.longitude * kDegToRad;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double sinLambda = std::sin(lambda), cosLambda = std::cos(lambda);
    const Vector3 zenith =
        earthFixedToSpace(gast, poleXArcsec, poleYArcsec, {cosPhi * cosLambda, cosPhi * sinLambda, sinPhi});
    const Vector3 north =
        earthFixedToSpace(gast, poleXArcsec, poleYArcsec, {-sinPhi * cosLambda, -sinPhi * sinLambda, cosPhi});
    const Vector3 west = earthFixedToSpace(gast, poleXArcsec, poleYArcsec, {sinLambda, -cosLambda, 0.0});

    const double alpha = raHours * kHoursToRad, delta = decDeg * kDegToRad;
    const Vector3 p{std::cos(delta) * std::cos(alpha), std::cos(delta) * std::sin(alpha), std::sin(delta)};
    const double pz = p.dot(zenith), pn = p.dot(north), pw = p.dot(west);
    const double proj = std::sqrt(pn * pn + pw * pw);

    double az = proj > 0.0 ? -std::atan2(pw, pn) * kRadToDeg : 0.0;
    if (az < 0.0) az += 360.0;
    if (az >= 360.0) az -= 360.0;
    double zd = std::atan2(proj, pz) * kRadToDeg;
    out.azimuthDeg = az;

    if (refractionOption != kRefractionNone) {
        double r = 0.0;
        zd = apparentZenithDistance(site, refractionOption, zd, &r);
        if (r > 0.0 && zd > 0.01 && proj > 0.0) {
            // The apparent direction: same vertical plane, raised by r.
            const Vector3 horizontal = (p - zenith * pz) * (1.0 / proj);
            const double z = zd * kDegToRad;
            const Vector3 seen = zenith * std::cos(z) + horizontal * std::sin(z);
            vectorToRaDec(seen, out.raHours, out.decDeg);
        }
    }
    out.zenithDistanceDeg = zd;
    return out;
}

ChartFrame makeChartFrame(double localSiderealHours, double latitudeDeg) {
    const double phi = std::clamp(latitudeDeg, -kChartLatitudeLimit, kChartLatitudeLimit) * kDegToRad;
    return {localSiderealHours, std::sin(phi), std::cos(phi)};
}

void chartZenithAzimuth(const ChartFrame& frame, double raHours, double decDeg, double& zenithDistanceDeg,
                        double& azimuthDeg) {
    // Sine and cosine are periodic, so the hour angle needs no wrapping.
    const double hourAngle = (frame.localSiderealHours - raHours) * 15.0 * kDegToRad;
    const double delta = decDeg * kDegToRad;
    const double sinDelta = std::sin(delta), cosDelta = std::cos(delta);
    const double sinH = std::sin(hourAngle), cosH = std::cos(hourAngle);
    const double sinAlt = clampUnit(cosDelta * cosH * frame.cosLatitude + sinDelta * frame.sinLatitude);
    const double alt = std::asin(sinAlt);
    const double denominator = std::max(std::cos(alt) * frame.cosLatitude, 1e-9);
    double az = std::acos(clampUnit((sinDelta - sinAlt * frame.sinLatitude) / denominator)) * kRadToDeg;
    if (sinH >= 0.0) az = 360.0 - az;
    if (az >= 360.0) az -= 360.0;
    zenithDistanceDeg = 90.0 - alt * kRadToDeg;
    azimuthDeg = az;
}

int32_t toFixed16(double degrees) {
    // Outside ±32767° (and NaN) the product has no int32 value.
    if (!(std::fabs(degrees) < 32767.0)) return 0;
    return static_cast<int32_t>(static_cast<float>(degrees) * 65536.0f);
}

}  // namespace celestra
