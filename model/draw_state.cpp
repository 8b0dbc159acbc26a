#include "model/draw_state.h"

#include <cmath>
#include <limits>

#include "core/archive.h"

namespace celestra {

const std::array<int32_t, kOverlayCount>& defaultOverlays() {
    // Entries 0 to 7 on; 8 to 11 off until a document load switches 8 to 10 on.
    static const std::array<int32_t, kOverlayCount> table = {1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0};
    return table;
}

int32_t truncateToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (v >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(v);
}

CUniverseViewDrawState::CUniverseViewDrawState() : overlays(defaultOverlays()) {}

void CUniverseViewDrawState::Serialize(ArchiveWriter& ar) const {
    for (int32_t v :
         {realTime, field2, field3, field4, field5, magnitudeFilter, magnitudeLimit, field8, field9, field10, field11,
          cometMagnitudeLimit, flags, field13, field14, field15, field17, reserved[0], reserved[1]})
        ar.writeInt32(v);
    ar.writeDouble(zoom);
    ar.writeInt32(truncateToInt32(offsetX));
    ar.writeInt32(truncateToInt32(offsetY));
    for (int32_t v : {field21, field22, field23, field24, field25, deepSkySelection, truncateToInt32(rotation), field26,
                      colorPreset, field30, field31})
        ar.writeInt32(v);
}

void CUniverseViewDrawState::Serialize(ArchiveReader& ar) {
    for (int32_t* v :
         {&realTime, &field2, &field3, &field4, &field5, &magnitudeFilter, &magnitudeLimit, &field8, &field9, &field10,
          &field11, &cometMagnitudeLimit, &flags, &field13, &field14, &field15, &field17, &reserved[0], &reserved[1]})
        *v = ar.readInt32();
    zoom = ar.readDouble();
    offsetX = ar.readInt32();
    offsetY = ar.readInt32();
    int32_t storedRotation = 0;
    for (int32_t* v : {&field21, &field22, &field23, &field24, &field25, &deepSkySelection, &storedRotation, &field26,
                       &colorPreset, &field30, &field31})
        *v = ar.readInt32();
    rotation = storedRotation;

    field9 = 1;
    overlays[8] = overlays[9] = overlays[10] = 1;
    field11 = 1;
    cometMagnitudeLimit = 5000;
    reserved = {0, 0};
    if (field21 == 2) {
        field21 = 1;
        field22 = -1;
    }
}

}  // namespace celestra
