// The star chart's projection: azimuthal equidistant about the zenith.
//
// A point at altitude h and azimuth A (degrees, azimuth from north through
// east) lies at the unscaled distance r = (90 - h) / 90 × R0 from the
// zenith, R0 being half the smaller client dimension (the horizon circle
// just fits at zoom 1). Its screen direction θ (x right, y down) is
//   unflipped: θ = rotation + 180 - A
//   flipped:   θ = A + rotation - 180
// so that facing south (rotation 90) puts south at the bottom and east on
// the left, as the sky looks to someone facing that way. A pixel is the
// window centre + zoom × ((r cos θ, r sin θ) + offsets). The offsets are in
// unscaled units, so scrolling does not depend on the zoom.
#pragma once

namespace celestra {

class CUniverseViewDrawState;

struct ChartPoint {
    double x = 0.0;
    double y = 0.0;
};

class ChartProjection {
public:
    ChartProjection() = default;
    ChartProjection(int clientWidth, int clientHeight, double zoom, double offsetX, double offsetY, double rotationDeg,
                    bool flipped);
    // The chart's fields 18 (zoom), 19, 20 (offsets), 28 (rotation) and the flip bit.
    static ChartProjection fromDrawState(const CUniverseViewDrawState& state, int clientWidth, int clientHeight);

    int width() const { return width_; }
    int height() const { return height_; }
    double zoom() const { return zoom_; }
    bool flipped() const { return flipped_; }
    double rotationDeg() const { return rotationDeg_; }
    // R0: half the smaller client dimension, pixels (at least 1).
    double baseRadius() const { return r0_; }
    // Pixels per degree of zenith distance at this zoom.
    double pixelsPerDegree() const { return zoom_ * r0_ / 90.0; }

    // Unscaled chart position of a zenith distance and azimuth (degrees).
    ChartPoint unscaled(double zenithDistanceDeg, double azimuthDeg) const;
    // Pixel of an unscaled position, and of a zenith distance and azimuth.
    ChartPoint pixelOfUnscaled(const ChartPoint& u) const {
        return {cx_ + zoom_ * (u.x + offsetX_), cy_ + zoom_ * (u.y + offsetY_)};
    }
    ChartPoint pixel(double zenithDistanceDeg, double azimuthDeg) const {
        return pixelOfUnscaled(unscaled(zenithDistanceDeg, azimuthDeg));
    }
    ChartPoint zenithPixel() const { return pixelOfUnscaled({0.0, 0.0}); }

    // Screen direction θ (degrees, x right, y down) of an azimuth.
    double screenAngleDeg(double azimuthDeg) const;
    // Unscaled position of a pixel.
    ChartPoint unscaledOfPixel(double px, double py) const {
        return {(px - cx_) / zoom_ - offsetX_, (py - cy_) / zoom_ - offsetY_};
    }
    // The inverse mapping: zenith distance (0 at the zenith, may exceed 90
    // beyond the horizon) and azimuth in [0, 360) of a pixel. At the zenith
    // itself the azimuth is 0.
    void horizontalOfPixel(double px, double py, double& zenithDistanceDeg, double& azimuthDeg) const;

private:
    int width_ = 1;
    int height_ = 1;
    double zoom_ = 2.0;
    double offsetX_ = 0.0;
    double offsetY_ = 0.0;
    double rotationDeg_ = 90.0;
    bool flipped_ = false;
    double r0_ = 0.5;
    double cx_ = 0.5;
    double cy_ = 0.5;
    // cos and sin of the rotation terms, so a projection costs one sincos of A.
    double cosBase_ = 0.0;
    double sinBase_ = 0.0;
};

// The azimuth the chart faces (the one drawn straight below the zenith):
// unflipped rotation + 90, flipped 270 - rotation, in [0, 360).
double facingAzimuth(double rotationDeg, bool flipped);
// The rotation that faces azimuth A: A + 270 unflipped, -A - 90 flipped, in [0, 360).
double rotationFacing(double azimuthDeg, bool flipped);
// Field of view across the chart, degrees: 180 / zoom.
double fieldOfViewDeg(double zoom);

}  // namespace celestra
