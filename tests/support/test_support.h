// Helpers shared by the test programs: where the reference data lives, and
// running the command-line program.
#pragma once

#include <string>

namespace celestra::test {

// Folder of the verified reference data (JPL excerpts, nutation series, leap
// seconds, ΔT) beside the repository, or "" when it is not there.
std::string sharedDataDir();

// Full path of a reference file, or "" when the file is absent. Tests that
// need it call GTEST_SKIP() with a message naming the file.
std::string sharedDataFile(const std::string& relativePath);

// Root of the source tree.
std::string sourceDir();

// A fresh temporary folder, removed by the caller (or left in /tmp).
std::string makeTempDir();

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

#define CELESTRA_REQUIRE_DECIMAL_COMMA(var)                                       \
    ::celestra::test::DecimalCommaLocale var;                                     \
    if (!var.active()) GTEST_SKIP() << "neither de_DE.UTF-8 nor fr_FR.UTF-8 is generated here; skipping"

#define CELESTRA_REQUIRE_SHARED_FILE(var, rel)                                   \
    const std::string var = ::celestra::test::sharedDataFile(rel);               \
    if (var.empty()) GTEST_SKIP() << "reference file ../shared/data/" << rel     \
                                  << " is absent; skipping"
