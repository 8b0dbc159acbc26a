#include "solarsystem/moon_phases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/solarsystem/de405_fixture.h"

namespace celestra {
namespace {

class MoonPhasesTest : public test::De405Test {};

struct Published {
    LunarPhase phase;
    const char* utc;  // almanac time, rounded to the minute
};

// Phases tied to eclipses, whose almanac minutes are widely quoted.
const Published kPublished[] = {
    {LunarPhase::Full, "2024-03-25T07:00"}, {LunarPhase::New, "2024-04-08T18:21"},
    {LunarPhase::Full, "2024-09-18T02:34"}, {LunarPhase::New, "2024-10-02T18:49"},
    {LunarPhase::Full, "2025-03-14T06:55"}, {LunarPhase::Full, "2025-09-07T18:09"},
    {LunarPhase::New, "2026-02-17T12:01"},  {LunarPhase::Full, "2026-03-03T11:38"},
};

JulianDay parseMinute(const std::string& s) {
    return julianDayFromCalendar(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)),
                                 std::stoi(s.substr(11, 2)) + std::stoi(s.substr(14, 2)) / 60.0);
}

TEST_F(MoonPhasesTest, MatchesPublishedMinutes) {
    for (const Published& p : kPublished) {
        SCOPED_TRACE(p.utc);
        const JulianDay jd = parseMinute(p.utc);
        std::vector<LunarPhaseEvent> found;
        ASSERT_EQ(findLunarPhases(context_, jd - 1.0, jd + 1.0, found), Status::Ok);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].phase, p.phase);
        // The almanac rounds to the minute: the instant lies within 30 s of it
        // (a little more for the ΔT of a future date).
        EXPECT_NEAR((found[0].jdUtc - jd) * 1440.0, 0.0, 0.6);
        std::printf("%s %s found %s (%+.1f s)\n", lunarPhaseKey(p.phase), p.utc,
                    formatPhaseMinute(found[0].jdUtc).c_str(), (found[0].jdUtc - jd) * 86400.0);
    }
}

// A whole year: four phases in turn about 7.4 days apart, each where the
// longitude difference is exactly its multiple of 90°.
TEST_F(MoonPhasesTest, YearIsOrderedAndSelfConsistent) {
    std::vector<LunarPhaseEvent> found;
    const JulianDay begin = julianDayFromCalendar(2025, 1, 1, 0.0), end = julianDayFromCalendar(2026, 1, 1, 0.0);
    ASSERT_EQ(findLunarPhases(context_, begin, end, found), Status::Ok);
    ASSERT_GE(found.size(), 48u);
    ASSERT_LE(found.size(), 51u);
    for (size_t i = 0; i < found.size(); ++i) {
        double diff;
        ASSERT_EQ(moonSunLongitudeDifference(context_, found[i].jdUtc, diff), Status::Ok);
        const double target = 90.0 * static_cast<int>(found[i].phase);
        double off = std::fmod(diff - target + 540.0, 360.0) - 180.0;
        EXPECT_LT(std::fabs(off), 1e-4) << i;  // 1e-4° is 0.7 s of lunar motion
        if (i > 0) {
            EXPECT_EQ(static_cast<int>(found[i].phase), (static_cast<int>(found[i - 1].phase) + 1) % 4);
            const double gap = found[i].jdUtc - found[i - 1].jdUtc;
            EXPECT_GT(gap, 5.8);
            EXPECT_LT(gap, 8.6);
        }
    }
}

TEST_F(MoonPhasesTest, CalendarMonthDays) {
    // March 2025 at UTC+1: full Moon on the 14th, new Moon on the 29th.
    const LunarCalendarMonth m = lunarCalendarMonth(context_, 2025, 3, 1.0 / 24.0);
    ASSERT_EQ(m.status, Status::Ok);
    ASSERT_EQ(m.days.size(), 31u);
    EXPECT_NEAR(m.days[0].jdUtc, julianDayFromCalendar(2025, 2, 28, 23.0), 1e-9);
    EXPECT_GT(m.days[13].illuminatedFraction, 0.98);
    EXPECT_LT(m.days[28].illuminatedFraction, 0.02);
    // Waxing: bright limb toward the west-ish Sun (position angle near 270°).
    EXPECT_NEAR(m.days[5].brightLimbDeg, 270.0, 60.0);
    EXPECT_NEAR(m.days[20].brightLimbDeg, 90.0, 60.0);
    ASSERT_GE(m.phases.size(), 4u);
    bool sawFull = false;
    for (const auto& e : m.phases)
        if (e.phase == LunarPhase::Full) {
            sawFull = true;
            EXPECT_EQ(formatPhaseMinute(e.jdUtc), "2025-03-14T06:55");
        }
    EXPECT_TRUE(sawFull);
}

TEST(MoonPhaseText, MinuteRoundingCarries) {
    EXPECT_EQ(formatPhaseMinute(julianDayFromCalendar(2024, 12, 31, 23.0 + 59.6 / 60.0)), "2025-01-01T00:00");
    EXPECT_EQ(formatPhaseMinute(julianDayFromCalendar(2024, 4, 8, 18.0 + 21.4 / 60.0)), "2024-04-08T18:21");
    EXPECT_STREQ(lunarPhaseKey(LunarPhase::FirstQuarter), "first_quarter");
    EXPECT_STREQ(lunarPhaseName(LunarPhase::LastQuarter), "Last Quarter");
}

}  // namespace
}  // namespace celestra
