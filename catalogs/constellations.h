// Constellation name labels, each anchored to a bright star. The figure lines
// themselves are the two link fields of every StarEntry.
#pragma once

#include <cstdint>

#include "catalogs/star_catalog.h"

namespace celestra {

struct ConstellationLabel {
    const char* name;         // as shown on the chart
    std::int32_t anchorStar;  // HR number of the star under the label; < 2 disables it
    std::int32_t threshold;   // drawn when the chart's label level is >= this
};

constexpr int kConstellationLabelCount = 82;

// The 82 labels in stored (alphabetical) order.
const ConstellationLabel* constellationLabels();

// Whether a figure-link value names a partner star: 1 <= link <= 9110, so the
// table's -1 and 9999 draw nothing, and no value can reach past the table.
bool figureLinkValid(std::int32_t link);

// Whether a label is drawn at chart label level `level` (anchor >= 2 and
// level >= threshold); the anchor must also be on the chart, which the
// caller checks.
bool constellationLabelEnabled(const ConstellationLabel& label, int level);

}  // namespace celestra
