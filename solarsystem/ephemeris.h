// Reader of planetary ephemeris files in the JPL Development Ephemeris binary
// layout (8144-byte records of Chebyshev coefficients, as DE405/421/430/440).
//
// Units and frame of every state this reader returns: position in
// astronomical units, velocity in AU per day, axes of the file (ICRF, which
// the apparent-place code treats as the mean equator and equinox of J2000).
// Instants are Julian days on the file's time scale, TDB.
//
// Result codes (the engine's one convention): 0 success; 1 bad argument
// (body, origin or target number out of range, non-finite instant); 2 no
// state (no file open, instant outside the file, damaged record, or a body
// relative to itself). Every failing call sets its outputs to zero.
//
// Thread safety: one EphemerisFile holds the open file, the record in memory
// and the polynomial caches. The sky model's worker thread and the UI thread
// both ask it for states, so each instance owns a mutex and every public
// member takes it for the whole call: calls never overlap and callers need
// no lock of their own. The process-wide reader (processEphemeris) is one
// such instance.
#pragma once

#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "core/angles.h"

namespace celestra {

// The numbering of bodies used by the rest of the program.
enum BodyNumber { kMercury = 1, kVenus, kEarth, kMars, kJupiter, kSaturn, kUranus, kNeptune, kPluto, kSun, kMoon };

// The numbering inside the file reader: as BodyNumber with Sun and Moon
// swapped, plus the two barycentres.
enum FileTarget {
    kTargetMercury = 1,
    kTargetVenus,
    kTargetEarth,
    kTargetMars,
    kTargetJupiter,
    kTargetSaturn,
    kTargetUranus,
    kTargetNeptune,
    kTargetPluto,
    kTargetMoon,
    kTargetSun,
    kTargetSolarSystemBarycentre,
    kTargetEarthMoonBarycentre
};

// Origins of solarSystemState and bodyState.
enum EphemerisOrigin { kOriginBarycentre = 0, kOriginSun = 1 };

enum BodyType : int16_t { kMajorBody = 0, kMinorPlanet = 1 };

// One body the sky model asks the reader about. `name` is UTF-8, at most 49
// characters (makeBody cuts longer names).
struct SolarSystemBody {
    int16_t type = 0;    // BodyType
    int16_t number = 0;  // BodyNumber for a major body
    std::string name;
};

// The two header layouts this reader accepts. Standard: the JPL binary layout
// of the published files (start day at byte 2652). Padded: the same fields
// with a 4-byte gap after the constant names and after the constant count,
// so every double is 8-byte aligned (start day at byte 2656).
enum class EphemerisLayout { Padded, Standard };

struct EphemerisInfo {
    std::string path;
    EphemerisLayout layout = EphemerisLayout::Standard;
    int deNumber = 0;
    double startJd = 0.0;   // TDB, first day covered
    double endJd = 0.0;     // TDB, last day covered
    double spanDays = 0.0;  // days per data record (32 in DE405)
    double auKm = 0.0;      // kilometres per astronomical unit
    double earthMoonMassRatio = 0.0;
    int constantCount = 0;
    int recordCount = 0;  // data records (file records 2, 3, ...)
};

// Where one series lives in a data record: 1-based index of its first
// coefficient (counted in doubles), coefficients per component, sub-intervals
// per record. count == 0: the series is absent.
struct CoefficientPointer {
    int32_t first = 0;
    int32_t count = 0;
    int32_t subintervals = 0;
};

constexpr int kEphemerisRecordDoubles = 1018;
constexpr int kEphemerisRecordBytes = kEphemerisRecordDoubles * 8;  // 8144
constexpr int kMaxChebyshevCoefficients = 18;
constexpr int kEphemerisSeriesCount = 12;   // Mercury, Venus, EMB, Mars..Pluto, Moon, Sun, nutations
constexpr int kEphemerisRequestCount = 13;  // the 12 series plus librations

// Polynomial values reused while the normalised Chebyshev time is unchanged.
struct ChebyshevCache {
    double p[kMaxChebyshevCoefficients] = {1.0, 2.0};  // P_j(tc); p[1] = tc of the last call (2: none yet)
    double v[kMaxChebyshevCoefficients] = {0.0, 1.0};  // dP_j/dtc
    int validP = 2;
    int validV = 3;
    double twoTc = 4.0;
};

// Whole and fractional part of x with the fraction in [0, 1): whole is x
// truncated toward zero, one less for a negative x with a fraction.
void splitJulianDay(double x, double& whole, double& fraction);

// Evaluates one series block of a data record.
//   coefficients  the block (sub-interval l, component i, coefficient j at
//                 j + i*n + l*n*components)
//   t             normalised time within the record, [0, 1]
//   spanDays      record span in days (velocities come out per day)
//   n             coefficients per component, 1..18
//   components    2 or 3
//   subintervals  sub-intervals per record, >= 1
//   level         1 position only, 2 position and velocity
//   out           components position values, then (level 2) components
//                 velocity values, in the units of the coefficients (per day)
// t = 1 falls in the last sub-interval at tc = +1. The caller guarantees the
// block lies inside its buffer.
void chebyshevInterpolate(const double* coefficients, double t, double spanDays, int n, int components,
                          int subintervals, int level, double* out, ChebyshevCache& cache);

class EphemerisFile {
public:
    EphemerisFile();
    ~EphemerisFile();
    EphemerisFile(const EphemerisFile&) = delete;
    EphemerisFile& operator=(const EphemerisFile&) = delete;

    // Opens and checks the file (header, constants, size against the date
    // range). Any file already open is closed first. On failure returns
    // false, leaves the reader closed and, when error is given, sets a
    // message naming the file and what is wrong.
    bool open(const std::string& path, std::string* error = nullptr);
    // True if a file was open and closed without error.
    bool close();
    bool isOpen() const;
    // Description of the open file (a default EphemerisInfo when closed).
    EphemerisInfo info() const;
    // The first damaged data record met since the file was opened (a
    // non-finite coefficient, or dates that do not match the header), as
    // "record N (JD a to b) ..."; empty while none was. A call that fails on
    // such a record returns 2 like an instant outside the file: this tells
    // the two apart.
    std::string damage() const;
    // Names and values of the file's constants (empty when closed).
    std::vector<std::pair<std::string, double>> constants() const;

    // State of BodyNumber `body` (1..11) relative to `origin` (0 barycentre,
    // 1 Sun) at TDB Julian day jd. Codes 0/1/2 as above.
    int solarSystemState(double jd, int body, int origin, Vector3& position, Vector3& velocity);
    // The same for a body record: type 0 gives solarSystemState of its
    // number with a non-zero code raised by 10 (11, 12); origin not 0 or 1
    // gives 1; any other type (a minor planet has no source here) gives 2.
    int bodyState(double jd, const SolarSystemBody& body, int origin, Vector3& position, Vector3& velocity);
    // FileTarget `target` relative to FileTarget `centre` (1..13):
    // out = position (AU), velocity (AU/day). Codes 0/1/2.
    int targetRelativeTo(double jd, int target, int centre, double out[6]);
    // Barycentric (or, with barycentric false, heliocentric for series 1-9)
    // states of the requested series at TDB jd. request[k] for series k+1
    // (k = 12: librations): 0 not wanted, 1 position, 2 position and
    // velocity. states[k]: position then velocity, AU and AU/day for bodies;
    // radians and radians/day for nutations (2 components: dpsi, deps, then
    // rates) and librations. The Moon (series 10) stays geocentric. A series
    // absent from the file gives zeros. sunState receives the Sun's
    // barycentric state (may be null). Codes 0/1/2.
    int interpolateBodies(double jd, const int request[kEphemerisRequestCount],
                          double states[kEphemerisRequestCount][6], bool barycentric, double* sunState = nullptr);

private:
    int interpolateLocked(double jd, const int request[kEphemerisRequestCount],
                          double states[kEphemerisRequestCount][6], bool barycentric, double* sunState);
    int targetRelativeToLocked(double jd, int target, int centre, double out[6]);
    int loadRecord(int recordNumber);
    void closeLocked();

    mutable std::mutex mutex_;
    std::FILE* file_ = nullptr;
    EphemerisInfo info_;
    CoefficientPointer pointers_[kEphemerisRequestCount];
    std::vector<std::string> constantNames_;
    std::vector<double> constantValues_;
    int recordInMemory_ = -1;  // file record number, -1 none
    double record_[kEphemerisRecordDoubles] = {};
    ChebyshevCache cache_;
    std::string damage_;
};

// Fills a body record: type and number are set to 0 first; 1 if type is not
// 0 or 1; 2 for type 0 with number outside 1..11; else 0 with the fields stored.
int makeBody(int type, int number, const std::string& name, SolarSystemBody& body);

// The process-wide reader and the free functions over it.
EphemerisFile& processEphemeris();
// Opens `path` in the process-wide reader; gives its start, end and span.
// On failure the three outputs are 0 and error (when given) says why.
bool openEphemeris(const std::string& path, double& startJd, double& endJd, double& spanDays,
                   std::string* error = nullptr);
bool closeEphemeris();
int solarSystemState(double jd, int body, int origin, Vector3& position, Vector3& velocity);
int bodyState(double jd, const SolarSystemBody& body, int origin, Vector3& position, Vector3& velocity);

// The name of the ephemeris file among the shipped data.
constexpr const char* kEphemerisFileName = "celestra.405";

// Where the program looks for its ephemeris: explicitPath (from
// --ephemeris) as given when not empty (a wrong explicit path is not
// replaced by another file; opening it says what is wrong); else the first
// existing regular file celestra.405 in the shipped-data folders
// (dataSearchFolders(): <exe dir>/../share/celestra, then
// $XDG_DATA_HOME/celestra, then $XDG_DATA_DIRS). "" if none.
std::string findEphemerisFile(const std::string& explicitPath = "");
// The places findEphemerisFile tries, in order (for messages).
std::vector<std::string> ephemerisSearchPaths(const std::string& explicitPath = "");

// The digest file the build writes beside the default ephemeris:
// "<path>.sha256", the SHA-256 of the file as 64 lower-case hexadecimal
// digits (the form sha256sum writes, so it can be checked by hand).
std::string ephemerisDigestPath(const std::string& path);
// Hashes the whole file and compares it with its digest file. True when
// they match, or, with a diagnostic line, when there is no digest file (a
// file copied without it). False, with a message naming the file, when the
// digest differs or either file cannot be read. Costs one read of the file
// (about 35 ms of processor time for the 9 MB DE405 file: some 270 MB/s).
bool verifyEphemerisDigest(const std::string& path, std::string* error = nullptr);
// Finds the program's ephemeris (findEphemerisFile) and opens it in
// `reader`; a file found by the search (not an explicit one) must first pass
// verifyEphemerisDigest. `path` receives the file tried ("" when none was
// found). False with a message, and the reader closed, on any failure.
bool openProgramEphemeris(EphemerisFile& reader, const std::string& explicitPath, std::string& path,
                          std::string* error = nullptr);

}  // namespace celestra
