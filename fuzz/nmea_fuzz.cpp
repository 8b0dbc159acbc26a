// Fuzz target: NMEA sentences. The input is handed to the parser as one
// line, and to the receive buffer in pieces as a serial port would deliver
// it. Neither may crash; the buffer and the display text stay bounded.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "gps/gps_source.h"
#include "gps/nmea0183.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace celestra;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    CNmea0183 parser;
    parser.SetDate(NmeaDate{2026, 12, 8});
    const bool decoded = parser.Parse(bytes);
    if (decoded != (parser.ErrorMessage() == "No Error")) std::abort();
    if (decoded && parser.LastSentenceIDParsed() != parser.LastSentenceIDReceived()) std::abort();
    (void)parser.PlainText();

    CNmeaReceiver receiver([] { return 0.0; });
    receiver.SetDate(NmeaDate{2026, 12, 8});
    for (size_t at = 0; at < bytes.size(); at += 37) {
        receiver.Receive(std::string_view(bytes).substr(at, 37));
        if (receiver.Buffer().size() > CNmeaReceiver::kMaxBuffer) std::abort();
        if (receiver.DisplayText().size() > CNmeaReceiver::kMaxDisplay + 400) std::abort();
    }
    const GpsReceived& r = receiver.Received();
    if (r.latitudeValid && !(r.latitudeDegrees == r.latitudeDegrees)) std::abort();  // never NaN
    return 0;
}
