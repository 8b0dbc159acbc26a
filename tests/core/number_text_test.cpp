#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "calculators/converters.h"
#include "calculators/horizon_distance.h"
#include "calculators/navigation_calculators.h"
#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/log.h"
#include "core/time_scales.h"
#include "gps/gps_source.h"
#include "navigation/fix_estimate.h"
#include "navigation/sight_reduction.h"
#include "sky/zone_choice.h"
#include "solarsystem/comets.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

TEST(ParseDecimal, TakesOnlyAWholeNumber) {
    EXPECT_EQ(parseDecimal("12.5"), 12.5);
    EXPECT_EQ(parseDecimal("  -0.25\t"), -0.25);
    EXPECT_EQ(parseDecimal("+3"), 3.0);
    EXPECT_EQ(parseDecimal(".5"), 0.5);
    EXPECT_EQ(parseDecimal("5."), 5.0);
    EXPECT_EQ(parseDecimal("1e-5"), 1e-5);
    EXPECT_EQ(parseDecimal("2451545.5"), 2451545.5);
    const auto negativeZero = parseDecimal("-00");
    ASSERT_TRUE(negativeZero);
    EXPECT_TRUE(std::signbit(*negativeZero));  // a typed "-0" degree keeps its sign
    for (const char* bad : {"",  "  ", "12,5", "12.5.3", "12x", "x12", "1.234,5", "0x1p3", "inf", "-inf", "nan",
                            "-", "+",  "+-1",  "--1",    "++1", "1e",  "1e400",   "1 2",   ".",   "-."})
        EXPECT_FALSE(parseDecimal(bad)) << '"' << bad << '"';
}

TEST(NumberText, FormatsWithThePointUnderADecimalCommaLocale) {
    CELESTRA_REQUIRE_DECIMAL_COMMA(locale);
    char plain[32];
    std::snprintf(plain, sizeof plain, "%.1f", 12.5);
    ASSERT_STREQ(plain, "12,5");  // the locale is in force for the C library
    char text[32];
    EXPECT_EQ(snprintfC(text, sizeof text, "%.1f|%+g", 12.5, -0.25), 10);
    EXPECT_STREQ(text, "12.5|-0.25");
    EXPECT_EQ(formatC("%9.4lf", 3.14159265), "   3.1416");
    // Longer than the small buffer: the whole text.
    const std::string longText = formatC("%0300.1f", 1.5);
    EXPECT_EQ(longText.size(), 300u);
    EXPECT_EQ(longText.substr(295), "001.5");
    EXPECT_EQ(parseDecimal("12.5"), 12.5);
    EXPECT_FALSE(parseDecimal("12,5"));
}

// Every kind of text the engine writes with a fractional number.
std::vector<std::string> engineTexts() {
    std::vector<std::string> out;
    for (int form = 0; form <= 8; ++form) out.push_back(formatAngle(-12.3456789, form, AngleSignStyle::Latitude));
    out.push_back(formatClockTime(13.5125));
    out.push_back(formatZoneLabel(5.75 / 24.0));
    out.push_back(formatZoneLabel(-3.5 / 24.0));
    std::string s;
    formatTimeOfDay(2451545.25, true, s);
    out.push_back(s);
    out.push_back(zoneHoursText(5.5));
    out.push_back(formatPlainDecimal(-12.5));
    out.push_back(decimalToDms(12.51, true).text);
    const HorizonDistance h = horizonDistance(10.5, HeightUnit::Meters);
    out.push_back(h.visibleText + h.radarText);
    GreatCircleState gc;
    gc.lat1 = {51, 30, 0, 1};
    gc.lat2 = {40, 43, 0, 1};
    gc.lon2 = {74, 0, 0, -1};
    const GreatCircleResult g = computeGreatCircle(gc);
    out.push_back(g.distanceText + g.courseText);
    CMeasure sight(CObserverState(2460000.5, 0.0));
    sight.intercept = -0.0512;
    sight.azimuth = 123.456;
    formatResult(sight, 1, s);
    out.push_back(s);
    LopGraphLine line;
    line.azimuthDeg = 12.34;
    line.interceptNm = 1.25;
    out.push_back(lopStatusText(line, {0.5, 0.5}));
    out.push_back(cometInfoText(5.5, 9.25));
    out.push_back(gpsDegreesFieldText(true, 47.5, true));
    out.push_back(formatDegreesMinutes(23.456, 2, 1, AngleSignStyle::Signed));
    out.push_back(catalogueObjectInfoText(9110));  // M1, with its magnitude and distance
    std::string logged;
    const LogSink old = setLogSink([&](const std::string& l) { logged = l; });
    debugLog("%.6f\n", 0.5);
    setLogSink(old);
    out.push_back(logged);
    return out;
}

TEST(NumberText, EngineTextsDoNotFollowTheLocale) {
    const std::vector<std::string> inC = engineTexts();
    CELESTRA_REQUIRE_DECIMAL_COMMA(locale);
    const std::vector<std::string> inComma = engineTexts();
    ASSERT_EQ(inC.size(), inComma.size());
    for (size_t i = 0; i < inC.size(); ++i) EXPECT_EQ(inComma[i], inC[i]) << "text " << i;
    EXPECT_EQ(inC[0], "S   12.3457\u00b0");
    EXPECT_EQ(inC[10], "UTC +5.75h");
    EXPECT_EQ(inC[13], "+5.5");
}

}  // namespace
}  // namespace celestra
