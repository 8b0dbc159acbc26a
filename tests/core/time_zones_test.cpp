#include "core/time_zones.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

const char* const kZoneInfo = "/usr/share/zoneinfo";

bool haveTzData() {
    struct stat st {};
    return ::stat((std::string(kZoneInfo) + "/Europe/London").c_str(), &st) == 0;
}

#define REQUIRE_TZDATA() \
    if (!haveTzData()) GTEST_SKIP() << "no tz database in " << kZoneInfo << " (Debian's tzdata)"

double hoursAt(const std::string& zone, int y, int m, int d, double utcHour) {
    const auto z = timeZoneOffsetAt(zone, julianDayFromCalendar(y, m, d, utcHour));
    return z ? z->offsetDays * 24.0 : std::numeric_limits<double>::quiet_NaN();
}

bool daylightAt(const std::string& zone, int y, int m, int d, double utcHour) {
    const auto z = timeZoneOffsetAt(zone, julianDayFromCalendar(y, m, d, utcHour));
    return z && z->daylight;
}

// Sets TZDIR for the lifetime of the object.
class ScopedTzDir {
public:
    explicit ScopedTzDir(const std::string& dir) {
        if (const char* old = std::getenv("TZDIR")) previous_ = old, had_ = true;
        setenv("TZDIR", dir.c_str(), 1);
    }
    ~ScopedTzDir() {
        if (had_) setenv("TZDIR", previous_.c_str(), 1);
        else unsetenv("TZDIR");
    }

private:
    std::string previous_;
    bool had_ = false;
};

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::string bigEndian(uint64_t v, int bytes) {
    std::string out;
    for (int i = bytes - 1; i >= 0; --i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
    return out;
}

// A version-2 TZif file without transitions: only its POSIX rule decides.
std::string ruleOnlyTzif(const std::string& rule) {
    std::string header = "TZif2" + std::string(15, '\0');
    for (uint32_t count : {0u, 0u, 0u, 0u, 1u, 4u}) header += bigEndian(count, 4);
    const std::string data = bigEndian(0, 4) + std::string(1, '\0') + std::string(1, '\0') + std::string("UTC\0", 4);
    return header + data + header + data + "\n" + rule + "\n";
}

TEST(TimeZones, SummerAndWinterOfThreeZones) {
    REQUIRE_TZDATA();
    EXPECT_EQ(hoursAt("Europe/London", 2024, 1, 15, 12.0), 0.0);
    EXPECT_FALSE(daylightAt("Europe/London", 2024, 1, 15, 12.0));
    EXPECT_EQ(hoursAt("Europe/London", 2024, 7, 15, 12.0), 1.0);
    EXPECT_TRUE(daylightAt("Europe/London", 2024, 7, 15, 12.0));
    EXPECT_EQ(hoursAt("Australia/Sydney", 2024, 1, 15, 0.0), 11.0);
    EXPECT_TRUE(daylightAt("Australia/Sydney", 2024, 1, 15, 0.0));
    EXPECT_EQ(hoursAt("Australia/Sydney", 2024, 7, 15, 0.0), 10.0);
    EXPECT_EQ(hoursAt("Asia/Kathmandu", 2024, 1, 15, 0.0), 5.75);
    EXPECT_EQ(hoursAt("Asia/Kathmandu", 2024, 7, 15, 0.0), 5.75);
    EXPECT_EQ(hoursAt("Asia/Kathmandu", 1985, 7, 15, 0.0), 5.5);  // +5:30 until 1986
    EXPECT_EQ(hoursAt("UTC", 2024, 7, 15, 0.0), 0.0);
}

TEST(TimeZones, ChangesAtTheTransitionSecond) {
    REQUIRE_TZDATA();
    // British Summer Time 2024: 31 March 01:00 UTC to 27 October 01:00 UTC.
    const double second = 1.0 / 3600.0;
    EXPECT_EQ(hoursAt("Europe/London", 2024, 3, 31, 1.0 - second), 0.0);
    EXPECT_EQ(hoursAt("Europe/London", 2024, 3, 31, 1.0), 1.0);
    EXPECT_EQ(hoursAt("Europe/London", 2024, 10, 27, 1.0 - second), 1.0);
    EXPECT_EQ(hoursAt("Europe/London", 2024, 10, 27, 1.0), 0.0);
    // Sydney leaves daylight saving on 7 April 2024 at 03:00 AEDT = 16:00 UTC on the 6th.
    EXPECT_EQ(hoursAt("Australia/Sydney", 2024, 4, 6, 16.0 - second), 11.0);
    EXPECT_EQ(hoursAt("Australia/Sydney", 2024, 4, 6, 16.0), 10.0);
}

TEST(TimeZones, BeyondTheListedTransitionsAndBeforeTheFirst) {
    REQUIRE_TZDATA();
    EXPECT_EQ(hoursAt("Europe/London", 2200, 7, 1, 12.0), 1.0);  // the file's rule
    EXPECT_EQ(hoursAt("Europe/London", 2200, 12, 1, 12.0), 0.0);
    EXPECT_EQ(hoursAt("Australia/Sydney", 2200, 1, 1, 12.0), 11.0);
    // Before 1847 London kept local mean time, -0:01:15.
    EXPECT_NEAR(hoursAt("Europe/London", 1800, 1, 1, 12.0), -75.0 / 3600.0, 1e-12);
}

// The POSIX rules at the files' ends against the same years' listed
// transitions, every half hour of 2027 to 2030: negative and 24 h change
// times, southern and half-hour daylight saving, Ireland's negative one.
TEST(TimeZones, FileRulesAgreeWithTheListedTransitions) {
    REQUIRE_TZDATA();
    const std::string dir = test::makeTempDir();
    const char* zones[] = {"Europe/London",    "Australia/Sydney", "America/New_York",    "America/Santiago",
                           "America/Nuuk",     "Pacific/Auckland", "Australia/Lord_Howe", "Europe/Dublin",
                           "America/St_Johns", "Asia/Kathmandu"};
    int n = 0;
    for (const char* zone : zones) {
        const std::string bytes = readFile(std::string(kZoneInfo) + "/" + zone);
        ASSERT_GT(bytes.size(), 2u) << zone;
        const size_t start = bytes.rfind('\n', bytes.size() - 2);
        ASSERT_NE(start, std::string::npos) << zone;
        writeFile(dir + "/rule" + std::to_string(n), ruleOnlyTzif(bytes.substr(start + 1, bytes.size() - start - 2)));
        ++n;
    }
    const double first = julianDayFromCalendar(2027, 1, 1, 0.0), last = julianDayFromCalendar(2031, 1, 1, 0.0);
    const double step = 0.5 / 24.0;  // changes fall on the hour or the half hour
    std::vector<std::vector<ZoneOffset>> listed(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        for (double jd = first; jd < last; jd += step) {
            const auto z = timeZoneOffsetAt(zones[i], jd);
            ASSERT_TRUE(z) << zones[i];
            listed[static_cast<size_t>(i)].push_back(*z);
        }
    }
    ScopedTzDir tz(dir);
    for (int i = 0; i < n; ++i) {
        int mismatches = 0;
        size_t k = 0;
        for (double jd = first; jd < last && mismatches < 3; jd += step, ++k) {
            const auto ruled = timeZoneOffsetAt("rule" + std::to_string(i), jd);
            ASSERT_TRUE(ruled) << zones[i];
            const ZoneOffset& expected = listed[static_cast<size_t>(i)][k];
            if (std::fabs(expected.offsetDays - ruled->offsetDays) > 1e-12 || expected.daylight != ruled->daylight) {
                ++mismatches;
                ADD_FAILURE() << zones[i] << " at JD " << jd << ": listed " << expected.offsetDays * 24.0 << " h, rule "
                              << ruled->offsetDays * 24.0 << " h";
            }
        }
    }
}

TEST(TimeZones, RefusesNamesOutsideTheDatabase) {
    for (const char* bad : {"", "/etc/passwd", "../etc/passwd", "Europe/../../etc/passwd", "Europe//London",
                            "Europe/London/", "Europe/./London", "Europe London", "Europe/London\n", "Zürich"}) {
        EXPECT_FALSE(isWellFormedZoneId(bad)) << bad;
        EXPECT_FALSE(timeZoneOffsetAt(bad, kJ2000)) << bad;
    }
    EXPECT_FALSE(isWellFormedZoneId(std::string(256, 'a')));
    EXPECT_TRUE(isWellFormedZoneId("America/Argentina/Buenos_Aires"));
    EXPECT_TRUE(isWellFormedZoneId("Etc/GMT+5"));
    EXPECT_TRUE(isWellFormedZoneId("America/Port-au-Prince"));
    REQUIRE_TZDATA();
    EXPECT_FALSE(timeZoneOffsetAt("Europe/Nowhere", kJ2000));
    EXPECT_FALSE(timeZoneOffsetAt("Europe", kJ2000));  // a folder
    EXPECT_FALSE(timeZoneOffsetAt("Europe/London", std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(timeZoneOffsetAt("Europe/London", 1e20));
}

TEST(TimeZones, DamagedAndSpecialFilesAreRefused) {
    REQUIRE_TZDATA();
    const std::string dir = test::makeTempDir();
    ScopedTzDir tz(dir);
    const std::string london = readFile(std::string(kZoneInfo) + "/Europe/London");
    const size_t footer = london.rfind('\n', london.size() - 2);
    ASSERT_NE(footer, std::string::npos);
    // Cut anywhere before the end: refused, except exactly before the
    // footer, where a file simply has no rule.
    std::vector<size_t> cuts = {footer, footer + 1, london.size() - 2};
    for (size_t cut = 0; cut + 1 < london.size(); cut += cut < 100 ? 1 : 7) cuts.push_back(cut);
    for (size_t cut : cuts) {
        const std::string name = "cut" + std::to_string(cut);
        writeFile(dir + "/" + name, london.substr(0, cut));
        EXPECT_EQ(timeZoneOffsetAt(name, kJ2000).has_value(), cut == footer) << "cut at " << cut;
    }
    writeFile(dir + "/whole", london);
    EXPECT_TRUE(timeZoneOffsetAt("whole", kJ2000));
    writeFile(dir + "/noise", std::string(200, 'x'));
    EXPECT_FALSE(timeZoneOffsetAt("noise", kJ2000));
    writeFile(dir + "/badrule", ruleOnlyTzif("GMT0BST,M13.5.0,M10.5.0"));
    EXPECT_FALSE(timeZoneOffsetAt("badrule", kJ2000));
    // A named pipe where a zone file belongs: refused at once, not waited on.
    ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
    EXPECT_FALSE(timeZoneOffsetAt("pipe", kJ2000));
}

}  // namespace
}  // namespace celestra
