// Fuzz target: gpsd report lines (JSON). No crash, no unbounded nesting;
// a report that applies leaves the status text well formed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/json_reader.h"
#include "gps/gpsd_source.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace celestra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)parseJson(text);
    CGpsdSource source([] { return 0.0; });
    source.ApplyReport(text);
    if (source.StatusText(1).rfind("1 Seconds\r\n", 0) != 0) std::abort();
    return 0;
}
