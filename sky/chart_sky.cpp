#include "sky/chart_sky.h"

#include <cmath>

#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/time_scales.h"
#include "sky/universe.h"

namespace celestra {

namespace {

// How far north and east of the Moon the direction points lie, degrees.
constexpr double kMoonAxisDeg = 0.5;
// How far beyond a comet its tail-direction point lies, degrees.
constexpr double kCometTailAxisDeg = 1.0;
// The grid's hour circles go through every third column (one an hour).
constexpr int kColumnsPerHour = 3;
constexpr int kEquatorRow = 8;  // -80° + 8 × 10°

HorizontalPoint pointOf(int32_t zdFixed, int32_t azFixed) {
    return {static_cast<float>(fromFixed16(zdFixed)), static_cast<float>(fromFixed16(azFixed))};
}

// East-north-up unit vector of a horizontal place, and back.
Vector3 enuOf(double zd, double az) {
    const double s = std::sin(zd * kDegToRad);
    return {s * std::sin(az * kDegToRad), s * std::cos(az * kDegToRad), std::cos(zd * kDegToRad)};
}
HorizontalPoint horizontalOf(const Vector3& v) {
    const double n = v.norm();
    const double zd = std::acos(std::clamp(v.z / n, -1.0, 1.0)) * kRadToDeg;
    const double az = wrapFloor(std::atan2(v.x, v.y) * kRadToDeg, 360.0);
    return {static_cast<float>(zd), static_cast<float>(az)};
}

}  // namespace

void skyAxisPoints(double zenithDistanceDeg, double azimuthDeg, double latitudeDeg, double stepDeg,
                   HorizontalPoint& north, HorizontalPoint& east) {
    const Vector3 m = enuOf(zenithDistanceDeg, azimuthDeg);
    const Vector3 pole = enuOf(90.0 - latitudeDeg, 0.0);
    Vector3 toward = pole - m * pole.dot(m);  // the pole's direction along the sky at m
    const double len = toward.norm();
    if (len < 1e-9) {
        north = east = {static_cast<float>(zenithDistanceDeg), static_cast<float>(azimuthDeg)};
        return;
    }
    toward *= 1.0 / len;
    // Looking out at the sky with north up, east is on the left: north × m.
    const Vector3 eastward = toward.cross(m);
    const double t = std::tan(stepDeg * kDegToRad);
    north = horizontalOf(m + toward * t);
    east = horizontalOf(m + eastward * t);
}

bool awayFromPoint(double zenithDistanceDeg, double azimuthDeg, double fromZenithDistanceDeg, double fromAzimuthDeg,
                   double stepDeg, HorizontalPoint& out) {
    const Vector3 m = enuOf(zenithDistanceDeg, azimuthDeg);
    const Vector3 from = enuOf(fromZenithDistanceDeg, fromAzimuthDeg);
    Vector3 away = m * from.dot(m) - from;  // along the sky at m, away from `from`
    const double len = away.norm();
    out = {static_cast<float>(zenithDistanceDeg), static_cast<float>(azimuthDeg)};
    if (len < 1e-9) return false;
    away *= std::tan(stepDeg * kDegToRad) / len;
    out = horizontalOf(m + away);
    return true;
}

void equatorialOfHorizontal(double zenithDistanceDeg, double azimuthDeg, double lstHours, double latitudeDeg,
                            double& raHours, double& decDeg) {
    const double h = (90.0 - zenithDistanceDeg) * kDegToRad, a = azimuthDeg * kDegToRad, phi = latitudeDeg * kDegToRad;
    const double sinDec = std::sin(phi) * std::sin(h) + std::cos(phi) * std::cos(h) * std::cos(a);
    decDeg = std::asin(std::clamp(sinDec, -1.0, 1.0)) * kRadToDeg;
    // Hour angle, westward positive: west of the meridian (azimuth 180..360) is positive.
    const double y = -std::sin(a) * std::cos(h);
    const double x = std::cos(phi) * std::sin(h) - std::sin(phi) * std::cos(h) * std::cos(a);
    const double hourAngle = std::atan2(y, x) * kRadToDeg / 15.0;
    raHours = wrapFloor(lstHours - hourAngle, 24.0);
}

void equatorialOfChartPlace(const SkySnapshot& sky, double zenithDistanceDeg, double azimuthDeg, double& raHours,
                            double& decDeg) {
    // Bennett's formula takes the apparent zenith distance, so the true one
    // is a single step away.
    const double trueZenithDistance =
        zenithDistanceDeg + (sky.refraction ? refraction(sky.site, kRefractionSite, zenithDistanceDeg) : 0.0);
    equatorialOfHorizontal(trueZenithDistance, azimuthDeg, sky.lstHours, sky.latitude, raHours, decDeg);
}

void snapshotFromChart(const ChartData& chart, const CObserverState& observer, double ephemerisFirst,
                       double ephemerisLast, SkySnapshot& out) {
    const double jd = chart.starsInstant != 0.0 ? chart.starsInstant : observer.instant;
    out.instantUtc = jd;
    out.zoneOffsetDays = observer.zoneOffset;
    out.latitude = observer.latitude;
    out.longitude = observer.longitude;
    out.gmstHours = siderealTimeFromUtc(jd, false);
    out.lstHours = localSiderealTime(out.gmstHours, observer.longitude);
    out.instantInEphemeris = ephemerisLast > ephemerisFirst && jd >= ephemerisFirst && jd <= ephemerisLast;
    out.site = observerSite(observer);
    out.refraction = observer.refraction != 0;

    out.objects.clear();
    out.objects.reserve(chart.visibleObjects.size());
    out.indexOfObject.assign(kCatalogueObjectCount, -1);
    for (int32_t k : chart.visibleObjects) {
        const StarEntry* e = catalogueObject(k);
        if (!e || static_cast<size_t>(k) >= chart.objectZenithDistance.size() ||
            static_cast<size_t>(k) >= chart.objectRaHours.size())
            continue;
        SkyObject o;
        o.object = k;
        o.magnitude = e->magnitude;
        o.raHours = chart.objectRaHours[static_cast<size_t>(k)];
        o.decDeg = chart.objectDecDeg[static_cast<size_t>(k)];
        o.place =
            pointOf(chart.objectZenithDistance[static_cast<size_t>(k)], chart.objectAzimuth[static_cast<size_t>(k)]);
        out.indexOfObject[static_cast<size_t>(k)] = static_cast<int32_t>(out.objects.size());
        out.objects.push_back(o);
    }

    for (int b = 1; b <= 11; ++b) {
        SkyBody& body = out.bodies[static_cast<size_t>(b - 1)];
        const BodySlot& slot = chart.bodies.slot[static_cast<size_t>(b - 1)];
        body = SkyBody{};
        body.body = b;
        body.valid = chart.bodies.valid && b != kEarth && slot.distanceAu > 0.0;
        if (!body.valid) continue;
        body.place = pointOf(slot.zenithDistanceFixed, slot.azimuthFixed);
        body.distanceAu = slot.distanceAu;
        body.angularDiameterDeg = slot.angularDiameterDeg;
        body.magnitude = chart.bodyDetails.magnitude[static_cast<size_t>(b - 1)];
        body.raHours = slot.raHours;
        body.decDeg = slot.decDeg;
    }

    out.moon = MoonDisc{};
    const SkyBody& moon = out.bodies[kMoon - 1];
    if (moon.valid && chart.bodyDetails.bodiesValid) {
        out.moon.valid = true;
        out.moon.illuminatedFraction = chart.bodyDetails.moon.illuminatedFraction;
        out.moon.brightLimbDeg = chart.bodyDetails.moon.brightLimbDeg;
        skyAxisPoints(moon.place.zenithDistance, moon.place.azimuth, observer.latitude, kMoonAxisDeg,
                      out.moon.northPoint, out.moon.eastPoint);
    }

    // The ecliptic, closed.
    out.ecliptic = SkyLine{};
    for (int i = 0; i <= kEclipticPointCount; ++i) {
        const int k = i % kEclipticPointCount;
        out.ecliptic.points.push_back(pointOf(chart.bodyDetails.eclipticZenithDistance[static_cast<size_t>(k)],
                                              chart.bodyDetails.eclipticAzimuth[static_cast<size_t>(k)]));
    }

    // Hour circles every hour, labelled on the equator; parallels every 10°,
    // closed, labelled on the meridian.
    out.equatorialGrid.clear();
    const auto node = [&](int row, int column) {
        const size_t i = static_cast<size_t>(row * kGridColumns + column % kGridColumns);
        return pointOf(chart.grid.zenithDistance[i], chart.grid.azimuth[i]);
    };
    for (int column = 0; column < kGridColumns; column += kColumnsPerHour) {
        SkyLine line;
        line.rightAscension = true;
        line.value = column * kGridColumnStepHours;
        for (int row = 0; row < kGridRows; ++row) line.points.push_back(node(row, column));
        line.labelIndex = kEquatorRow;
        out.equatorialGrid.push_back(std::move(line));
    }
    const int meridianColumn = static_cast<int>(std::lround(out.lstHours / kGridColumnStepHours)) % kGridColumns;
    for (int row = 0; row < kGridRows; ++row) {
        SkyLine line;
        line.value = kGridFirstRowDeg + row * kGridRowStepDeg;
        for (int column = 0; column <= kGridColumns; ++column) line.points.push_back(node(row, column));
        line.labelIndex = meridianColumn;
        out.equatorialGrid.push_back(std::move(line));
    }

    // The comets; the tail points away from the Sun when the Sun has a place.
    out.comets.clear();
    const SkyBody& sun = out.bodies[kSun - 1];
    for (const CometTrack& track : chart.cometTracks) {
        SkyComet comet;
        comet.comet = track.comet;
        comet.name = track.name;
        comet.absoluteMagnitude = track.absoluteMagnitude;
        comet.apparentMagnitude = track.apparentMagnitude;
        comet.present = kCometPresentPoint;
        comet.raHours = track.raHours;
        comet.decDeg = track.decDeg;
        for (const CometTrackPoint& p : track.points)
            comet.points.push_back({pointOf(p.zenithDistanceFixed, p.azimuthFixed), p.valid, p.label});
        const SkyCometPoint& now = comet.presentPoint();
        if (now.valid) {
            if (sun.valid)
                comet.hasTailPoint =
                    awayFromPoint(now.place.zenithDistance, now.place.azimuth, sun.place.zenithDistance,
                                  sun.place.azimuth, kCometTailAxisDeg, comet.tailPoint);
        }
        out.comets.push_back(std::move(comet));
    }

    out.tracks.clear();
    const int days = chart.trackWindow.end - chart.trackWindow.first;
    if (chart.trackValid && days > 0 && chart.track.size() >= static_cast<size_t>(days) * kDailyRecordFloats) {
        const int today = static_cast<int>(jd - ephemerisFirst) - chart.trackWindow.first;
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            OrbitalTrack track;
            track.body = kPathBodies[static_cast<size_t>(slot)];
            track.currentDay = today;
            for (int d = 0; d < days; ++d) {
                const size_t i = static_cast<size_t>(d) * kDailyRecordFloats + 2 * static_cast<size_t>(slot);
                track.days.push_back({chart.track[i], chart.track[i + 1]});
            }
            out.tracks.push_back(std::move(track));
        }
    }
}

}  // namespace celestra
