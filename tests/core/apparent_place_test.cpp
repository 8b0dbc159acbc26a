// The vector steps of the apparent-place pipeline, each against ERFA's
// implementation of the same published model.
#include "core/apparent_place.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/nutation.h"

namespace celestra {
namespace {

constexpr double kMasPerRad = 206264806.24709636;

double separationMas(const Vector3& a, const Vector3& b) {
    return std::atan2(a.cross(b).norm(), a.dot(b)) * kMasPerRad;
}

Vector3 fromArray(const double p[3]) { return {p[0], p[1], p[2]}; }
void toArray(const Vector3& v, double p[3]) {
    p[0] = v.x;
    p[1] = v.y;
    p[2] = v.z;
}
Vector3 applyMatrix(double r[3][3], const Vector3& v) {
    double p[3], out[3];
    toArray(v, p);
    eraRxp(r, p, out);
    return fromArray(out);
}

// Dates across the century the ephemeris covers, TDB.
const double kDates[] = {2437000.5, 2441317.5, 2445000.25, 2451545.0, 2455197.5, 2460000.75, 2466000.5, 2472000.5};

TEST(PrecessNutate, AgreeWithIauMatricesAndInvertCleanly) {
    const Vector3 v{0.3, -0.8, 0.52};
    for (double jd : kDates) {
        double rp[3][3];
        eraPmat76(2400000.5, jd - 2400000.5, rp);
        const Vector3 meanOfDate = precess(kJ2000, v, jd);
        EXPECT_LT(separationMas(meanOfDate, applyMatrix(rp, v)), 1e-6) << jd;

        double dpsi = 0.0, deps = 0.0, rn[3][3];
        eraNut80(2400000.5, jd - 2400000.5, &dpsi, &deps);
        eraNumat(eraObl80(2400000.5, jd - 2400000.5), dpsi, deps, rn);
        const Vector3 trueOfDate = nutate(jd, NutationDirection::MeanToTrue, meanOfDate);
        EXPECT_LT(separationMas(trueOfDate, applyMatrix(rn, meanOfDate)), 1e-5) << jd;

        // Back again: the inverse directions undo each step.
        const Vector3 back = precess(jd, nutate(jd, NutationDirection::TrueToMean, trueOfDate), kJ2000);
        EXPECT_LT(separationMas(back, v), 1e-6) << jd;
        EXPECT_NEAR(back.norm(), v.norm(), 1e-15);
    }
}

TEST(SunField, AgreesWithPostNewtonianDeflectionFromLimbToOpposition) {
    const Vector3 earthHelio{0.98, 0.17, 0.074};
    const double em = earthHelio.norm();
    const Vector3 towardSun = earthHelio * (-1.0 / em);
    // Bodies at 0.27° (the solar limb), 5°, 90° and 175° from the Sun, near and far.
    for (double elongationDeg : {0.27, 5.0, 90.0, 175.0}) {
        for (double distance : {2.5, 30.0, 1e9}) {
            const Vector3 side = towardSun.cross(Vector3{0, 0, 1});
            const double a = elongationDeg * kDegToRad;
            const Vector3 dir = towardSun * std::cos(a) + side * (std::sin(a) / side.norm());
            const Vector3 geo = dir * distance;
            const Vector3 mine = sunField(geo, earthHelio);

            double p[3], q[3], e[3], p1[3];
            const Vector3 sunToBody = earthHelio + geo;
            toArray(dir, p);
            toArray(sunToBody * (1.0 / sunToBody.norm()), q);
            toArray(earthHelio * (1.0 / em), e);
            eraLd(1.0, p, q, e, em, 1e-10, p1);
            EXPECT_LT(separationMas(mine, fromArray(p1)), 1e-4) << elongationDeg << " " << distance;
            EXPECT_NEAR(mine.norm(), distance, distance * 1e-14);
            if (elongationDeg < 1.0 && distance > 1e6) {
                // Starlight grazing the limb is bent by 1.75" x (limb / elongation).
                EXPECT_NEAR(separationMas(mine, geo), 1750.0 * 0.2666 / elongationDeg, 15.0);
            }
        }
    }
    // On the Sun-observer line the vector comes back untouched.
    const Vector3 behind = towardSun * 5.0;
    const Vector3 same = sunField(behind, earthHelio);
    EXPECT_EQ(same.x, behind.x);
    EXPECT_EQ(same.y, behind.y);
    EXPECT_EQ(same.z, behind.z);
}

TEST(Aberration, AgreesWithRelativisticFormAtAnyAngleToTheVelocity) {
    const Vector3 vel{-0.0172, 0.0031, 0.0013};  // AU/day, the Earth's order
    const double c = ERFA_CMPS * 86400.0 / ERFA_DAU;
    const double v2 = vel.dot(vel) / (c * c);
    for (double angleDeg : {0.0, 30.0, 90.0, 150.0, 180.0}) {
        const Vector3 u = vel * (1.0 / vel.norm());
        const Vector3 perp = u.cross(Vector3{0, 0, 1}) * (1.0 / u.cross(Vector3{0, 0, 1}).norm());
        const double a = angleDeg * kDegToRad;
        const Vector3 dir = u * std::cos(a) + perp * std::sin(a);
        const double distance = 4.2;
        const Vector3 mine = aberration(dir * distance, vel, distance / kLightAuPerDay);

        double pnat[3], v[3], ppr[3];
        toArray(dir, pnat);
        toArray(vel * (1.0 / c), v);
        eraAb(pnat, v, 1.0, std::sqrt(1.0 - v2), ppr);
        // ERFA adds the Sun's potential term (below 0.001 mas) and uses its own c.
        EXPECT_LT(separationMas(mine, fromArray(ppr)), 0.01) << angleDeg;
        EXPECT_NEAR(mine.norm(), distance, 1e-12);
    }
}

TEST(ObserverVectors, MatchGeodeticPositionRotatedBySiderealTime) {
    const double omega = kEarthRotationRadPerSec * 86400.0;  // rad/day
    for (const ObserverSite site : {ObserverSite{51.4778, -0.0014, 45.0}, ObserverSite{-33.87, 151.21, 0.0},
                                    ObserverSite{89.9, 10.0, 2800.0}, ObserverSite{0.0, -75.0, 0.0}}) {
        const double st = 7.25;  // hours
        Vector3 pos, vel;
        observerVectors(site, st, pos, vel);
        double xyz[3];
        ASSERT_EQ(eraGd2gce(kEarthRadiusKm * 1000.0, kEarthFlattening, site.longitude * kDegToRad,
                            site.latitude * kDegToRad, site.height, xyz),
                  0);
        const double theta = st * 15.0 * kDegToRad;
        const Vector3 expected{(xyz[0] * std::cos(theta) - xyz[1] * std::sin(theta)) / (kAuKmIau1976 * 1000.0),
                               (xyz[0] * std::sin(theta) + xyz[1] * std::cos(theta)) / (kAuKmIau1976 * 1000.0),
                               xyz[2] / (kAuKmIau1976 * 1000.0)};
        EXPECT_LT((pos - expected).norm() * kAuKmIau1976 * 1000.0, 1e-6) << site.latitude;  // metres
        const Vector3 expectedVel = Vector3{-expected.y, expected.x, 0.0} * omega;
        EXPECT_LT((vel - expectedVel).norm(), 1e-15) << site.latitude;
    }
}

TEST(StarVectors, MotionAlongRightAscensionCarriesCosDeclination) {
    // The same catalogue rates at three declinations: the space velocity
    // must be that of eraS2pv's (α, δ, r) derivatives, not grow toward the pole.
    for (double dec : {0.0, 60.0, 89.26}) {
        StarPlaceInput star{2.53, dec, 23.09, -1.17, 0.00754, -17.4};
        Vector3 pos, vel;
        starVectors(star, pos, vel);
        const double r = ERFA_DR2AS / star.parallaxArcsec;
        const double perDay = 1.0 / (ERFA_DR2AS * 36525.0);
        double pv[2][3];
        eraS2pv(star.raHours * 15.0 * ERFA_DD2R, dec * ERFA_DD2R, r, star.pmRaSecPerCentury * 15.0 * perDay,
                star.pmDecArcsecPerCentury * perDay, star.radialVelocityKmS * 86400.0 / kAuKmIau1976, pv);
        EXPECT_LT((pos - fromArray(pv[0])).norm() / r, 1e-15) << dec;
        EXPECT_LT((vel - fromArray(pv[1])).norm(), 1e-12 * fromArray(pv[1]).norm()) << dec;
    }
}

TEST(StarVectors, ZeroParallaxIsFarAwayInTheSameDirection) {
    for (double parallax : {0.0, -0.003}) {
        StarPlaceInput star{6.752, -16.716, -3.847, -121.23, parallax, -5.5};
        Vector3 pos, vel;
        starVectors(star, pos, vel);
        EXPECT_NEAR(pos.norm(), 206264.806 / 1e-7, 1e4);
        double ra = 0.0, dec = 0.0;
        vectorToRaDec(pos, ra, dec);
        EXPECT_NEAR(ra, 6.752, 1e-12);
        EXPECT_NEAR(dec, -16.716, 1e-12);
        // The proper motion still moves it by the catalogue rate: 121.23"/cy in declination.
        vectorToRaDec(properMotion(pos, vel, kJ2000 + 36525.0), ra, dec);
        EXPECT_NEAR((dec + 16.716) * 3600.0, -121.23, 0.01);
    }
}

TEST(VectorToRaDec, WrapsRightAscensionAndHandlesThePoles) {
    double ra = -1.0, dec = -1.0;
    vectorToRaDec({1.0, -1e-12, 0.0}, ra, dec);
    EXPECT_GE(ra, 0.0);
    EXPECT_LT(ra, 24.0);
    EXPECT_NEAR(ra, 24.0, 1e-9);
    vectorToRaDec({0.0, 0.0, -3.0}, ra, dec);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, -90.0);
    vectorToRaDec({0.0, 0.0, 0.0}, ra, dec);
    EXPECT_EQ(ra, 0.0);
    EXPECT_EQ(dec, 0.0);
    vectorToRaDec({-1.0, 1.0, std::sqrt(2.0)}, ra, dec);
    EXPECT_NEAR(ra, 9.0, 1e-12);
    EXPECT_NEAR(dec, 45.0, 1e-12);
}

TEST(EarthFixedToSpace, TurnsWithSiderealTimeAndPoleOffsets) {
    // Greenwich meridian at sidereal time 6 h points to RA 6 h.
    Vector3 v = earthFixedToSpace(6.0, 0.0, 0.0, {1.0, 0.0, 0.0});
    EXPECT_NEAR(v.x, 0.0, 1e-15);
    EXPECT_NEAR(v.y, 1.0, 1e-15);
    // Each pole offset tilts the terrestrial pole by its own amount, in its own plane.
    v = earthFixedToSpace(0.0, 1.0, 0.0, {0.0, 0.0, 1.0});
    EXPECT_NEAR(std::fabs(v.x) * kArcsecPerRad, 1.0, 1e-9);
    EXPECT_NEAR(v.y, 0.0, 1e-15);
    v = earthFixedToSpace(0.0, 0.0, 1.0, {0.0, 0.0, 1.0});
    EXPECT_NEAR(std::fabs(v.y) * kArcsecPerRad, 1.0, 1e-9);
}

}  // namespace
}  // namespace celestra
