#include "navigation/sight_reduction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "calculators/geodesy.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/number_text.h"
#include "core/time_scales.h"

namespace celestra {
namespace {

constexpr double kDipFactor = 0.0293;  // degrees per √metre
constexpr double kDipShortRefraction = 8268.0;
constexpr double kMinimumDipShortNm = 0.001;  // the Enviro page's lower bound
// Below this apparent altitude the refraction formula is taken at −1° (its
// pole lies at −4.4°, where the sight means nothing anyway).
constexpr double kLowestRefractionAltitude = -1.0;
constexpr double kMoonOblateness = 0.0032;

bool isLimbBody(const CMeasure& sight) {
    return !sight.isStar && (sight.bodyIndex == kSun || sight.bodyIndex == kMoon);
}

double dipDegrees(const CMeasure& sight, double heightMetres) {
    if (sight.dipShortEnabled != 0.0) {
        const double feet = heightMetres * kFeetPerMetre;
        const double d = std::max(sight.dipShortDistance, kMinimumDipShortNm);
        return (std::atan(feet / (kFeetPerNauticalMile * d)) + d / kDipShortRefraction) * 360.0 / (2.0 * kPi);
    }
    return kDipFactor * std::sqrt(heightMetres);
}

double refractionDegrees(double ha, double pressure, double temperature) {
    const double h = std::max(ha, kLowestRefractionAltitude);
    const double r0 = 0.0167 / std::tan((h + 7.31 / (h + 4.4)) * kDegToRad);
    return -(0.28 * pressure / (temperature + 273.0)) * r0;
}

// Longitude into [-180, 180).
double normaliseLongitude(double lon) { return wrapFloor(lon + 180.0, 360.0) - 180.0; }

// One step into [0, 360], as the Details rows bring SHA and LHA.
double oneTurn(double a) {
    if (a < 0.0) return a + 360.0;
    if (a > 360.0) return a - 360.0;
    return a;
}

void appendNumber(double v, std::string& out) {
    char text[64];
    snprintfC(text, sizeof text, "%12.4lf", v);
    out += text;
}

std::string number(double v) {
    std::string s;
    appendNumber(v, s);
    return s;
}

}  // namespace

GeoPoint deadReckoning(double latitude, double longitude, double courseDeg, double speedKnots, double hours) {
    const double v = speedKnots / 60.0;  // degrees of arc per hour
    if (v == 0.0 || hours == 0.0) return {latitude, longitude};
    const double c = courseDeg * kDegToRad;
    const double cosLat = std::cos(latitude * kDegToRad);
    double lat = latitude + v * hours * std::cos(c);
    double lon = longitude;
    // At a pole the east-west run has no longitude; leave it as it is.
    if (std::fabs(cosLat) > 1e-12) lon += v / cosLat * hours * std::sin(c);
    if (lat > 90.0) {  // run over the pole: come down the other meridian
        lat = 180.0 - lat;
        lon += 180.0;
    } else if (lat < -90.0) {
        lat = -180.0 - lat;
        lon += 180.0;
    }
    return {lat, normaliseLongitude(lon)};
}

Status reduceSight(CMeasure& target, const PlaceContext& context, double hs) {
    // Worked on a copy so that a failure leaves the sight as it was.
    CMeasure sight = target;
    const bool star = sight.isStar != 0;
    const StarEntry* entry = star ? starByNumber(sight.bodyIndex) : nullptr;
    if (star ? (!entry || isPlaceholderStar(sight.bodyIndex))
             : (sight.bodyIndex < kMercury || sight.bodyIndex > kMoon || sight.bodyIndex == kEarth))
        return Status::BadArgument;

    const CObserverState ap = sight.observer;
    sight.hs = hs;
    const double height = std::max(0.0, ap.height);
    const bool corrected = sight.correctionsDisabled == 0;

    sight.dip = dipDegrees(sight, height);
    sight.ha = corrected ? hs + sight.indexCorrection - sight.dip : hs;
    sight.refractionCorrection = refractionDegrees(sight.ha, ap.pressure, ap.temperature);

    sight.runTime = (sight.observationTime - sight.ApTime()) * 24.0;
    const GeoPoint dr = deadReckoning(ap.latitude, ap.longitude, sight.course, sight.speed, sight.runTime);
    sight.drLatitude = dr.latitude;
    sight.drLongitude = dr.longitude;

    sight.parallax = 0.0;
    sight.semiDiameter = 0.0;
    sight.distance = 0.0;
    double ra = 0.0, dec = 0.0;
    if (star) {
        const Status status = geocentricStarUtc(context, sight.observationTime, starPlaceInput(*entry), ra, dec);
        if (status != Status::Ok) return status;
    } else {
        double au = 0.0;
        const Status status = geocentricPlaceUtc(context, sight.observationTime, sight.bodyIndex, ra, dec, au);
        if (status != Status::Ok) return status;
        sight.distance = au * kAuKmIau1976;
        sight.semiDiameter = bodyDiameterKm(sight.bodyIndex) / 2.0 / sight.distance * kRadToDeg;
    }
    sight.rightAscension = ra;
    sight.declination = dec;

    ObserverSite site;
    site.latitude = sight.drLatitude;
    site.longitude = sight.drLongitude;
    site.height = height;
    site.temperature = ap.temperature;
    site.pressure = ap.pressure;
    const JulianDay utc = sight.observationTime;
    const HorizontalPlace place =
        equatorialToHorizontal(ttFromUtc(utc), deltaT(utc), 0.0, 0.0, site, ra, dec, kRefractionNone);
    sight.zenithDistance = place.zenithDistanceDeg;
    sight.azimuth = place.azimuthDeg;

    if (!star) {
        const double hp = kParallaxEarthRadiusKm / sight.distance * kRadToDeg;
        double oblateness = 0.0;
        if (sight.bodyIndex == kMoon) {
            const double l = sight.drLatitude * kDegToRad;
            const double h = sight.ha * kDegToRad;
            oblateness = kMoonOblateness * std::sin(2.0 * l) * std::cos(sight.azimuth * kDegToRad) * std::sin(h) -
                         kMoonOblateness * std::sin(l) * std::sin(l) * std::cos(h);
        }
        sight.parallax = hp * std::cos(sight.ha * kDegToRad) + oblateness;
    }

    sight.ho = corrected ? sight.ha + sight.refractionCorrection + sight.parallax : hs;
    sight.hc = 90.0 - sight.zenithDistance;
    if (isLimbBody(sight)) sight.ho += sight.upperLimb ? -sight.semiDiameter : sight.semiDiameter;
    sight.intercept = sight.ho - sight.hc;
    sight.observer = ap;
    target = sight;
    return Status::Ok;
}

double sextantAltitude(int degrees, double minutes) { return degrees + minutes / 60.0; }

int primedFormat(int format) { return format == 1 ? 4 : format == 2 ? 5 : format; }

int nextResultFormat(int format) { return (format + 1) % 3; }

std::string sightBodyName(const CMeasure& sight, const PlaceContext& context) {
    if (sight.isStar) {
        const StarEntry* entry = starByNumber(sight.bodyIndex);
        return entry ? starChartLabel(*entry) : "BS: " + std::to_string(sight.bodyIndex);
    }
    if (sight.bodyIndex < kMercury || sight.bodyIndex > kMoon) return "Body " + std::to_string(sight.bodyIndex);
    std::string name = context.bodies[sight.bodyIndex - 1].name;
    if (isLimbBody(sight)) name += sight.upperLimb ? ", Upper Limb" : ", Lower Limb";
    return name;
}

void formatResult(const CMeasure& sight, int format, std::string& out) {
    const double nm = sight.intercept * 60.0;
    char text[64];
    snprintfC(text, sizeof text, "%.2lf nMi ", std::fabs(nm));
    out += text;
    out += nm < 0.0 ? "away from AP\n" : "toward AP\n";
    out += "along Az: ";
    formatAngle(sight.azimuth, 3, AngleSignStyle::Signed, true, out);
    out += "\n\n     ";
    formatAngle(sight.drLatitude, primedFormat(format), AngleSignStyle::Latitude, true, out);
    out += "\n     ";
    formatAngle(sight.drLongitude, format, AngleSignStyle::Longitude, true, out);
}

SightTimeAngles sightTimeAngles(const CMeasure& sight) {
    SightTimeAngles t;
    const JulianDay utc = sight.observationTime;
    t.deltaTSeconds = deltaT(utc);
    t.gstHours = siderealTime(ttFromUtc(utc), t.deltaTSeconds, false);
    t.lstHours = localSiderealTime(t.gstHours, sight.observer.longitude);
    double hourAngle = t.gstHours - sight.rightAscension;
    if (hourAngle < 0.0) hourAngle += 24.0;
    t.ghaBody = hourAngle * 15.0;
    t.ghaAries = t.gstHours * 15.0;
    t.sha = oneTurn(t.ghaBody - t.ghaAries);
    t.lha = oneTurn(sight.observer.longitude + t.ghaBody);
    return t;
}

std::vector<DetailRow> fillDetails(const CMeasure& sight, const PlaceContext& context, int format) {
    const int f = format;
    const int fp = primedFormat(format);
    const auto angle = [](double v, int code, AngleSignStyle style = AngleSignStyle::Signed) {
        return formatAngle(v, code, style);
    };
    const auto date = [](JulianDay jd) {
        std::string s;
        formatDate(jd, true, s);
        return s;
    };
    const auto timeOfDay = [](JulianDay jd) {
        std::string s;
        formatTimeOfDay(jd, false, s);
        return s;
    };
    const SightTimeAngles t = sightTimeAngles(sight);
    const JulianDay obs = sight.observationTime;
    const JulianDay local = obs + sight.observer.zoneOffset;
    const JulianDay apTime = sight.ApTime();
    char index[16];
    snprintfC(index, sizeof index, "%4d", sight.bodyIndex);

    return {
        {"Body", "", sightBodyName(sight, context), ""},
        {"Sextant Alt.", "Hs", angle(sight.hs, fp), ""},
        {"Dip", "D", angle(sight.dip, f), ""},
        {"  Height", "h", number(sight.observer.height), "M"},
        {"  DipShort", "Ds", sight.dipShortEnabled != 0.0 ? number(sight.dipShortDistance) : "Disabled", "nM"},
        {"Index Corr.", "I", angle(sight.indexCorrection, f), ""},
        {"Apparent Alt.", "H", angle(sight.ha, fp), ""},
        {"Refraction", "R", angle(sight.refractionCorrection, fp), ""},
        {"  Temperature", "T", number(sight.observer.temperature), "\u00b0C"},
        {"  Pressure", "P", number(sight.observer.pressure), "mB"},
        {"Parallax in Alt.", "PA", angle(sight.parallax, fp), ""},
        {"Semi-diameter", "S", angle(sight.semiDiameter, fp), ""},
        {" Sum: R+S+PA", "", angle(sight.semiDiameter + sight.parallax + sight.refractionCorrection, fp), ""},
        {"Observed Alt.", "Ho", angle(sight.ho, fp), ""},
        {"Calc. Alt.", "Hc", angle(sight.hc, fp), ""},
        {"Azimuth", "Z", angle(sight.azimuth, f), ""},
        {"Position Line", "p", angle(sight.intercept, f), ""},
        {"   in NM", "", number(sight.intercept * 60.0), "nM"},
        {"Dec", "", angle(sight.declination, fp), ""},
        {"GHA Body", "", angle(t.ghaBody, f), ""},
        {"GHA Aries", "", angle(t.ghaAries, f), ""},
        {"GST", "", formatClockTime(t.gstHours), ""},
        {"LST", "", formatClockTime(t.lstHours), ""},
        {"SHA", "", angle(t.sha, f), ""},
        {"LHA", "", angle(t.lha, f), ""},
        {"DeltaT (sec)", "", number(t.deltaTSeconds), ""},
        {"Obs Date, UTC", "", date(obs), ""},
        {"Obs Time, UTC", "", timeOfDay(obs), ""},
        {"Obs Date, Loc.", "", date(local), ""},
        {"Obs Time, Loc.", "", timeOfDay(local), ""},
        {"Obs Julian", "", number(obs), "JD"},
        {"Obs Latitude", "", angle(sight.drLatitude, fp, AngleSignStyle::Latitude), ""},
        {"Obs Longitude", "", angle(sight.drLongitude, f, AngleSignStyle::Longitude), ""},
        {"AP Date, UTC", "", date(apTime), ""},
        {"AP Time, UTC", "", timeOfDay(apTime), ""},
        {"AP Julian, UTC", "", number(apTime), "JD"},
        {"AP Latitude", "", angle(sight.observer.latitude, fp, AngleSignStyle::Latitude), ""},
        {"AP Longitude", "", angle(sight.observer.longitude, f, AngleSignStyle::Longitude), ""},
        {"Speed", "", number(sight.speed), "nM"},
        {"Course", "", number(sight.course), "\u00b0"},
        {sight.isStar ? "BrightStar #" : "Body Index", "", index, ""},
    };
}

std::vector<BodyChoice> sextantBodyChoices(const PlaceContext& context) {
    std::vector<BodyChoice> out;
    for (int i = kMercury; i <= kMoon; ++i) {
        if (i == kEarth) continue;
        const std::string& name = context.bodies[i - 1].name;
        if (i == kSun || i == kMoon) {
            out.push_back({name + ", Lower Limb", i});
            out.push_back({name + ", Upper Limb", i | kUpperLimbBit});
        } else {
            out.push_back({name, i});
        }
    }
    std::sort(out.begin(), out.end(), [](const BodyChoice& a, const BodyChoice& b) { return a.text < b.text; });
    return out;
}

void selectBody(CMeasure& sight, int choiceValue) {
    sight.isStar = 0;
    sight.upperLimb = (choiceValue & kUpperLimbBit) ? 1 : 0;
    sight.bodyIndex = choiceValue & ~kUpperLimbBit;
}

// ---------------------------------------------------------------------------

EnviroRange enviroRange(EnviroField field) {
    switch (field) {
        case EnviroField::Height: return {0.0, 30000.0, "Height of eye:", "Meters"};
        case EnviroField::Temperature: return {-90.0, 60.0, "Temperature:", "\u00b0C"};
        case EnviroField::Pressure: return {860.0, 1085.0, "Pressure:", "mB"};
        case EnviroField::IndexCorrection: return {-60.0, 60.0, "Index correction:", "Minutes"};
        case EnviroField::DipShortDistance: return {0.001, 1000.0, "DIP Short horizon:", "NMi"};
        case EnviroField::Speed: return {0.0, 500.0, "Vessel speed:", "Knots"};
        case EnviroField::Course: return {0.0, 360.0, "Course:", "\u00b0"};
    }
    return {0.0, 0.0, "", ""};
}

double enviroValue(const CMeasure& sight, EnviroField field) {
    switch (field) {
        case EnviroField::Height: return sight.observer.height;
        case EnviroField::Temperature: return sight.observer.temperature;
        case EnviroField::Pressure: return sight.observer.pressure;
        case EnviroField::IndexCorrection: return sight.indexCorrection * 60.0;
        case EnviroField::DipShortDistance: return sight.dipShortDistance;
        case EnviroField::Speed: return sight.speed;
        case EnviroField::Course: return sight.course;
    }
    return 0.0;
}

bool setEnviro(CMeasure& sight, EnviroField field, double value) {
    const EnviroRange range = enviroRange(field);
    if (!(value >= range.low && value <= range.high)) return false;
    switch (field) {
        case EnviroField::Height: sight.observer.height = value; break;
        case EnviroField::Temperature: sight.observer.temperature = value; break;
        case EnviroField::Pressure: sight.observer.pressure = value; break;
        case EnviroField::IndexCorrection: sight.indexCorrection = value / 60.0; break;
        case EnviroField::DipShortDistance: sight.dipShortDistance = value; break;
        case EnviroField::Speed: sight.speed = value; break;
        case EnviroField::Course: sight.course = value; break;
    }
    return true;
}

bool setHeight(CMeasure& sight, double metres) { return setEnviro(sight, EnviroField::Height, metres); }
bool setTemperature(CMeasure& sight, double celsius) { return setEnviro(sight, EnviroField::Temperature, celsius); }
bool setPressure(CMeasure& sight, double millibars) { return setEnviro(sight, EnviroField::Pressure, millibars); }

void setDipShortEnabled(CMeasure& sight, bool enabled) { sight.dipShortEnabled = enabled ? 1.0 : 0.0; }

void setCorrectionsDisabled(CMeasure& sight, bool disabled) {
    sight.correctionsDisabled = disabled ? 1 : 0;
    sight.observer.refraction = disabled ? 0 : 1;
}

void useStp(CMeasure& sight) {
    sight.observer.pressure = 1010.0;
    sight.observer.temperature = 10.0;
}

bool enviroFieldEnabled(const CMeasure& sight, EnviroField field) {
    if (!sight.correctionsDisabled) return true;
    return field == EnviroField::Height || field == EnviroField::Speed || field == EnviroField::Course;
}

// ---------------------------------------------------------------------------

bool observationInEphemerisRange(const CMeasure& sight, const PlaceContext& context) {
    if (context.ephemeris == nullptr || context.endJd <= context.startJd) return false;
    const JulianDay tt = ttFromUtc(sight.observationTime);
    return tt >= context.startJd && tt <= context.endJd;
}

std::string ephemerisRangeMessage(const std::string& websiteAddress) {
    std::string text = "Date is outside Ephemeris range.\r\nYou can download larger\r\nEphemerides";
    return websiteAddress.empty() ? text + "." : text + " from\r\n" + websiteAddress;
}

bool apTimeQuestionNeeded(const CMeasure& sight) {
    return std::fabs(sight.ApTime() - sight.observationTime) > kApTimeQuestionDays;
}

bool apDistanceQuestionNeeded(const CMeasure& sight, double chartLatitude, double chartLongitude) {
    return greatCircleDistanceSpherical(sight.observer.latitude, sight.observer.longitude, chartLatitude,
                                        chartLongitude) > kApDistanceQuestionNm;
}

namespace {

CalculateOutcome reduceOutcome(CMeasure& sight, const PlaceContext& context, double hs, int format) {
    CalculateOutcome outcome;
    const Status status = reduceSight(sight, context, hs);
    if (status != Status::Ok) {
        outcome.status = CalculateOutcome::Status::Failed;
        outcome.message =
            status == Status::BadArgument ? "No body or star is selected." : "The body's place is not available.";
        return outcome;
    }
    outcome.status = CalculateOutcome::Status::Reduced;
    formatResult(sight, format, outcome.resultText);
    return outcome;
}

}  // namespace

CalculateOutcome calculateSight(CMeasure& sight, const PlaceContext& context, double hs, int format,
                                double chartLatitude, double chartLongitude, const std::string& websiteAddress) {
    if (!observationInEphemerisRange(sight, context)) {
        CalculateOutcome outcome;
        outcome.status = CalculateOutcome::Status::OutsideEphemeris;
        outcome.message = ephemerisRangeMessage(websiteAddress);
        return outcome;
    }
    CalculateOutcome outcome = reduceOutcome(sight, context, hs, format);
    if (outcome.status == CalculateOutcome::Status::Reduced &&
        (apTimeQuestionNeeded(sight) || apDistanceQuestionNeeded(sight, chartLatitude, chartLongitude))) {
        outcome.status = CalculateOutcome::Status::AskAp;
        outcome.message = kApQuestionText;
        outcome.title = kApQuestionTitle;
    }
    return outcome;
}

CalculateOutcome acceptApCorrection(CMeasure& sight, const PlaceContext& context, int format, double chartLatitude,
                                    double chartLongitude) {
    sight.apTimeOverride = sight.observationTime;
    sight.observer.latitude = chartLatitude;
    sight.observer.longitude = chartLongitude;
    return reduceOutcome(sight, context, sight.hs, format);
}

}  // namespace celestra
