// Sight reduction: a sextant altitude turned into an observed altitude by the
// almanac chain of corrections, the altitude and azimuth computed for the
// dead-reckoning position at the sight's instant, and the line of position
// as an intercept along that azimuth. Also the Sextant, Enviro and Details
// pages' engine side: result text, the 41 details rows, the setters with
// their accepted ranges and the checks calculateSight makes before it reduces.
//
// Angles are degrees (right ascension and sidereal time in hours); times are
// Julian days in UTC; distances in nautical miles, heights in metres.
#pragma once

#include <string>
#include <vector>

#include "calculators/geodesy.h"
#include "core/constants.h"
#include "model/measure.h"
#include "solarsystem/planets.h"

namespace celestra {

// The vessel's dead reckoning: the position reached from (latitude,
// longitude) after `hours` at `speedKnots` on true course `courseDeg`, by
// plane sailing with the starting latitude's departure (v = knots / 60
// degrees of arc per hour): Δφ = v t cos C, Δλ = v t sin C / cos φ. Negative
// hours run backwards. A run past a pole comes down the other meridian; at a
// pole the longitude stays. Without a run (speed or hours 0) the position
// is returned as given; otherwise the longitude is brought into
// [-180, 180). Both the AP run of every sight and the Most Probable
// Position are carried by this one rule, so the MPP lies where the sight's
// line of position was computed. Accuracy: against the rhumb line that a
// steady course is, 0.22 nautical miles after 55 miles on 045° at 45°
// latitude (nothing on an east-west course).
GeoPoint deadReckoning(double latitude, double longitude, double courseDeg, double speedKnots, double hours);

// Reduces `sight` for the sextant altitude `hs` (degrees) and fills its RA,
// declination, distance, zenith distance, azimuth and every correction from
// Hs to the intercept. The AP (embedded observer state) is left unchanged.
// Steps, in order:
//  1. a negative height counts as 0;
//  2. dip: 0.0293 √h (h in metres), or dip short of the horizon with the
//     shoreline d nautical miles off, (atan(h_ft / (6076.1 d)) + d / 8268) rad;
//  3. Ha = Hs + index correction − dip (Ha = Hs with corrections disabled);
//  4. refraction −0.28 P / (T + 273) · 0.0167 / tan(Ha + 7.31 / (Ha + 4.4)),
//     Ha floored at −1° inside the formula so it stays finite;
//  5. run time from the AP time to the observation, hours;
//  6. dead reckoning from the AP along course and speed for the run time
//     (deadReckoning);
//  7-8. the body's apparent geocentric place of date at the observation
//     instant (a star's from the catalogue), its distance and semi-diameter;
//  9. the airless horizon transformation at the DR position with apparent
//     sidereal time (UT1 = TT − ΔT);
//  10. parallax in altitude HP cos Ha, with the Moon's oblateness term;
//  11-13. Ho = Ha + R + PA (Hs with corrections disabled), ± SD for the limb
//     of the Sun and Moon in either case;
//  14. intercept p = Ho − Hc, positive toward the body.
// Accuracy: Hc and Zn are those of the apparent-place pipeline (milli-
// arcseconds); the corrections are the standard almanac approximations
// (refraction about 0.1′ above 10°, parallax to 0.05′ for the Moon).
// BadArgument for a body index that names no body or star; the place's
// status (OutsideEphemeris) when the ephemeris cannot give the place. On
// failure the sight is left unchanged.
Status reduceSight(CMeasure& sight, const PlaceContext& context, double hs);

// The altitude as the Sextant page takes it: degrees + minutes / 60, in
// double precision so that the Details show the minutes as they were
// entered (single precision turned 48°12.7' into 48°12.69').
double sextantAltitude(int degrees, double minutes);

// The display format F (0, 1, 2) of the result and details, and F′ (1 → 4,
// 2 → 5) for altitudes and latitudes.
int primedFormat(int format);
// The next format when the result text is clicked: 0 → 1 → 2 → 0.
int nextResultFormat(int format);

// Body name: the planet's name, or the star's proper name ("BS: n" without
// one); ", Upper Limb" or ", Lower Limb" for the Sun and Moon.
std::string sightBodyName(const CMeasure& sight, const PlaceContext& context);

// Appends the Sextant page's result: "%.2lf nMi toward AP\n" (or "away from
// AP"), "along Az: " Zn in form 3, then the DR latitude (form F′) and
// longitude (form F) on indented lines.
void formatResult(const CMeasure& sight, int format, std::string& out);

// Quantities of the Details rows that the sight does not store, at the
// observation instant (UTC → TT, ΔT of that instant).
struct SightTimeAngles {
    double deltaTSeconds = 0.0;
    double gstHours = 0.0;  // apparent Greenwich sidereal time
    double lstHours = 0.0;  // at the AP longitude
    double ghaBody = 0.0;   // degrees [0, 360)
    double ghaAries = 0.0;  // degrees [0, 360)
    double sha = 0.0;       // GHA body − GHA Aries, one step into [0, 360]
    double lha = 0.0;       // AP longitude + GHA body, one step into [0, 360]
};
SightTimeAngles sightTimeAngles(const CMeasure& sight);

// One row of the Details table: "Measurement", "Symbol", "Value" (right-
// aligned by the page), "Units".
struct DetailRow {
    std::string measurement;
    std::string symbol;
    std::string value;
    std::string unit;
};
constexpr int kDetailRowCount = 41;
// The 41 rows for display format F (0, 1 or 2).
std::vector<DetailRow> fillDetails(const CMeasure& sight, const PlaceContext& context, int format);

// ---------------------------------------------------------------------------
// Enviro page: the editable conditions with their accepted ranges.

enum class EnviroField {
    Height,            // metres, 0..30000
    Temperature,       // °C, −90..60
    Pressure,          // mB, 860..1085
    IndexCorrection,   // entered in minutes, −60..60; stored as degrees
    DipShortDistance,  // nautical miles, 0.001..1000
    Speed,             // knots, 0..500
    Course,            // degrees, 0..360
};
struct EnviroRange {
    double low;
    double high;
    const char* label;  // the page's caption
    const char* unit;
};
EnviroRange enviroRange(EnviroField field);
// The value in the page's unit (index correction in minutes).
double enviroValue(const CMeasure& sight, EnviroField field);
// Stores the value (page unit) when it lies within the range; false, sight
// unchanged, otherwise (NaN included).
bool setEnviro(CMeasure& sight, EnviroField field, double value);
bool setHeight(CMeasure& sight, double metres);
bool setTemperature(CMeasure& sight, double celsius);
bool setPressure(CMeasure& sight, double millibars);
// "DIP Short horizon:" box: 1.0 / 0.0.
void setDipShortEnabled(CMeasure& sight, bool enabled);
// "Disable DIP, index, and refraction calculations": the observer state's
// refraction flag becomes its negation.
void setCorrectionsDisabled(CMeasure& sight, bool disabled);
// "Use STP": 1010 mB and 10 °C.
void useStp(CMeasure& sight);
// Controls greyed out while corrections are disabled: temperature, pressure,
// index correction, the dip-short box and its distance (height stays).
bool enviroFieldEnabled(const CMeasure& sight, EnviroField field);

// ---------------------------------------------------------------------------
// calculateSight's checks, as data for the page to show or ask.

// Whether the observation instant lies within the ephemeris (the context's
// TDB range, compared at TT).
bool observationInEphemerisRange(const CMeasure& sight, const PlaceContext& context);
// "Date is outside Ephemeris range.\r\nYou can download larger\r\nEphemerides
// from\r\n<address>", or ending "Ephemerides." when no address is set.
std::string ephemerisRangeMessage(const std::string& websiteAddress);

constexpr const char* kApQuestionText =
    "Assumed Position (AP) may not be set correctly on the Time Page.  Set it now to the current location and time?";
constexpr const char* kApQuestionTitle = "Check AP Time and Location";
constexpr double kApTimeQuestionDays = 2.0;
constexpr double kApDistanceQuestionNm = 400.0;

// |AP time − observation time| > 2 days.
bool apTimeQuestionNeeded(const CMeasure& sight);
// The AP lies more than 400 nautical miles (great circle) from the chart's
// observer position.
bool apDistanceQuestionNeeded(const CMeasure& sight, double chartLatitude, double chartLongitude);

// What the page does after calculateSight.
struct CalculateOutcome {
    enum class Status {
        OutsideEphemeris,  // show `message` (title "Celestra"); nothing reduced
        AskAp,             // reduced; ask `message` with `title` (Yes/No)
        Reduced,           // show `resultText`
        Failed,            // the reduction failed; `message` says why
    };
    Status status = Status::Failed;
    std::string message;
    std::string title;
    std::string resultText;
};

// calculateSight: the ephemeris check, reduceSight with `hs`, then the AP questions
// (time, then distance from the chart position). The result text is filled
// whenever the sight was reduced.
CalculateOutcome calculateSight(CMeasure& sight, const PlaceContext& context, double hs, int format,
                                double chartLatitude, double chartLongitude, const std::string& websiteAddress);
// "Yes" to the AP question: the AP time becomes the observation time and
// the AP the chart's position; reduced again. Returns the new outcome.
CalculateOutcome acceptApCorrection(CMeasure& sight, const PlaceContext& context, int format, double chartLatitude,
                                    double chartLongitude);

// ---------------------------------------------------------------------------
// Sextant page.

// Item value bit that marks the upper limb in the body selector.
constexpr int kUpperLimbBit = 0x40000000;
struct BodyChoice {
    std::string text;  // "Jupiter", "Sun, Lower Limb", ...
    int value;         // body index, with kUpperLimbBit for an upper limb
};
// The "Body" selector: bodies 1..11 except the Earth, the Sun and the Moon
// twice with their limbs, sorted by text.
std::vector<BodyChoice> sextantBodyChoices(const PlaceContext& context);
// Stores a "Body" selector value (isStar 0) in the sight.
void selectBody(CMeasure& sight, int choiceValue);

// The hint in the result field while the sight is not yet calculated.
constexpr const char* kSextantHint =
    "Hint:  Click on the word \"Altitude\" to initialize; then press \"Calculate\".  \r\n\r\nClick on the result to "
    "change format.";

}  // namespace celestra
