#include "calculators/navigation_calculators.h"

#include <cmath>
#include <cstdio>

#include "core/angles.h"
#include "core/constants.h"
#include "core/number_text.h"

namespace celestra {

const char* const kDistanceUnitNames[3] = {"Nautical Miles", "Statute Miles", "kilometers"};

double distanceFromNauticalMiles(double nauticalMiles, int unitIndex) {
    switch (unitIndex) {
        case kStatuteMiles: return nauticalMiles * kStatuteMilesPerNauticalMile;
        case kKilometres: return nauticalMiles * kKmPerNauticalMile;
        default: return nauticalMiles;
    }
}

double nauticalMilesFromDistance(double distance, int unitIndex) {
    switch (unitIndex) {
        case kStatuteMiles: return distance * kNauticalMilesPerStatuteMile;
        case kKilometres: return distance * kNauticalMilesPerKm;
        default: return distance;
    }
}

void DmsCoordinate::setTypedDegrees(double typed) {
    if (std::signbit(typed)) sign = -1;
    degrees = std::fabs(typed);
}

const char* latitudeHemisphere(const DmsCoordinate& c) { return c.sign >= 0 ? "N" : "S"; }
const char* longitudeHemisphere(const DmsCoordinate& c) { return c.sign >= 0 ? "E" : "W"; }

namespace {

void toWholeDms(double value, DmsCoordinate& c) {
    c.sign = value < 0.0 ? -1 : 1;
    long totalSeconds = std::lround(std::fabs(value) * 3600.0);
    c.degrees = static_cast<double>(totalSeconds / 3600);
    totalSeconds %= 3600;
    c.minutes = static_cast<double>(totalSeconds / 60);
    c.seconds = static_cast<double>(totalSeconds % 60);
}

bool inRange(double v, const FieldRange& r) { return v >= r.min && v <= r.max; }

std::optional<RangeError> checkGroup(const DmsEntry& e, const FieldRange& degreesRange, const std::string& name) {
    if (!inRange(e.degrees, degreesRange)) return RangeError{name + " degrees", degreesRange};
    if (!inRange(e.minutes, kMinutesSecondsRange)) return RangeError{name + " minutes", kMinutesSecondsRange};
    if (!inRange(e.seconds, kMinutesSecondsRange)) return RangeError{name + " seconds", kMinutesSecondsRange};
    return std::nullopt;
}

void store(const DmsEntry& e, DmsCoordinate& c) {
    c.setTypedDegrees(e.degrees);
    c.minutes = e.minutes;
    c.seconds = e.seconds;
}

}  // namespace

void copyAssumedPosition(double latitudeDeg, double longitudeDeg, DmsCoordinate& latitude, DmsCoordinate& longitude) {
    toWholeDms(latitudeDeg, latitude);
    toWholeDms(longitudeDeg, longitude);
}

std::optional<RangeError> applyGreatCircleEntries(GreatCircleState& state, const DmsEntry& lat1, const DmsEntry& lon1,
                                                  const DmsEntry& lat2, const DmsEntry& lon2) {
    if (auto e = checkGroup(lat1, kGreatCircleLatitudeRange, "latitude 1")) return e;
    if (auto e = checkGroup(lon1, kLongitudeRange, "longitude 1")) return e;
    if (auto e = checkGroup(lat2, kGreatCircleLatitudeRange, "latitude 2")) return e;
    if (auto e = checkGroup(lon2, kLongitudeRange, "longitude 2")) return e;
    store(lat1, state.lat1);
    store(lon1, state.lon1);
    store(lat2, state.lat2);
    store(lon2, state.lon2);
    return std::nullopt;
}

GreatCircleResult computeGreatCircle(const GreatCircleState& state) {
    const double la1 = state.lat1.decimal(), lo1 = state.lon1.decimal();
    const double la2 = state.lat2.decimal(), lo2 = state.lon2.decimal();
    GreatCircleResult r;
    double nm;
    if (state.model == EarthModel::Sphere) {
        nm = greatCircleDistanceSpherical(la1, lo1, la2, lo2);
    } else {
        const EllipsoidalDistance e = greatCircleDistanceEllipsoidal(la1, lo1, la2, lo2);
        nm = e.nauticalMiles;
        r.ellipsoidDefined = e.defined;
        if (!e.defined)
            r.note = "Ellipsoidal distance undefined for coincident or antipodal places; spherical distance shown";
    }
    r.distance = distanceFromNauticalMiles(nm, state.unitIndex);
    r.courseDeg = initialCourse(la1, lo1, la2, lo2);
    char buf[96];
    snprintfC(buf, sizeof buf, "%.2lf", r.distance);
    r.distanceText = buf;
    snprintfC(buf, sizeof buf, "Initial Course: %.2lf\u00b0T", r.courseDeg);
    r.courseText = buf;
    return r;
}

std::optional<RangeError> applyRangeBearingEntries(RangeBearingState& state, const DmsEntry& lat, const DmsEntry& lon,
                                                   double courseDeg, double distance) {
    if (auto e = checkGroup(lat, kRangeBearingLatitudeRange, "latitude")) return e;
    if (auto e = checkGroup(lon, kLongitudeRange, "longitude")) return e;
    if (!inRange(distance, kDistanceRange)) return RangeError{"distance", kDistanceRange};
    store(lat, state.lat);
    store(lon, state.lon);
    state.courseDeg = courseDeg;
    state.distance = distance;
    return std::nullopt;
}

RangeBearingResult computeRangeBearing(const RangeBearingState& state) {
    RangeBearingResult r;
    const double arc = nauticalMilesFromDistance(state.distance, state.unitIndex) / 60.0;
    if (state.method == SailingMethod::RhumbLine && rhumbLineReachesPole(state.lat.decimal(), state.courseDeg, arc)) {
        r.valid = false;
        r.text = "A rhumb line cannot reach a pole";
        return r;
    }
    if (state.method == SailingMethod::RhumbLine && rhumbLineUndefinedAtPole(state.lat.decimal(), state.courseDeg)) {
        r.valid = false;
        r.text = "From a pole a rhumb line runs along a meridian (course 0 or 180)";
        return r;
    }
    r.destination = destinationPoint(state.lat.decimal(), state.lon.decimal(), state.courseDeg, arc,
                                     state.method == SailingMethod::GreatCircle);
    r.text = formatAngle(r.destination.latitude, state.formatIndex, AngleSignStyle::Latitude) + "\r\n" +
             formatAngle(r.destination.longitude, state.formatIndex, AngleSignStyle::Longitude);
    return r;
}

}  // namespace celestra
