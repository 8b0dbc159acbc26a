// 3x3 rotation matrices for frame changes. The elementary rotations are
// passive (they rotate the axes, not the vector), the convention of the IAU
// precession and nutation formulae: aboutZ(a) turns the x axis toward y by a
// radians, so a fixed vector's coordinates turn by -a.
#pragma once

#include <cmath>

#include "core/angles.h"

namespace celestra {

struct RotationMatrix {
    double m[3][3];

    static RotationMatrix identity() { return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}; }
    static RotationMatrix aboutX(double radians) {
        const double c = std::cos(radians), s = std::sin(radians);
        return {{{1, 0, 0}, {0, c, s}, {0, -s, c}}};
    }
    static RotationMatrix aboutY(double radians) {
        const double c = std::cos(radians), s = std::sin(radians);
        return {{{c, 0, -s}, {0, 1, 0}, {s, 0, c}}};
    }
    static RotationMatrix aboutZ(double radians) {
        const double c = std::cos(radians), s = std::sin(radians);
        return {{{c, s, 0}, {-s, c, 0}, {0, 0, 1}}};
    }

    friend RotationMatrix operator*(const RotationMatrix& a, const RotationMatrix& b) {
        RotationMatrix r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                r.m[i][j] = a.m[i][0] * b.m[0][j] + a.m[i][1] * b.m[1][j] + a.m[i][2] * b.m[2][j];
        return r;
    }
    friend Vector3 operator*(const RotationMatrix& a, const Vector3& v) {
        return {a.m[0][0] * v.x + a.m[0][1] * v.y + a.m[0][2] * v.z,
                a.m[1][0] * v.x + a.m[1][1] * v.y + a.m[1][2] * v.z,
                a.m[2][0] * v.x + a.m[2][1] * v.y + a.m[2][2] * v.z};
    }
    // The inverse rotation applied to v.
    Vector3 transposeTimes(const Vector3& v) const {
        return {m[0][0] * v.x + m[1][0] * v.y + m[2][0] * v.z, m[0][1] * v.x + m[1][1] * v.y + m[2][1] * v.z,
                m[0][2] * v.x + m[1][2] * v.y + m[2][2] * v.z};
    }
};

}  // namespace celestra
