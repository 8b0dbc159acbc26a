// Running the real programs as a user's session would: a home of its own,
// no display, the programs' output in files or read as it comes. Shared by
// the tests of the installed programs and of two programs on one document.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace celestra::test {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path);

// What a user's session gives the program: a home of its own (no
// Documents), a runtime folder, no display, and no system-wide data folders
// that could hold another copy of the data.
struct Session {
    fs::path root;
    fs::path home;
    std::vector<std::string> environment;

    Session();
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    // Sets NAME=value in the environment, or takes NAME out for an empty value.
    void set(const std::string& name, const std::string& value);
};

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs a program to its end, its output in files (no pipe can fill up).
ProcessResult run(const std::vector<std::string>& argv, const Session& session);
ProcessResult shell(const std::string& command, const Session& session);

// The desktop program running, its stderr read as it comes. It is ready
// once it says so ("Running: document D, ephemeris E", with CELESTRA_DEBUG
// set): its signal handler is installed and its window is up. Killed with
// SIGKILL when still running at the end of the object.
class DesktopProcess {
public:
    DesktopProcess(const fs::path& program, const Session& session, const std::vector<std::string>& arguments = {});
    ~DesktopProcess();
    DesktopProcess(const DesktopProcess&) = delete;
    DesktopProcess& operator=(const DesktopProcess&) = delete;

    // Reads stderr until it holds `text` (true), the program ends or
    // `seconds` pass. The limits are generous: a loaded machine starts slowly.
    bool waitFor(const std::string& text, int seconds = 60);
    bool waitUntilReady() { return waitFor("Running: "); }
    void signal(int number);
    // Waits for the end as an event (a pidfd), at most `seconds`; true when it ended.
    bool waitForExit(int seconds = 10);
    // The exit code after a normal end, else -1.
    int exitCode() const { return exitCode_; }
    // What it wrote to stderr so far (all of it once it has ended).
    const std::string& stderrText() const { return stderr_; }
    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int stderrFd_ = -1;
    bool ended_ = false;
    int exitCode_ = -1;
    std::string stderr_;
};

}  // namespace celestra::test
