#include "gps/gps_source.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>

#include "core/angles.h"
#include "core/number_text.h"
#include "gps/serial.h"

namespace celestra {

// ---------------------------------------------------------------------------
// Settings

unsigned gpsBaudRateFromSelection(int index) {
    if (index < 0 || index >= kGpsBaudRateCount) return kGpsDefaultBaudRate;
    return kGpsBaudRates[index];
}

std::string gpsBaudRateText(int index) {
    if (index < 0 || index >= kGpsBaudRateCount) return "default:\r\n 4800";
    return std::to_string(kGpsBaudRates[index]);
}

GpsSettings GpsSettings::FromWord(uint32_t word) {
    GpsSettings s;
    s.portSelection = static_cast<int>(word & 0xFF);
    s.baudSelection = static_cast<int>((word >> 8) & 0xFF);
    s.setSystemClock = (word >> 16) & 1;
    return s;
}

uint32_t GpsSettings::ToWord() const {
    return (uint32_t(portSelection) & 0xFF) | ((uint32_t(baudSelection) & 0xFF) << 8) |
           (setSystemClock ? 1u << 16 : 0u);
}

// ---------------------------------------------------------------------------
// Received position and time

double decimalDegreesFromNmea(double value, int sign) {
    const double b = std::floor(value);
    const double bMod100 = std::fmod(b, 100.0);
    const double degrees = (b - bMod100) / 100.0;
    const double minutes = bMod100 + (value - b);
    return (sign < 0 ? -1.0 : 1.0) * (degrees + minutes / 60.0);
}

double decimalDegrees(const NmeaLatitude& latitude) {
    return decimalDegreesFromNmea(latitude.value, latitude.hemisphere == NmeaNorthSouth::North ? 1 : -1);
}

double decimalDegrees(const NmeaLongitude& longitude) {
    return decimalDegreesFromNmea(longitude.value, longitude.hemisphere == NmeaEastWest::East ? 1 : -1);
}

JulianDay GpsReceived::UtcJulianDay() const {
    return julianDayFromBrokenDownTime(utc) + utc.milliseconds * 0.001 * kDaysPerSecond;
}

double gpsMonotonicSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

std::string gpsDegreesFieldText(bool valid, double degrees, bool latitude) {
    if (!valid) return kGpsValuePlaceholder;
    return latitude ? formatDegreesMinutes(degrees, 2, 3, AngleSignStyle::Latitude)
                    : formatDegreesMinutes(degrees, 3, 3, AngleSignStyle::Longitude);
}

std::string gpsTimeFieldText(const GpsReceived& received) {
    if (!received.timeReceived) return kGpsValuePlaceholder;
    const BrokenDownTime& t = received.utc;
    char buffer[64];
    snprintfC(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute,
              t.second);
    return buffer;
}

// ---------------------------------------------------------------------------
// NMEA text from a serial receiver

CNmeaReceiver::CNmeaReceiver(std::function<double()> clock) : clock_(std::move(clock)) {}

void CNmeaReceiver::Reset() {
    buffer_.clear();
    display_.clear();
    received_ = GpsReceived();
}

void CNmeaReceiver::AppendDisplay(const std::string& text) {
    display_ += text;
    if (display_.size() > kMaxDisplay) display_.erase(0, std::min(kDisplayCut, display_.size()));
}

int CNmeaReceiver::Receive(std::string_view bytes) {
    buffer_.append(bytes.data(), bytes.size());
    // A receiver that sends no line ends, or noise without "$", must not
    // grow the buffer: drop whole stale sentences from the front.
    while (buffer_.size() > kMaxBuffer) {
        const size_t next = buffer_.find('$', 1);
        if (next == std::string::npos) {
            buffer_.clear();
        } else {
            buffer_.erase(0, next);
        }
    }
    int decoded = 0;
    while (buffer_.size() >= kMinBatch) {
        const size_t start = buffer_.find('$');
        if (start == std::string::npos) break;
        const size_t end = buffer_.find('\n', start);
        if (end == std::string::npos) break;
        const std::string sentence = buffer_.substr(start, end - start + 1);
        buffer_.erase(0, end + 1);
        if (!parser_.Parse(sentence)) continue;  // skipped; the rest still counts
        ++decoded;
        Apply();
    }
    return decoded;
}

void CNmeaReceiver::Apply() {
    const std::string& type = parser_.LastSentenceIDParsed();
    const double now = clock_();

    const NmeaPosition* position = nullptr;
    const BrokenDownTime* time = nullptr;
    bool fix = false;
    if (type == "GGA") {
        const CNmeaGGA& r = parser_.Gga;
        position = &r.position;
        time = r.timeValid ? &r.time : nullptr;
        fix = r.gpsQuality != 0;
        if (fix) {
            received_.altitudeMeters = r.antennaAltitudeMeters;
            received_.satellitesUsed = r.numberOfSatellitesInUse;
        }
    } else if (type == "GLL") {
        const CNmeaGLL& r = parser_.Gll;
        position = &r.position;
        time = r.timeValid ? &r.time : nullptr;
        fix = r.isDataValid != NmeaTruth::False;
    } else if (type == "RMC") {
        const CNmeaRMC& r = parser_.Rmc;
        position = &r.position;
        time = r.timeValid ? &r.time : nullptr;
        fix = r.isDataValid != NmeaTruth::False;
        if (fix) {
            received_.speedKnots = r.speedOverGroundKnots;
            received_.courseDegreesTrue = r.trackMadeGoodDegreesTrue;
        }
    }

    if (position) {
        // A receiver without a fix sends empty fields or flags them invalid:
        // that is no position (it would read as 0 N 0 E).
        if (fix && position->present) {
            received_.latitudeValid = true;
            received_.latitudeDegrees = decimalDegrees(position->latitude);
            received_.longitudeValid = true;
            received_.longitudeDegrees = decimalDegrees(position->longitude);
        }
        if (fix && time && received_.timeSource != GpsTimeSource::Zda) {
            received_.timeReceived = true;
            received_.utc = *time;
            received_.timeSource = GpsTimeSource::Sentence;
            received_.receivedAtSeconds = now;
        }
        AppendDisplay("  " + parser_.PlainText() + "\r\n");
    } else if (type == "ZDA") {
        if (parser_.Zda.timeValid) {
            received_.timeReceived = true;
            received_.utc = parser_.Zda.time;
            received_.timeSource = GpsTimeSource::Zda;
            received_.receivedAtSeconds = now;
        }
        AppendDisplay("  " + parser_.PlainText() + "\r\n");
    } else if (type == "HDG") {
        received_.headingDegreesMagnetic = parser_.Hdg.magneticSensorHeadingDegrees;
        char buffer[64];
        snprintfC(buffer, sizeof buffer, "   Heading %lf\r\n", parser_.Hdg.magneticSensorHeadingDegrees);
        AppendDisplay(buffer);
    } else if (type == "HDT") {
        received_.headingDegreesTrue = parser_.Hdt.degreesTrue;
        char buffer[64];
        snprintfC(buffer, sizeof buffer, "   Heading True %lf\r\n", parser_.Hdt.degreesTrue);
        AppendDisplay(buffer);
    }
}

int CNmeaReceiver::ReadFrom(CSerial& port, int* decoded) {
    char chunk[kReadChunk];
    std::string bytes;
    size_t got = 0;
    do {
        const int code = port.Read(chunk, sizeof chunk, got);
        if (code != 0) return code;
        bytes.append(chunk, got);
    } while (got == sizeof chunk && bytes.size() < kMaxReadPerCall);
    const int count = Receive(bytes);
    if (decoded) *decoded = count;
    return 0;
}

std::string gpsPortOpenedText(const std::string& device) {
    return "Opened port " + device + "\r\nWaiting for data.\r\n";
}

std::string gpsPortFailedText(const std::string& device) { return "Unable to open port " + device + "\r\n"; }

int setupGpsPort(CSerial& port, unsigned rate) {
    const int code = port.Setup(rate, 8, CSerial::EParNone, CSerial::EStop1);
    if (code != 0) return code;
    return port.SetupHandshaking(CSerial::EHandshakeOff);
}

// ---------------------------------------------------------------------------
// The machine

namespace {

// "ttyUSB10" after "ttyUSB9": prefix, then the number.
bool naturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        size_t i = s.size();
        while (i > 0 && s[i - 1] >= '0' && s[i - 1] <= '9') --i;
        const long number = i < s.size() && s.size() - i < 9 ? std::stol(s.substr(i)) : -1;
        return std::make_pair(s.substr(0, i), number);
    };
    return split(a) < split(b);
}

bool startsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

bool exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

std::vector<std::string> entriesOf(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (const dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.') names.push_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

// A terminal with a serial port behind it, by what sysfs says of it.
bool serialHardware(const std::string& ttyDir) {
    if (!exists(ttyDir + "/device")) return false;
    std::ifstream type(ttyDir + "/type");
    int portType = 0;
    return !type || ((type >> portType) && portType != 0);
}

}  // namespace

std::vector<std::string> listSerialDevices(const std::string& devDir, const std::string& sysClassTty) {
    std::vector<std::string> names;
    for (const std::string& name : entriesOf(sysClassTty))
        if ((startsWith(name, "rfcomm") || serialHardware(sysClassTty + "/" + name)) && exists(devDir + "/" + name))
            names.push_back(name);
    std::sort(names.begin(), names.end(), naturalLess);
    for (const char* alias : {"serial0", "serial1"})
        if (exists(devDir + "/" + alias)) names.push_back(alias);
    std::vector<std::string> byId = entriesOf(devDir + "/serial/by-id");
    std::sort(byId.begin(), byId.end());
    for (const std::string& name : byId)
        if (exists(devDir + "/serial/by-id/" + name)) names.push_back("serial/by-id/" + name);
    for (std::string& name : names) name = devDir + "/" + name;
    return names;
}

std::optional<JulianDay> gpsClockTarget(const GpsReceived& received, double nowSeconds) {
    if (!received.timeReceived) return std::nullopt;
    const double elapsed = std::max(0.0, nowSeconds - received.receivedAtSeconds);
    return received.UtcJulianDay() + elapsed * kDaysPerSecond;
}

int setSystemClockUtc(JulianDay jdUtc, std::string& message) {
    message.clear();
    const double unixSeconds = (jdUtc - 2440587.5) * 86400.0;  // JD of 1970-01-01T00:00 UTC
    if (!std::isfinite(unixSeconds) || unixSeconds < 0.0) {
        message = "The received time is not valid; the system clock was not changed.";
        return EINVAL;
    }
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(std::floor(unixSeconds));
    ts.tv_nsec = static_cast<long>((unixSeconds - std::floor(unixSeconds)) * 1e9);
    if (clock_settime(CLOCK_REALTIME, &ts) == 0) return 0;
    const int code = errno;
    if (code == EPERM)
        message = "Setting the system clock needs administrator rights (CAP_SYS_TIME); the clock was not changed.";
    else message = std::string("The system clock could not be set: ") + std::strerror(code);
    return code;
}

}  // namespace celestra
