#include "catalogs/places.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "core/time_zones.h"

namespace celestra {
namespace {

int indexOf(const std::string& name, const std::string& country) {
    for (int i = 0; i < placeCount(); ++i) {
        if (name == place(i)->name && country == countryName(place(i)->country)) return i;
    }
    return -1;
}

TEST(Places, CustomSlotsThenFirstAndLastPlaces) {
    ASSERT_EQ(placeCount(), 1736);
    for (int i = 0; i < kCustomPlaceSlots; ++i) {
        EXPECT_EQ(std::string(place(i)->name), "Custom " + std::to_string(i + 1));
        EXPECT_EQ(place(i)->latitude, 0);
        EXPECT_EQ(place(i)->longitude, 0);
        EXPECT_EQ(place(i)->country, 0);
    }
    EXPECT_STREQ(place(5)->name, "Abidjan");
    EXPECT_DOUBLE_EQ(placeLatitude(5), 5.33);
    EXPECT_DOUBLE_EQ(placeLongitude(5), -4.03);
    EXPECT_EQ(place(5)->country, 100);
    EXPECT_STREQ(countryName(100), "Ivory Coast");
    EXPECT_STREQ(place(1735)->name, "Zwedru");
    EXPECT_EQ(place(1735)->longitude, -813);
    EXPECT_EQ(place(-1), nullptr);
    EXPECT_EQ(place(1736), nullptr);
    EXPECT_EQ(placeLatitude(1736), 0.0);
    EXPECT_EQ(placeLongitude(-1), 0.0);
}

TEST(Places, NamedExamples) {
    const int greenwich = indexOf("Greenwich", "United Kingdom");
    ASSERT_GE(greenwich, 0);
    EXPECT_DOUBLE_EQ(placeLatitude(greenwich), 51.48);
    EXPECT_DOUBLE_EQ(placeLongitude(greenwich), 0.0);
    const int londonUk = indexOf("London", "United Kingdom");
    const int londonCa = indexOf("London", "Canada");
    ASSERT_GE(londonUk, 0);
    ASSERT_GE(londonCa, 0);
    EXPECT_EQ(place(londonUk)->latitude, 5152);
    EXPECT_EQ(place(londonUk)->longitude, -10);
    EXPECT_EQ(place(londonCa)->latitude, 4297);
    EXPECT_EQ(place(londonCa)->longitude, -8124);
    const int zurich = indexOf("Z\u00fcrich", "Switzerland");
    ASSERT_GE(zurich, 0);
    EXPECT_EQ(place(zurich)->latitude, 4738);
    EXPECT_GE(indexOf("Ab\u00fb Zabi", "United Arab Emirates"), 0);
}

TEST(Places, TimeZonesOfTheirOwnCountry) {
    for (int i = 0; i < kCustomPlaceSlots; ++i) EXPECT_STREQ(place(i)->zone, "");
    const struct {
        const char* name;
        const char* country;
        const char* zone;
    } examples[] = {
        {"Greenwich", "United Kingdom", "Europe/London"},
        {"London", "United Kingdom", "Europe/London"},
        {"London", "Canada", "America/Toronto"},
        {"Sydney", "Australia", "Australia/Sydney"},
        {"Kathmandu", "Nepal", "Asia/Kathmandu"},
        // Nearest cities across a border would give these the wrong country's zone.
        {"Batam", "Indonesia", "Asia/Jakarta"},
        {"Yining", "China", "Asia/Urumqi"},
        // Countries without a GeoNames city: the tz database's zone of the country.
        {"Yaren", "Nauru", "Pacific/Nauru"},
        {"Fakaofo", "Tokelau", "Pacific/Fakaofo"},
    };
    for (const auto& e : examples) {
        const int i = indexOf(e.name, e.country);
        ASSERT_GE(i, 0) << e.name;
        EXPECT_STREQ(place(i)->zone, e.zone) << e.name;
    }
}

TEST(Places, EveryZoneIsInTheTzDatabase) {
    if (!timeZoneOffsetAt("Europe/London", kJ2000)) GTEST_SKIP() << "no tz database";
    for (int i = kCustomPlaceSlots; i < placeCount(); ++i)
        EXPECT_TRUE(timeZoneOffsetAt(place(i)->zone, kJ2000)) << place(i)->name << ": " << place(i)->zone;
}

TEST(Places, SortedByNameAndWithinRange) {
    for (int i = kCustomPlaceSlots; i < placeCount(); ++i) {
        const PlaceEntry& p = *place(i);
        EXPECT_LE(std::abs(p.latitude), 9000) << p.name;
        EXPECT_LE(std::abs(p.longitude), 18000) << p.name;
        EXPECT_GE(p.country, 0);
        EXPECT_LT(p.country, countryCount());
        if (i > kCustomPlaceSlots) { EXPECT_LE(foldForSearch(place(i - 1)->name), foldForSearch(p.name)) << i; }
    }
}

TEST(Places, CountryListIndicesAndOrder) {
    ASSERT_EQ(countryCount(), 232);
    EXPECT_STREQ(countryName(0), "Afghanistan");
    EXPECT_STREQ(countryName(42), "China");
    EXPECT_STREQ(countryName(218), "United Kingdom");
    EXPECT_STREQ(countryName(219), "United States of America");
    EXPECT_STREQ(countryName(227), "Wallis & Futuna");
    EXPECT_STREQ(countryName(229), "Yugoslavia");
    EXPECT_STREQ(countryName(231), "Zimbabwe");
    EXPECT_STREQ(countryName(-1), "");
    EXPECT_STREQ(countryName(232), "");
    for (int i = 1; i < countryCount(); ++i)
        EXPECT_LT(foldForSearch(countryName(i - 1)), foldForSearch(countryName(i)));
}

TEST(Places, SearchIgnoresCaseAndAccents) {
    EXPECT_EQ(foldForSearch("Z\u00fcrich"), "zurich");
    EXPECT_EQ(foldForSearch("\u0141\u00f3d\u017a S\u00e3o"), "lodz sao");
    EXPECT_EQ(foldForSearch("Tr\u1ea7n"), "tran");
    EXPECT_EQ(foldForSearch("\xff\xc3"), "\xff\xc3");  // malformed UTF-8 passes unchanged
    EXPECT_EQ(foldForSearch("\u4eac"), "\u4eac");      // no Latin base letter: kept
    const auto zurich = findPlaces("ZURICH");
    ASSERT_EQ(zurich.size(), 1u);
    EXPECT_STREQ(place(zurich[0])->name, "Z\u00fcrich");
    const auto ivory = findPlaces("ivory coast");
    EXPECT_NE(std::find(ivory.begin(), ivory.end(), 5), ivory.end());
    EXPECT_EQ(findPlaces("custom").size(), 0u);
    EXPECT_EQ(findPlaces("").size(), 1731u);
}

TEST(Ellipsoids, TableAndDerivedAxes) {
    for (int id = 1; id <= kEllipsoidCount; ++id) EXPECT_EQ(ellipsoid(id)->id, id);
    EXPECT_EQ(ellipsoid(0), nullptr);
    EXPECT_EQ(ellipsoid(24), nullptr);
    EXPECT_STREQ(ellipsoid(4)->name, "Bessel 1841 (Nambia) ");
    EXPECT_STREQ(ellipsoid(8)->name, "Fischer 1960 (Mercury) ");
    EXPECT_STREQ(ellipsoid(1)->name, "Airy");
    EXPECT_EQ(ellipsoid(14)->semiMajorAxis, 6378388.0);
    const EllipsoidEntry& wgs84 = *ellipsoid(23);
    const EllipsoidEntry& grs80 = *ellipsoid(11);
    EXPECT_STREQ(wgs84.name, "WGS-84");
    EXPECT_STREQ(grs80.name, "GRS 1980");
    EXPECT_EQ(wgs84.semiMajorAxis, 6378137.0);
    EXPECT_EQ(wgs84.semiMajorAxis, grs80.semiMajorAxis);
    EXPECT_EQ(wgs84.eccentricitySquared, 0.00669438);
    EXPECT_EQ(wgs84.eccentricitySquared, grs80.eccentricitySquared);
    // WGS-84: b = 6356752.314 m, 1/f = 298.257 (to the table's e², 6 figures).
    EXPECT_NEAR(ellipsoidSemiMinorAxis(wgs84), 6356752.314, 0.01);
    EXPECT_NEAR(1.0 / ellipsoidFlattening(wgs84), 298.2572, 1e-3);
}

}  // namespace
}  // namespace celestra
