// The GPS page's engine: settings, the received position and time, NMEA
// text from a serial receiver cut into sentences, the machine's serial
// devices, and setting the system clock from GPS time. The gpsd source is in
// gpsd_source.h; the page itself only wires these to its controls.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/time_scales.h"
#include "gps/nmea0183.h"

namespace celestra {

class CSerial;

// ---------------------------------------------------------------------------
// Settings

// The baud box: selection index -> bits per second. Indices outside the
// table give 4800, the NMEA 0183 rate.
constexpr unsigned kGpsBaudRates[] = {110,   300,   600,   1200,  2400,   4800,   9600,  14400,
                                      19200, 38400, 56000, 57600, 115200, 128000, 256000};
constexpr int kGpsBaudRateCount = 15;
constexpr unsigned kGpsDefaultBaudRate = 4800;
constexpr int kGpsDefaultBaudSelection = 5;
unsigned gpsBaudRateFromSelection(int index);
// The text the page shows for the baud rate an index leads to ("default:\r\n 4800"
// for an index outside the table).
std::string gpsBaudRateText(int index);

// One 32-bit word of the application settings: bits 0-7 the port
// selection (index in the port box), bits 8-15 the baud selection, bit 16
// "Set system clock (UTC):". Higher bits are ignored.
struct GpsSettings {
    int portSelection = 0;
    int baudSelection = kGpsDefaultBaudSelection;
    bool setSystemClock = false;

    static GpsSettings FromWord(uint32_t word);
    uint32_t ToWord() const;
};
constexpr uint32_t kDefaultGpsSettingsWord = uint32_t(kGpsDefaultBaudSelection) << 8;

// ---------------------------------------------------------------------------
// Received position and time

// ddmm.mmmm (or dddmm.mmmm) with a hemisphere sign (+1 North/East, -1 South/
// West) -> signed decimal degrees: with b = floor(v), degrees = (b - b mod 100)
// / 100 and minutes = b mod 100 + (v - b).
double decimalDegreesFromNmea(double value, int sign);
double decimalDegrees(const NmeaLatitude& latitude);
double decimalDegrees(const NmeaLongitude& longitude);

// Where the received time came from. A ZDA time is not replaced by the
// time-of-day of later GGA, GLL or RMC sentences.
enum class GpsTimeSource : int { None = 0, Sentence = 1, Zda = 2, Gpsd = 3 };

struct GpsReceived {
    bool latitudeValid = false;
    double latitudeDegrees = 0.0;  // north positive
    bool longitudeValid = false;
    double longitudeDegrees = 0.0;  // east positive

    bool timeReceived = false;
    BrokenDownTime utc;  // milliseconds kept
    GpsTimeSource timeSource = GpsTimeSource::None;
    double receivedAtSeconds = 0.0;  // monotonic clock at reception

    // Further values when the source gave them.
    std::optional<double> speedKnots;
    std::optional<double> courseDegreesTrue;
    std::optional<double> altitudeMeters;  // above mean sea level
    std::optional<int> satellitesUsed;
    std::optional<double> headingDegreesTrue;
    std::optional<double> headingDegreesMagnetic;

    // The received instant as a UTC Julian day (milliseconds included).
    JulianDay UtcJulianDay() const;
};

// Seconds on the monotonic clock: the moment of reception.
double gpsMonotonicSeconds();

// The three value fields: colour and text.
struct GpsRgb {
    int red, green, blue;
    bool operator==(const GpsRgb&) const = default;
};
constexpr GpsRgb kGpsValueValidColor{25, 151, 25};
constexpr GpsRgb kGpsValueInvalidColor{255, 0, 0};
constexpr const char* kGpsValuePlaceholder = "?";
constexpr const char* kGpsValueFontFamily = "Tahoma";
inline GpsRgb gpsValueColor(bool valid) { return valid ? kGpsValueValidColor : kGpsValueInvalidColor; }
// A received latitude or longitude in degrees and minutes to 0.001' (about
// 2 m, the receivers' own resolution; 0.01° would be 0.6 nautical miles),
// with its hemisphere: "N 48°07.038'", "W 011°31.000'"; "?" when not valid.
std::string gpsDegreesFieldText(bool valid, double degrees, bool latitude);
// "YYYY-MM-DD hh:mm:ss" UTC, or "?" when no time was received.
std::string gpsTimeFieldText(const GpsReceived& received);

// ---------------------------------------------------------------------------
// NMEA text from a serial receiver

// Cuts received bytes into sentences and keeps what they tell.
//   * Nothing is taken from the buffer while it holds fewer than 51
//     characters, so a short burst waits for the data behind it.
//   * A sentence runs from "$" to the next LF. One that does not decode
//     (GSV, GSA, VTG, proprietary, damaged) is skipped and the rest of the
//     buffer processed.
//   * Beyond 500 characters the oldest text is dropped up to the next "$".
//   * GGA, GLL and RMC with a fix set the position; their time of day
//     becomes the received time unless a ZDA time was received; ZDA sets
//     the received time; HDG and HDT note the heading.
//   * Each decoded sentence adds a line to the display text; beyond 800
//     characters its first 900 are dropped.
class CNmeaReceiver {
public:
    static constexpr size_t kMaxBuffer = 500;
    static constexpr size_t kMinBatch = 51;
    static constexpr size_t kMaxDisplay = 800;
    static constexpr size_t kDisplayCut = 900;
    static constexpr size_t kReadChunk = 100;
    // The most one ReadFrom takes: a 4800-baud receiver sends 480 bytes a
    // second, but a pseudo-terminal or a faulty device can send without end;
    // what is left is reported again by the port's next event.
    static constexpr size_t kMaxReadPerCall = 64 * 1024;

    // `clock` gives the moment of reception in seconds (monotonic by default).
    explicit CNmeaReceiver(std::function<double()> clock = gpsMonotonicSeconds);

    // The day GGA and GLL times are combined with (default: the UTC day
    // nearest the system clock).
    void SetDate(std::optional<NmeaDate> date) { parser_.SetDate(date); }

    // Appends bytes and processes what can be; returns the number of
    // sentences decoded.
    int Receive(std::string_view bytes);
    // Reads what is waiting on the port (100 bytes at a time, at most
    // kMaxReadPerCall) and processes it. 0 or the port's error code.
    int ReadFrom(CSerial& port, int* decoded = nullptr);

    const GpsReceived& Received() const { return received_; }
    const std::string& DisplayText() const { return display_; }
    void AppendDisplay(const std::string& text);
    void ClearDisplay() { display_.clear(); }
    const std::string& Buffer() const { return buffer_; }
    const CNmea0183& Parser() const { return parser_; }
    // Forgets the buffer, the received values and the display text.
    void Reset();

private:
    void Apply();

    std::function<double()> clock_;
    CNmea0183 parser_;
    std::string buffer_;
    std::string display_;
    GpsReceived received_;
};

// Page texts for the serial source.
std::string gpsPortOpenedText(const std::string& device);  // "Opened port %s\r\nWaiting for data.\r\n"
std::string gpsPortFailedText(const std::string& device);  // "Unable to open port %s\r\n"
// Rate, 8 data bits, no parity, one stop bit, handshaking off. 0 or the
// port's error code (its ErrorText names a rate the device cannot run at).
int setupGpsPort(CSerial& port, unsigned rate);

// ---------------------------------------------------------------------------
// The machine

// Serial devices for the port box, found without opening any of them (an
// open can hang on a modem line or disturb a device in use):
//  * the kernel's terminals under `sysClassTty` that have hardware behind
//    them (a "device" link): USB and ACM adapters, on-board UARTs such as
//    ttyAMA* of small ARM boards; a serial-core port (one with a "type"
//    file, such as the legacy ttyS* that exist whether or not a UART is
//    there) only when its type is not 0, unknown;
//  * Bluetooth rfcomm* (virtual, so without a device link);
//  * then the aliases serial0 and serial1 (the Raspberry Pi's names of its
//    UARTs) and every name in serial/by-id (a receiver's stable name).
// Each must exist under `devDir`. Kernel names in natural order (ttyUSB10
// after ttyUSB9), then the aliases, then the by-id names sorted.
std::vector<std::string> listSerialDevices(const std::string& devDir = "/dev",
                                           const std::string& sysClassTty = "/sys/class/tty");

// The instant the clock should show now: the received time plus the seconds
// elapsed since its reception. nullopt when no time was received.
std::optional<JulianDay> gpsClockTarget(const GpsReceived& received, double nowSeconds = gpsMonotonicSeconds());

// Sets the system clock (UTC). 0 on success; otherwise an errno value and a
// message for the user (EPERM: not allowed to set the clock).
int setSystemClockUtc(JulianDay jdUtc, std::string& message);

}  // namespace celestra
