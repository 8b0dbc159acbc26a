#include "sky/chart_sky.h"

#include <cmath>
#include <cstdlib>

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/log.h"
#include "core/time_scales.h"
#include "solarsystem/daily_ephemeris.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/planets.h"

namespace celestra {

namespace {

// Mean obliquity of the ecliptic at J2000.0, degrees: the drawn ecliptic
// moves by less than a pixel over centuries at any usable zoom.
constexpr double kObliquityDeg = 23.4392911;
constexpr double kEclipticStepDeg = 2.0;
constexpr double kGridSampleDeg = 2.5;
constexpr double kGridRaStepHours = 2.0;
constexpr double kGridDecStepDeg = 15.0;
// How far north and east of the Moon the direction points lie, degrees.
constexpr double kMoonAxisDeg = 0.5;

HorizontalPoint chartPoint(const ChartFrame& frame, double raHours, double decDeg) {
    double zd = 0.0, az = 0.0;
    chartZenithAzimuth(frame, raHours, decDeg, zd, az);
    return {static_cast<float>(zd), static_cast<float>(az)};
}

ObserverSite siteOf(const CObserverState& o) {
    ObserverSite site;
    site.latitude = o.latitude;
    site.longitude = o.longitude;
    site.height = o.height;
    site.temperature = o.temperature;
    site.pressure = o.pressure;
    return site;
}

ObserverSnapshot snapshotOf(const CObserverState& o) {
    ObserverSnapshot s;
    s.flags = o.flags;
    s.instant = o.instant;
    s.zoneOffset = o.zoneOffset;
    s.site = siteOf(o);
    s.value6 = o.height;
    s.value15 = o.refraction;
    return s;
}

void buildEquatorialGrid(const ChartFrame& frame, std::vector<SkyLine>& grid) {
    grid.clear();
    for (double ra = 0.0; ra < 24.0; ra += kGridRaStepHours) {
        SkyLine line;
        line.rightAscension = true;
        line.value = ra;
        for (double dec = -90.0 + kGridDecStepDeg; dec <= 90.0 - kGridDecStepDeg + 1e-9; dec += kGridSampleDeg)
            line.points.push_back(chartPoint(frame, ra, dec));
        grid.push_back(std::move(line));
    }
    for (double dec = -90.0 + kGridDecStepDeg; dec < 90.0 - 1e-9; dec += kGridDecStepDeg) {
        SkyLine line;
        line.value = dec;
        for (double ra = 0.0; ra <= 24.0 + 1e-9; ra += kGridSampleDeg / 15.0) line.points.push_back(chartPoint(frame, ra, dec));
        grid.push_back(std::move(line));
    }
}

void buildEcliptic(const ChartFrame& frame, SkyLine& line) {
    line.points.clear();
    const double se = std::sin(kObliquityDeg * kDegToRad), ce = std::cos(kObliquityDeg * kDegToRad);
    for (double lambda = 0.0; lambda <= 360.0 + 1e-9; lambda += kEclipticStepDeg) {
        const double sl = std::sin(lambda * kDegToRad), cl = std::cos(lambda * kDegToRad);
        const double ra = wrapFloor(std::atan2(sl * ce, cl) * kRadToDeg, 360.0) / 15.0;
        const double dec = std::asin(sl * se) * kRadToDeg;
        line.points.push_back(chartPoint(frame, ra, dec));
    }
}

}  // namespace

bool objectListed(int object, const CUniverseViewDrawState& state) {
    const StarEntry* e = catalogueObject(object);
    if (!e) return false;
    if (object >= kFirstMessierObject) {
        const int bit = object >= kFirstCaldwellObject ? 2 : 1;
        return (state.deepSkySelection & bit) != 0 && e->magnitude <= state.magnitudeLimit;
    }
    return e->magnitude <= state.magnitudeLimit || figureLinkValid(e->figureLink1) || figureLinkValid(e->figureLink2);
}

ChartSky::ChartSky() : paths_(std::make_unique<OrbitalPaths>()) {}
ChartSky::~ChartSky() = default;

bool ChartSky::openEphemeris(const std::string& path, std::string& error) {
    const std::string file = findEphemerisFile(path);
    if (file.empty()) {
        error = "no ephemeris file found";
        return false;
    }
    double span = 0.0;
    if (!celestra::openEphemeris(file, firstJd_, lastJd_, span, &error)) {
        firstJd_ = lastJd_ = 0.0;
        return false;
    }
    context_ = std::make_unique<PlaceContext>(makePlaceContext(processEphemeris()));
    return true;
}

void ChartSky::compute(const CObserverState& observer, const CUniverseViewDrawState& state, bool orbitalPaths,
                       SkySnapshot& out, const Progress& progress) {
    const double jd = observer.instant;
    out.instantUtc = jd;
    out.zoneOffsetDays = observer.zoneOffset;
    out.latitude = observer.latitude;
    out.longitude = observer.longitude;
    out.gmstHours = siderealTimeFromUtc(jd, false);
    out.lstHours = localSiderealTime(out.gmstHours, observer.longitude);
    out.instantInEphemeris = hasEphemeris() && jd >= firstJd_ && jd <= lastJd_;
    const ChartFrame frame = makeChartFrame(out.lstHours, observer.latitude);

    // Catalogue objects: the fast chart conversion of the catalogue place.
    out.objects.clear();
    out.indexOfObject.assign(kCatalogueObjectCount, -1);
    for (int k = 0; k < kCatalogueObjectCount; ++k) {
        if (!objectListed(k, state)) continue;
        const StarEntry* e = catalogueObject(k);
        SkyObject o;
        o.object = k;
        o.magnitude = e->magnitude;
        o.raHours = e->rightAscension;
        o.decDeg = e->declination;
        o.place = chartPoint(frame, o.raHours, o.decDeg);
        out.indexOfObject[static_cast<size_t>(k)] = static_cast<int32_t>(out.objects.size());
        out.objects.push_back(o);
    }

    buildEcliptic(frame, out.ecliptic);
    buildEquatorialGrid(frame, out.equatorialGrid);

    // Bodies: apparent topocentric places with refraction from the site's weather.
    const ObserverSite site = siteOf(observer);
    for (int b = 1; b <= 11; ++b) {
        SkyBody& body = out.bodies[static_cast<size_t>(b - 1)];
        body = SkyBody{};
        body.body = b;
        if (!out.instantInEphemeris || b == kEarth) continue;
        HorizonResult h;
        if (horizonPlace(*context_, jd, b, site, observer.refraction != 0, PlaceForm::Topocentric, h) != 0) continue;
        body.valid = true;
        body.place = {static_cast<float>(90.0 - h.altitudeDeg), static_cast<float>(h.azimuthDeg)};
        body.raHours = h.raHours;
        body.decDeg = h.decDeg;
        body.distanceAu = h.distanceAu;
        if (h.distanceAu > 0.0) body.angularDiameterDeg = bodyDiameterKm(b) / (h.distanceAu * kAuKm) * kRadToDeg;
        planetMagnitude(*context_, b, jd, body.magnitude);
    }

    out.moon = MoonDisc{};
    const SkyBody& moon = out.bodies[kMoon - 1];
    MoonPhase phase;
    if (moon.valid && moonPhase(*context_, jd, phase) == 0) {
        out.moon.valid = true;
        out.moon.illuminatedFraction = phase.illuminatedFraction;
        out.moon.brightLimbDeg = phase.brightLimbDeg;
        const double cosDec = std::max(1e-6, std::cos(moon.decDeg * kDegToRad));
        out.moon.northPoint = chartPoint(frame, moon.raHours, std::min(90.0, moon.decDeg + kMoonAxisDeg));
        out.moon.eastPoint = chartPoint(frame, moon.raHours + kMoonAxisDeg / 15.0 / cosDec, moon.decDeg);
        // The fast conversion has no refraction: move both points by the Moon's own refraction.
        const HorizontalPoint m = chartPoint(frame, moon.raHours, moon.decDeg);
        const float lift = moon.place.zenithDistance - m.zenithDistance;
        out.moon.northPoint.zenithDistance += lift;
        out.moon.eastPoint.zenithDistance += lift;
    }

    // Orbital paths: the daily table (built once, with progress), then the track window.
    out.tracks.clear();
    if (orbitalPaths && out.instantInEphemeris) {
        auto report = [&](const std::string& text) {
            if (progress) progress(text, std::atoi(text.c_str() + text.find_first_of("0123456789")));
        };
        paths_->update(*context_, snapshotOf(observer), true, report);
        if (paths_->trackValid()) {
            const TrackWindow w = paths_->window();
            const int today = static_cast<int>(jd - paths_->places().startJd);
            for (int slot = 0; slot < kPathBodyCount; ++slot) {
                OrbitalTrack track;
                track.body = kPathBodies[static_cast<size_t>(slot)];
                track.currentDay = today - w.first;
                for (int d = w.first; d < w.end; ++d)
                    track.days.push_back({paths_->zenithDistanceDeg(d, slot), paths_->azimuthDeg(d, slot)});
                out.tracks.push_back(std::move(track));
            }
        }
    }
}

}  // namespace celestra
