#include "catalogs/constellations.h"

#include "catalogs/catalog_tables.h"

namespace celestra {

const ConstellationLabel* constellationLabels() { return kConstellationLabels; }

bool figureLinkValid(std::int32_t link) {
    // One unsigned comparison covers both ends: -1 wraps to a huge value.
    return static_cast<std::uint32_t>(link) - 1u < static_cast<std::uint32_t>(kBrightStarCount);
}

bool constellationLabelEnabled(const ConstellationLabel& label, int level) {
    return label.anchorStar >= 2 && level >= label.threshold;
}

}  // namespace celestra
