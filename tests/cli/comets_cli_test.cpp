#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

double jsonNumber(const std::string& json, const std::string& key, std::size_t from = 0) {
    const size_t at = json.find("\"" + key + "\":", from);
    return at == std::string::npos ? NAN : std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

std::string cometLine(const std::string& elements, const std::string& name) {
    std::string line(160, ' ');
    line.replace(0, 5, "    C");
    line.replace(14, elements.size(), elements);
    line.replace(102, name.size(), name);
    return line;
}

// Halley (H 4.0) and a faint comet (H 11.5) on Halley's orbit, and one line of another orbit type.
const std::string kHalley = "1986 02  9.4589  0.587104  0.967187  111.8657   58.8601  162.2422  20250105   4.0  6.0";
const std::string kFaint = "1986 02  9.4589  0.587104  0.967187  111.8657   58.8601  162.2422  20250105  11.5  6.0";

class CometsCli : public ::testing::Test {
protected:
    void SetUp() override {
        CELESTRA_REQUIRE_FILE(path, test::builtEphemeris());
        ephemeris_ = " --ephemeris '" + path + "'";
        dir_ = test::makeTempDir();
        file_ = dir_ + "/comets.txt";
        std::string bad = cometLine(kHalley, "asteroid");
        bad[4] = 'A';
        std::ofstream(file_) << cometLine(kHalley, "1P/Halley") << "\n" << bad << "\r\n" << cometLine(kFaint, "faint");
    }
    void TearDown() override {
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    std::string ephemeris_, dir_, file_;
};

TEST_F(CometsCli, CountsAndTheSelectedCometsPlaceAsJson) {
    const auto r = runCli("comets --file '" + file_ + "' --utc 1986-04-11T00:00:00 --json" + ephemeris_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(jsonNumber(r.out, "accepted"), 2);  // the last line has no line end and still counts
    EXPECT_EQ(jsonNumber(r.out, "rejected"), 1);
    EXPECT_NE(r.out.find("\"name\":\"1P/Halley\""), std::string::npos);
    EXPECT_EQ(r.out.find("faint"), std::string::npos);  // H 11.5 is beyond the default limit 10
    // Closest approach of 1986: 0.417 AU, deep in the southern sky (Centaurus/Lupus).
    EXPECT_NEAR(jsonNumber(r.out, "delta_au"), 0.417, 0.002);
    EXPECT_NEAR(jsonNumber(r.out, "r_au"), 1.33, 0.01);
    EXPECT_NEAR(jsonNumber(r.out, "ra_hours"), 15.0, 0.3);
    EXPECT_NEAR(jsonNumber(r.out, "dec_deg"), -47.0, 1.0);
    const double m =
        4.0 + 5.0 * std::log10(jsonNumber(r.out, "delta_au")) + 15.0 * std::log10(jsonNumber(r.out, "r_au"));
    EXPECT_NEAR(jsonNumber(r.out, "magnitude"), m, 1e-9);
    EXPECT_TRUE(std::isnan(jsonNumber(r.out, "alt_deg")));  // geocentric: no horizon place
}

TEST_F(CometsCli, APlaceGivesTopocentricAltitudeAndAzimuth) {
    const std::string base = "comets --file '" + file_ + "' --utc 1986-04-11T00:00:00 --limit 12 --json" + ephemeris_;
    const auto geo = runCli(base);
    const auto topo = runCli(base + " --lat -33.9 --lon 18.4");
    ASSERT_EQ(topo.exitCode, 0) << topo.err;
    // Both comets are selected with limit 12; the faint one comes second.
    const std::size_t second = topo.out.find("\"name\":\"faint\"");
    ASSERT_NE(second, std::string::npos);
    // Cape Town at 2 h local time: Halley high in the south-east.
    const double alt = jsonNumber(topo.out, "alt_deg"), az = jsonNumber(topo.out, "az_deg");
    EXPECT_GT(alt, 30.0);
    EXPECT_GT(az, 90.0);
    EXPECT_LT(az, 200.0);
    // Parallax at 0.417 AU is up to 8.8"/0.417 = 21": the places differ, but by less than 25".
    const double dDec = (jsonNumber(topo.out, "dec_deg") - jsonNumber(geo.out, "dec_deg")) * 3600.0;
    EXPECT_GT(std::fabs(dDec), 0.5);
    EXPECT_LT(std::fabs(dDec), 25.0);
    // Δ and r are the geometric distances from the Earth's centre and the Sun either way.
    EXPECT_EQ(jsonNumber(topo.out, "delta_au"), jsonNumber(geo.out, "delta_au"));
    EXPECT_NEAR(jsonNumber(topo.out, "magnitude", second), jsonNumber(topo.out, "magnitude") + 7.5, 1e-12);
}

TEST_F(CometsCli, DataFolderFilesTextOutputAndErrors) {
    // The data folder below the documents folder, with no files: nothing accepted, nothing listed.
    const std::string docs = dir_ + "/Documents";
    std::filesystem::create_directories(docs + "/Celestra");
    ::setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
    auto r = runCli("comets --utc 2000-01-01T00:00:00" + ephemeris_);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("accepted: 0\nrejected: 0\n"), std::string::npos) << r.out;
    std::filesystem::copy_file(file_, docs + "/Celestra/Celestra.CometsUser.txt");
    r = runCli("comets --utc 1986-04-11T00:00:00 --lat -33.9 --lon 18.4" + ephemeris_);
    ::unsetenv("XDG_DOCUMENTS_DIR");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("accepted: 2\nrejected: 1\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("1P/Halley"), std::string::npos);
    EXPECT_NE(r.out.find("alt "), std::string::npos);

    EXPECT_EQ(runCli("comets --file '" + dir_ + "/none.txt'" + ephemeris_).exitCode, 4);
    EXPECT_EQ(runCli("comets --file '" + file_ + "' --lat 10" + ephemeris_).exitCode, 2);
    EXPECT_EQ(runCli("comets --file '" + file_ + "' --utc 1950-01-01T00:00:00" + ephemeris_).exitCode, 3);
}

}  // namespace
}  // namespace celestra
