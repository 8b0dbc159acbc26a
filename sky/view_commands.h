// What the chart's commands do to its drawing state: facing directions,
// the east-west flip, zoom steps and fixed zoom levels, the magnitude limit,
// centring and scrolling, and the characters the chart answers to. The view
// calls these and then asks the sky model for a fresh update.
#pragma once

#include <array>
#include <cstdint>

#include "sky/chart_geometry.h"

namespace celestra {

class CUniverseViewDrawState;

enum class FacingDirection { North, NorthEast, East, SouthEast, South, SouthWest, West, NorthWest, Zenith };

// A horizon direction: zoom 2, offset x 0, offset y = clientHeight / -4
// (integer division), so the zenith is at the top centre and that horizon
// at the bottom centre; then the rotation of the direction (the diagonals
// and East/West depend on the flip). Zenith: rotation 90, zoom 3, offsets 0.
void faceDirection(CUniverseViewDrawState& state, FacingDirection direction, int clientHeight);
// Toggles the flip bit (2048 of the flags).
void toggleFlipEastWest(CUniverseViewDrawState& state);
// The chart's window changed size: the offsets (unscaled units, which grow
// with the base radius) are multiplied by new radius / old radius, so every
// point of the sky keeps its place relative to the window. A factor that is
// not finite and positive changes nothing.
void scaleOffsets(CUniverseViewDrawState& state, double factor);

// One zoom step in or out: in the star chart +0.25 below 3.0 and +0.5 from
// 3.0 on; out -0.25 up to 3.0 and -0.5 above it; in the orrery steps of 2.0.
// The zoom stays within [kMinZoom, kMaxZoom].
constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 200.0;
void zoomIn(CUniverseViewDrawState& state, bool orrery = false);
void zoomOut(CUniverseViewDrawState& state, bool orrery = false);

// The context menu's fixed zoom levels: the factor is the zoom, so the field
// of view is 180° / factor.
struct FixedZoom {
    double factor;
    const char* label;
};
constexpr std::array<FixedZoom, 7> kFixedZooms = {{
    {1.0, "1x      FOV: 180°"},
    {2.0, "2x      FOV: 90°"},
    {4.0, "4x      FOV: 45°"},
    {10.0, "10x    FOV: 18°"},
    {20.0, "20x    FOV: 9°"},
    {40.0, "40x    FOV: 4.5°"},
    {100.0, "100x  FOV: 1.8°"},
}};
// Sets the zoom, keeping the sky point at the window centre where it is.
void setZoomKeepingCentre(CUniverseViewDrawState& state, double zoom);
// Sets the zoom keeping the sky point under pixel (px, py) of the projection under it.
void setZoomAbout(CUniverseViewDrawState& state, const ChartProjection& projection, double zoom, double px, double py);

// Magnitude limit (field 7) from a whole magnitude 2..7 (thousandths stored).
void setMagnitudeLimit(CUniverseViewDrawState& state, int magnitude);
// The magnitude box's entry for a limit: limit / 1000 - 2, within 0..5.
int magnitudeBoxIndex(int32_t magnitudeLimit);

// Brings the point at zenith distance zd and azimuth az to the window
// centre. With rotateWhileScrolling the chart turns to face az and is
// shifted along its vertical only (offset x 0); otherwise the offsets move
// the point to the centre and the rotation stays. An altitude outside
// [-90, 90] changes nothing (returns false).
bool centreOn(CUniverseViewDrawState& state, const ChartProjection& projection, double zenithDistanceDeg,
              double azimuthDeg, bool rotateWhileScrolling);
// Looks at altitude h along the current facing direction (centreOn at the facing azimuth).
bool lookAtAltitude(CUniverseViewDrawState& state, const ChartProjection& projection, double altitudeDeg,
                    bool rotateWhileScrolling);

// A drag of (dx, dy) pixels moves the chart with the pointer. With
// rotateWhileScrolling a horizontal drag turns the chart about the zenith
// instead (one pixel at the chart's centre ring a pixel's worth of azimuth),
// so the horizon stays at the bottom.
void scrollBy(CUniverseViewDrawState& state, const ChartProjection& projection, double dx, double dy,
              bool rotateWhileScrolling);

// What a character typed in the chart asks for.
enum class ChartKey {
    None,
    ZoomIn,
    ZoomOut,
    Magnitude,
    PresetBlack,
    PresetRed,
    PresetWhite,
    Flip,
    Info,
    Orrery,
    StarChart,
    Centre,
    StepForward,
    StepBack,
};
struct ChartKeyAction {
    ChartKey key = ChartKey::None;
    int magnitude = 0;  // for ChartKey::Magnitude: 2..7
};
ChartKeyAction chartKeyAction(char32_t character);

}  // namespace celestra
