#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>

#include "app/document.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

struct Files {
    std::string dir, doc, colors;
};

Files writeSample() {
    Files f;
    f.dir = test::makeTempDir();
    f.doc = f.dir + "/Sky.clj";
    f.colors = f.dir + "/Sky.colors";
    DocumentData d(2460000.25, 0.0);
    d.observer.latitude = 90.0;
    d.observer.temperature = -3.5;
    d.drawState.rotation = 47.9;
    d.drawState.field21 = 2;
    d.drawState.colorPreset = 0;
    CMeasure m(CObserverState(2460000.0, 0.0));
    m.bodyIndex = 11;
    m.active = 1;
    d.sights.Append(m);
    d.places[1] = {"Z\xC3\xBCrich", 47.375, 8.5};
    std::string error;
    EXPECT_TRUE(saveDocument(f.doc, d, error)) << error;
    return f;
}

void truncateFile(const std::string& path, size_t size) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes.substr(0, size);
}

double numberAfter(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return std::nan("");
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

TEST(DocCli, DumpsTheDocumentAsLoaded) {
    const Files f = writeSample();
    const auto json = test::runCli("doc dump '" + f.doc + "' --json");
    ASSERT_EQ(json.exitCode, 0) << json.err;
    // The first occurrence of each key: the drawing state, then the observer state.
    EXPECT_EQ(numberAfter(json.out, "lat_deg"), 90.0);
    EXPECT_EQ(numberAfter(json.out, "temperature_c"), -3.5);
    EXPECT_EQ(numberAfter(json.out, "instant_jd_utc"), 2460000.25);
    EXPECT_EQ(numberAfter(json.out, "rotation_deg"), 47.0);
    EXPECT_EQ(numberAfter(json.out, "field21"), 1.0);
    EXPECT_EQ(numberAfter(json.out, "field22"), -1.0);
    EXPECT_EQ(numberAfter(json.out, "body_index"), -1.0);  // the current sight
    EXPECT_EQ(numberAfter(json.out, "color_preset"), 0.0);
    for (const char* expected :
         {"\"body_index\":11", "\"name\":\"Z\xC3\xBCrich\"", "\"status\":\"ok\"", "\"BackgroundNotSky\":\"#3c0000\""})
        EXPECT_NE(json.out.find(expected), std::string::npos) << expected << "\n" << json.out.substr(0, 400);

    const auto text = test::runCli("doc dump '" + f.doc + "'");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("rotation_deg: 47\n"), std::string::npos);
    EXPECT_NE(text.out.find("sights (1):"), std::string::npos);
}

TEST(DocCli, DamageAndOtherVersionsExitWith4AndSayWhere) {
    Files f = writeSample();
    truncateFile(f.doc, 150);
    auto r = test::runCli("doc dump '" + f.doc + "'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find(f.doc + ": damaged at byte offset 144"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    std::ofstream(f.doc, std::ios::binary | std::ios::trunc).write("\xFB\x03\x00\x00", 4);  // 1019
    r = test::runCli("doc dump '" + f.doc + "' --json");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("version 1019 found; this program reads version 1020"), std::string::npos) << r.err;

    r = test::runCli("doc dump '" + f.dir + "/none.clj'");
    EXPECT_EQ(r.exitCode, 4);
}

TEST(DocCli, DamagedColourFileIsReportedAfterTheDump) {
    const Files f = writeSample();
    truncateFile(f.colors, 100);
    const auto r = test::runCli("doc dump '" + f.doc + "' --json");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.out.find("\"status\":\"damaged\""), std::string::npos);
    EXPECT_NE(r.err.find(f.colors + ": damaged at byte offset 100"), std::string::npos) << r.err;
}

TEST(DocCli, Usage) {
    EXPECT_EQ(test::runCli("doc").exitCode, 2);
    EXPECT_EQ(test::runCli("doc show x").exitCode, 2);
    EXPECT_EQ(test::runCli("doc dump a b").exitCode, 2);
    const auto help = test::runCli("doc --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("doc dump FILE [--json]"), std::string::npos);
}

}  // namespace
}  // namespace celestra
