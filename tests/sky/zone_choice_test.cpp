#include "sky/zone_choice.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "core/time_scales.h"
#include "core/time_zones.h"

namespace celestra {
namespace {

TEST(ZoneChoice, LongitudeZonesRoundToTheNearestHour) {
    EXPECT_EQ(longitudeZoneHours(0.0), 0.0);
    EXPECT_EQ(longitudeZoneHours(7.4), 0.0);
    EXPECT_EQ(longitudeZoneHours(7.5), 1.0);
    EXPECT_EQ(longitudeZoneHours(-7.5), -1.0);
    EXPECT_EQ(longitudeZoneHours(-122.3), -8.0);
    EXPECT_EQ(longitudeZoneHours(180.0), 12.0);
    EXPECT_EQ(longitudeZoneHours(-180.0), -12.0);
    // Wrapped: 190° E is 170° W.
    EXPECT_EQ(longitudeZoneHours(190.0), -11.0);
    EXPECT_EQ(longitudeZoneHours(-350.0), 1.0);
}

TEST(ZoneChoice, OffsetsBySource) {
    const double jd = 2460000.5;
    ZoneChoice c;
    c.source = ZoneSource::Longitude;
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, jd, 139.7), 9.0 / 24.0);
    c.daylight = true;
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, jd, 139.7), 10.0 / 24.0);
    EXPECT_TRUE(zoneDaylight(c, jd));
    c.source = ZoneSource::Custom;
    c.customHours = 5.5;
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, jd, 139.7), 6.5 / 24.0);
    c.daylight = false;
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, jd, 139.7), 5.5 / 24.0);
    // The system zone follows the database at that instant, whatever the DST box says.
    c.source = ZoneSource::SystemClock;
    c.daylight = true;
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, jd, 0.0), platformZoneOffsetAt(jd).offsetDays);
    EXPECT_EQ(zoneDaylight(c, jd), platformZoneOffsetAt(jd).daylight);
}

TEST(ZoneChoice, SystemZoneChangesAtTheDaylightTransition) {
    const char* old = std::getenv("TZ");
    const std::string saved = old ? old : "";
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    ZoneChoice c;
    // 2024-03-31 00:30 UTC is winter time (+1 h), 01:30 UTC summer time (+2 h).
    const double before = julianDayFromCalendar(2024, 3, 31, 0.5);
    const double after = julianDayFromCalendar(2024, 3, 31, 1.5);
    EXPECT_NEAR(zoneOffsetDays(c, before, 0.0) * 24.0, 1.0, 1e-9);
    EXPECT_NEAR(zoneOffsetDays(c, after, 0.0) * 24.0, 2.0, 1e-9);
    EXPECT_FALSE(zoneDaylight(c, before));
    EXPECT_TRUE(zoneDaylight(c, after));
    if (old) setenv("TZ", saved.c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TEST(ZoneChoice, OffsetBoxTexts) {
    EXPECT_EQ(zoneHoursText(0.0), "+0");
    EXPECT_EQ(zoneHoursText(-5.0), "-5");
    EXPECT_EQ(zoneHoursText(5.5), "+5.5");
    EXPECT_EQ(zoneHoursText(5.75), "+5.75");
}

TEST(ZoneChoice, PlaceZoneFollowsItsDaylightSaving) {
    if (!timeZoneOffsetAt("Europe/London", kJ2000)) GTEST_SKIP() << "no tz database";
    ZoneChoice c;
    c.source = ZoneSource::Place;
    c.placeZone = "Europe/London";
    c.daylight = true;  // the DST box has no say over a named zone
    const double winter = julianDayFromCalendar(2024, 1, 15, 12.0), summer = julianDayFromCalendar(2024, 7, 15, 12.0);
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, winter, 139.7), 0.0);
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, summer, 139.7), 1.0 / 24.0);
    EXPECT_FALSE(zoneDaylight(c, winter));
    EXPECT_TRUE(zoneDaylight(c, summer));
    c.placeZone = "Asia/Kathmandu";
    EXPECT_DOUBLE_EQ(zoneOffsetDays(c, summer, 0.0), 5.75 / 24.0);
    // A zone the database lacks, or none: the longitude's zone, no daylight saving.
    for (const char* unknown : {"Europe/Atlantis", ""}) {
        c.placeZone = unknown;
        EXPECT_DOUBLE_EQ(zoneOffsetDays(c, summer, 139.7), 9.0 / 24.0);
        EXPECT_FALSE(zoneDaylight(c, summer));
    }
}

}  // namespace
}  // namespace celestra
