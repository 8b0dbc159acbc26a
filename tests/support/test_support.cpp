#include "tests/support/test_support.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace celestra::test {

namespace {
std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}
}  // namespace

DecimalCommaLocale::DecimalCommaLocale() {
    const char* now = std::setlocale(LC_NUMERIC, nullptr);
    previous_ = now ? now : "C";
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            active_ = true;
            return;
        }
    }
    std::setlocale(LC_NUMERIC, previous_.c_str());
}

DecimalCommaLocale::~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }

std::string testDataFile(const std::string& name) { return std::string(CELESTRA_SOURCE_DIR) + "/tests/data/" + name; }

std::string builtEphemeris() { return CELESTRA_BUILT_EPHEMERIS; }

bool fileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string sourceDir() { return CELESTRA_SOURCE_DIR; }

std::string makeTempDir() {
    std::string tmpl = "/tmp/celestra-test-XXXXXX";
    char* made = ::mkdtemp(tmpl.data());
    return made ? std::string(made) : std::string();
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
        saved_ = old;
        had_ = true;
    }
    if (value) ::setenv(name, value, 1);
    else ::unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (had_) ::setenv(name_.c_str(), saved_.c_str(), 1);
    else ::unsetenv(name_.c_str());
}

CommandResult runCli(const std::string& arguments, const std::string& stdinText) {
    return runCliWithin(0, arguments, stdinText);
}

CommandResult runCliWithin(int limitSeconds, const std::string& arguments, const std::string& stdinText) {
    CommandResult result;
    const std::string dir = makeTempDir();
    const std::string inPath = dir + "/in", outPath = dir + "/out", errPath = dir + "/err";
    {
        std::ofstream in(inPath, std::ios::binary);
        in << stdinText;
    }
    const std::string limit = limitSeconds > 0 ? "timeout -s KILL " + std::to_string(limitSeconds) + " " : "";
    const std::string command = limit + "'" + CELESTRA_CLI_PATH + "' " + arguments + " <'" + inPath + "' >'" + outPath +
                                "' 2>'" + errPath + "'";
    const int status = std::system(command.c_str());
    result.exitCode = (status != -1 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    result.out = readAll(outPath);
    result.err = readAll(errPath);
    std::remove(inPath.c_str());
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    ::rmdir(dir.c_str());
    return result;
}

}  // namespace celestra::test
