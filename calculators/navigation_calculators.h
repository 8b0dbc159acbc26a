// The logic of the "Great Circle Distance" and "Range and Bearing" pages:
// the state they keep for the run of the program, the field ranges, the
// unit conversions and the result texts. The pages only move values between
// their controls and these structs.
#pragma once

#include <optional>
#include <string>

#include "calculators/geodesy.h"

namespace celestra {

// The distance-unit choice shared by both pages (index into kDistanceUnitNames).
enum DistanceUnit : int { kNauticalMiles = 0, kStatuteMiles = 1, kKilometres = 2 };
extern const char* const kDistanceUnitNames[3];  // "Nautical Miles", "Statute Miles", "kilometers"

// Nautical miles to the display unit, and a distance typed in a unit back to nautical miles.
double distanceFromNauticalMiles(double nauticalMiles, int unitIndex);
double nauticalMilesFromDistance(double distance, int unitIndex);

// One coordinate as the pages keep it: non-negative degrees, minutes and
// seconds and a sign multiplier of +1 or -1 (the hemisphere button).
struct DmsCoordinate {
    double degrees = 0.0, minutes = 0.0, seconds = 0.0;
    int sign = 1;

    double decimal() const { return (degrees + minutes / 60.0 + seconds / 3600.0) * sign; }
    // Stores typed degrees: a negative value (a typed "-0" included) turns the
    // multiplier to -1 and is kept as its magnitude; a positive one leaves the
    // multiplier as it is.
    void setTypedDegrees(double typed);
    void flip() { sign = -sign; }
};
// "N"/"S" and "E"/"W" of a multiplier.
const char* latitudeHemisphere(const DmsCoordinate& c);
const char* longitudeHemisphere(const DmsCoordinate& c);

// The "Assumed Position" button: the observer's AP (decimal degrees) into
// whole degrees, minutes and seconds (rounded to the second, with carry) and
// the multipliers, the sign taken from the value so 0°30′ S stays south.
void copyAssumedPosition(double latitudeDeg, double longitudeDeg, DmsCoordinate& latitude, DmsCoordinate& longitude);

// Degrees, minutes and seconds as typed in one group.
struct DmsEntry {
    double degrees = 0.0, minutes = 0.0, seconds = 0.0;
};

struct FieldRange {
    double min, max;
};
constexpr FieldRange kGreatCircleLatitudeRange{-90.0, 90.0};
constexpr FieldRange kRangeBearingLatitudeRange{0.0, 90.0};
constexpr FieldRange kLongitudeRange{-180.0, 180.0};
constexpr FieldRange kMinutesSecondsRange{0.0, 59.0};
constexpr FieldRange kDistanceRange{0.00001, 999999.0};

// A refused field: which one (e.g. "latitude 1 degrees", "distance") and its range.
struct RangeError {
    std::string field;
    FieldRange range;
};

enum class EarthModel : int { Ellipsoid = 0, Sphere = 1 };  // "NAD83 (elliptical)", "Spherical (1' = 1NMi)"

struct GreatCircleState {
    DmsCoordinate lat1, lon1, lat2, lon2;
    int unitIndex = kNauticalMiles;
    EarthModel model = EarthModel::Ellipsoid;
};

// Validates the four typed groups and, only when all are in range, stores
// them by the negative-degrees rule. On refusal nothing is stored.
std::optional<RangeError> applyGreatCircleEntries(GreatCircleState& state, const DmsEntry& lat1, const DmsEntry& lon1,
                                                  const DmsEntry& lat2, const DmsEntry& lon2);

struct GreatCircleResult {
    double distance = 0.0;         // in the state's unit
    double courseDeg = 0.0;        // initial course, degrees true (always spherical)
    bool ellipsoidDefined = true;  // false: coincident or antipodal places, spherical value shown
    std::string distanceText;      // "%.2lf"
    std::string courseText;        // "Initial Course: %.2lf°T"
    std::string note;              // empty, or why the ellipsoidal value is missing
};
GreatCircleResult computeGreatCircle(const GreatCircleState& state);

enum class SailingMethod : int { GreatCircle = 0, RhumbLine = 1 };

struct RangeBearingState {
    DmsCoordinate lat, lon;
    double courseDeg = 0.0;
    double distance = 0.0;  // in the unit of unitIndex
    int unitIndex = kNauticalMiles;
    SailingMethod method = SailingMethod::GreatCircle;
    int formatIndex = 0;  // angle display form 0, 1 or 2; tapping the result advances it
    void advanceFormat() { formatIndex = (formatIndex + 1) % 3; }
};

// Validates the start place and distance (the course is free) and stores them.
std::optional<RangeError> applyRangeBearingEntries(RangeBearingState& state, const DmsEntry& lat, const DmsEntry& lon,
                                                   double courseDeg, double distance);

struct RangeBearingResult {
    GeoPoint destination;
    bool valid = true;  // false: a rhumb line that would reach or pass a pole
    std::string text;   // latitude and longitude in the state's display form, joined by "\r\n"; or why not
};
RangeBearingResult computeRangeBearing(const RangeBearingState& state);

}  // namespace celestra
