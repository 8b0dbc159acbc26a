// Synthetic sights: the altitude a body has at a known position and instant
// (the engine's place pipeline, airless, geocentric), turned back into the
// sextant reading that the almanac corrections would bring to it. Reducing
// such a sight from any AP must give a line of position through the known
// position.
#pragma once

#include <cmath>

#include "catalogs/star_place.h"
#include "core/horizon.h"
#include "navigation/sight_reduction.h"
#include "solarsystem/planets.h"

namespace celestra::test {

struct TruePosition {
    double latitude = 0.0;  // at the AP time
    double longitude = 0.0;
    double apTime = 0.0;  // JD, UTC
    double course = 0.0;  // the vessel's run
    double speed = 0.0;
};

// The vessel's position at `jd`: the dead reckoning of the sight's own rule
// (degrees of arc per hour = knots / 60).
inline void positionAt(const TruePosition& p, double jd, double& lat, double& lon) {
    const double t = (jd - p.apTime) * 24.0, v = p.speed / 60.0, c = p.course * kDegToRad;
    lat = p.latitude + v * t * std::cos(c);
    lon = p.longitude + v / std::cos(p.latitude * kDegToRad) * t * std::sin(c);
}

// Geocentric airless altitude and azimuth of the sight's body at (lat, lon).
inline bool trueAltitude(const PlaceContext& context, const CMeasure& m, double lat, double lon, double& altitude,
                         double& azimuth, double& distanceKm) {
    double ra = 0.0, dec = 0.0, au = 0.0;
    const Status status =
        m.isStar ? geocentricStarUtc(context, m.observationTime, starPlaceInput(*starByNumber(m.bodyIndex)), ra, dec)
                 : geocentricPlaceUtc(context, m.observationTime, m.bodyIndex, ra, dec, au);
    if (status != Status::Ok) return false;
    ObserverSite site;
    site.latitude = lat;
    site.longitude = lon;
    const HorizontalPlace h = equatorialToHorizontal(ttFromUtc(m.observationTime), deltaT(m.observationTime), 0.0, 0.0,
                                                     site, ra, dec, kRefractionNone);
    altitude = 90.0 - h.zenithDistanceDeg;
    azimuth = h.azimuthDeg;
    distanceKm = au * kAuKmIau1976;
    return true;
}

// The sextant altitude that reduces to the true altitude at the vessel's
// position: Ho = Hc, then Ha from Ho = Ha + R(Ha) + PA(Ha) ± SD by fixed-point
// iteration, then Hs = Ha − I + dip. The corrections are the almanac's
// (0.0167° cot(Ha + 7.31/(Ha + 4.4)) scaled by 0.28 P/(T + 273); HP cos Ha
// with 6378.15 km and the Moon's 0.0032° oblateness terms; SD from the mean
// diameters).
inline double synthesiseHs(const PlaceContext& context, const CMeasure& m, const TruePosition& truth) {
    double lat = 0.0, lon = 0.0;
    positionAt(truth, m.observationTime, lat, lon);
    double hc = 0.0, zn = 0.0, km = 0.0;
    if (!trueAltitude(context, m, lat, lon, hc, zn, km)) return std::nan("");
    const double sd = m.isStar ? 0.0 : bodyDiameterKm(m.bodyIndex) / 2.0 / km * kRadToDeg;
    double ho = hc;
    if (!m.isStar && (m.bodyIndex == kSun || m.bodyIndex == kMoon)) ho += m.upperLimb ? sd : -sd;
    if (m.correctionsDisabled) return ho;
    const double height = std::max(0.0, m.observer.height);
    double ha = ho;
    for (int i = 0; i < 50; ++i) {
        const double r = -0.28 * m.observer.pressure / (m.observer.temperature + 273.0) * 0.0167 /
                         std::tan((ha + 7.31 / (ha + 4.4)) * kDegToRad);
        double pa = 0.0;
        if (!m.isStar) {
            pa = 6378.15 / km * kRadToDeg * std::cos(ha * kDegToRad);
            if (m.bodyIndex == kMoon) {
                const double l = lat * kDegToRad;
                pa += 0.0032 * std::sin(2 * l) * std::cos(zn * kDegToRad) * std::sin(ha * kDegToRad) -
                      0.0032 * std::sin(l) * std::sin(l) * std::cos(ha * kDegToRad);
            }
        }
        ha = ho - r - pa;
    }
    return ha - m.indexCorrection + 0.0293 * std::sqrt(height);  // ordinary dip only
}

}  // namespace celestra::test
