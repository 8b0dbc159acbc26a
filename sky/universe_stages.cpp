#include "sky/universe_stages.h"

#include <cmath>

#include "catalogs/deep_sky.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/nutation.h"
#include "core/time_scales.h"

namespace celestra {

ObserverSnapshot observerSnapshot(const CObserverState& observer) {
    ObserverSnapshot s;
    s.flags = observer.flags;
    s.instant = observer.instant;
    s.zoneOffset = observer.zoneOffset;
    s.site = observerSite(observer);
    s.height = observer.height;
    s.refraction = observer.refraction;
    return s;
}

double chartLocalSiderealHours(double jdUtc, double eastLongitudeDeg) {
    return localSiderealTime(siderealTimeFromUtc(jdUtc, false), eastLongitudeDeg);
}

bool computeBodies(const PlaceContext& context, const CObserverState& observer, BodySlots& slots) {
    return updateBodies(context, observerSnapshot(observer), slots);
}

std::optional<ChartPlace> chartPlaceOfObject(const PlaceContext& context, int object, double jdUtc,
                                             const CObserverState& observer) {
    const StarEntry* entry = catalogueObject(object);
    if (!entry) return std::nullopt;
    CObserverState at = observer;
    at.instant = jdUtc;
    CatalogueMotions one;
    one.add(starPlaceInput(*entry));
    const int32_t first = 0;
    int32_t zd = 0, az = 0;
    double ra = 0.0, dec = 0.0;
    truePlacesFixed(makeHorizonFrame(context, at), one, &first, 1, &zd, &az, &ra, &dec);
    return ChartPlace{fromFixed16(zd), fromFixed16(az)};
}

std::optional<ChartPlace> chartPlaceOfBody(const PlaceContext& context, int body, double jdUtc,
                                           const CObserverState& observer) {
    if (body < kMercury || body > kMoon || body == kEarth) return std::nullopt;
    CObserverState at = observer;
    at.instant = jdUtc;
    BodySlots slots;
    if (!computeBodies(context, at, slots)) return std::nullopt;
    const BodySlot& slot = slots.slot[static_cast<size_t>(body - 1)];
    if (slot.distanceAu == 0.0) return std::nullopt;  // its place failed
    return ChartPlace{fromFixed16(slot.zenithDistanceFixed), fromFixed16(slot.azimuthFixed)};
}

bool computeBodyDetails(const PlaceContext& context, double jdUtc, const HorizonFrame& frame, BodyDetails& details) {
    // The ecliptic of date: longitude λ on the ecliptic is the direction
    // (cos λ, sin λ cos ε, sin λ sin ε) on the true equator of date.
    const double jdTt = ttFromUtc(jdUtc);
    const double obliquity = earthTilt(tdbFromTt(jdTt)).trueObliquityDeg * kDegToRad;
    const double cosEps = std::cos(obliquity), sinEps = std::sin(obliquity);
    for (int i = 0; i < kEclipticPointCount; ++i) {
        const double lambda = i * kEclipticStepDeg * kDegToRad;
        double zd, az;
        horizonOfDate(frame, {std::cos(lambda), std::sin(lambda) * cosEps, std::sin(lambda) * sinEps}, zd, az);
        details.eclipticZenithDistance[static_cast<size_t>(i)] = toFixed16(zd);
        details.eclipticAzimuth[static_cast<size_t>(i)] = toFixed16(az);
    }

    if (context.ephemeris == nullptr || !(jdUtc >= context.startJd && jdUtc <= context.endJd)) return false;
    MoonPhase moon;
    if (moonPhase(context, jdUtc, moon) != Status::Ok) return false;
    std::array<double, 11> magnitude{};
    for (int body = kMercury; body <= kMoon; ++body)
        if (planetMagnitude(context, body, jdUtc, magnitude[static_cast<size_t>(body - 1)]) != Status::Ok) return false;
    details.moon = moon;
    details.magnitude = magnitude;
    details.bodiesValid = true;
    return true;
}

const ChartDirections& gridDirections() {
    static const ChartDirections directions = [] {
        ChartDirections d;
        for (int r = 0; r < kGridRows; ++r)
            for (int c = 0; c < kGridColumns; ++c)
                d.add(c * kGridColumnStepHours, kGridFirstRowDeg + r * kGridRowStepDeg);
        return d;
    }();
    return directions;
}

void computeGrid(const HorizonFrame& frame, GridNodes& grid) {
    horizonPlacesOfDate(frame, gridDirections(), grid.zenithDistance.data(), grid.azimuth.data());
}

bool computeOrbitalPaths(OrbitalPaths& paths, const PlaceContext& context, const CObserverState& observer, bool pathsOn,
                         const ProgressFn& progress) {
    return paths.update(context, observerSnapshot(observer), pathsOn, progress);
}

void copyTrackWindow(const OrbitalPaths& paths, TrackWindow& window, std::vector<float>& records) {
    window = paths.window();
    records.clear();
    if (window.end <= window.first) return;
    records.reserve(static_cast<size_t>(window.end - window.first) * kDailyRecordFloats);
    for (int day = window.first; day < window.end; ++day)
        for (int slot = 0; slot < kPathBodyCount; ++slot) {
            records.push_back(paths.zenithDistanceDeg(day, slot));
            records.push_back(paths.azimuthDeg(day, slot));
        }
}

}  // namespace celestra
