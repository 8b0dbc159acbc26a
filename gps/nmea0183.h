// NMEA 0183 sentences from a GPS receiver: checksum, field access and the six
// sentence types the program reads (GGA, GLL, RMC, ZDA, HDG, HDT).
//
// NMEA is 7-bit ASCII, so sentences are held as std::string. A sentence is one
// line: "$", the address field (two letters of talker, three of type, e.g.
// GPGGA; proprietary sentences start with "P"), comma-separated data fields,
// optionally "*" and two hexadecimal checksum digits, optionally CR LF.
//
// Receivers that follow NMEA 0183 2.3 and later append fields to RMC and GLL
// (the mode indicator, and in 4.1 the navigational status of RMC). The
// checksum is therefore always taken from the text after "*", never from a
// fixed field number, and the added fields are decoded when present.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/time_scales.h"

namespace celestra {

// Three-valued truth. The numbering is part of the interface: 0 is Unknown.
enum class NmeaTruth : int { Unknown = 0, True = 1, False = 2 };

enum class NmeaNorthSouth : int { Unknown = 0, North = 1, South = 2 };
enum class NmeaEastWest : int { Unknown = 0, East = 1, West = 2 };

// A civil date (UTC) that time-of-day fields are combined with. When the
// moment it was taken is known (seconds since its midnight), a time of day
// more than 12 hours away from that moment belongs to the day before or
// after: a sentence of 23:59:59 read at 00:00:01 is of yesterday.
struct NmeaDate {
    int year = 0;
    int month = 0;         // 1-12
    int day = 0;           // 1-31
    int secondOfDay = -1;  // 0-86399, or -1: the date holds for any time of day
};

// A broken-down UTC time from its parts (the caller has checked the ranges).
BrokenDownTime makeBrokenDownTime(int year, int month, int day, int hour, int minute, int second, int milliseconds);

// Today's date on the system clock, in UTC, with the current second of day.
NmeaDate systemUtcDate();

// One received line, cut into fields. Fields end at ",", "*", NUL, CR or LF;
// a field beyond the last one is the empty string.
class CNmeaSentence {
public:
    // Lines longer than this are not sentences (the standard allows 82
    // characters; some receivers exceed it a little).
    static constexpr size_t kMaxLength = 1024;

    explicit CNmeaSentence(std::string_view line);

    const std::string& Text() const { return text_; }

    // "$", an address field of 3 to 10 letters or digits, and nothing but
    // printable ASCII before the line end.
    bool IsWellFormed() const { return wellFormed_; }

    size_t FieldCount() const { return fields_.size(); }
    std::string Field(size_t n) const;
    int Integer(size_t n) const;                  // decimal; empty or non-numeric reads as 0
    double Double(size_t n) const;                // decimal; empty or non-numeric reads as 0
    NmeaTruth Truth(size_t n) const;              // "A" True, "V" False, else Unknown
    NmeaNorthSouth NorthOrSouth(size_t n) const;  // "N" / "S"
    NmeaEastWest EastOrWest(size_t n) const;      // "E" / "W"

    // Time of day "hhmmss[.sss]" of field n combined with `date`. A field of
    // five characters or fewer, or one whose digits are not a valid time of
    // day, gives the all-zero time and false.
    bool Time(size_t n, const NmeaDate& date, BrokenDownTime& out) const;

    // XOR of every character after "$" up to the first "*", CR or LF.
    uint8_t ComputeChecksum() const;
    // Is the checksum bad? Unknown when the sentence carries none (no "*" or
    // nothing after it), False when the hexadecimal digits after "*" (either
    // case) equal the computed checksum, True otherwise.
    NmeaTruth IsChecksumBad() const;

    // The text after "*" up to CR/LF; empty when there is no "*".
    const std::string& ChecksumText() const { return checksumText_; }

private:
    std::string text_;
    std::vector<std::string> fields_;
    std::string checksumText_;
    bool hasStar_ = false;
    bool wellFormed_ = false;
};

// Appends "*hh" (upper-case) and CR LF to an outgoing sentence that starts with "$".
std::string appendNmeaChecksum(const std::string& sentence);

// Whole degrees of a ddmm.mmmm value; 0 for values no receiver sends
// (beyond +-2e9 degrees), which do not fit an int.
inline int nmeaWholeDegrees(double value) {
    const double degrees = value / 100.0;
    return degrees > -2e9 && degrees < 2e9 ? static_cast<int>(degrees) : 0;
}

// Latitude or longitude in the NMEA form: degrees x 100 + minutes
// (ddmm.mmmm, dddmm.mmmm) with its hemisphere.
struct NmeaLatitude {
    double value = 0.0;
    NmeaNorthSouth hemisphere = NmeaNorthSouth::Unknown;
    int WholeDegrees() const { return nmeaWholeDegrees(value); }
    double Minutes() const { return value - 100.0 * WholeDegrees(); }
    std::string Write() const;  // "%07.2f,N"
};
struct NmeaLongitude {
    double value = 0.0;
    NmeaEastWest hemisphere = NmeaEastWest::Unknown;
    int WholeDegrees() const { return nmeaWholeDegrees(value); }
    double Minutes() const { return value - 100.0 * WholeDegrees(); }
    std::string Write() const;  // "%08.2f,E"
};
struct NmeaPosition {
    NmeaLatitude latitude;
    NmeaLongitude longitude;
    // True when both values and hemispheres were present in the sentence and
    // the values lie within 0-90 and 0-180 degrees with minutes below 60.
    bool present = false;
    // "Latitude %d %8.5lf North, Longitude %d %8.5lf East"
    std::string PlainText() const;
};

// One sentence type: decodes its fields and keeps them until the next
// sentence of the same type decodes.
class CNmeaResponse {
public:
    explicit CNmeaResponse(std::string type) : type_(std::move(type)) {}
    virtual ~CNmeaResponse() = default;

    const std::string& Type() const { return type_; }
    const std::string& ErrorMessage() const { return errorMessage_; }

    // Checks the checksum ("Invalid Checksum"; "Missing Checksum" where the
    // type requires one), then decodes. `date` is the day that time-of-day
    // fields are combined with.
    bool Parse(const CNmeaSentence& sentence, const NmeaDate& date);
    virtual std::string PlainText() const { return std::string(); }

protected:
    virtual bool RequiresChecksum() const { return false; }
    virtual void Decode(const CNmeaSentence& sentence, const NmeaDate& date) = 0;

private:
    std::string type_;
    std::string errorMessage_;
};

// Fix data.
class CNmeaGGA : public CNmeaResponse {
public:
    CNmeaGGA() : CNmeaResponse("GGA") {}
    std::string utcTimeText;
    BrokenDownTime time;
    bool timeValid = false;
    NmeaPosition position;
    int gpsQuality = 0;  // 0 no fix, 1 GPS fix, 2 differential GPS fix
    int numberOfSatellitesInUse = 0;
    double horizontalDilutionOfPrecision = 0.0;
    double antennaAltitudeMeters = 0.0;  // above mean sea level
    double geoidalSeparationMeters = 0.0;
    double ageOfDifferentialGpsDataSeconds = 0.0;
    int differentialReferenceStationId = 0;
    std::string PlainText() const override;

protected:
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// Geographic position.
class CNmeaGLL : public CNmeaResponse {
public:
    CNmeaGLL() : CNmeaResponse("GLL") {}
    NmeaPosition position;
    std::string utcTimeText;
    BrokenDownTime time;
    bool timeValid = false;
    NmeaTruth isDataValid = NmeaTruth::Unknown;
    std::string modeIndicator;  // 2.3 and later: A, D, E, M, S, N; empty before
    std::string PlainText() const override;

protected:
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// Recommended minimum data. Its instant uses the sentence's own date field
// when that holds a valid ddmmyy date, the supplied date otherwise.
class CNmeaRMC : public CNmeaResponse {
public:
    CNmeaRMC() : CNmeaResponse("RMC") {}
    std::string utcTimeText;
    BrokenDownTime time;
    bool timeValid = false;
    NmeaTruth isDataValid = NmeaTruth::Unknown;
    NmeaPosition position;
    double speedOverGroundKnots = 0.0;
    double trackMadeGoodDegreesTrue = 0.0;
    std::string dateText;            // ddmmyy
    double magneticVariation = 0.0;  // degrees
    NmeaEastWest magneticVariationDirection = NmeaEastWest::Unknown;
    std::string modeIndicator;       // 2.3 and later
    std::string navigationalStatus;  // 4.1 and later: S, C, U, V
    std::string PlainText() const override;

protected:
    bool RequiresChecksum() const override { return true; }
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// Time and date.
class CNmeaZDA : public CNmeaResponse {
public:
    CNmeaZDA() : CNmeaResponse("ZDA") {}
    std::string utcTimeText;
    int day = 0;
    int month = 0;
    int year = 0;
    int localHourDeviation = 0;
    int localMinutesDeviation = 0;
    BrokenDownTime time;  // from year, month, day and the time field
    bool timeValid = false;

protected:
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// Heading, deviation and variation (magnetic sensor).
class CNmeaHDG : public CNmeaResponse {
public:
    CNmeaHDG() : CNmeaResponse("HDG") {}
    double magneticSensorHeadingDegrees = 0.0;
    double magneticDeviationDegrees = 0.0;
    NmeaEastWest magneticDeviationDirection = NmeaEastWest::Unknown;
    double magneticVariationDegrees = 0.0;
    NmeaEastWest magneticVariationDirection = NmeaEastWest::Unknown;

protected:
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// True heading.
class CNmeaHDT : public CNmeaResponse {
public:
    CNmeaHDT() : CNmeaResponse("HDT") {}
    double degreesTrue = 0.0;
    std::string PlainText() const override;  // "Your true heading is %6.2lf degrees."

protected:
    void Decode(const CNmeaSentence& s, const NmeaDate& date) override;
};

// The parser: one response object per supported type, sorted by type.
class CNmea0183 {
public:
    CNmea0183();
    CNmea0183(const CNmea0183&) = delete;  // the sorted table points at the members
    CNmea0183& operator=(const CNmea0183&) = delete;

    // Decodes one sentence; true when decoded. ErrorMessage and
    // LastSentenceIDReceived change on every call.
    bool Parse(std::string_view line);

    // The day time-of-day fields are combined with; unset (the default)
    // means the system's UTC date at the moment of each Parse.
    void SetDate(std::optional<NmeaDate> date) { date_ = date; }

    // "No Error", "<type> is an unknown type of sentence", "Invalid Checksum",
    // "Missing Checksum", or "Not an NMEA sentence" for a line that is not one.
    const std::string& ErrorMessage() const { return errorMessage_; }
    const std::string& LastSentenceIDReceived() const { return lastReceived_; }
    const std::string& LastSentenceIDParsed() const { return lastParsed_; }
    const std::string& TalkerID() const { return talkerId_; }
    const std::string& ExpandedTalkerID() const { return expandedTalkerId_; }
    const std::string& PlainText() const { return plainText_; }

    CNmeaGGA Gga;
    CNmeaGLL Gll;
    CNmeaHDG Hdg;
    CNmeaHDT Hdt;
    CNmeaRMC Rmc;
    CNmeaZDA Zda;

private:
    CNmeaResponse* Find(const std::string& type);

    std::array<CNmeaResponse*, 6> responses_;  // sorted by type
    std::optional<NmeaDate> date_;
    std::string errorMessage_ = "No Error";
    std::string lastReceived_;
    std::string lastParsed_;
    std::string talkerId_;
    std::string expandedTalkerId_;
    std::string plainText_;
};

}  // namespace celestra
