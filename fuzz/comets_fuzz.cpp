// Fuzz target: the comet element-file parser. Every accepted record must
// hold a possible orbit, and its position a day and a century from
// perihelion must be finite or refused with a code.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "solarsystem/comets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace celestra;
    std::vector<CometRecord> records;
    const CometFileCounts counts = parseCometText(reinterpret_cast<const char*>(data), size, records);
    if (counts.accepted != static_cast<int>(records.size()) || counts.rejected < 0) std::abort();
    for (const CometRecord& c : records) {
        if (!(c.q > 0.0) || !(c.e >= 0.0) || !c.orbit.valid || c.perihelionMonth < 1 || c.perihelionMonth > 12)
            std::abort();
        if (c.orbitType != 'C' && c.orbitType != 'P' && c.orbitType != 'D') std::abort();
        if (c.name.size() > 2 * 57 || !std::isfinite(c.perihelionJd)) std::abort();
        for (const double days : {1.0, -36525.0}) {
            Vector3 pos, vel;
            const int rc = cometHeliocentric(c.orbit, c.perihelionJd + days, pos, &vel);
            if (rc == 0 && !(std::isfinite(pos.norm()) && std::isfinite(vel.norm()))) std::abort();
            if (rc != 0 && pos.norm() != 0.0) std::abort();
        }
    }
    return 0;
}
