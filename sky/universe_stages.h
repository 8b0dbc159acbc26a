// The stages of the universe model's recompute, as small functions over
// the solar-system and catalogue code. The model (sky/universe.h) decides
// when each runs; these compute.
//
//   1 stars        (0x01, any change) apparent places of the visible catalogue objects
//   2 bodies       (0x02, any change) topocentric horizon places of the eleven bodies
//   3 body details (0x10, any change) the Moon's phase and bright limb, the bodies'
//                                 magnitudes, the ecliptic's horizon points
//   4 grid         (0x04, any change) the equatorial grid's horizon points
//   5 comets       (0x20, 52.8 s) tracks of the selected comets (updateComets,
//                                 which keeps its own change test)
//   6 orbital paths(0x08, 51.6 s) the daily places table and its horizon track
//
// Times are UTC Julian days; positions for drawing are 16.16 fixed-point
// degrees of zenith distance and azimuth (north through east).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/observer_state.h"
#include "sky/star_positions.h"
#include "solarsystem/daily_ephemeris.h"
#include "solarsystem/planets.h"

namespace celestra {

// The fields of the observer state that the solar-system steps compare and use.
ObserverSnapshot observerSnapshot(const CObserverState& observer);

// Local apparent sidereal time in hours for the chart: the UTC instant taken
// to TT, minus ΔT of that instant, apparent form, plus the east longitude.
double chartLocalSiderealHours(double jdUtc, double eastLongitudeDeg);

// One object's place as the chart keeps it (zenith distance and azimuth,
// degrees, after the 16.16 rounding of the stages).
struct ChartPlace {
    double zenithDistanceDeg = 0.0;
    double azimuthDeg = 0.0;
    // The chart draws what stands above its horizon: zenith distance below
    // 90° as the single-precision value the snapshot holds.
    bool shown() const { return static_cast<float>(zenithDistanceDeg) < 90.0f; }
};

// Stage one's place of a single catalogue object (combined number 0..9328)
// at a UTC instant: its apparent topocentric place, refracted when the
// observer's option is on (the Earth's state from `context`). nullopt
// outside 0..9328.
std::optional<ChartPlace> chartPlaceOfObject(const PlaceContext& context, int object, double jdUtc,
                                             const CObserverState& observer);
// Stage two's place of a body (1..11, not the Earth) at a UTC instant:
// topocentric, refracted with the site's weather. nullopt outside the
// ephemeris or when the body's place fails.
std::optional<ChartPlace> chartPlaceOfBody(const PlaceContext& context, int body, double jdUtc,
                                           const CObserverState& observer);

// Stage two: the eleven bodies' slots (updateBodies). True when recomputed;
// false when the instant lies outside the ephemeris (slots left as they
// were, marked invalid) or nothing changed.
bool computeBodies(const PlaceContext& context, const CObserverState& observer, BodySlots& slots);

// Stage three. Ecliptic points every 5° of ecliptic longitude, 0° to 355°.
constexpr int kEclipticPointCount = 72;
constexpr double kEclipticStepDeg = 5.0;

struct BodyDetails {
    // Elongation, phase angle, illuminated fraction and the bright limb's
    // position angle of the Moon, from the geocentric places of Sun and Moon.
    MoonPhase moon;
    // Apparent visual magnitude per body, index BodyNumber - 1 (the Earth 1.0).
    std::array<double, 11> magnitude{};
    bool bodiesValid = false;  // moon and magnitude hold results for some instant
    // The ecliptic of date (true obliquity) at longitudes 0, 5, ... 355°.
    std::array<int32_t, kEclipticPointCount> eclipticZenithDistance{};
    std::array<int32_t, kEclipticPointCount> eclipticAzimuth{};
};

// Stage three: the Moon's phase and the magnitudes need the ephemeris and
// are kept from the last good instant outside its range; the ecliptic is
// always computed, in the horizon frame of the instant (refracted as the
// stars are). Returns true when the phase and magnitudes were recomputed.
bool computeBodyDetails(const PlaceContext& context, double jdUtc, const HorizonFrame& frame, BodyDetails& details);

// Stage four: nodes of the equatorial grid of date, every 20 minutes of
// right ascension (72 columns, from 0h) on the parallels -80° to +80° every
// 10° (17 rows). The chart draws the hour circles through every third
// column and the parallels through all of them.
constexpr int kGridColumns = 72;
constexpr int kGridRows = 17;
constexpr double kGridColumnStepHours = 24.0 / kGridColumns;
constexpr double kGridRowStepDeg = 10.0;
constexpr double kGridFirstRowDeg = -80.0;

struct GridNodes {
    // Node (row r, column c) at index r * kGridColumns + c.
    std::array<int32_t, kGridRows * kGridColumns> zenithDistance{};
    std::array<int32_t, kGridRows * kGridColumns> azimuth{};
};

// The grid's directions (fixed; built once).
const ChartDirections& gridDirections();
void computeGrid(const HorizonFrame& frame, GridNodes& grid);

// Stage six: the daily places (built or loaded once) and the horizon track
// around the current date, when the chart's "Orbital Paths" option is on.
// The progress text "One time init: %d%%" goes to `progress` while the
// table is built. True when the track was recomputed.
bool computeOrbitalPaths(OrbitalPaths& paths, const PlaceContext& context, const CObserverState& observer, bool pathsOn,
                         const ProgressFn& progress);

// The track's records of the window [first, end): per day 6 bodies × (zenith
// distance, azimuth) in degrees, as floats.
void copyTrackWindow(const OrbitalPaths& paths, TrackWindow& window, std::vector<float>& records);

}  // namespace celestra
