// A fast star moved a century by the apparent-place pipeline must travel what
// the catalogue says it travels: this checks the stored proper-motion units
// (right ascension as a rate of RA itself) against the pipeline's use of them.
#include <gtest/gtest.h>

#include <cmath>

#include "catalogs/star_place.h"
#include "core/angles.h"

namespace celestra {
namespace {

struct Published {
    int number;
    double pmRaGreatCircle;  // arcsec/yr along the great circle (μα cos δ), Bright Star Catalogue 5th ed.
    double pmDec;            // arcsec/yr
};

// Displacement on the sky over one Julian century, in arcseconds, resolved
// along the directions of increasing α and δ at the starting point.
void centuryDisplacement(const StarEntry& entry, double& eastArcsec, double& northArcsec) {
    Vector3 pos, vel;
    starVectors(starPlaceInput(entry), pos, vel);
    const Vector3 later = properMotion(pos, vel, kJ2000 + kDaysPerJulianCentury);
    const double ra = entry.rightAscension * 15.0 * kDegToRad, dec = entry.declination * kDegToRad;
    const Vector3 east{-std::sin(ra), std::cos(ra), 0.0};
    const Vector3 north{-std::sin(dec) * std::cos(ra), -std::sin(dec) * std::sin(ra), std::cos(dec)};
    const Vector3 u = later * (1.0 / later.norm());
    eastArcsec = u.dot(east) * kArcsecPerRad;
    northArcsec = u.dot(north) * kArcsecPerRad;
}

TEST(StarMotion, FastStarsTravelTheCataloguedMotionInACentury) {
    // Arcturus (fast, mid-declination, slow radial velocity, so perspective
    // acceleration stays below 0.1") and Polaris (slow, near the pole, where
    // a missing cos δ would show most).
    const Published stars[] = {{5340, -1.093, -1.999}, {424, 0.038, -0.015}};
    for (const Published& p : stars) {
        const StarEntry* entry = starByNumber(p.number);
        ASSERT_NE(entry, nullptr);
        double east = 0.0, north = 0.0;
        centuryDisplacement(*entry, east, north);
        // Second-order terms (curvature, perspective) stay below 0.2" here;
        // a missing cos δ would be off by 10" for Arcturus and by a factor of 50 for Polaris.
        EXPECT_NEAR(east, 100.0 * p.pmRaGreatCircle, 0.25) << "BS " << p.number;
        EXPECT_NEAR(north, 100.0 * p.pmDec, 0.25) << "BS " << p.number;
    }
}

}  // namespace
}  // namespace celestra
