#include "sky/chart_geometry.h"

#include <algorithm>
#include <cmath>

#include "core/angles.h"
#include "model/draw_state.h"

namespace celestra {

ChartProjection::ChartProjection(int clientWidth, int clientHeight, double zoom, double offsetX, double offsetY,
                                 double rotationDeg, bool flipped)
    : width_(std::max(1, clientWidth)),
      height_(std::max(1, clientHeight)),
      zoom_(zoom > 0.0 && std::isfinite(zoom) ? zoom : 1.0),
      offsetX_(offsetX),
      offsetY_(offsetY),
      rotationDeg_(rotationDeg),
      flipped_(flipped) {
    r0_ = std::min(width_, height_) / 2.0;
    cx_ = width_ / 2.0;
    cy_ = height_ / 2.0;
    // θ = base ∓ A: base = rotation + 180 (unflipped, minus A) or rotation - 180 (flipped, plus A).
    const double base = flipped_ ? rotationDeg_ - 180.0 : rotationDeg_ + 180.0;
    cosBase_ = std::cos(base * kDegToRad);
    sinBase_ = std::sin(base * kDegToRad);
}

ChartProjection ChartProjection::fromDrawState(const CUniverseViewDrawState& state, int clientWidth, int clientHeight) {
    return ChartProjection(clientWidth, clientHeight, state.zoom, state.offsetX, state.offsetY, state.rotation,
                           state.flippedEastWest());
}

double ChartProjection::screenAngleDeg(double azimuthDeg) const {
    return flipped_ ? azimuthDeg + rotationDeg_ - 180.0 : rotationDeg_ + 180.0 - azimuthDeg;
}

ChartPoint ChartProjection::unscaled(double zenithDistanceDeg, double azimuthDeg) const {
    const double r = zenithDistanceDeg / 90.0 * r0_;
    const double a = azimuthDeg * kDegToRad;
    const double ca = std::cos(a);
    // sin(base ∓ A) and cos(base ∓ A) by the sum formulas.
    const double sa = flipped_ ? std::sin(a) : -std::sin(a);
    return {r * (cosBase_ * ca - sinBase_ * sa), r * (sinBase_ * ca + cosBase_ * sa)};
}

void ChartProjection::horizontalOfPixel(double px, double py, double& zenithDistanceDeg, double& azimuthDeg) const {
    const ChartPoint u = unscaledOfPixel(px, py);
    const double r = std::hypot(u.x, u.y);
    zenithDistanceDeg = r / r0_ * 90.0;
    if (r == 0.0) {
        azimuthDeg = 0.0;
        return;
    }
    const double theta = std::atan2(u.y, u.x) * kRadToDeg;
    const double a = flipped_ ? theta - rotationDeg_ + 180.0 : rotationDeg_ + 180.0 - theta;
    azimuthDeg = wrapFloor(a, 360.0);
}

double facingAzimuth(double rotationDeg, bool flipped) {
    return wrapFloor(flipped ? 270.0 - rotationDeg : rotationDeg + 90.0, 360.0);
}

double rotationFacing(double azimuthDeg, bool flipped) {
    return wrapFloor(flipped ? -azimuthDeg - 90.0 : azimuthDeg + 270.0, 360.0);
}

double fieldOfViewDeg(double zoom) { return zoom > 0.0 ? 180.0 / zoom : 180.0; }

}  // namespace celestra
