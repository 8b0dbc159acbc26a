// The default ephemeris the build wrote, opened once for every benchmark of
// the program that includes this; nullptr when it was not built (the
// benchmarks that need it then skip with a message).
#pragma once

#include "solarsystem/ephemeris.h"

namespace celestra {

inline EphemerisFile* builtEphemerisForBench() {
    static EphemerisFile* eph = [] {
        auto* e = new EphemerisFile;
        if (!e->open(CELESTRA_BUILT_EPHEMERIS)) {
            delete e;
            return static_cast<EphemerisFile*>(nullptr);
        }
        return e;
    }();
    return eph;
}

}  // namespace celestra
