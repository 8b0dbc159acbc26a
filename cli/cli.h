// The command-line program's framework: subcommand registry, option parsing,
// JSON output and the exit-code convention shared by every subcommand.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/status.h"

namespace celestra::cli {

// A subcommand that ran to its end returns kExitOk; every failure goes
// through fail() with the engine's status, and exitCode gives the number.
constexpr int kExitOk = 0;

// The exit code of a failure, the same for every subcommand: 1 any other
// failure (Failed), 2 bad arguments (BadArgument), 3 an instant outside the
// ephemeris (OutsideEphemeris), 4 a file that is missing, cannot be read or
// is damaged (Missing, IoError, Damaged), 5 a device or network source
// that failed or timed out (Device).
int exitCode(Status status);

// Thrown by option parsing and by subcommands; main() prints
// "celestra-cli SUBCOMMAND: message" and exits with exitCode(status).
struct CliError {
    Status status;
    std::string message;
};

[[noreturn]] void fail(Status status, const std::string& message);
[[noreturn]] void usageError(const std::string& message);

// Parsed command line of one subcommand: "--name value" options, "--flag"
// switches and positional arguments. Which names take a value is declared
// by the subcommand, so "--json" never swallows the next word.
class Args {
public:
    Args(std::vector<std::string> words, const std::vector<std::string>& valueOptions,
         const std::vector<std::string>& flagOptions);

    bool flag(const std::string& name) const;
    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    std::string require(const std::string& name) const;
    // Numeric value of an option; a text that is not a whole finite number is a usage error.
    std::optional<double> number(const std::string& name) const;
    double number(const std::string& name, double fallback) const;
    // The same, refusing a value outside [low, high] with "--NAME must lie
    // between LOW and HIGH".
    double number(const std::string& name, double fallback, double low, double high) const;
    std::optional<long> integer(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }

private:
    std::map<std::string, std::string> values_;
    std::map<std::string, bool> flags_;
    std::vector<std::string> positional_;
};

// Parses a whole decimal number (no trailing text, finite); nullopt otherwise.
std::optional<double> parseNumber(const std::string& text);

// Minimal JSON writer producing one document; numbers are written with
// enough digits to round-trip, non-finite numbers as null.
class Json {
public:
    Json& beginObject();
    Json& endObject();
    Json& beginArray();
    Json& endArray();
    Json& key(const std::string& k);
    Json& value(const std::string& v);
    Json& value(const char* v);
    Json& value(double v);
    Json& value(int v);
    Json& value(long v);
    Json& value(long long v);
    Json& value(bool v);
    Json& null();
    template <class T>
    Json& field(const std::string& k, const T& v) {
        key(k);
        return value(v);
    }
    Json& nullField(const std::string& k) {
        key(k);
        return null();
    }
    const std::string& str() const { return out_; }

private:
    void separator();
    std::string out_;
    std::vector<bool> first_;
    bool afterKey_ = false;
};

std::string jsonEscape(const std::string& s);

struct Command {
    std::string name;
    std::string summary;  // one line for the overall --help
    std::string usage;    // full text for "SUBCOMMAND --help"
    std::function<int(const std::vector<std::string>& args)> run;
};

// Registers a subcommand; used through CELESTRA_CLI_COMMAND in each cmd_*.cpp.
bool registerCommand(Command command);
const std::map<std::string, Command>& commands();

}  // namespace celestra::cli

#define CELESTRA_CLI_CONCAT2(a, b) a##b
#define CELESTRA_CLI_CONCAT(a, b) CELESTRA_CLI_CONCAT2(a, b)
#define CELESTRA_CLI_COMMAND(...)                                             \
    static const bool CELESTRA_CLI_CONCAT(celestraCliRegistered_, __LINE__) = \
        ::celestra::cli::registerCommand(__VA_ARGS__)
