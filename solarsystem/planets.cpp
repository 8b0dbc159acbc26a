#include "solarsystem/planets.h"

#include <algorithm>
#include <cmath>

#include "core/nutation.h"

namespace celestra {

namespace {

constexpr const char* kBodyNames[11] = {"Mercury", "Venus",   "Earth", "Mars", "Jupiter", "Saturn",
                                        "Uranus",  "Neptune", "Pluto", "Sun",  "Moon"};
constexpr double kDiametersKm[11] = {4880.0,  12103.6, 12756.3, 6794.0,    142984.0, 120536.0,
                                     51118.0, 49532.0, 2274.0,  1390000.0, 3476.0};

struct EarthCache {
    const EphemerisFile* reader = nullptr;
    JulianDay jdTt = 0.0;
    EarthState state;
    long evaluations = 0;
};
thread_local EarthCache tlsEarth;

bool validBody(int body) { return body >= kMercury && body <= kMoon; }

void zero(double& a, double& b, double& c) { a = b = c = 0.0; }

double clampedAngle(double cosine) { return std::acos(std::clamp(cosine, -1.0, 1.0)); }

double wrap360(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d < 0.0) d += 360.0;
    return d;
}

BodyPositionFn bodyPositions(EphemerisFile& reader, const SolarSystemBody& body) {
    return [&reader, &body](JulianDay jdTdb, Vector3& pos) {
        Vector3 vel;
        return reader.bodyState(jdTdb, body, kOriginBarycentre, pos, vel);
    };
}

Status horizonFromPlace(Status status, JulianDay jdTt, double deltaTSeconds, const ObserverSite& site, bool refraction,
                        HorizonResult& out) {
    if (status != Status::Ok) {
        out = HorizonResult{};
        return status;
    }
    const HorizontalPlace h = equatorialToHorizontal(jdTt, deltaTSeconds, 0.0, 0.0, site, out.raHours, out.decDeg,
                                                     refraction ? kRefractionSite : kRefractionNone);
    out.altitudeDeg = 90.0 - h.zenithDistanceDeg;
    out.azimuthDeg = h.azimuthDeg;
    return Status::Ok;
}

// A place asked of a context without a reader has no state to come from.
Status noReader(double& a, double& b, double& c) {
    zero(a, b, c);
    return Status::OutsideEphemeris;
}

}  // namespace

PlaceContext makePlaceContext(EphemerisFile& reader) {
    PlaceContext context;
    context.ephemeris = &reader;
    for (int i = 0; i < 11; ++i) makeBody(kMajorBody, i + 1, kBodyNames[i], context.bodies[i]);
    const EphemerisInfo info = reader.info();
    if (reader.isOpen()) {
        context.startJd = info.startJd;
        context.endJd = info.endJd;
    }
    return context;
}

Status earthState(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& earth, EarthState& out) {
    EarthCache& cache = tlsEarth;
    if (cache.reader == &reader && std::fabs(jdTt - cache.jdTt) <= 1e-6) {
        out = cache.state;
        return Status::Ok;
    }
    ++cache.evaluations;
    EarthState state;
    state.jdTdb = tdbFromTt(jdTt);
    int rc = reader.solarSystemState(state.jdTdb, earth.number, kOriginBarycentre, state.baryPos, state.baryVel);
    if (rc == 0) rc = reader.solarSystemState(state.jdTdb, earth.number, kOriginSun, state.helioPos, state.helioVel);
    if (rc != 0) {
        cache.reader = nullptr;
        out = EarthState{};
        return statusFromEphemerisCode(rc);
    }
    cache.reader = &reader;
    cache.jdTt = jdTt;
    cache.state = state;
    out = state;
    return Status::Ok;
}

long earthStateEvaluations() { return tlsEarth.evaluations; }

Status geocentricPlace(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& body, const SolarSystemBody& earth,
                       double& raHours, double& decDeg, double& distanceAu) {
    EarthState state;
    if (const Status status = earthState(reader, jdTt, earth, state); status != Status::Ok) {
        zero(raHours, decDeg, distanceAu);
        return status;
    }
    return statusFromEphemerisCode(apparentBody(state, bodyPositions(reader, body), raHours, decDeg, distanceAu));
}

Status topocentricPlace(EphemerisFile& reader, JulianDay jdTt, const SolarSystemBody& body,
                        const SolarSystemBody& earth, double deltaTSeconds, const ObserverSite& site, double& raHours,
                        double& decDeg, double& distanceAu) {
    EarthState state;
    if (const Status status = earthState(reader, jdTt, earth, state); status != Status::Ok) {
        zero(raHours, decDeg, distanceAu);
        return status;
    }
    return statusFromEphemerisCode(
        topocentricBody(state, jdTt, deltaTSeconds, bodyPositions(reader, body), site, raHours, decDeg, distanceAu));
}

Status geocentricPlaceUtc(const PlaceContext& context, JulianDay jdUtc, int body, double& raHours, double& decDeg,
                          double& distanceAu) {
    if (!validBody(body)) {
        zero(raHours, decDeg, distanceAu);
        return Status::BadArgument;
    }
    if (context.ephemeris == nullptr) return noReader(raHours, decDeg, distanceAu);
    return geocentricPlace(*context.ephemeris, ttFromUtc(jdUtc), context.bodies[body - 1], context.earth(), raHours,
                           decDeg, distanceAu);
}

Status topocentricPlaceUtc(const PlaceContext& context, JulianDay jdUtc, int body, const ObserverSite& site,
                           double& raHours, double& decDeg, double& distanceAu) {
    if (!validBody(body)) {
        zero(raHours, decDeg, distanceAu);
        return Status::BadArgument;
    }
    if (context.ephemeris == nullptr) return noReader(raHours, decDeg, distanceAu);
    return topocentricPlace(*context.ephemeris, ttFromUtc(jdUtc), context.bodies[body - 1], context.earth(),
                            deltaT(jdUtc), site, raHours, decDeg, distanceAu);
}

Status geocentricStarUtc(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star, double& raHours,
                         double& decDeg) {
    raHours = decDeg = 0.0;
    if (context.ephemeris == nullptr) return Status::OutsideEphemeris;
    EarthState state;
    if (const Status status = earthState(*context.ephemeris, ttFromUtc(jdUtc), context.earth(), state);
        status != Status::Ok)
        return status;
    apparentStar(state, star, raHours, decDeg);
    return Status::Ok;
}

Status topocentricStarUtc(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star,
                          const ObserverSite& site, double& raHours, double& decDeg) {
    raHours = decDeg = 0.0;
    if (context.ephemeris == nullptr) return Status::OutsideEphemeris;
    const JulianDay jdTt = ttFromUtc(jdUtc);
    EarthState state;
    if (const Status status = earthState(*context.ephemeris, jdTt, context.earth(), state); status != Status::Ok)
        return status;
    topocentricStar(state, jdTt, deltaT(jdUtc), star, site, raHours, decDeg);
    return Status::Ok;
}

Status horizonPlace(const PlaceContext& context, JulianDay jdUtc, int body, const ObserverSite& site, bool refraction,
                    PlaceForm form, HorizonResult& out) {
    out = HorizonResult{};
    const Status status = form == PlaceForm::Topocentric
                              ? topocentricPlaceUtc(context, jdUtc, body, site, out.raHours, out.decDeg, out.distanceAu)
                              : geocentricPlaceUtc(context, jdUtc, body, out.raHours, out.decDeg, out.distanceAu);
    return horizonFromPlace(status, ttFromUtc(jdUtc), deltaT(jdUtc), site, refraction, out);
}

Status horizonPlace(const PlaceContext& context, JulianDay jdUtc, const StarPlaceInput& star, const ObserverSite& site,
                    bool refraction, PlaceForm form, HorizonResult& out) {
    out = HorizonResult{};
    const Status status = form == PlaceForm::Topocentric
                              ? topocentricStarUtc(context, jdUtc, star, site, out.raHours, out.decDeg)
                              : geocentricStarUtc(context, jdUtc, star, out.raHours, out.decDeg);
    return horizonFromPlace(status, ttFromUtc(jdUtc), deltaT(jdUtc), site, refraction, out);
}

Status planetMagnitude(const PlaceContext& context, int body, JulianDay jdUtc, double& magnitude) {
    magnitude = 0.0;
    if (!validBody(body)) return Status::BadArgument;
    if (body == kSun) {
        magnitude = -26.73;
        return Status::Ok;
    }
    if (body == kEarth) {
        magnitude = 1.0;
        return Status::Ok;
    }
    double ra = 0.0, dec = 0.0, delta = 0.0;
    if (const Status status = geocentricPlaceUtc(context, jdUtc, body, ra, dec, delta); status != Status::Ok)
        return status;

    // The phase angle from heliocentric geometry at the same TDB instant.
    const JulianDay jdTdb = tdbFromTt(ttFromUtc(jdUtc));
    Vector3 p, e, vel;
    EphemerisFile& reader = *context.ephemeris;
    if (const int rc = reader.bodyState(jdTdb, context.bodies[body - 1], kOriginSun, p, vel); rc != 0)
        return statusFromEphemerisCode(rc);
    if (const int rc = reader.bodyState(jdTdb, context.earth(), kOriginSun, e, vel); rc != 0)
        return statusFromEphemerisCode(rc);
    const Vector3 bodyToEarth = e - p;
    const double r = p.norm();
    const double thetaSun = clampedAngle(e.dot(p) / (e.norm() * r));
    const double thetaEarth = clampedAngle(e.dot(bodyToEarth) / (e.norm() * bodyToEarth.norm()));
    const double i = std::fabs(kPi - (thetaEarth + thetaSun)) * kRadToDeg;
    const double l5 = 5.0 * std::log10(r * delta);

    switch (body) {
        case kMercury: magnitude = -0.42 + l5 + ((0.000002 * i - 0.000273) * i + 0.038) * i; break;
        case kVenus: magnitude = -4.4 + l5 + ((-0.00000065 * i + 0.000239) * i + 0.0009) * i; break;
        case kMars: magnitude = -1.52 + l5 + 0.016 * i; break;
        case kJupiter: magnitude = -9.4 + l5 + 0.005 * i; break;
        case kSaturn: magnitude = -8.88 + l5 + 0.044 * i; break;
        case kUranus: magnitude = -7.19 + l5; break;
        case kNeptune: magnitude = -6.87 + l5; break;
        case kPluto: magnitude = -1.0 + l5; break;
        default: magnitude = -12.74 + ((0.00000105 * i - 0.000102) * i + 0.0305) * i; break;  // the Moon
    }
    return Status::Ok;
}

double moonElongation(double sunRaHours, double sunDecDeg, double moonRaHours, double moonDecDeg) {
    const double d0 = sunDecDeg * kDegToRad, d = moonDecDeg * kDegToRad;
    const double dAlpha = (sunRaHours - moonRaHours) * kHoursToRad;
    return clampedAngle(std::sin(d0) * std::sin(d) + std::cos(d0) * std::cos(d) * std::cos(dAlpha)) * kRadToDeg;
}

double moonPhaseAngle(double elongationDeg, double sunDistanceAu, double moonDistanceAu) {
    const double psi = elongationDeg * kDegToRad;
    return wrap360(std::atan2(sunDistanceAu * std::sin(psi), moonDistanceAu - sunDistanceAu * std::cos(psi)) *
                   kRadToDeg);
}

double illuminatedFraction(double phaseAngleDeg) { return (1.0 + std::cos(phaseAngleDeg * kDegToRad)) / 2.0; }

double brightLimbAngle(double sunRaHours, double sunDecDeg, double moonRaHours, double moonDecDeg) {
    const double d0 = sunDecDeg * kDegToRad, d = moonDecDeg * kDegToRad;
    const double dAlpha = (sunRaHours - moonRaHours) * kHoursToRad;
    return wrap360(std::atan2(std::cos(d0) * std::sin(dAlpha),
                              std::sin(d0) * std::cos(d) - std::cos(d0) * std::sin(d) * std::cos(dAlpha)) *
                   kRadToDeg);
}

Status moonPhase(const PlaceContext& context, JulianDay jdUtc, MoonPhase& out) {
    out = MoonPhase{};
    double sunRa = 0.0, sunDec = 0.0, sunDistance = 0.0, moonRa = 0.0, moonDec = 0.0, moonDistance = 0.0;
    if (const Status s = geocentricPlaceUtc(context, jdUtc, kSun, sunRa, sunDec, sunDistance); s != Status::Ok)
        return s;
    if (const Status s = geocentricPlaceUtc(context, jdUtc, kMoon, moonRa, moonDec, moonDistance); s != Status::Ok)
        return s;
    out.elongationDeg = moonElongation(sunRa, sunDec, moonRa, moonDec);
    out.phaseAngleDeg = moonPhaseAngle(out.elongationDeg, sunDistance, moonDistance);
    out.illuminatedFraction = illuminatedFraction(out.phaseAngleDeg);
    out.brightLimbDeg = brightLimbAngle(sunRa, sunDec, moonRa, moonDec);
    return Status::Ok;
}

double bodyDiameterKm(int body) { return validBody(body) ? kDiametersKm[body - 1] : 0.0; }

bool updateBodies(const PlaceContext& context, const ObserverSnapshot& observer, BodySlots& slots) {
    const JulianDay jdUtc = observer.instant;
    if (context.ephemeris == nullptr || !(jdUtc >= context.startJd && jdUtc <= context.endJd) ||
        context.endJd <= context.startJd) {
        slots.valid = false;
        return false;
    }
    if (!sameObserver(observer, slots.computedFor, kBodiesInstantTolerance)) slots.valid = false;
    if (slots.valid) return false;

    const JulianDay jdTt = ttFromUtc(jdUtc);
    const double dT = deltaT(jdUtc);
    slots.computedFor = observer;
    for (int body = kMercury; body <= kMoon; ++body) {
        BodySlot& slot = slots.slot[body - 1];
        if (body == kEarth) {
            slot.distanceAu = 1e-10;
            continue;
        }
        double ra = 0.0, dec = 0.0;
        if (topocentricPlace(*context.ephemeris, jdTt, context.bodies[body - 1], context.earth(), dT, observer.site, ra,
                             dec, slot.distanceAu) != Status::Ok)
            continue;
        const HorizontalPlace h = equatorialToHorizontal(jdTt, dT, 0.0, 0.0, observer.site, ra, dec,
                                                         observer.refraction != 0 ? kRefractionSite : kRefractionNone);
        slot.raHours = ra;
        slot.decDeg = dec;
        slot.zenithDistanceFixed = toFixed16(h.zenithDistanceDeg);
        slot.azimuthFixed = toFixed16(h.azimuthDeg);
        slot.angularDiameterDeg = kDiametersKm[body - 1] / (slot.distanceAu * kAuKmIau1976) * kRadToDeg;
    }
    slots.valid = true;
    return true;
}

}  // namespace celestra
