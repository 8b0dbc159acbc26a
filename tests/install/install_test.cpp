// The programs as a user gets them: the README's run path (the built
// program in a fresh home without Documents, on the offscreen platform), an
// installation into a prefix made read-only, and the Debian package
// unpacked. The real executables run; the desktop program is ended with
// SIGTERM, as a session manager ends it.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

#include "tests/install/desktop_session.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace celestra {
namespace {

using test::ProcessResult;
using test::readFile;
using test::run;
using test::Session;
using test::shell;

using Clock = std::chrono::steady_clock;

bool onPath(const char* program) {
    const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// The desktop program from start to SIGTERM.
struct DesktopRun {
    std::string stderrText;
    bool ready = false;
    bool exited = false;
    int exitCode = -1;
    double secondsToExit = -1.0;
};

DesktopRun runDesktopUntilSigterm(const fs::path& program, const Session& session) {
    DesktopRun result;
    test::DesktopProcess desktop(program, session);
    result.ready = desktop.waitUntilReady();
    desktop.signal(SIGTERM);
    const auto sent = Clock::now();
    result.exited = desktop.waitForExit(10);
    result.secondsToExit = std::chrono::duration<double>(Clock::now() - sent).count();
    result.exitCode = desktop.exitCode();
    result.stderrText = desktop.stderrText();
    return result;
}

// Every file and folder below `root` (only its own entries unless
// `recursive`) with its type, size and modification time.
std::map<std::string, std::string> listing(const fs::path& root, bool recursive) {
    std::map<std::string, std::string> entries;
    auto add = [&](const fs::directory_entry& e) {
        const auto status = e.symlink_status();
        std::string what = std::to_string(static_cast<int>(status.type()));
        if (e.is_regular_file())
            what += " " + std::to_string(e.file_size()) + " " +
                    std::to_string(e.last_write_time().time_since_epoch().count());
        entries[fs::relative(e.path(), root).string()] = what;
    };
    if (recursive) {
        for (const auto& e : fs::recursive_directory_iterator(root)) add(e);
    } else {
        for (const auto& e : fs::directory_iterator(root)) add(e);
    }
    return entries;
}

// The end a user relies on: the data folder made whole in a home without
// Documents, the document and its colours saved on SIGTERM within 2 s,
// the process ended with 0, and the ephemeris found where it was expected
// (none for an empty path).
void expectStartsFindsAndSavesOnSigterm(const fs::path& program, const fs::path& ephemeris, const Session& session) {
    ASSERT_FALSE(fs::exists(session.home / "Documents"));
    const DesktopRun r = runDesktopUntilSigterm(program, session);
    ASSERT_TRUE(r.ready) << r.stderrText;
    EXPECT_NE(r.stderrText.find("ephemeris " + ephemeris.string() + "\n"), std::string::npos) << r.stderrText;
    ASSERT_TRUE(r.exited) << r.stderrText;
    EXPECT_EQ(r.exitCode, 0) << r.stderrText;
    EXPECT_LT(r.secondsToExit, 2.0);
    const fs::path data = session.home / "Documents" / "Celestra";
    const std::string document = readFile(data / "Celestra.clj");
    ASSERT_GE(document.size(), 4u) << "the document was not saved";
    EXPECT_EQ(document.substr(0, 4), std::string("\xFC\x03\x00\x00", 4));                            // version 1020
    EXPECT_EQ(readFile(data / "Celestra.colors").substr(0, 4), std::string("\x1A\x04\x00\x00", 4));  // 1050
}

const fs::path kBuildDir = CELESTRA_BUILD_DIR;
const std::string kVersion = CELESTRA_VERSION;

bool haveEphemeris(const fs::path& file) { return fs::is_regular_file(file); }

TEST(RunPath, TheBuiltProgramFindsItsDataWritesNothingBesideItselfAndSavesOnSigterm) {
    const fs::path program = CELESTRA_GUI_PATH;
    const fs::path ephemeris = kBuildDir / "share" / "celestra" / "celestra.405";
    if (!haveEphemeris(ephemeris)) GTEST_SKIP() << ephemeris << " was not built";
    Session session;
    const auto before = listing(program.parent_path(), false);
    expectStartsFindsAndSavesOnSigterm(program, ephemeris, session);
    EXPECT_EQ(listing(program.parent_path(), false), before) << "something was written beside the executable";

    const ProcessResult cli = run({CELESTRA_CLI_PATH, "ephemeris", "--json"}, session);
    EXPECT_EQ(cli.exitCode, 0) << cli.err;
    EXPECT_NE(cli.out.find("\"path\":\"" + ephemeris.string() + "\""), std::string::npos) << cli.out;
}

// The installed files a desktop and a shell need, and their validators
// where the machine has them.
void expectDesktopIntegration(const fs::path& share, const Session& session) {
    const std::string id = CELESTRA_APP_ID;
    const fs::path desktop = share / "applications" / (id + ".desktop");
    const fs::path metainfo = share / "metainfo" / (id + ".metainfo.xml");
    ASSERT_TRUE(fs::is_regular_file(desktop));
    ASSERT_TRUE(fs::is_regular_file(metainfo));
    EXPECT_TRUE(fs::is_regular_file(share / "icons" / "hicolor" / "scalable" / "apps" / (id + ".svg")));
    EXPECT_NE(readFile(desktop).find("\nIcon=" + id + "\n"), std::string::npos);
    for (const char* page : {"celestra.1.gz", "celestra-cli.1.gz"}) {
        const ProcessResult r = shell("gzip -dc '" + (share / "man" / "man1" / page).string() + "' | head -1", session);
        EXPECT_EQ(r.out.rfind(".TH CELESTRA", 0), 0u) << page << ": " << r.out << r.err;
    }
    if (onPath("desktop-file-validate")) {
        const ProcessResult r = run({"/usr/bin/desktop-file-validate", desktop.string()}, session);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
        EXPECT_EQ(r.out.find("error"), std::string::npos) << r.out;
    }
    if (onPath("appstreamcli")) {
        const ProcessResult r = run({"/usr/bin/appstreamcli", "validate", "--no-net", metainfo.string()}, session);
        EXPECT_EQ(r.exitCode, 0) << r.out << r.err;
    }
}

class Installed : public ::testing::Test {
protected:
    void SetUp() override {
        if (!haveEphemeris(kBuildDir / "share" / "celestra" / "celestra.405")) GTEST_SKIP() << "no ephemeris was built";
        prefix_ = session_.root / "prefix";
        const ProcessResult r =
            run({CELESTRA_CMAKE_COMMAND, "--install", kBuildDir.string(), "--prefix", prefix_.string()}, session_);
        ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
        // Read-only, as under /usr for a user. (Root may still write there;
        // the listing before and after tells.)
        for (const auto& e : fs::recursive_directory_iterator(prefix_))
            fs::permissions(e.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                            fs::perm_options::remove);
        fs::permissions(prefix_, fs::perms::owner_write, fs::perm_options::remove);
    }
    void TearDown() override {
        std::error_code ignored;
        for (const auto& e : fs::recursive_directory_iterator(session_.root, ignored))
            fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    Session session_;
    fs::path prefix_;
};

TEST_F(Installed, BothProgramsRunFromAReadOnlyPrefixAndLeaveItAsItWas) {
    const auto before = listing(prefix_, true);
    const fs::path ephemeris = prefix_ / "share" / "celestra" / "celestra.405";
    EXPECT_TRUE(fs::is_regular_file(prefix_ / "share" / "celestra" / "NOTICE.ephemeris"));
    EXPECT_TRUE(fs::is_regular_file(prefix_ / "share" / "celestra" / "celestra.405.sha256"));
    EXPECT_TRUE(fs::is_regular_file(prefix_ / "share" / "celestra" / "Celestra.clj"));
    EXPECT_TRUE(fs::is_regular_file(prefix_ / "share" / "celestra" / "translations" / "celestra_de.qm"));

    ProcessResult r = run({(prefix_ / "bin" / "celestra-cli").string(), "ephemeris", "--json"}, session_);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"path\":\"" + ephemeris.string() + "\""), std::string::npos) << r.out;
    r = run({(prefix_ / "bin" / "celestra-cli").string(), "--version"}, session_);
    EXPECT_EQ(r.out, "celestra-cli " + kVersion + "\n");
    // --help and --version need no display at all.
    Session noDisplay;
    noDisplay.set("QT_QPA_PLATFORM", "");
    noDisplay.set("DISPLAY", "");
    r = run({(prefix_ / "bin" / "celestra").string(), "--version"}, noDisplay);
    EXPECT_EQ(r.out, "celestra " + kVersion + "\n");
    r = run({(prefix_ / "bin" / "celestra").string(), "--help"}, noDisplay);
    EXPECT_EQ(r.out.rfind("Usage: celestra [FILE.clj]", 0), 0u) << r.out;
    r = run({(prefix_ / "bin" / "celestra").string(), "--bogus"}, session_);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("unknown option --bogus"), std::string::npos) << r.err;

    expectStartsFindsAndSavesOnSigterm(prefix_ / "bin" / "celestra", ephemeris, session_);
    EXPECT_EQ(listing(prefix_, true), before) << "the program wrote into its installation";
    expectDesktopIntegration(prefix_ / "share", session_);
}

TEST_F(Installed, AMissingEphemerisIsSaidWithoutHoldingUpTheEnd) {
    // The warning is open over the chart (and the first start's page) when
    // SIGTERM comes: the document is saved all the same and the program ends.
    const fs::path data = prefix_ / "share" / "celestra";
    fs::permissions(data, fs::perms::owner_write, fs::perm_options::add);
    fs::remove(data / "celestra.405");
    expectStartsFindsAndSavesOnSigterm(prefix_ / "bin" / "celestra", "", session_);
}

TEST_F(Installed, BashCompletionOffersTheInstalledProgramsSubcommandsAndOptions) {
    if (!fs::exists("/bin/bash")) GTEST_SKIP() << "no bash";
    const fs::path completion = prefix_ / "share" / "bash-completion" / "completions" / "celestra-cli";
    auto complete = [&](const std::string& words, int current) {
        const std::string script = "PATH='" + (prefix_ / "bin").string() + "':$PATH; . '" + completion.string() +
                                   "'; COMP_WORDS=(" + words + "); COMP_CWORD=" + std::to_string(current) +
                                   "; _celestra_cli; echo \"${COMPREPLY[*]}\"";
        return run({"/bin/bash", "-c", script}, session_).out;
    };
    EXPECT_EQ(complete("celestra-cli pl", 1), "place places plan\n");
    EXPECT_EQ(complete("celestra-cli --v", 1), "--version\n");
    EXPECT_EQ(complete("celestra-cli place --ge", 2), "--geocentric\n");
    EXPECT_EQ(complete("celestra-cli place --body Ma", 3), "Mars\n");
    EXPECT_EQ(complete("celestra-cli reduce --limb ''", 3), "lower upper\n");
}

TEST(DebianPackage, HoldsTheProgramsDataAndDependenciesAndRunsUnpacked) {
    if (!onPath("dpkg-deb") || !onPath("dpkg-shlibdeps")) GTEST_SKIP() << "dpkg-dev is not installed";
    if (!haveEphemeris(kBuildDir / "share" / "celestra" / "celestra.405")) GTEST_SKIP() << "no ephemeris was built";
    Session session;
    // dpkg-shlibdeps finds its tools on the PATH of the session.
    session.set("PATH", "/usr/local/bin:/usr/bin:/bin:/usr/sbin:/sbin");
    const fs::path out = session.root / "package";
    ProcessResult r = run({CELESTRA_CPACK_COMMAND, "-G", "DEB", "-B", out.string(), "--config",
                           (kBuildDir / "CPackConfig.cmake").string()},
                          session);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string arch = shell("dpkg --print-architecture", session).out;
    const fs::path deb = out / ("celestra_" + kVersion + "_" + arch.substr(0, arch.find('\n')) + ".deb");
    ASSERT_TRUE(fs::is_regular_file(deb)) << r.out;

    r = run({"/usr/bin/dpkg-deb", "-I", deb.string()}, session);
    EXPECT_NE(r.out.find("Package: celestra\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Version: " + kVersion + "\n"), std::string::npos) << r.out;
    const size_t depends = r.out.find(" Depends: ");
    ASSERT_NE(depends, std::string::npos) << r.out;
    const std::string dependencies = r.out.substr(depends, r.out.find('\n', depends) - depends);
    for (const char* package : {"libc6", "libstdc++6", "libqt6core6", "libqt6widgets6", "qt6-qpa-plugins"})
        EXPECT_NE(dependencies.find(package), std::string::npos) << package << " in" << dependencies;

    r = run({"/usr/bin/dpkg-deb", "-c", deb.string()}, session);
    for (const char* file :
         {"./usr/bin/celestra\n", "./usr/bin/celestra-cli\n", "./usr/share/celestra/celestra.405\n",
          "./usr/share/celestra/celestra.405.sha256\n", "./usr/share/celestra/NOTICE.ephemeris\n",
          "./usr/share/man/man1/celestra.1.gz\n", "./usr/share/celestra/translations/celestra_de.qm\n",
          "./usr/share/applications/" CELESTRA_APP_ID ".desktop\n"})
        EXPECT_NE(r.out.find(file), std::string::npos) << file;

    const fs::path root = session.root / "root";
    r = run({"/usr/bin/dpkg-deb", "-x", deb.string(), root.string()}, session);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    r = run({(root / "usr" / "bin" / "celestra-cli").string(), "ephemeris", "--json"}, session);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("\"path\":\"" + (root / "usr/share/celestra/celestra.405").string() + "\""), std::string::npos)
        << r.out;
    r = run({(root / "usr" / "bin" / "celestra").string(), "--version"}, session);
    EXPECT_EQ(r.out, "celestra " + kVersion + "\n") << r.err;
    expectDesktopIntegration(root / "usr" / "share", session);
}

}  // namespace
}  // namespace celestra
