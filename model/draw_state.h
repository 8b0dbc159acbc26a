// The chart's drawing state (record A of the document file): what the chart
// shows and how, as the view commands set it.
#pragma once

#include <array>
#include <cstdint>

#include "model/color_scheme.h"

namespace celestra {

class ArchiveReader;
class ArchiveWriter;

constexpr int kOverlayCount = 12;

class CUniverseViewDrawState {
public:
    // Bits of `flags` (field 16).
    static constexpr int32_t kFlipEastWest = 2048;

    CUniverseViewDrawState();

    // Stored values, in field-number order (the file order differs; see Serialize).
    // The fields named fieldN are kept and written back as read: nothing
    // here gives them a meaning.
    int32_t realTime = 1;  // field 1: 1 real time, 0 stopped
    int32_t field2 = 1;
    int32_t field3 = 1;
    int32_t field4 = 1;
    int32_t field5 = 0;
    int32_t magnitudeFilter = 1;    // field 6: 1 list what passes the limit and the deep-sky selection, 0 everything
    int32_t magnitudeLimit = 5000;  // field 7: thousandths of a magnitude
    int32_t field8 = 5000;
    int32_t field9 = 1;  // always 1 after a load
    int32_t field10 = 1;
    int32_t field11 = 1;                  // always 1 after a load
    int32_t cometMagnitudeLimit = 10000;  // field 12: thousandths of an absolute magnitude; 5000 after a load
    int32_t field13 = 0;
    int32_t field14 = 0;
    int32_t field15 = 0;
    int32_t flags = 0;  // field 16: chart flags (kFlipEastWest, ...)
    int32_t field17 = 0;
    std::array<int32_t, 2> reserved{0, 0};  // stored, always 0 after a load
    double zoom = 2.0;                      // field 18: 2.0 horizon view, 3.0 zenith view; FOV = 180° / zoom
    double offsetX = 0.0;  // field 19: chart centre offset, unscaled chart units; stored as a whole number
    double offsetY = 0.0;  // field 20: likewise
    int32_t field21 = 1;   // a stored 2 loads as 1 with field22 = -1
    int32_t field22 = -1;
    int32_t field23 = 0;
    int32_t field24 = 0;
    int32_t field25 = 1;
    int32_t field26 = 0;
    int32_t deepSkySelection = 1;  // field 27: bit 0 Messier, bit 1 Caldwell; a new document shows the Messier objects
    double rotation = 90.0;        // field 28: degrees (270 facing north, 90 south or zenith); stored whole
    int32_t colorPreset = kDefaultColorPreset;  // field 29: 0 Red, 1 Black, 2 White
    int32_t field30 = 0;
    int32_t field31 = 0;

    // Not stored.
    double step = 1.0 / 480.0;                      // 3 minutes in days
    std::array<int32_t, kOverlayCount> overlays{};  // overlay switches, from defaultOverlays()
    CColorScheme colorScheme;                       // the chart's copy of the active scheme
    double unsetValue = -1.0;

    bool flippedEastWest() const { return (flags & kFlipEastWest) != 0; }

    // Writes the 31 values in file order. The doubles of fields 19, 20 and 28
    // are written truncated toward zero (47.9 -> 47, -0.5 -> 0); a NaN is
    // written as 0 and values beyond the int32 range as its nearest end.
    void Serialize(ArchiveWriter& ar) const;
    // Reads the 31 values and applies the after-reading rules: fields 9 and
    // 11 become 1 (and overlays 8, 9 and 10 are switched on), field 12 5000,
    // the reserved pair 0, and a field 21 of 2 becomes 1 with field 22 = -1.
    void Serialize(ArchiveReader& ar);
};

// The constant table the overlay switches start from.
const std::array<int32_t, kOverlayCount>& defaultOverlays();

// double -> int32 toward zero, with NaN -> 0 and clamping at the int32 range.
int32_t truncateToInt32(double v);

}  // namespace celestra
