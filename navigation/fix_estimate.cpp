#include "navigation/fix_estimate.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/angles.h"
#include "core/number_text.h"

namespace celestra {
namespace {

// G below this share of A·C: the azimuths differ by less than about 0.002°.
constexpr double kParallelShare = 1e-9;
// A residual sum this small against F (relative) is rounding of a zero.
constexpr double kResidualRounding = 1e-9;
constexpr int kEllipsePoints = 72;
constexpr const char* kTooFewSights = "Fewer than two active sights: no fix.";

double normaliseLongitude(double lon) { return wrapFloor(lon + 180.0, 360.0) - 180.0; }

// A latitude stepped past a pole comes down the other meridian.
void foldOverPole(double& lat, double& lon) {
    if (lat > 90.0) {
        lat = 180.0 - lat;
        lon += 180.0;
    } else if (lat < -90.0) {
        lat = -180.0 - lat;
        lon += 180.0;
    }
    lon = normaliseLongitude(lon);
}

struct Sums {
    double a = 0.0, b = 0.0, c = 0.0, d = 0.0, e = 0.0, f = 0.0;
};

Sums sumsOf(const std::vector<CMeasure*>& active) {
    Sums s;
    for (const CMeasure* m : active) {
        const double z = m->fixWorking[0] * kDegToRad;
        const double p = m->fixWorking[1];
        const double cz = std::cos(z), sz = std::sin(z);
        s.a += cz * cz;
        s.b += sz * cz;
        s.c += sz * sz;
        s.d += p * cz;
        s.e += p * sz;
        s.f += p * p;
    }
    return s;
}

void ellipse(const Sums& s, int n, double dLat, double dLon, double latitude, FixResults& fix) {
    const double cosL = std::cos(latitude * kDegToRad);
    double q = s.f - dLat * s.d - cosL * dLon * s.e;
    if (q < 0.0 && q > -kResidualRounding * s.f) q = 0.0;
    if (!(q >= 0.0)) {
        fix.ellipseReason = "No standard error: the residuals sum to a negative value.";
        return;
    }
    fix.standardError = 60.0 * std::sqrt(q / (n - 2));
    fix.hasStandardError = true;

    const double theta = 0.5 * std::atan2(2.0 * s.b, s.a - s.c);
    fix.theta = theta * kRadToDeg;
    const double sin2t = std::sin(2.0 * theta);
    if (std::fabs(sin2t) < 1e-15) {
        fix.ellipseReason = "No error ellipse: sin 2\u03b8 = 0 (B = 0), so its axes cannot be formed.";
        return;
    }
    const double spread = s.b / sin2t;
    const double wide = n / 2.0 - spread;
    if (!(wide > 0.0)) {
        fix.ellipseReason = "No error ellipse: the lines of position do not bound it (n/2 - B/sin 2\u03b8 <= 0).";
        return;
    }
    fix.semiMinorAxis = kEllipseScale * fix.standardError / std::sqrt(n / 2.0 + spread);
    fix.semiMajorAxis = kEllipseScale * fix.standardError / std::sqrt(wide);
    double x = fix.theta;
    if (x < 0.0) x += 360.0;
    double v = x - 90.0;
    if (v < 0.0) v += 360.0;
    fix.ellipseOrientation = v > 0.0 ? 360.0 - v : v;
    fix.hasEllipse = true;
}

void appendLatLon(double lat, double lon, int format, std::string& out) {
    out += "          ";
    formatAngle(lat, primedFormat(format), AngleSignStyle::Latitude, true, out);
    out += "\n          ";
    formatAngle(lon, format, AngleSignStyle::Longitude, true, out);
}

}  // namespace

bool estimateFix(CMeasure& sight, const PlaceContext& context, ObservationList& list) {
    FixResults& fix = list.fix;
    fix = FixResults{};
    std::vector<CMeasure*> active;
    list.CopyActive(active);
    double lat = 0.0, lon = 0.0;
    for (CMeasure* m : active) {
        lat = m->observer.latitude;
        lon = m->observer.longitude;
        m->fixWorking = {m->azimuth, m->intercept, m->hc};
    }
    const int n = static_cast<int>(active.size());
    fix.sightsUsed = n;
    if (n < 2) {
        fix.reason = kTooFewSights;
        return false;
    }

    double previousShift = kFixInitialShiftNm;
    Sums sums;
    double dLat = 0.0, dLon = 0.0, stepLatitude = lat;
    for (int pass = 1; pass <= kFixMaxPasses; ++pass) {
        sums = sumsOf(active);
        const double g = sums.a * sums.c - sums.b * sums.b;
        if (!(g > kParallelShare * sums.a * sums.c)) {
            fix.reason = "The lines of position are parallel: no fix can be formed.";
            return false;
        }
        stepLatitude = lat;
        const double cosL = std::cos(lat * kDegToRad);
        if (std::fabs(cosL) < 1e-9) {
            fix.reason = "The estimate reached a pole: no fix can be formed.";
            return false;
        }
        dLon = (sums.a * sums.e - sums.b * sums.d) / (g * cosL);
        dLat = (sums.c * sums.d - sums.b * sums.e) / g;
        lon += dLon;
        lat += dLat;
        foldOverPole(lat, lon);
        const double d2 = dLat * dLat + dLon * dLon * cosL * cosL;
        const double shift = d2 > 0.0 ? 60.0 * std::sqrt(d2) : 0.0;
        sight.fixShift = shift;
        fix.iterations = pass;
        if (previousShift - shift < kFixStopThresholdNm) break;
        previousShift = shift;
        for (CMeasure* m : active) {
            CMeasure copy = *m;
            copy.observer.latitude = lat;
            copy.observer.longitude = lon;
            if (reduceSight(copy, context, m->hs) != Status::Ok) {
                fix.reason = "A sight could not be reduced again: no fix.";
                return false;
            }
            m->fixWorking = {copy.azimuth, copy.intercept, copy.hc};
            m->fixLatitude = lat;
            m->fixLongitude = lon;
        }
    }
    // The last step stands without a re-reduction; the sights carry it too,
    // so the texts and the graph show the fix that was computed.
    for (CMeasure* m : active) {
        m->fixLatitude = lat;
        m->fixLongitude = lon;
    }
    sight.fixLatitude = lat;
    sight.fixLongitude = lon;
    fix.formed = true;
    fix.latitude = lat;
    fix.longitude = lon;
    if (n > 2) ellipse(sums, n, dLat, dLon, stepLatitude, fix);
    return true;
}

GeoPoint mostProbablePosition(const CMeasure& sight) {
    // The fix is the AP-time position whose runs, by the reduction's dead
    // reckoning, meet the lines of position; carried any other way (a great
    // circle parts from it by about half a mile in a 55-mile run at 45°) the
    // MPP would leave the point the sight's line was computed about.
    return deadReckoning(sight.fixLatitude, sight.fixLongitude, sight.course, sight.speed, sight.runTime);
}

void formatFixText(const CMeasure& sight, int format, std::string& out, bool withMpp) {
    const double lat0 = sight.observer.latitude, lon0 = sight.observer.longitude;
    char text[96];
    snprintfC(text, sizeof text, "AP Correction:\n    %.2lf nM bearing %05.1lf\u00b0 to\n",
              greatCircleDistanceSpherical(lat0, lon0, sight.fixLatitude, sight.fixLongitude),
              initialCourse(lat0, lon0, sight.fixLatitude, sight.fixLongitude));
    out += text;
    appendLatLon(sight.fixLatitude, sight.fixLongitude, format, out);
    out += "\n";
    if (withMpp) {
        const GeoPoint mpp = mostProbablePosition(sight);
        out += "MPP at time of selected OBS:\n";
        appendLatLon(mpp.latitude, mpp.longitude, format, out);
    }
}

std::string lopRowText(const CMeasure& sight, size_t position, const PlaceContext& context) {
    const JulianDay shown =
        sight.timeEnteredAsUtc ? sight.observationTime : sight.observationTime + sight.observer.zoneOffset;
    char text[48];
    snprintfC(text, sizeof text, "%d)  ", static_cast<int>(position + 1));
    std::string row = text;
    std::string part;
    formatDate(shown, true, part);
    row += part + " ";
    formatTimeOfDay(shown, false, part);
    row += part + "    ";
    // Ho in degrees and minutes to 0.1', the precision of a sextant reading.
    return row + formatDegreesMinutes(sight.ho, 2, 1, AngleSignStyle::Signed) + "   " + sightBodyName(sight, context);
}

std::string lopsPageText(ObservationList& list, const PlaceContext& context, int selectedRow, int format) {
    const size_t n = list.CountActive();
    if (n < 2) {
        list.fix = FixResults{};
        list.fix.sightsUsed = static_cast<int>(n);
        list.fix.reason = kTooFewSights;
        return kLopsHint;
    }
    CMeasure* target = nullptr;
    bool withMpp = false;
    if (selectedRow >= 0 && static_cast<size_t>(selectedRow) < list.Count() && list.At(selectedRow).active) {
        target = &list.At(selectedRow);
        withMpp = true;
    } else {
        for (size_t i = 0; i < list.Count() && !target; ++i)
            if (list.At(i).active) target = &list.At(i);
    }
    std::string out;
    if (!estimateFix(*target, context, list)) return list.fix.reason;
    formatFixText(*target, format, out, withMpp);
    if (n > 2) {
        if (list.fix.hasStandardError) {
            char text[48];
            snprintfC(text, sizeof text, "\nErr: %.1lf NMi", list.fix.standardError);
            out += text;
        }
        if (!list.fix.ellipseReason.empty()) out += "\n" + list.fix.ellipseReason;
    }
    return out;
}

std::string inconsistentSightWarning(size_t position) {
    if (position == 0) return {};
    char text[160];
    snprintfC(text, sizeof text,
              "The Observation at index %d does not use the same Assumed Position or time as the other "
              "entries.  Proceed anyway?",
              static_cast<int>(position + 1));
    return text;
}

// ---------------------------------------------------------------------------

namespace {

PlanePoint project(double lat0, double lon0, double lat, double lon) {
    const double dLon = normaliseLongitude(lon - lon0);
    return {dLon * std::cos(lat0 * kDegToRad) * 60.0, (lat - lat0) * 60.0};
}

PlanePoint along(PlanePoint p, double bearingDeg, double nm) {
    const double b = bearingDeg * kDegToRad;
    return {p.x + nm * std::sin(b), p.y + nm * std::cos(b)};
}

double extent(PlanePoint p) { return std::max(std::fabs(p.x), std::fabs(p.y)); }

// Distance of a point from a line of position, measured along its azimuth.
double distanceFromLine(const LopGraphLine& line, PlanePoint p) {
    const double z = line.azimuthDeg * kDegToRad;
    return std::fabs((p.x - line.intercept.x) * std::sin(z) + (p.y - line.intercept.y) * std::cos(z));
}

}  // namespace

LopGraph makeLopGraph(const CMeasure& sight, const ObservationList& list) {
    LopGraph graph;
    graph.originLatitude = sight.observer.latitude;
    graph.originLongitude = sight.observer.longitude;
    const FixResults& fix = list.fix;
    double span = 0.0;
    if (fix.formed) {
        graph.hasFix = true;
        graph.fix = project(graph.originLatitude, graph.originLongitude, fix.latitude, fix.longitude);
        span = std::max(span, extent(graph.fix));
    } else if (!fix.reason.empty()) {
        graph.statusLines.push_back(fix.reason);
    }
    if (fix.formed && fix.hasEllipse) {
        graph.hasEllipse = true;
        graph.ellipseMajorNm = fix.semiMajorAxis;
        graph.ellipseMinorNm = fix.semiMinorAxis;
        graph.majorAxisBearingDeg = wrapFloor(fix.theta + 90.0, 180.0);
        for (int k = 0; k <= kEllipsePoints; ++k) {
            const double t = 2.0 * kPi * k / kEllipsePoints;
            PlanePoint p = along(graph.fix, fix.theta, fix.semiMinorAxis * std::cos(t));
            p = along(p, graph.majorAxisBearingDeg, fix.semiMajorAxis * std::sin(t));
            graph.ellipse.push_back(p);
            span = std::max(span, extent(p));
        }
    } else if (fix.formed && !fix.ellipseReason.empty()) {
        graph.statusLines.push_back(fix.ellipseReason);
    }
    for (size_t i = 0; i < list.Count(); ++i) {
        const CMeasure& m = list.At(i);
        if (!m.active) continue;
        LopGraphLine line;
        line.number = static_cast<int>(i + 1);
        line.azimuthDeg = m.azimuth;
        line.interceptNm = m.intercept * 60.0;
        const PlanePoint ap =
            project(graph.originLatitude, graph.originLongitude, m.observer.latitude, m.observer.longitude);
        line.intercept = along(ap, m.azimuth, line.interceptNm);
        span = std::max({span, extent(ap), extent(line.intercept)});
        graph.lines.push_back(line);
    }
    graph.halfSpanNm = std::max(10.0, 1.25 * span);
    for (LopGraphLine& line : graph.lines) {
        line.from = along(line.intercept, line.azimuthDeg + 90.0, 3.0 * graph.halfSpanNm);
        line.to = along(line.intercept, line.azimuthDeg - 90.0, 3.0 * graph.halfSpanNm);
    }
    return graph;
}

int nearestLop(const LopGraph& graph, PlanePoint click) {
    int best = -1;
    double bestDistance = 0.0;
    for (size_t i = 0; i < graph.lines.size(); ++i) {
        const double d = distanceFromLine(graph.lines[i], click);
        if (best < 0 || d < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = d;
        }
    }
    return best;
}

std::string lopStatusText(const LopGraphLine& line, PlanePoint click) {
    const double d = distanceFromLine(line, click);
    char text[160];
    snprintfC(text, sizeof text,
              "OBS %d:         Az: %.1lf\u00b0      Intercept: %.2lf NMi\n           Dist: %.2lf NMi\r\n", line.number,
              line.azimuthDeg, line.interceptNm, d);
    return text;
}

}  // namespace celestra
