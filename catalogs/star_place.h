// The bridge from a catalogue record to the apparent-place pipeline: the
// record's single-precision fields widened to the units that pipeline takes
// (the stored units already are those units).
#pragma once

#include "catalogs/star_catalog.h"
#include "core/apparent_place.h"

namespace celestra {

inline StarPlaceInput starPlaceInput(const StarEntry& entry) {
    StarPlaceInput star;
    star.raHours = entry.rightAscension;
    star.decDeg = entry.declination;
    star.pmRaSecPerCentury = entry.properMotionRa;
    star.pmDecArcsecPerCentury = entry.properMotionDec;
    star.parallaxArcsec = entry.parallax;
    star.radialVelocityKmS = entry.radialVelocity;
    return star;
}

}  // namespace celestra
