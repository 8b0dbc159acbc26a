#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/test_support.h"

namespace {

using celestra::test::runCli;

TEST(EphemerisCommand, DescribesTheGivenFile) {
    CELESTRA_REQUIRE_FILE(path, celestra::test::builtEphemeris());
    const auto r = runCli("ephemeris --json --ephemeris '" + path + "'");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"path\":\"" + path + "\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"layout\":\"standard\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"de_number\":405"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"start_jd\":2436912.5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"end_jd\":2473488.5"), std::string::npos) << r.out;

    const auto text = runCli("ephemeris --ephemeris '" + path + "'");
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("layout:     standard"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("JD 2436912.5"), std::string::npos) << text.out;
}

TEST(EphemerisCommand, FindsTheBuiltDefaultInTheBuildTreesShareFolder) {
    // build/cli/celestra-cli reads build/share/celestra, as an installed
    // bin/celestra-cli reads share/celestra.
    std::string cli = CELESTRA_CLI_PATH;
    const std::string build = cli.substr(0, cli.find_last_of('/', cli.find_last_of('/') - 1));
    const std::string shipped = build + "/share/celestra/celestra.405";
    ASSERT_TRUE(celestra::test::fileExists(shipped)) << shipped << " was not built";
    const auto r = runCli("ephemeris --json");
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"path\":\"" + shipped + "\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"start_jd\":2436912.5"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"end_jd\":2473488.5"), std::string::npos) << r.out;
}

TEST(EphemerisCommand, ANaNInARecordIsADamagedFileNotAnInstantOutside) {
    const std::string built = celestra::test::builtEphemeris();
    std::ifstream in(built, std::ios::binary);
    ASSERT_TRUE(in) << built << " was not built";
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // 2024-03-20 lies in record 735 (32-day records from JD 2436912.5, the
    // first data record being the file's third).
    const double nan = std::nan("");
    std::memcpy(bytes.data() + 735 * 8144 + 8 * 100, &nan, 8);
    const std::string dir = celestra::test::makeTempDir();
    const std::string damaged = dir + "/nan.405";
    std::ofstream(damaged, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    const std::string site = " --lat 0 --lon 0 --ephemeris '" + damaged + "'";
    auto r = runCli("place --body Mars --utc 2024-03-20T12:00:00" + site);
    EXPECT_EQ(r.exitCode, 4) << r.err;
    EXPECT_NE(r.err.find("ephemeris file " + damaged + ": record 735 (JD 2460368.5 to 2460400.5) holds a non-finite"),
              std::string::npos)
        << r.err;
    r = runCli("place --body Mars --utc 1950-01-01T00:00:00" + site);
    EXPECT_EQ(r.exitCode, 3) << r.err;  // truly outside: still 3
    r = runCli("place --body Mars --utc 2000-01-01T00:00:00" + site);
    EXPECT_EQ(r.exitCode, 0) << r.err;  // other records serve as before
    std::remove(damaged.c_str());
    ::rmdir(dir.c_str());
}

TEST(EphemerisCommand, MissingOrDamagedFileExitsWithFour) {
    const std::string dir = celestra::test::makeTempDir();
    auto r = runCli("ephemeris --ephemeris '" + dir + "/absent.405'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_NE(r.err.find("ephemeris file " + dir + "/absent.405 does not exist"), std::string::npos) << r.err;
    EXPECT_TRUE(r.out.empty());

    CELESTRA_REQUIRE_FILE(path, celestra::test::builtEphemeris());
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
