#include "app/document.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/archive.h"
#include "tests/app/expected_bytes.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::Bytes;

constexpr double kInstant = 2460000.25;  // 2023-02-24 18:00 UTC
constexpr double kZone = -7.0 / 24.0;

std::vector<uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A sight with a distinct value in every stored field.
CMeasure makeSight(double base) {
    CMeasure m(CObserverState(kInstant + base, kZone));
    m.observer.latitude = 10.0 + base;
    m.active = 1;
    m.isStar = 0;
    m.bodyIndex = 10;
    m.reserved5 = 5;
    m.upperLimb = 1;
    m.correctionsDisabled = 0;
    double v = base + 0.5;
    for (double* d : {&m.rightAscension,
                      &m.declination,
                      &m.distance,
                      &m.zenithDistance,
                      &m.azimuth,
                      &m.dipShortDistance,
                      &m.reserved15[0],
                      &m.reserved15[1],
                      &m.course,
                      &m.speed,
                      &m.apTimeOverride,
                      &m.observationTime,
                      &m.hs,
                      &m.ha,
                      &m.dip,
                      &m.indexCorrection,
                      &m.refractionCorrection,
                      &m.parallax,
                      &m.semiDiameter,
                      &m.ho,
                      &m.hc,
                      &m.intercept,
                      &m.runTime,
                      &m.drLatitude,
                      &m.drLongitude,
                      &m.fixLongitude,
                      &m.fixLatitude,
                      &m.fixShift})
        *d = (v += 1.25);
    m.dipShortEnabled = 1.0;
    m.timeEnteredAsUtc = 1;
    return m;
}

// The observer state in record-B order, from the table.
void appendObserver(Bytes& e, const CObserverState& s) {
    e.i32(s.flags).f64(s.instant).f64(s.zoneOffset).f64(s.latitude).f64(s.longitude).f64(s.height);
    e.f64(s.temperature).f64(s.pressure).i32(s.latitudeDegrees).i32(s.latitudeMinutes).i32(s.latitudeSeconds);
    e.i32(s.longitudeDegrees).i32(s.longitudeMinutes).i32(s.longitudeSeconds).i32(s.refraction);
}

// A sight in the sight-record order: state, six ints, thirteen doubles, one int, sixteen doubles.
void appendSight(Bytes& e, const CMeasure& m) {
    appendObserver(e, m.observer);
    e.i32(m.active).i32(m.isStar).i32(m.bodyIndex).i32(m.reserved5).i32(m.upperLimb).i32(m.correctionsDisabled);
    e.f64(m.rightAscension).f64(m.declination).f64(m.distance).f64(m.zenithDistance).f64(m.azimuth);
    e.f64(m.dipShortDistance).f64(m.dipShortEnabled).f64(m.reserved15[0]).f64(m.reserved15[1]).f64(m.course);
    e.f64(m.speed).f64(m.apTimeOverride).f64(m.observationTime).i32(m.timeEnteredAsUtc);
    e.f64(m.hs).f64(m.ha).f64(m.dip).f64(m.indexCorrection).f64(m.refractionCorrection).f64(m.parallax);
    e.f64(m.semiDiameter).f64(m.ho).f64(m.hc).f64(m.intercept).f64(m.runTime).f64(m.drLatitude);
    e.f64(m.drLongitude).f64(m.fixLongitude).f64(m.fixLatitude).f64(m.fixShift);
}

struct Known {
    DocumentData data{kInstant, kZone};
    Bytes image;
};

// A state with distinct values, and its image written out from the layout tables.
Known knownDocument() {
    Known k;
    CUniverseViewDrawState& a = k.data.drawState;
    a.realTime = 0, a.field2 = 102, a.field3 = 103, a.field4 = 104, a.field5 = 105, a.magnitudeFilter = 106;
    a.magnitudeLimit = 6500, a.field8 = 108, a.field9 = 109, a.field10 = 110, a.field11 = 111,
    a.cometMagnitudeLimit = 112;
    a.field13 = 113, a.field14 = 114, a.field15 = 115, a.flags = 2048, a.field17 = 117, a.reserved = {7, 8};
    a.zoom = 2.75, a.offsetX = -0.5, a.offsetY = 33.9, a.field21 = 121, a.field22 = 122, a.field23 = 123;
    a.field24 = 124, a.field25 = 125, a.field26 = 126, a.deepSkySelection = 3, a.rotation = 47.9;
    a.colorPreset = 2, a.field30 = 130, a.field31 = 131;

    CObserverState& b = k.data.observer;
    b.flags = 2, b.latitude = 90.0, b.longitude = 179.5, b.height = 12.5, b.temperature = -3.25;
    b.pressure = 987.0, b.latitudeDegrees = 90, b.latitudeMinutes = 1, b.latitudeSeconds = 2;
    b.longitudeDegrees = 179, b.longitudeMinutes = 30, b.longitudeSeconds = 4, b.refraction = 0;

    k.data.currentSight = makeSight(0.0);
    k.data.sights.Append(makeSight(1.0));
    k.data.sights.Append(makeSight(2.0));
    k.data.places[0] = {"Home", 47.5, -122.25};
    k.data.places[2] = {std::string(300, 'N'), -33.875, 151.25};

    Bytes& e = k.image;
    e.i32(1020);
    // Record A in file order: fields 1-12, 16, 13-15, 17, reserved pair, zoom,
    // offsets truncated, 21-25, 27, 28 truncated, 26, 29-31.
    for (int32_t v : {0, 102, 103, 104, 105, 106, 6500, 108, 109, 110, 111, 112, 2048, 113, 114, 115, 117, 7, 8})
        e.i32(v);
    e.f64(2.75).i32(0).i32(33);
    for (int32_t v : {121, 122, 123, 124, 125, 3, 47, 126, 2, 130, 131}) e.i32(v);
    // Record B.
    e.i32(2).f64(kInstant).f64(kZone).f64(90.0).f64(179.5).f64(12.5).f64(-3.25).f64(987.0);
    for (int32_t v : {90, 1, 2, 179, 30, 4, 0}) e.i32(v);
    appendSight(e, k.data.currentSight);
    // The list: count, new class "CMeasure" (class 1, object 2), then a reference to class 1.
    e.u16(2).u16(0xFFFF).u16(256).u16(8);
    for (char c : std::string("CMeasure")) e.u8(static_cast<uint8_t>(c));
    appendSight(e, k.data.sights.At(0));
    e.u16(0x8001);
    appendSight(e, k.data.sights.At(1));
    // Custom places: name, second coordinate (longitude), first (latitude).
    e.ascii("Home").f64(-122.25).f64(47.5);
    e.ascii("Custom 2").f64(0.0).f64(0.0);
    e.ascii(std::string(300, 'N')).f64(151.25).f64(-33.875);
    e.ascii("Custom 4").f64(0.0).f64(0.0);
    e.ascii("Custom 5").f64(0.0).f64(0.0);
    return k;
}

TEST(DocumentFile, WriterProducesTheTabledLayout) {
    const Known k = knownDocument();
    EXPECT_EQ(serializeDocument(k.data), k.image.b);
    // The 300-character name uses the 0xFF + 16-bit length form.
    const std::vector<uint8_t> longName = {0xFF, 0xFE, 0xFF, 0xFF, 0x2C, 0x01, 'N', 0x00};
    EXPECT_NE(std::search(k.image.b.begin(), k.image.b.end(), longName.begin(), longName.end()), k.image.b.end());
}

TEST(DocumentFile, ReadingAppliesTheLoadRules) {
    const Known k = knownDocument();
    DocumentData d(0.0, 0.0);
    int32_t version = 0;
    std::string error;
    ASSERT_EQ(parseDocument(k.image.b.data(), k.image.b.size(), d, version, error), FileStatus::Ok) << error;
    EXPECT_EQ(version, 1020);
    const CUniverseViewDrawState& a = d.drawState;
    EXPECT_EQ(a.realTime, 0);
    EXPECT_EQ(a.magnitudeLimit, 6500);
    EXPECT_EQ(a.field9, 1);
    EXPECT_EQ(a.field11, 1);
    EXPECT_EQ(a.cometMagnitudeLimit, 5000);
    EXPECT_EQ(a.flags, 2048);
    EXPECT_TRUE(a.flippedEastWest());
    EXPECT_EQ(a.field13, 113);
    EXPECT_EQ(a.field17, 117);
    EXPECT_EQ(a.reserved, (std::array<int32_t, 2>{0, 0}));
    EXPECT_EQ(a.zoom, 2.75);
    EXPECT_EQ(a.offsetX, 0.0);
    EXPECT_EQ(a.offsetY, 33.0);
    EXPECT_EQ(a.rotation, 47.0);
    EXPECT_EQ(a.field21, 121);
    EXPECT_EQ(a.field22, 122);
    EXPECT_EQ(a.field26, 126);
    EXPECT_EQ(a.deepSkySelection, 3);
    EXPECT_EQ(a.colorPreset, 2);
    EXPECT_EQ(a.field31, 131);
    for (int i : {8, 9, 10}) EXPECT_EQ(a.overlays[static_cast<size_t>(i)], 1);
    EXPECT_EQ(a.overlays[11], defaultOverlays()[11]);

    EXPECT_EQ(d.observer.latitude, 90.0);  // stored as entered; clamping is the star stage's business
    EXPECT_EQ(d.observer.temperature, -3.25);
    EXPECT_EQ(d.observer.refraction, 0);
    EXPECT_EQ(d.observer.longitudeSeconds, 4);
    ASSERT_EQ(d.sights.Count(), 2u);
    // Everything after record A comes back as written.
    const auto again = serializeDocument(d);
    EXPECT_EQ(std::vector<uint8_t>(again.begin() + 140, again.end()),
              std::vector<uint8_t>(k.image.b.begin() + 140, k.image.b.end()));
    EXPECT_EQ(d.sights.At(1).fixShift, k.data.sights.At(1).fixShift);
    EXPECT_EQ(d.places[2].name, std::string(300, 'N'));
    EXPECT_EQ(d.places[2].latitude, -33.875);
    EXPECT_EQ(d.places[2].longitude, 151.25);
}

TEST(DocumentFile, Field21Of2LoadsAs1WithField22MinusOne) {
    Known k = knownDocument();
    k.data.drawState.field21 = 2;
    k.data.drawState.field22 = 5;
    const auto image = serializeDocument(k.data);
    DocumentData d(0.0, 0.0);
    int32_t version = 0;
    std::string error;
    ASSERT_EQ(parseDocument(image.data(), image.size(), d, version, error), FileStatus::Ok);
    EXPECT_EQ(d.drawState.field21, 1);
    EXPECT_EQ(d.drawState.field22, -1);
}

TEST(DocumentFile, TruncatedValuesAreWrittenTowardZeroAndSafely) {
    EXPECT_EQ(truncateToInt32(47.9), 47);
    EXPECT_EQ(truncateToInt32(-0.5), 0);
    EXPECT_EQ(truncateToInt32(-270.9), -270);
    EXPECT_EQ(truncateToInt32(std::nan("")), 0);
    EXPECT_EQ(truncateToInt32(1e300), INT32_MAX);
    EXPECT_EQ(truncateToInt32(-1e300), INT32_MIN);
}

TEST(DocumentFile, AnotherVersionLeavesTheStateUnchanged) {
    const Known k = knownDocument();
    const std::string dir = test::makeTempDir();
    for (int32_t version : {1019, 1021, 0, -1}) {
        SCOPED_TRACE(version);
        Bytes other;
        other.i32(version);
        other.b.insert(other.b.end(), k.image.b.begin() + 4, k.image.b.end());
        writeFile(dir + "/d.clj", other.b);
        DocumentData d(kInstant, kZone);
        const auto before = serializeDocument(d);
        std::string error;
        const LoadResult r = loadDocument(dir + "/d.clj", d, error);
        EXPECT_EQ(r.document, FileStatus::WrongVersion);
        EXPECT_EQ(r.versionFound, version);
        EXPECT_EQ(serializeDocument(d), before);
        EXPECT_NE(error.find(std::to_string(version) + " found"), std::string::npos) << error;
        EXPECT_NE(error.find("version 1020"), std::string::npos) << error;
        EXPECT_NE(error.find(dir + "/d.clj"), std::string::npos) << error;
    }
}

TEST(DocumentFile, EveryTruncationIsDamageAndChangesNothing) {
    const Known k = knownDocument();
    const auto& image = k.image.b;
    DocumentData d(kInstant, kZone);
    d.sights.Append(makeSight(9.0));
    const auto before = serializeDocument(d);
    for (size_t n = 1; n < image.size(); ++n) {
        int32_t version = 0;
        std::string error;
        const FileStatus s = parseDocument(image.data(), n, d, version, error);
        if (n < 4) {
            ASSERT_EQ(s, FileStatus::Damaged) << n;
            EXPECT_NE(error.find("byte offset 0"), std::string::npos) << error;
        } else if (s != FileStatus::Damaged) {
            ADD_FAILURE() << "truncation at " << n << " not reported";
        }
        ASSERT_EQ(serializeDocument(d), before) << "state changed by a load truncated at " << n;
        // The reported offset is where the failed read began: inside the last value, never past the cut.
        const auto at = error.find("byte offset ");
        ASSERT_NE(at, std::string::npos);
        EXPECT_LE(std::stoul(error.substr(at + 12)), n);
    }
}

TEST(DocumentFile, HostileSightCountsAndClassesAreDamage) {
    const Known k = knownDocument();
    // Offset of the list count: version, record A, record B, current sight.
    const size_t listAt = 4 + 136 + 88 + 348;
    struct Patch {
        size_t at;
        std::vector<uint8_t> bytes;
    };
    const Patch patches[] = {
        {listAt, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}},  // 2^31 sights claimed
        {listAt, {0x03, 0x00}},                          // one sight more than present
        {listAt + 8, {'X'}},                             // class "XMeasure"
    };
    for (const Patch& p : patches) {
        auto image = k.image.b;
        std::copy(p.bytes.begin(), p.bytes.end(), image.begin() + static_cast<long>(p.at));
        DocumentData d(kInstant, kZone);
        int32_t version = 0;
        std::string error;
        EXPECT_EQ(parseDocument(image.data(), image.size(), d, version, error), FileStatus::Damaged);
        EXPECT_EQ(d.sights.Count(), 0u);
    }
}

TEST(ColorFile, LayoutIsBlackWhiteRedWithFlagsAroundTheColours) {
    ColorSchemes s;
    s.white.colors[BackgroundSky] = rgb(1, 2, 3);
    s.white.secondFlag = 0;
    s.red.firstFlag = 7;
    Bytes e;
    e.i32(1050);
    for (const CColorScheme* c : {&s.black, &s.white, &s.red}) {
        e.i32(c->secondFlag);
        for (ColorKey key : {BackgroundNotSky, BackgroundSky}) e.i32(static_cast<int32_t>(c->colors[key]));
        for (int i = 2; i < kColorKeyCount; ++i)
            e.i32(static_cast<int32_t>(defaultColors(c->kind())[static_cast<size_t>(i)]));
        e.i32(c->firstFlag);
    }
    const auto image = serializeColorFile(s);
    ASSERT_EQ(image.size(), 4u + 3 * 144);
    EXPECT_EQ(image, e.b);
    EXPECT_EQ(image[4 + 144 + 8], 1);  // White's BackgroundSky, red byte first
    EXPECT_EQ(image[4 + 144 + 9], 2);

    ColorSchemes back;
    std::string error;
    ASSERT_EQ(parseColorFile(image.data(), image.size(), back, error), FileStatus::Ok);
    EXPECT_EQ(back.white.colors[BackgroundSky], rgb(1, 2, 3));
    EXPECT_EQ(back.white.secondFlag, 0);
    EXPECT_EQ(back.red.firstFlag, 7);
}

TEST(ColorFile, MissingOtherVersionOrDamagedResetsAllThree) {
    const std::string dir = test::makeTempDir();
    ColorSchemes edited;
    edited.black.colors[Stars] = edited.white.colors[Stars] = edited.red.colors[Stars] = rgb(9, 9, 9);
    auto image = serializeColorFile(edited);
    auto wrongVersion = image;
    wrongVersion[0] = 0x19;  // 1049
    struct Case {
        const char* name;
        std::vector<uint8_t> bytes;
        FileStatus status;
    };
    const Case cases[] = {
        {"wrong version", wrongVersion, FileStatus::WrongVersion},
        {"truncated", std::vector<uint8_t>(image.begin(), image.begin() + 200), FileStatus::Damaged},
        {"empty", {}, FileStatus::Damaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(dir + "/x.colors", c.bytes);
        ColorSchemes s = edited;
        std::string error;
        EXPECT_EQ(loadColorFile(dir + "/x.colors", s, error), c.status);
        EXPECT_EQ(s.black.colors[Stars], defaultColors(CColorScheme::Kind::Black)[Stars]);
        EXPECT_EQ(s.red.colors[Stars], defaultColors(CColorScheme::Kind::Red)[Stars]);
        EXPECT_EQ(s.white.colors[Stars], defaultColors(CColorScheme::Kind::White)[Stars]);
        EXPECT_EQ(error.rfind(dir + "/x.colors: ", 0), 0u) << error;
    }
    ColorSchemes s = edited;
    std::string error;
    EXPECT_EQ(loadColorFile(dir + "/none.colors", s, error), FileStatus::Missing);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(s.white.colors[Stars], defaultColors(CColorScheme::Kind::White)[Stars]);
}

TEST(DocumentFile, SaveAndLoadRoundTripAndSelectTheScheme) {
    const std::string dir = test::makeTempDir();
    const std::string path = dir + "/Celestra.clj";
    for (int32_t preset : {0, 1, 2, 7}) {
        SCOPED_TRACE(preset);
        Known k = knownDocument();
        k.data.drawState.colorPreset = preset;
        k.data.colorSchemes.red.colors[Telrad] = rgb(1, 1, 1);
        k.data.colorSchemes.black.colors[Telrad] = rgb(2, 2, 2);
        k.data.colorSchemes.white.colors[Telrad] = rgb(3, 3, 3);
        std::string error;
        ASSERT_TRUE(saveDocument(path, k.data, error)) << error;
        EXPECT_EQ(readFile(dir + "/Celestra.colors").size(), 436u);

        DocumentData d(0.0, 0.0);
        const LoadResult r = loadDocument(path, d, error);
        ASSERT_TRUE(r.ok()) << error;
        EXPECT_EQ(r.colors, FileStatus::Ok);
        const ColorRef expected = preset == 0 ? rgb(1, 1, 1) : preset == 2 ? rgb(3, 3, 3) : rgb(2, 2, 2);
        EXPECT_EQ(d.drawState.colorScheme.colors[Telrad], expected);
        EXPECT_EQ(d.drawState.colorPreset, preset == 7 ? 1 : preset);
        EXPECT_EQ(d.sights.Count(), 2u);
    }
}

TEST(DocumentFile, LoadWithoutColourFileResetsSchemesSilently) {
    const std::string dir = test::makeTempDir();
    Known k = knownDocument();
    writeFile(dir + "/a.clj", k.image.b);
    DocumentData d(0.0, 0.0);
    d.colorSchemes.white.colors[Stars] = 0;
    std::string error;
    const LoadResult r = loadDocument(dir + "/a.clj", d, error);
    ASSERT_TRUE(r.ok()) << error;
    EXPECT_EQ(r.colors, FileStatus::Missing);
    EXPECT_TRUE(r.colorError.empty());
    EXPECT_EQ(d.drawState.colorScheme.colors[BackgroundSky], rgb(255, 255, 255));  // preset 2: White
}

TEST(DocumentFile, AFailedSaveKeepsTheOldFile) {
    const std::string dir = test::makeTempDir();
    const std::string path = dir + "/Celestra.clj";
    Known k = knownDocument();
    std::string error;
    ASSERT_TRUE(saveDocument(path, k.data, error)) << error;
    const auto good = readFile(path);

    // A full disk: writes beyond 512 bytes fail with EFBIG.
    for (int i = 0; i < 30; ++i) k.data.sights.Append(makeSight(3.0 + i));
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = saveDocument(path, k.data, error);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_FALSE(saved);
    EXPECT_NE(error.find(path), std::string::npos) << error;
    EXPECT_EQ(readFile(path), good);
    // No temporary file is left behind: only the document and its colour file.
    int entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) entries += entry.is_regular_file();
    EXPECT_EQ(entries, 2);
}

}  // namespace
}  // namespace celestra
