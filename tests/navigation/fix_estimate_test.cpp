// Round trips: sights synthesised at a known position reduce and fix back to
// it; the iteration, the standard error and the ellipse; the LOPs texts and
// the graph's geometry.
#include "navigation/fix_estimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "calculators/geodesy.h"
#include "tests/navigation/sight_synthesis.h"
#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

using test::TruePosition;

// Navigational stars by Bright Star number.
constexpr int kStars[] = {2491, 2326, 5340, 7001, 1708, 1713, 2943, 2061, 7557, 1457, 6134, 5056, 2990, 8728,
                          7924, 3982, 424,  472,  4730, 5267, 5459, 5563, 4301, 5191, 1017, 617,  188,  15,
                          8308, 7121, 7790, 3685, 3307, 3634, 5288, 5793, 6556, 6705, 168,  8781};

struct SightPlan {
    bool star = true;
    int index = 0;
    int upperLimb = 0;
    double utc = 0.0;
};

class FixTest : public test::De405Test {
protected:
    CMeasure makeSight(const SightPlan& s, const TruePosition& truth, double apLat, double apLon) {
        CMeasure m(CObserverState(truth.apTime, 0.0));
        m.observer.latitude = apLat;
        m.observer.longitude = apLon;
        m.observer.height = 12.0;
        m.observer.temperature = 25.0;
        m.observer.pressure = 1020.0;
        m.indexCorrection = -1.5 / 60.0;
        m.isStar = s.star ? 1 : 0;
        m.bodyIndex = s.index;
        m.upperLimb = s.upperLimb;
        m.observationTime = s.utc;
        m.course = truth.course;
        m.speed = truth.speed;
        m.active = 1;
        return m;
    }

    // Stars between 15° and 70° at the true position, spread in azimuth
    // (each next one the farthest in azimuth from those taken).
    std::vector<SightPlan> spreadStars(const TruePosition& truth, double utc, size_t count) {
        struct Candidate {
            int number;
            double azimuth;
        };
        std::vector<Candidate> up;
        for (int n : kStars) {
            CMeasure m(CObserverState(utc, 0.0));
            m.isStar = 1;
            m.bodyIndex = n;
            m.observationTime = utc;
            double lat = 0.0, lon = 0.0, alt = 0.0, az = 0.0, km = 0.0;
            test::positionAt(truth, utc, lat, lon);
            if (test::trueAltitude(context_, m, lat, lon, alt, az, km) && alt > 15.0 && alt < 70.0)
                up.push_back({n, az});
        }
        std::vector<SightPlan> out;
        std::vector<double> taken;
        while (out.size() < count && !up.empty()) {
            auto best = up.begin();
            double bestGap = -1.0;
            for (auto it = up.begin(); it != up.end(); ++it) {
                double gap = 360.0;
                for (double a : taken) gap = std::min(gap, std::fabs(std::remainder(it->azimuth - a, 360.0)));
                if (gap > bestGap) {
                    bestGap = gap;
                    best = it;
                }
            }
            taken.push_back(best->azimuth);
            out.push_back({true, best->number, 0, utc + out.size() * 4.0 / 1440.0});
            up.erase(best);
        }
        return out;
    }

    // Synthesises, reduces and fixes; returns the fix's distance from the
    // truth in nautical miles (a large value when no fix).
    double roundTrip(const std::vector<SightPlan>& plans, const TruePosition& truth, double apLat, double apLon,
                     ObservationList& list) {
        for (const SightPlan& s : plans) {
            CMeasure m = makeSight(s, truth, apLat, apLon);
            const double hs = test::synthesiseHs(context_, m, truth);
            EXPECT_TRUE(std::isfinite(hs));
            EXPECT_EQ(reduceSight(m, context_, hs), Status::Ok);
            list.Append(m);
        }
        if (!estimateFix(list.At(0), context_, list)) return 1e9;
        const double miss =
            greatCircleDistanceSpherical(list.fix.latitude, list.fix.longitude, truth.latitude, truth.longitude);
        std::printf("  round trip: %zu sights, fix %.5f NMi from the truth after %d passes\n", plans.size(), miss,
                    list.fix.iterations);
        return miss;
    }
};

TEST_F(FixTest, StarSightsFromTwoToEightFixBackToTheTruePosition) {
    const TruePosition truth{36.25, -24.6, 2460390.33, 0.0, 0.0};  // 2024-03-20, evening twilight in the Atlantic
    for (size_t n = 2; n <= 8; ++n) {
        SCOPED_TRACE(n);
        std::vector<SightPlan> plans = spreadStars(truth, truth.apTime, n);
        ASSERT_EQ(plans.size(), n);
        ObservationList list;
        EXPECT_LT(roundTrip(plans, truth, 36.0, -24.3, list), 0.05);
        EXPECT_EQ(list.fix.sightsUsed, static_cast<int>(n));
        EXPECT_EQ(list.fix.hasStandardError, n > 2);
        if (n > 2) { EXPECT_LT(list.fix.standardError, 0.05); }
    }
}

TEST_F(FixTest, SunMoonAndPlanetsFromAMovingVesselFixBackToThePositionAtTheApTime) {
    // 2024-05-15: the Moon (first quarter) and Jupiter are up in the
    // afternoon; the vessel runs 14 knots on 060° between the sights.
    const TruePosition truth{-12.4, 61.8, 2460446.0, 60.0, 14.0};
    std::vector<SightPlan> plans;
    for (double hours : {-3.0, -1.5, 0.0, 1.0, 2.0, 3.0}) {
        const double utc = truth.apTime + hours / 24.0;
        for (const SightPlan& s :
             {SightPlan{false, kSun, 0, utc}, SightPlan{false, kSun, 1, utc + 0.002},
              SightPlan{false, kMoon, 0, utc + 0.004}, SightPlan{false, kMoon, 1, utc + 0.006},
              SightPlan{false, kVenus, 0, utc + 0.008}, SightPlan{false, kMars, 0, utc + 0.01},
              SightPlan{false, kJupiter, 0, utc + 0.012}, SightPlan{false, kSaturn, 0, utc + 0.014}}) {
            CMeasure m = makeSight(s, truth, truth.latitude, truth.longitude);
            double lat = 0.0, lon = 0.0, alt = 0.0, az = 0.0, km = 0.0;
            test::positionAt(truth, s.utc, lat, lon);
            if (test::trueAltitude(context_, m, lat, lon, alt, az, km) && alt > 12.0 && alt < 80.0 && plans.size() < 8)
                plans.push_back(s);
        }
    }
    int sun = 0, moon = 0, planets = 0;
    for (const SightPlan& s : plans) (s.index == kSun ? sun : s.index == kMoon ? moon : planets)++;
    ASSERT_GE(sun, 1);
    ASSERT_GE(moon, 1);
    ASSERT_GE(planets, 1);
    ObservationList list;
    EXPECT_LT(roundTrip(plans, truth, -12.0, 61.5, list), 0.05);
    // The MPP is the fix carried to each sight's instant.
    const CMeasure& last = list.At(list.Count() - 1);
    double lat = 0.0, lon = 0.0;
    test::positionAt(truth, last.observationTime, lat, lon);
    const GeoPoint mpp = mostProbablePosition(last);
    EXPECT_LT(greatCircleDistanceSpherical(mpp.latitude, mpp.longitude, lat, lon), 0.1);
}

TEST_F(FixTest, TheMppIsTheFixRunOnAsTheSightsApWasRunOn) {
    // Runs of four hours at 15 knots on 045° from 50° north, before and after
    // the AP time: 60 miles, where a great circle and the dead reckoning part
    // by half a mile. Reduced from the fix as its AP, a sight's DR position is
    // the point its line of position passes; the MPP must be that point.
    const TruePosition truth{50.0, -20.0, 2460390.33, 45.0, 15.0};
    for (double hours : {4.0, -4.0}) {
        SCOPED_TRACE(hours);
        CMeasure m = makeSight({true, 2491, 0, truth.apTime + hours / 24.0}, truth, 49.8, -19.7);
        ASSERT_EQ(reduceSight(m, context_, 30.0), Status::Ok);
        m.fixLatitude = 50.1;
        m.fixLongitude = -20.2;
        CMeasure fromFix = m;
        fromFix.observer.latitude = m.fixLatitude;
        fromFix.observer.longitude = m.fixLongitude;
        ASSERT_EQ(reduceSight(fromFix, context_, 30.0), Status::Ok);
        const GeoPoint mpp = mostProbablePosition(m);
        EXPECT_LT(greatCircleDistanceSpherical(mpp.latitude, mpp.longitude, fromFix.drLatitude, fromFix.drLongitude),
                  1e-9);
    }
}

TEST_F(FixTest, NearThePoleAndAcrossTheDateLine) {
    {
        SCOPED_TRACE("near the north pole");
        const TruePosition truth{88.2, 35.0, 2460300.0, 0.0, 0.0};  // December: polar night
        ObservationList list;
        EXPECT_LT(roundTrip(spreadStars(truth, truth.apTime, 4), truth, 88.0, 40.0, list), 0.05);
    }
    {
        SCOPED_TRACE("across the 180th meridian");
        const TruePosition truth{-17.9, 179.85, 2460350.4, 270.0, 10.0};
        ObservationList list;
        EXPECT_LT(roundTrip(spreadStars(truth, truth.apTime, 4), truth, -17.5, -179.6, list), 0.05);
        EXPECT_GE(list.fix.longitude, -180.0);
        EXPECT_LT(list.fix.longitude, 180.0);
    }
}

TEST_F(FixTest, TheIterationConvergesFromAnApSixtyMilesAway) {
    const TruePosition truth{36.25, -24.6, 2460390.33, 0.0, 0.0};
    const GeoPoint ap = destinationPoint(truth.latitude, truth.longitude, 200.0, 1.0, true);
    ASSERT_NEAR(greatCircleDistanceSpherical(ap.latitude, ap.longitude, truth.latitude, truth.longitude), 60.0, 1e-6);
    ObservationList list;
    const double miss = roundTrip(spreadStars(truth, truth.apTime, 3), truth, ap.latitude, ap.longitude, list);
    EXPECT_LT(miss, 0.05);
    // The first step is about 60 miles, the next well under 20 shorter...: at least three passes.
    EXPECT_GE(list.fix.iterations, 3);
    EXPECT_LT(list.At(0).fixShift, 0.5);  // the last step is small
    // The AP correction names the way back to the truth.
    std::string text;
    formatFixText(list.At(0), 1, text, false);
    char expected[64];
    std::snprintf(expected, sizeof expected, "    %.2lf nM bearing %05.1lf\u00b0 to\n",
                  greatCircleDistanceSpherical(ap.latitude, ap.longitude, truth.latitude, truth.longitude),
                  initialCourse(ap.latitude, ap.longitude, truth.latitude, truth.longitude));
    EXPECT_NE(text.find(expected), std::string::npos) << text;
}

TEST_F(FixTest, ObservationalErrorGivesAStandardErrorAndAnEllipseAcrossTheLines) {
    const TruePosition truth{36.25, -24.6, 2460390.33, 0.0, 0.0};
    std::vector<SightPlan> plans = spreadStars(truth, truth.apTime, 5);
    ObservationList list;
    const double errors[] = {0.8, -0.5, 0.3, -0.9, 0.4};  // minutes of arc on Hs
    for (size_t i = 0; i < plans.size(); ++i) {
        CMeasure m = makeSight(plans[i], truth, 36.0, -24.3);
        const double hs = test::synthesiseHs(context_, m, truth) + errors[i] / 60.0;
        ASSERT_EQ(reduceSight(m, context_, hs), Status::Ok);
        list.Append(m);
    }
    ASSERT_TRUE(estimateFix(list.At(2), context_, list));
    const FixResults& fix = list.fix;
    ASSERT_TRUE(fix.hasStandardError);
    ASSERT_TRUE(fix.hasEllipse) << fix.ellipseReason;
    EXPECT_GT(fix.standardError, 0.2);
    EXPECT_LT(fix.standardError, 2.0);
    EXPECT_GE(fix.semiMajorAxis, fix.semiMinorAxis);
    EXPECT_GT(fix.semiMinorAxis, 0.0);
    // Errors under 1' move the fix by about a mile, not more.
    EXPECT_LT(greatCircleDistanceSpherical(fix.latitude, fix.longitude, truth.latitude, truth.longitude), 1.5);
    // The reported orientation counts the major axis anticlockwise from north.
    const LopGraph graph = makeLopGraph(list.At(2), list);
    ASSERT_TRUE(graph.hasEllipse);
    EXPECT_NEAR(std::remainder(fix.ellipseOrientation + graph.majorAxisBearingDeg, 180.0), 0.0, 1e-9);
    // Every outline point lies between the two semi-axes from the fix.
    for (const PlanePoint& p : graph.ellipse) {
        const double r = std::hypot(p.x - graph.fix.x, p.y - graph.fix.y);
        EXPECT_GE(r, fix.semiMinorAxis - 1e-9);
        EXPECT_LE(r, fix.semiMajorAxis + 1e-9);
    }
    const std::string text = lopsPageText(list, context_, 2, 1);
    char err[32];
    std::snprintf(err, sizeof err, "Err: %.1lf NMi", fix.standardError);
    EXPECT_NE(text.find(err), std::string::npos) << text;
    EXPECT_NE(text.find("MPP at time of selected OBS:\n"), std::string::npos);
}

TEST_F(FixTest, TooFewOrParallelLinesGiveNoFixAndSayWhy) {
    const TruePosition truth{36.25, -24.6, 2460390.33, 0.0, 0.0};
    std::vector<SightPlan> plans = spreadStars(truth, truth.apTime, 1);
    ObservationList list;
    EXPECT_EQ(lopsPageText(list, context_, -1, 1), kLopsHint);  // empty list
    CMeasure m = makeSight(plans[0], truth, 36.0, -24.3);
    ASSERT_EQ(reduceSight(m, context_, test::synthesiseHs(context_, m, truth)), Status::Ok);
    list.Append(m);
    EXPECT_FALSE(estimateFix(list.At(0), context_, list));
    EXPECT_EQ(lopsPageText(list, context_, 0, 1), kLopsHint);
    // The same body twice at one instant: equal azimuths, G = 0.
    list.Append(m);
    EXPECT_FALSE(estimateFix(list.At(0), context_, list));
    EXPECT_NE(list.fix.reason.find("parallel"), std::string::npos);
    EXPECT_EQ(lopsPageText(list, context_, -1, 1), list.fix.reason);
    const LopGraph graph = makeLopGraph(list.At(0), list);
    EXPECT_FALSE(graph.hasFix);
    ASSERT_EQ(graph.statusLines.size(), 1u);
    // Unchecking a sight removes it from the fix at once.
    list.At(1).active = 0;
    EXPECT_EQ(lopsPageText(list, context_, -1, 1), kLopsHint);
}

TEST_F(FixTest, TwoSightsGiveAFixWithoutStandardErrorAndTheGraphPassesThroughIt) {
    const TruePosition truth{36.25, -24.6, 2460390.33, 0.0, 0.0};
    ObservationList list;
    EXPECT_LT(roundTrip(spreadStars(truth, truth.apTime, 2), truth, 36.1, -24.4, list), 0.05);
    const std::string text = lopsPageText(list, context_, -1, 1);
    EXPECT_EQ(text.rfind("AP Correction:\n", 0), 0u);
    EXPECT_EQ(text.find("Err:"), std::string::npos);
    EXPECT_EQ(text.find("MPP"), std::string::npos);  // no selected row
    const LopGraph graph = makeLopGraph(list.At(0), list);
    ASSERT_TRUE(graph.hasFix);
    EXPECT_FALSE(graph.hasEllipse);
    ASSERT_EQ(graph.lines.size(), 2u);
    for (const LopGraphLine& line : graph.lines) {
        // Straight lines from an AP 8 miles off pass within 0.05 mile of the fix.
        const double z = line.azimuthDeg * kDegToRad;
        const double d =
            (graph.fix.x - line.intercept.x) * std::sin(z) + (graph.fix.y - line.intercept.y) * std::cos(z);
        EXPECT_LT(std::fabs(d), 0.05);
        EXPECT_LE(std::max(std::fabs(line.intercept.x), std::fabs(line.intercept.y)), graph.halfSpanNm);
    }
    EXPECT_EQ(nearestLop(graph, graph.lines[1].intercept), 1);
    char expected[96];
    std::snprintf(expected, sizeof expected, "OBS %d:         Az: %.1lf\u00b0      Intercept: %.2lf NMi\n",
                  graph.lines[1].number, graph.lines[1].azimuthDeg, graph.lines[1].interceptNm);
    EXPECT_EQ(lopStatusText(graph.lines[1], graph.lines[1].intercept),
              std::string(expected) + "           Dist: 0.00 NMi\r\n");
}

TEST(LopsTexts, RowTextAndTheInconsistencyWarning) {
    PlaceContext context;
    context.bodies[kSun - 1].name = "Sun";
    CMeasure m(CObserverState(2460000.5, 0.0));
    m.observer.zoneOffset = -5.0 / 24.0;
    m.isStar = 0;
    m.bodyIndex = kSun;
    m.upperLimb = 1;
    m.observationTime = 2460000.75;  // 06:00 UTC
    m.ho = 23.456;
    m.timeEnteredAsUtc = 1;
    const std::string utcRow = lopRowText(m, 2, context);
    EXPECT_EQ(utcRow.rfind("3)  ", 0), 0u);
    EXPECT_NE(utcRow.find(" 06:00:00     23\u00b0"
                          "27.4'   Sun, Upper Limb"),
              std::string::npos)
        << utcRow;
    m.timeEnteredAsUtc = 0;
    EXPECT_NE(lopRowText(m, 2, context).find(" 01:00:00    "), std::string::npos);
    EXPECT_EQ(inconsistentSightWarning(0), "");
    EXPECT_EQ(inconsistentSightWarning(1),
              "The Observation at index 2 does not use the same Assumed Position or time as the other entries.  "
              "Proceed anyway?");
}

}  // namespace
}  // namespace celestra
