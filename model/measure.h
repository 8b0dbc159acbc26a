// One sextant sight: its assumed position, the body, the observing
// conditions and every quantity of its reduction. The reduction itself
// comes with the sight-reduction code; this is the record and its archive form.
#pragma once

#include <array>
#include <cstdint>

#include "model/observer_state.h"

namespace celestra {

class ArchiveReader;
class ArchiveWriter;

class CMeasure {
public:
    // The class name written with every sight of the observation list.
    static constexpr const char* kClassName = "CMeasure";

    // Assumed position from a new CObserverState (system clock, platform zone).
    CMeasure() = default;
    // Assumed position given (no clock read; used when loading).
    explicit CMeasure(const CObserverState& assumedPosition) : observer(assumedPosition) {}

    CObserverState observer;                     // assumed position (AP) and observing conditions
    int32_t active = 0;                          // 1: takes part in the fix
    int32_t isStar = 1;                          // 1 catalogue star, 0 solar-system body
    int32_t bodyIndex = -1;                      // star: bright-star number; body: 1..11; -1 none
    int32_t reserved5 = 1;                       // stored and restored only
    int32_t upperLimb = 0;                       // non-zero: upper limb of Sun or Moon
    int32_t correctionsDisabled = 0;             // 1: dip, index and refraction not applied
    double rightAscension = 0.0;                 // apparent geocentric RA, hours
    double declination = 0.0;                    // degrees
    double distance = 0.0;                       // geocentric, km (0 for a star)
    double zenithDistance = 0.0;                 // at the DR position, airless, degrees
    double azimuth = 0.0;                        // Zn, degrees from true north through east
    double dipShortDistance = 0.001;             // nautical miles to the shoreline
    double dipShortEnabled = 0.0;                // 1.0 dip short of the horizon, 0.0 ordinary dip
    std::array<double, 2> reserved15{0.0, 0.0};  // stored and restored only
    double course = 0.0;                         // degrees true
    double speed = 0.0;                          // knots
    double apTimeOverride = -1.0;                // JD (UT) of the AP time when > 0
    double observationTime = 0.0;                // JD (UT) of the sight
    int32_t timeEnteredAsUtc = 0;
    double hs = 0.0;                                  // sextant altitude, degrees
    double ha = 0.0;                                  // apparent altitude, degrees
    double dip = 0.0;                                 // degrees, subtracted
    double indexCorrection = 0.0;                     // degrees, added
    double refractionCorrection = 0.0;                // degrees (negative)
    double parallax = 0.0;                            // PA, degrees
    double semiDiameter = 0.0;                        // SD, degrees
    double ho = 0.0;                                  // observed altitude, degrees
    double hc = 0.0;                                  // calculated altitude, degrees
    double intercept = 0.0;                           // Ho - Hc, degrees (positive toward the body)
    double runTime = 0.0;                             // hours from the AP time to the observation
    double drLatitude = 0.0;                          // degrees
    double drLongitude = 0.0;                         // degrees
    double fixLongitude = 0.0;                        // written by the fix
    double fixLatitude = 0.0;                         // written by the fix
    double fixShift = 0.0;                            // written by the fix
    std::array<double, 3> fixWorking{0.0, 0.0, 0.0};  // azimuth, intercept, Hc copies for the fix; not stored

    // The AP time: the override when it is > 0, else the observer state's instant.
    double ApTime() const { return apTimeOverride > 0.0 ? apTimeOverride : observer.instant; }

    // The observer state, six int32, thirteen doubles, one int32, fifteen
    // doubles, one double (348 bytes). Loading repairs a dip-short flag that
    // is neither 1.0 nor 0.0 (a NaN included) to 0.0 with distance 0.001.
    void Serialize(ArchiveWriter& ar) const;
    void Serialize(ArchiveReader& ar);
};

}  // namespace celestra
