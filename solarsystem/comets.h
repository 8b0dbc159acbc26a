// The comet list: element files in the one-line comet format, their parser,
// the list under its lock, the magnitude selection, apparent places, and the
// comet step of the sky model's update with its 21-point tracks.
//
// Element files (8-bit text in the data folder, read in this order):
//   1 Celestra.Comets.txt          from the comet-elements server
//   2 Celestra.CometsTarnwell.txt  from the project website
//   3 Celestra.CometsUser.txt      kept by the user, never downloaded
// One comet per line; lines end with CR, LF or any run of them, and the last
// line counts without one. Columns from 1, each field read from its own:
//   1-4 periodic number (blank: 0)   5 orbit type C, P or D
//   6-12 provisional designation     15-18, 20-21, 23-29 perihelion year,
//   month, day with fraction (TT)    31-39 q (AU)   42-49 e
//   52-59 ω   62-69 Ω   72-79 i (degrees, ecliptic and equinox J2000)
//   82-85, 86-87, 88-89 epoch year, month, day (blank: 0)
//   92-95 H   97-101 K   103-159 designation and name
// A line is accepted when it is 105 to 171 characters long, column 5 holds
// C, P or D, every numeric field parses whole (blank only where noted), and
// the orbit is possible: q > 0, e >= 0, month 1-12, the day within the month.
//
// Threads: the sky model's worker reads the list in the comet step; the UI
// thread reloads it after a download. Both hold CometList::lock, taken with
// a wait of at most 2000 ms (lockComets).
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "core/regular_file.h"
#include "model/observer_state.h"
#include "solarsystem/comet_orbit.h"
#include "solarsystem/planets.h"

namespace celestra {

constexpr int kCometFileCount = 3;
constexpr const char* kCometFileNames[kCometFileCount] = {"Celestra.Comets.txt", "Celestra.CometsTarnwell.txt",
                                                          "Celestra.CometsUser.txt"};
constexpr std::size_t kCometLineMin = 105;
constexpr std::size_t kCometLineMax = 171;
// The largest element file read, and what a file must hold to replace a
// downloaded one. The elements server's list is well under 1 MiB (about a
// thousand 160-byte lines); 16 MiB leaves a hundredfold room and keeps a
// runaway or hostile file from taking the program's memory and the comet
// step's time (each comet is 21 apparent places per recompute).
constexpr std::uint64_t kCometFileMaxBytes = std::uint64_t{16} << 20;
// The longest wait for the comet lock.
constexpr int kCometLockWaitMs = 2000;
// Clock tolerance of the comet step's observer comparison (52.8 s).
constexpr double kCometsInstantTolerance = 0.0006111111111111111;
// Default magnitude limit of the comet selection, thousandths (10.0).
constexpr int32_t kDefaultCometMagnitudeLimit = 10000;

struct CometRecord {
    int periodicNumber = 0;
    char orbitType = 'C';
    std::string provisional;  // columns 6-12 as written
    int perihelionYear = 0, perihelionMonth = 0;
    double perihelionDay = 0.0;  // with fraction, TT
    double q = 0.0, e = 0.0;
    double perihelionArgDeg = 0.0, nodeDeg = 0.0, inclinationDeg = 0.0;
    int epochYear = 0, epochMonth = 0, epochDay = 0;
    double absoluteMagnitude = 0.0;  // H
    double slope = 0.0;              // K
    std::string name;                // columns 103-159, UTF-8, trailing blanks removed

    JulianDay perihelionJd = 0.0;    // T: the whole day at 0 h plus the day's fraction, TT
    JulianDay epochJd = 0.0;         // 0 h of the epoch's date; 0 when the epoch is blank
    int32_t hThousandths = 0;        // H × 1000 truncated toward zero: what the limit is compared with
    double apparentMagnitude = 0.0;  // set by the selection and the comet step
    CometOrbit orbit;
};

// Parses one line (without its line end). True and `out` filled when the
// line is accepted; false otherwise (`out` unspecified).
bool parseCometLine(std::string_view line, CometRecord& out);

struct CometFileCounts {
    int accepted = 0;
    int rejected = 0;
};
// Parses a whole file's bytes, appending the accepted records to `out`.
CometFileCounts parseCometText(const char* data, std::size_t size, std::vector<CometRecord>& out);
// Reads and parses one element file (a regular file of at most
// kCometFileMaxBytes, opened without blocking). On a file that cannot be
// read `error` says why (status Missing for a file that is not there) and
// nothing is appended.
CometFileCounts readCometFile(const std::string& path, std::vector<CometRecord>& out, InputFileError& error);

// The three element files below the data folder, in reading order.
std::array<std::string, kCometFileCount> cometFilePaths(const std::string& dataFolder);

// What the chart draws for one selected comet. The points run from ten
// steps before the instant to ten steps after it; point 10 is the present.
constexpr int kCometTrackPoints = 21;
constexpr int kCometPresentPoint = 10;
struct CometTrackPoint {
    int32_t zenithDistanceFixed = 0;  // 16.16 degrees
    int32_t azimuthFixed = 0;         // 16.16 degrees, from north through east
    std::string label;                // "%d.%d": month and day of the point's UTC date
    bool valid = false;               // false: no place (outside the ephemeris); not drawn
};
struct CometTrack {
    int comet = 0;                   // index into CometList::records
    std::string name;                // the record's display name, for "CometNames"
    double absoluteMagnitude = 0.0;  // H
    double apparentMagnitude = 0.0;  // at the present point
    double raHours = 0.0;            // the present point's topocentric apparent place of date
    double decDeg = 0.0;
    std::array<CometTrackPoint, kCometTrackPoints> points;
};

struct CometList {
    // The comet lock. Take it with lockComets; every member below is read
    // and written under it.
    std::timed_mutex lock;
    std::vector<CometRecord> records;   // file 1 first, then 2 and 3
    std::vector<int> selection;         // indices of the selected records, in list order
    CometFileCounts counts;             // of the last load
    std::vector<std::string> problems;  // files of the last load that exist but were skipped, and why
    // Comet step state.
    bool reselect = true;                   // rebuild the selection before the next step
    bool tracksValid = false;               // the last tracks are current
    int32_t lastLimit = INT32_MIN;          // magnitude limit of the last selection
    double lastStepDays = 0.0;              // track step of the last tracks
    CObserverState lastObserver{0.0, 0.0};  // observer of the last tracks
};

// The comet lock with a wait of at most 2000 ms; owns_lock() is false on time-out.
std::unique_lock<std::timed_mutex> lockComets(CometList& list);

// Rebuilds the list from the files in order (a missing file is skipped; one
// that cannot be read, is not a regular file or is too large is skipped and
// named in `problems`), empties the selection and marks the selection and the tracks for
// rebuilding. Returns 1 when the list was rebuilt (also with no comets), 0
// when the lock was not had within 2000 ms (nothing changed).
int loadComets(CometList& list, const std::array<std::string, kCometFileCount>& paths);
int loadComets(CometList& list, const std::string& dataFolder);

// Apparent magnitude m = H + 5 log10 Δ + 2.5 K log10 r (Δ, r in AU).
double cometMagnitude(double absoluteMagnitude, double slope, double deltaAu, double rAu);

// Geometric distances at TT instant jdTt from the Earth's centre (Δ) and
// from the Sun (r), AU, at the same TDB instant (no light time). BadArgument
// for an invalid orbit, OutsideEphemeris without the Earth's state, Failed
// when the Kepler solution does not converge; the distances are 0 on failure.
Status cometDistances(const PlaceContext& context, const CometRecord& comet, JulianDay jdTt, double& deltaAu,
                      double& rAu);

// Apparent place of a comet at UTC instant jdUtc: right ascension (hours)
// and declination (degrees) of the true equator and equinox of date,
// topocentric for `site` or geocentric when it is null, through the same
// light-time, deflection, aberration, precession and nutation steps as a
// planet; distanceAu is the observer's geometric distance at the instant.
// The comet's barycentric position is the Sun's from the ephemeris plus the
// heliocentric two-body position. Results as cometDistances.
Status cometApparentPlace(const PlaceContext& context, const CometRecord& comet, JulianDay jdUtc,
                          const ObserverSite* site, double& raHours, double& decDeg, double& distanceAu);

// Recomputes every record's apparent magnitude at UTC instant jdUtc
// (geocentric Δ and heliocentric r) and rebuilds the selection: the records
// whose H in thousandths is at most `limitThousandths`. A record whose
// distances fail keeps magnitude 0 and is still selected by its H. The
// caller holds the lock. Returns the number selected.
int selectVisibleComets(CometList& list, const PlaceContext& context, JulianDay jdUtc, int32_t limitThousandths);

// Days between track points: 14 in the chart's global mode; else 7 below a
// zoom factor of 10 and 1 from 10 up.
double cometTrackStepDays(bool globalMode, double zoom);

// Inputs of the comet step from the chart's view state.
struct CometStepInputs {
    int32_t magnitudeLimit = kDefaultCometMagnitudeLimit;  // thousandths, "Comets    Mag:"
    bool cometsOn = true;                                  // the chart's comet option
    bool globalMode = false;                               // the chart's global mode flag (14-day steps)
    double zoom = 2.0;                                     // the view state's zoom factor
};

enum class CometStepResult {
    Unchanged,   // nothing changed since the last tracks; `tracks` untouched
    Recomputed,  // `tracks` holds new tracks, one per selected comet
    Cleared,     // the comet option is off; `tracks` emptied
    Busy,        // the lock was not had within 2000 ms; `tracks` untouched
};

// The comet step of the sky model's update (stage five, status "Comets.. ").
// Call it on every recompute: it makes its own change test.
//  1. Takes the comet lock (at most 2000 ms; else Busy).
//  2. Rebuilds the selection (selectVisibleComets at the observer's instant)
//     when the magnitude limit differs from the last one used or the list
//     was reloaded; either makes the tracks stale, as does an observer that
//     fails CObserverState::IsSameAs with 52.8 s, or a new track step.
//  3. Comet option off: the tracks are emptied and marked stale (Cleared).
//  4. Stale: for each selected comet and j = 0..20 at the UTC instant
//     u = instant + (j - 10) × step: its topocentric apparent place for the
//     observer's site (cometApparentPlace), the label "%d.%d" (month, day of
//     u), zenith distance and azimuth without refraction from the local
//     apparent sidereal time of u and the site's latitude (the star chart's
//     conversion), as 16.16 fixed point; the present point's magnitude.
//     Returns Recomputed. Otherwise Unchanged.
CometStepResult updateComets(CometList& list, const CObserverState& observer, const CometStepInputs& inputs,
                             const PlaceContext& context, std::vector<CometTrack>& tracks);

// Information text of a comet: "M-abs:%4.1lf, M-app:%4.1lf" with H and the
// apparent magnitude.
std::string cometInfoText(double absoluteMagnitude, double apparentMagnitude);
std::string cometInfoText(const CometRecord& comet);

}  // namespace celestra
