#include "calculators/navigation_calculators.h"

#include <gtest/gtest.h>

namespace celestra {
namespace {

DmsEntry entry(double d, double m, double s = 0.0) { return DmsEntry{d, m, s}; }

TEST(GreatCirclePage, LondonToNewYorkInEveryUnitAndModel) {
    GreatCircleState st;
    ASSERT_FALSE(applyGreatCircleEntries(st, entry(51, 30), entry(-0.0, 7), entry(40, 43), entry(-74, 0)));
    EXPECT_STREQ(longitudeHemisphere(st.lon1), "W");  // typed "-0" still means west
    EXPECT_STREQ(longitudeHemisphere(st.lon2), "W");
    EXPECT_EQ(st.lon2.degrees, 74.0);
    GreatCircleResult r = computeGreatCircle(st);
    EXPECT_EQ(r.distanceText, "3015.98");
    EXPECT_EQ(r.courseText, "Initial Course: 288.34\u00b0T");
    EXPECT_TRUE(r.note.empty());
    st.model = EarthModel::Sphere;
    r = computeGreatCircle(st);
    EXPECT_EQ(r.distanceText, "3005.83");
    st.unitIndex = kStatuteMiles;
    EXPECT_DOUBLE_EQ(computeGreatCircle(st).distance, r.distance * 1.150779448);
    st.unitIndex = kKilometres;
    EXPECT_DOUBLE_EQ(computeGreatCircle(st).distance, r.distance * 1.852);
    EXPECT_STREQ(kDistanceUnitNames[2], "kilometers");
}

TEST(GreatCirclePage, SignRuleRangesAndDegenerateEllipsoid) {
    GreatCircleState st;
    ASSERT_FALSE(applyGreatCircleEntries(st, entry(-33, 0), entry(0, 0), entry(-33, 0), entry(0, 0)));
    EXPECT_EQ(st.lat1.degrees, 33.0);
    EXPECT_STREQ(latitudeHemisphere(st.lat1), "S");
    // A positive entry keeps the hemisphere the button set.
    ASSERT_FALSE(applyGreatCircleEntries(st, entry(33, 0), entry(0, 0), entry(33, 0), entry(0, 0)));
    EXPECT_STREQ(latitudeHemisphere(st.lat1), "S");
    st.lat1.flip();
    EXPECT_STREQ(latitudeHemisphere(st.lat1), "N");

    // Coincident places: no ellipsoidal answer, the spherical 0.00 beside the note.
    GreatCircleState same;
    ASSERT_FALSE(applyGreatCircleEntries(same, entry(10, 0), entry(20, 0), entry(10, 0), entry(20, 0)));
    const GreatCircleResult r = computeGreatCircle(same);
    EXPECT_FALSE(r.ellipsoidDefined);
    EXPECT_FALSE(r.note.empty());
    EXPECT_EQ(r.distanceText, "0.00");
    EXPECT_EQ(r.courseText, "Initial Course: 0.00\u00b0T");

    // A refused field stores nothing.
    const GreatCircleState before = st;
    auto err = applyGreatCircleEntries(st, entry(-5, 0), entry(0, 60), entry(1, 0), entry(1, 0));
    ASSERT_TRUE(err);
    EXPECT_EQ(err->field, "longitude 1 minutes");
    EXPECT_EQ(st.lat1.degrees, before.lat1.degrees);
    EXPECT_EQ(st.lat1.sign, before.lat1.sign);
    EXPECT_TRUE(applyGreatCircleEntries(st, entry(91, 0), entry(0, 0), entry(0, 0), entry(0, 0)));
    EXPECT_TRUE(applyGreatCircleEntries(st, entry(0, 0), entry(0, 0), entry(0, 0), entry(-181, 0)));
}

TEST(RangeBearingPage, ValidationUnitsAndFormats) {
    RangeBearingState st;
    EXPECT_EQ(applyRangeBearingEntries(st, entry(-1, 0), entry(0, 0), 0, 10)->field, "latitude degrees");
    EXPECT_EQ(applyRangeBearingEntries(st, entry(1, 0), entry(0, 0), 0, 0)->field, "distance");
    ASSERT_FALSE(applyRangeBearingEntries(st, entry(10, 0), entry(20, 0), 0.0, 111.12));
    st.unitIndex = kKilometres;  // 111.12 km is exactly 60 NM, one degree
    RangeBearingResult r = computeRangeBearing(st);
    EXPECT_NEAR(r.destination.latitude, 11.0, 1e-9);
    EXPECT_EQ(r.text, "N   11.0000\u00b0\r\nE   20.0000\u00b0");
    st.advanceFormat();
    r = computeRangeBearing(st);
    EXPECT_NE(r.text.find("\r\n"), std::string::npos);
    EXPECT_EQ(r.text.find("N"), 0u);
    st.advanceFormat();
    st.advanceFormat();
    EXPECT_EQ(st.formatIndex, 0);
    // Rhumb line due east keeps the latitude.
    st.method = SailingMethod::RhumbLine;
    st.courseDeg = 90.0;
    EXPECT_NEAR(computeRangeBearing(st).destination.latitude, 10.0, 1e-12);
    // Northward past the pole: refused with a text, never NaN.
    st.courseDeg = 0.0;
    st.distance = 90.0 * 60.0 * 1.852;
    r = computeRangeBearing(st);
    EXPECT_FALSE(r.valid);
    EXPECT_EQ(r.text, "A rhumb line cannot reach a pole");
}

TEST(AssumedPositionCopy, RoundsToTheSecondAndKeepsSmallSouthLatitudes) {
    DmsCoordinate lat, lon;
    copyAssumedPosition(-0.5, -122.4194, lat, lon);
    EXPECT_EQ(lat.sign, -1);
    EXPECT_EQ(lat.degrees, 0.0);
    EXPECT_EQ(lat.minutes, 30.0);
    EXPECT_EQ(lon.sign, -1);
    EXPECT_EQ(lon.degrees, 122.0);
    EXPECT_EQ(lon.minutes, 25.0);
    EXPECT_EQ(lon.seconds, 10.0);
    copyAssumedPosition(59.99999, 0.0, lat, lon);  // rounds up through every field
    EXPECT_EQ(lat.degrees, 60.0);
    EXPECT_EQ(lat.minutes, 0.0);
    EXPECT_EQ(lat.seconds, 0.0);
}

}  // namespace
}  // namespace celestra
