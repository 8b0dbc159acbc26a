// celestra-cli gps: reads a serial GPS receiver or a gpsd daemon for some
// seconds and prints the last position and time it received.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>

#include "cli/cli.h"
#include "core/iso_time.h"
#include "gps/gps_source.h"
#include "gps/gpsd_source.h"
#include "gps/serial.h"

namespace celestra::cli {
namespace {

// The listener reports on its own thread; the main thread reads the data.
class WaitingPort : public CSerialEx {
public:
    ~WaitingPort() override {
        if (IsOpen()) Close();
    }
    // Events that arrived, waiting until `deadline` for some.
    uint32_t Wait(std::chrono::steady_clock::time_point deadline) {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait_until(lock, deadline, [this] { return events_ != 0; });
        const uint32_t events = events_;
        events_ = 0;
        return events;
    }

protected:
    void OnEvent(uint32_t events, uint32_t) override {
        std::lock_guard<std::mutex> lock(mutex_);
        events_ |= events;
        cv_.notify_one();
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    uint32_t events_ = 0;
};

GpsReceived readDevice(const std::string& device, unsigned baud, double seconds) {
    WaitingPort port;
    if (port.Open(device, false) != 0) fail(Status::Device, port.ErrorText());
    if (setupGpsPort(port, baud) != 0) fail(Status::Device, device + ": " + port.ErrorText());
    if (port.StartListener() != 0) fail(Status::Device, device + ": " + port.ErrorText());

    CNmeaReceiver receiver;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const uint32_t events = port.Wait(std::chrono::time_point_cast<std::chrono::steady_clock::duration>(deadline));
        if (events & CSerial::EEventRecv) {
            if (receiver.ReadFrom(port) != 0) fail(Status::Device, device + ": " + port.ErrorText());
        }
        if (!port.IsListening()) fail(Status::Device, device + " went away while it was being read");
    }
    return receiver.Received();
}

GpsReceived readGpsd(const std::string& where, double seconds) {
    const size_t colon = where.rfind(':');
    if (colon == std::string::npos || colon == 0) usageError("--gpsd needs HOST:PORT, not \"" + where + "\"");
    std::string host = where.substr(0, colon);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']') host = host.substr(1, host.size() - 2);
    const auto port = parseNumber(where.substr(colon + 1));
    if (!port || *port < 1 || *port > 65535 || *port != static_cast<int>(*port))
        usageError("--gpsd needs a port number 1-65535 in \"" + where + "\"");

    CGpsdSource source;
    if (source.Open(host, static_cast<int>(*port)) != 0) fail(Status::Device, source.ErrorText());
    const double deadline = gpsMonotonicSeconds() + seconds;
    while (true) {
        const double left = deadline - gpsMonotonicSeconds();
        if (left <= 0) break;
        if (source.Poll(static_cast<int>(left * 1000.0) + 1) != 0) fail(Status::Device, source.ErrorText());
    }
    return source.Received();
}

int runGps(const std::vector<std::string>& words) {
    const Args args(words, {"device", "baud", "gpsd", "seconds"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    if (args.has("device") == args.has("gpsd")) usageError("give either --device PATH or --gpsd HOST:PORT");
    if (args.has("baud") && !args.has("device")) usageError("--baud goes with --device");
    const double seconds = args.number("seconds", 10.0);
    if (!(seconds > 0.0 && seconds <= 86400.0)) usageError("--seconds must lie between 0 and 86400");

    std::string source;
    GpsReceived received;
    if (const auto device = args.value("device")) {
        const long baud = args.integer("baud").value_or(kGpsDefaultBaudRate);
        if (baud <= 0 || baud > 4000000) usageError("--baud must be a rate in bits per second, e.g. 4800");
        source = *device;
        received = readDevice(*device, static_cast<unsigned>(baud), seconds);
    } else {
        source = "gpsd on " + args.require("gpsd");
        received = readGpsd(args.require("gpsd"), seconds);
    }

    if (!received.latitudeValid || !received.longitudeValid) {
        char text[64];
        std::snprintf(text, sizeof text, "%g", seconds);
        fail(Status::Device, "timed out: no position received from " + source + " within " + text + " seconds");
    }
    const std::string utc = received.timeReceived ? formatIsoTime(received.UtcJulianDay()) + "Z" : std::string();

    if (args.flag("json")) {
        Json j;
        j.beginObject().field("lat_deg", received.latitudeDegrees).field("lon_deg", received.longitudeDegrees);
        if (received.timeReceived) j.field("utc", utc);
        else j.nullField("utc");
        if (received.speedKnots) j.field("speed_kn", *received.speedKnots);
        if (received.courseDegreesTrue) j.field("course_deg", *received.courseDegreesTrue);
        if (received.altitudeMeters) j.field("altitude_m", *received.altitudeMeters);
        if (received.satellitesUsed) j.field("satellites_used", *received.satellitesUsed);
        j.endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    std::printf("Latitude:    %.6f\n", received.latitudeDegrees);
    std::printf("Longitude:   %.6f\n", received.longitudeDegrees);
    std::printf("UTC:         %s\n", received.timeReceived ? utc.c_str() : "-");
    if (received.speedKnots) std::printf("Speed:       %.1f kn\n", *received.speedKnots);
    if (received.courseDegreesTrue) std::printf("Course:      %.1f deg true\n", *received.courseDegreesTrue);
    if (received.altitudeMeters) std::printf("Altitude:    %.1f m\n", *received.altitudeMeters);
    if (received.satellitesUsed) std::printf("Satellites:  %d in use\n", *received.satellitesUsed);
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"gps", "position and time from a serial GPS receiver or gpsd",
                             "Usage: celestra-cli gps (--device PATH [--baud N] | --gpsd HOST:PORT)\n"
                             "                        [--seconds N] [--json]\n"
                             "\n"
                             "Reads NMEA 0183 from a serial device (8 data bits, no parity, one stop bit,\n"
                             "no handshaking, --baud default 4800) or the reports of a gpsd daemon for N\n"
                             "seconds (default 10) and prints the last position and UTC time received,\n"
                             "with speed, course, altitude and satellites in use where the source gave\n"
                             "them. Exit code 5 when the source cannot be opened or sent no position.\n"
                             "\n"
                             "  --json   one object: lat_deg, lon_deg (signed degrees, north and east\n"
                             "           positive), utc (ISO 8601, null when no time came), and where\n"
                             "           given speed_kn, course_deg, altitude_m, satellites_used\n",
                             runGps});

}  // namespace celestra::cli
