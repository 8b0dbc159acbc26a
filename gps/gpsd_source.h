// The platform GPS service on Linux: a gpsd daemon, spoken to over TCP in its
// JSON protocol. The client asks for JSON reports with
// ?WATCH={"enable":true,"json":true} and keeps what the VERSION, TPV
// (time-position-velocity) and SKY (satellites, dilutions) reports say.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/time_scales.h"
#include "gps/gps_source.h"

namespace celestra {

// What the last reports said; absent values were not in the report.
struct GpsdState {
    std::string release;  // from VERSION
    int reports = 0;      // lines understood so far

    // TPV: mode 0 unknown, 1 no fix, 2 two-dimensional, 3 three-dimensional.
    int mode = 0;
    std::optional<BrokenDownTime> utc;
    std::optional<double> latitudeDegrees, longitudeDegrees;
    std::optional<double> speedMetersPerSecond;
    std::optional<double> trackDegreesTrue;
    std::optional<double> magneticVariationDegrees;
    std::optional<double> altitudeSeaLevelMeters;
    std::optional<double> altitudeEllipsoidMeters;

    // SKY
    std::optional<double> positionDilution, horizontalDilution, verticalDilution;
    std::optional<int> satellitesUsed, satellitesVisible;
};

// "YYYY-MM-DDThh:mm:ss[.fff]Z" -> broken-down UTC; nullopt when malformed.
std::optional<BrokenDownTime> parseGpsdTime(std::string_view text);

class CGpsdSource {
public:
    static constexpr const char* kRadioText = "Use \"gpsd (Linux location service)\"";
    // What the page shows after "Start".
    static constexpr const char* kOpenedText = "Successfully opened gpsd, waiting for data";
    static constexpr const char* kOpenFailedText = "ERROR: Failed to open gpsd!";
    static constexpr const char* kDefaultHost = "localhost";
    static constexpr int kDefaultPort = 2947;
    static constexpr size_t kMaxLine = 64 * 1024;  // longer lines are dropped
    // The most one Poll reads. gpsd sends a few KiB a second (a TPV and a
    // SKY report per fix); 64 KiB is ample for a once-a-second poll and
    // bounds the work a flooding peer can cause per call.
    static constexpr size_t kMaxPollBytes = 64 * 1024;

    explicit CGpsdSource(std::function<double()> clock = gpsMonotonicSeconds);
    ~CGpsdSource();
    CGpsdSource(const CGpsdSource&) = delete;
    CGpsdSource& operator=(const CGpsdSource&) = delete;

    // Connects (waiting at most `timeoutMs`) and asks for JSON reports.
    // 0 or an errno value; ErrorText says what failed.
    int Open(const std::string& host, int port, int timeoutMs = 2000);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }
    // The socket, for an event loop that wants to know when data waits.
    int Socket() const { return fd_; }

    // Reads what gpsd sent, waiting up to `timeoutMs` for the first bytes
    // (0: only what is there), at most kMaxPollBytes of it, and applies
    // every complete report; the rest is read by the next call.
    // 0, or ECONNRESET when gpsd closed the connection, or another errno.
    int Poll(int timeoutMs = 0);
    // Applies one report line (used by Poll; handy for feeding recorded reports).
    bool ApplyReport(std::string_view line);

    const GpsdState& State() const { return state_; }
    // Position and time received so far (a later report without a fix does
    // not erase them).
    const GpsReceived& Received() const { return received_; }
    const std::string& ErrorText() const { return errorText_; }

    // The page's status text for the given second since start:
    // "%d Seconds\r\n", "UTC: <date> <time>\r\n", then "Lat: %lf\r" ...
    // "Satellites in view: %d\r" for the values the reports gave.
    std::string StatusText(int secondsSinceStart) const;

    // Does a gpsd answer (send its VERSION) at host:port within the time-out?
    static bool Probe(const std::string& host, int port, int timeoutMs = 500);

private:
    int Fail(int code, std::string text);

    std::function<double()> clock_;
    int fd_ = -1;
    std::string pending_;
    bool skipping_ = false;  // inside an overlong line
    GpsdState state_;
    GpsReceived received_;
    std::string errorText_;
};

}  // namespace celestra
