#include "sky/view_commands.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "model/draw_state.h"

namespace celestra {

void faceDirection(CUniverseViewDrawState& state, FacingDirection direction, int clientHeight) {
    const bool f = state.flippedEastWest();
    if (direction == FacingDirection::Zenith) {
        state.rotation = 90.0;
        state.zoom = 3.0;
        state.offsetX = 0.0;
        state.offsetY = 0.0;
        return;
    }
    state.zoom = 2.0;
    state.offsetX = 0.0;
    state.offsetY = static_cast<double>(clientHeight / -4);
    switch (direction) {
        case FacingDirection::North: state.rotation = 270.0; break;
        case FacingDirection::NorthEast: state.rotation = f ? 225.0 : 315.0; break;
        case FacingDirection::East: state.rotation = f ? 180.0 : 0.0; break;
        case FacingDirection::SouthEast: state.rotation = f ? 135.0 : 45.0; break;
        case FacingDirection::South: state.rotation = 90.0; break;
        case FacingDirection::SouthWest: state.rotation = f ? 45.0 : 135.0; break;
        case FacingDirection::West: state.rotation = f ? 0.0 : 180.0; break;
        case FacingDirection::NorthWest: state.rotation = f ? 315.0 : 225.0; break;
        case FacingDirection::Zenith: break;
    }
}

void toggleFlipEastWest(CUniverseViewDrawState& state) { state.flags ^= CUniverseViewDrawState::kFlipEastWest; }

void scaleOffsets(CUniverseViewDrawState& state, double factor) {
    if (!std::isfinite(factor) || factor <= 0.0) return;
    state.offsetX *= factor;
    state.offsetY *= factor;
}

void zoomIn(CUniverseViewDrawState& state, bool orrery) {
    const double step = orrery ? 2.0 : (state.zoom < 3.0 ? 0.25 : 0.5);
    state.zoom = std::min(kMaxZoom, state.zoom + step);
}

void zoomOut(CUniverseViewDrawState& state, bool orrery) {
    const double step = orrery ? 2.0 : (state.zoom <= 3.0 ? 0.25 : 0.5);
    state.zoom = std::max(kMinZoom, state.zoom - step);
}

void setZoomKeepingCentre(CUniverseViewDrawState& state, double zoom) {
    // The window centre shows the unscaled point -offsets whatever the zoom.
    state.zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
}

void setZoomAbout(CUniverseViewDrawState& state, const ChartProjection& projection, double zoom, double px, double py) {
    const ChartPoint u = projection.unscaledOfPixel(px, py);
    const double z = std::clamp(zoom, kMinZoom, kMaxZoom);
    // px = cx + z (u + o')  =>  o' = (px - cx) / z - u.
    state.offsetX = (px - projection.width() / 2.0) / z - u.x;
    state.offsetY = (py - projection.height() / 2.0) / z - u.y;
    state.zoom = z;
}

void setMagnitudeLimit(CUniverseViewDrawState& state, int magnitude) {
    state.magnitudeLimit = std::clamp(magnitude, 2, 7) * 1000;
}

int magnitudeBoxIndex(int32_t magnitudeLimit) { return std::clamp(magnitudeLimit / 1000 - 2, 0, 5); }

bool centreOn(CUniverseViewDrawState& state, const ChartProjection& projection, double zenithDistanceDeg,
              double azimuthDeg, bool rotateWhileScrolling) {
    if (!(zenithDistanceDeg >= 0.0 && zenithDistanceDeg <= 180.0)) return false;
    const bool f = state.flippedEastWest();
    if (rotateWhileScrolling) {
        state.rotation = rotationFacing(azimuthDeg, f);
        state.offsetX = 0.0;
        state.offsetY = -zenithDistanceDeg / 90.0 * projection.baseRadius();
        return true;
    }
    const ChartPoint u = projection.unscaled(zenithDistanceDeg, azimuthDeg);
    state.offsetX = -u.x;
    state.offsetY = -u.y;
    return true;
}

bool lookAtAltitude(CUniverseViewDrawState& state, const ChartProjection& projection, double altitudeDeg,
                    bool rotateWhileScrolling) {
    if (!(altitudeDeg >= -90.0 && altitudeDeg <= 90.0)) return false;
    return centreOn(state, projection, 90.0 - altitudeDeg, facingAzimuth(state.rotation, state.flippedEastWest()),
                    rotateWhileScrolling);
}

void scrollBy(CUniverseViewDrawState& state, const ChartProjection& projection, double dx, double dy,
              bool rotateWhileScrolling) {
    const double z = projection.zoom();
    if (!rotateWhileScrolling) {
        state.offsetX += dx / z;
        state.offsetY += dy / z;
        return;
    }
    // Turn by the angle the drag subtends at the zenith's distance from the
    // window centre (never less than a quarter of R0, so a drag near the
    // zenith does not spin the chart).
    const ChartPoint zenith = projection.zenithPixel();
    const double radius = std::max(projection.baseRadius() * z / 4.0, std::hypot(projection.width() / 2.0 - zenith.x,
                                                                                 projection.height() / 2.0 - zenith.y));
    const double turn = dx / radius * kRadToDeg;
    // Dragging right carries the sky right: the screen angle of every
    // azimuth decreases when the zenith is above the centre.
    state.rotation = wrapFloor(state.rotation + (zenith.y <= projection.height() / 2.0 ? -turn : turn), 360.0);
    state.offsetY += dy / z;
}

ChartKeyAction chartKeyAction(char32_t c) {
    switch (c) {
        case '+':
        case '=': return {ChartKey::ZoomIn};
        case '-': return {ChartKey::ZoomOut};
        case '2':
        case '3':
        case '4':
        case '5':
        case '6':
        case '7': return {ChartKey::Magnitude, static_cast<int>(c - '0')};
        case 'B':
        case 'b': return {ChartKey::PresetBlack};
        case 'R':
        case 'r': return {ChartKey::PresetRed};
        case 'W':
        case 'w': return {ChartKey::PresetWhite};
        case 'F':
        case 'f': return {ChartKey::Flip};
        case 'I':
        case 'i': return {ChartKey::Info};
        case 'O':
        case 'o': return {ChartKey::Orrery};
        case 'S':
        case 's': return {ChartKey::StarChart};
        case 'C':
        case 'c': return {ChartKey::Centre};
        case '.':
        case '>': return {ChartKey::StepForward};
        case ',':
        case '<': return {ChartKey::StepBack};
        default: return {};
    }
}

}  // namespace celestra
