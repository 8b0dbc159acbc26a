#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using celestra::test::runCli;

TEST(EphemerisCommand, DescribesTheGivenFile) {
    CELESTRA_REQUIRE_SHARED_FILE(path, "ephemeris/de405_1999-2040.bin");
    const auto r = runCli("ephemeris --json --ephemeris '" + path + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"path\":\"" + path + "\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"layout\":\"standard\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"de_number\":405"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"start_jd\":2451536.5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"end_jd\":2466160.5"), std::string::npos) << r.out;

    const auto text = runCli("ephemeris --ephemeris '" + path + "'");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("layout:     standard"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("JD 2451536.5"), std::string::npos) << text.out;
}

TEST(EphemerisCommand, FindsTheBuiltDefaultBesideTheProgram) {
    std::string cli = CELESTRA_CLI_PATH;
    const std::string beside = cli.substr(0, cli.find_last_of('/')) + "/celestra.405";
    struct stat st {};
    if (::stat(beside.c_str(), &st) != 0) GTEST_SKIP() << beside << " was not built; skipping";
    const auto r = runCli("ephemeris --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    // The side file (celestra-cli.405) would come first; the build does not make one.
    EXPECT_NE(r.out.find("\"path\":\"" + beside + "\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"start_jd\":2436912.5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"end_jd\":2473488.5"), std::string::npos) << r.out;
}

TEST(EphemerisCommand, MissingOrDamagedFileExitsWithFour) {
    const std::string dir = celestra::test::makeTempDir();
    auto r = runCli("ephemeris --ephemeris '" + dir + "/absent.405'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find(dir + "/absent.405 does not exist"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    CELESTRA_REQUIRE_SHARED_FILE(path, "ephemeris/de405_1999-2040.bin");
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    bytes.resize(bytes.size() / 2);
    const std::string cut = dir + "/cut.405";
    std::ofstream(cut, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    r = runCli("ephemeris --json --ephemeris '" + cut + "'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find(cut), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("truncated"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    r = runCli("ephemeris extra");
    EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
