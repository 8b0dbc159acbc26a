// The programs as a user gets them: the README's run path (the built
// program in a fresh home without Documents, on the offscreen platform), an
// installation into a prefix made read-only, and the Debian package
// unpacked. The real executables run; the desktop program is ended with
// SIGTERM, as a session manager ends it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace celestra {
namespace {

using Clock = std::chrono::steady_clock;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool onPath(const char* program) {
    const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// What a user's session gives the program: a home of its own (no
// Documents), a runtime folder, no display, and no system-wide data folders
// that could hold another copy of the data.
struct Session {
    fs::path root = test::makeTempDir();
    fs::path home = root / "home";
    std::vector<std::string> environment;

    Session() {
        fs::create_directories(home);
        fs::create_directories(root / "runtime");
        fs::permissions(root / "runtime", fs::perms::owner_all);
        fs::create_directories(root / "no-data-dirs");
        environment = {"HOME=" + home.string(),
                       "PATH=/usr/bin:/bin",
                       "LANG=C.UTF-8",
                       "XDG_RUNTIME_DIR=" + (root / "runtime").string(),
                       "XDG_DATA_DIRS=" + (root / "no-data-dirs").string(),
                       "QT_QPA_PLATFORM=offscreen",
                       "CELESTRA_DEBUG=1"};
    }
    // Sets NAME=value in the environment, or takes NAME out for an empty value.
    void set(const std::string& name, const std::string& value) {
        std::erase_if(environment, [&](const std::string& e) { return e.rfind(name + "=", 0) == 0; });
        if (!value.empty()) environment.push_back(name + "=" + value);
    }
    ~Session() {
        std::error_code ignored;
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(root, ignored);
    }
};

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& environment, int outFd, int errFd) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    ::dup2(outFd, 1);
    ::dup2(errFd, 2);
    std::vector<char*> args, env;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
    args.push_back(nullptr);
    env.push_back(nullptr);
    ::execve(args[0], args.data(), env.data());
    ::_exit(127);
}

// Runs a program to its end, its output in files (no pipe can fill up).
ProcessResult run(const std::vector<std::string>& argv, const Session& session) {
    const fs::path out = session.root / "out", err = session.root / "err";
    const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int errFd = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t pid = spawn(argv, session.environment, outFd, errFd);
    ::close(outFd);
    ::close(errFd);
    ProcessResult r;
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
    r.out = readFile(out);
    r.err = readFile(err);
    return r;
}

ProcessResult shell(const std::string& command, const Session& session) { return run({"/bin/sh", "-c", command}, session); }

// The desktop program from start to SIGTERM. It is ready once it says so
// on stderr ("Running: document D, ephemeris E", with CELESTRA_DEBUG set):
// its handler is installed and its window is up.
struct DesktopRun {
    std::string stderrText;
    bool ready = false;
    bool exited = false;
    int exitCode = -1;
    double secondsToExit = -1.0;
};

DesktopRun runDesktopUntilSigterm(const fs::path& program, const Session& session) {
    DesktopRun result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    const int devNull = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    const pid_t pid = spawn({program.string()}, session.environment, devNull, pipeFds[1]);
    ::close(devNull);
    ::close(pipeFds[1]);
    if (pid < 0) return result;

    // Reading stderr until the ready line; the program's start may take a
    // while on a loaded machine, so the limit is generous.
    const auto startLimit = Clock::now() + std::chrono::seconds(60);
    char buffer[4096];
    while (!result.ready && Clock::now() < startLimit) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (::poll(&p, 1, 1000) <= 0) continue;
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;  // it ended before it was ready
        result.stderrText.append(buffer, static_cast<size_t>(n));
        result.ready = result.stderrText.find("Running: ") != std::string::npos;
    }

    ::kill(pid, SIGTERM);
    const auto sent = Clock::now();
    // The exit as an event: a pidfd is readable once the process has ended.
    const int pidFd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    int status = 0;
    if (pidFd >= 0) {
        pollfd p{pidFd, POLLIN, 0};
        if (::poll(&p, 1, 10000) == 1) result.exited = ::waitpid(pid, &status, 0) == pid;
        ::close(pidFd);
    } else {
        result.exited = ::waitpid(pid, &status, 0) == pid;  // no pidfd: wait, and let the time tell
    }
    result.secondsToExit = std::chrono::duration<double>(Clock::now() - sent).count();
    if (!result.exited) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    if (result.exited && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
    while (true) {
        const ssize_t n = ::read(pipeFds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.stderrText.append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
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
    EXPECT_EQ(document.substr(0, 4), std::string("\xFC\x03\x00\x00", 4));  // version 1020
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
        const ProcessResult r = run({CELESTRA_CMAKE_COMMAND, "--install", kBuildDir.string(), "--prefix", prefix_.string()},
                          session_);
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
    for (const char* file : {"./usr/bin/celestra\n", "./usr/bin/celestra-cli\n", "./usr/share/celestra/celestra.405\n",
                             "./usr/share/celestra/celestra.405.sha256\n",
                             "./usr/share/celestra/NOTICE.ephemeris\n", "./usr/share/man/man1/celestra.1.gz\n",
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
