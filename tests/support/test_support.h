// Helpers shared by the test programs: where the reference data and the
// built ephemeris live, and running the command-line program.
#pragma once

#include <string>

namespace celestra::test {

// Full path of a reference file under tests/data (see its README.md).
std::string testDataFile(const std::string& name);

// The default ephemeris the build wrote (JPL DE405, 1959-12-10 to
// 2060-01-30): build/share/celestra/celestra.405.
std::string builtEphemeris();

// Whether a path names an existing file.
bool fileExists(const std::string& path);

// Root of the source tree.
std::string sourceDir();

// A fresh temporary folder, removed by the caller (or left in /tmp).
std::string makeTempDir();

// Sets an environment variable (unsets it for nullptr) until the end of the
// scope, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ScopedEnv(const char* name, const std::string& value) : ScopedEnv(name, value.c_str()) {}
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::string saved_;
    bool had_ = false;
};

struct CommandResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs celestra-cli with the given arguments (already shell-quoted by the
// caller where needed) and captures stdout, stderr and the exit code.
CommandResult runCli(const std::string& arguments, const std::string& stdinText = "");
// The same, killed after `limitSeconds` (exit code 137): a test of input
// that once kept the program running without end fails instead of hanging.
CommandResult runCliWithin(int limitSeconds, const std::string& arguments, const std::string& stdinText = "");

// Switches LC_NUMERIC to a locale that writes "12,5" (de_DE.UTF-8, else
// fr_FR.UTF-8) for its lifetime, as a desktop toolkit does at start, and
// restores the previous one. active() is false when neither locale is
// generated on this machine (CI generates both).
class DecimalCommaLocale {
public:
    DecimalCommaLocale();
    ~DecimalCommaLocale();
    DecimalCommaLocale(const DecimalCommaLocale&) = delete;
    DecimalCommaLocale& operator=(const DecimalCommaLocale&) = delete;
    bool active() const { return active_; }

private:
    std::string previous_;
    bool active_ = false;
};

}  // namespace celestra::test

#define CELESTRA_REQUIRE_DECIMAL_COMMA(var)   \
    ::celestra::test::DecimalCommaLocale var; \
    if (!var.active()) GTEST_SKIP() << "neither de_DE.UTF-8 nor fr_FR.UTF-8 is generated here; skipping"

// Declares `var` as the path `path` and fails the test (never skips it) when
// no file is there: the data belong to the repository or to the build.
#define CELESTRA_REQUIRE_FILE(var, path) \
    const std::string var = (path);      \
    ASSERT_TRUE(::celestra::test::fileExists(var)) << var << " is missing"
