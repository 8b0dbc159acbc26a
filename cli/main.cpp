// celestra-cli: the engine's computations from the command line.
// Results go to stdout, messages to stderr; exit codes are listed in cli.h.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "cli/cli.h"

namespace {

void printOverview(std::FILE* to) {
    std::fprintf(to,
                 "Usage: celestra-cli SUBCOMMAND [OPTIONS]\n"
                 "       celestra-cli SUBCOMMAND --help\n\n"
                 "Subcommands:\n");
    for (const auto& [name, command] : celestra::cli::commands())
        std::fprintf(to, "  %-12s %s\n", name.c_str(), command.summary.c_str());
    std::fprintf(to,
                 "\nCommon options: --json (machine-readable output), --help.\n"
                 "celestra-cli --version prints the version.\n"
                 "Exit codes: 0 success, 1 failure, 2 bad arguments, 3 instant outside the\n"
                 "ephemeris, 4 unreadable or damaged file, 5 device or network source failed.\n");
}

}  // namespace

int main(int argc, char** argv) {
    using namespace celestra::cli;
    std::vector<std::string> words(argv + 1, argv + argc);
    if (words.empty()) {
        printOverview(stderr);
        return exitCode(celestra::Status::BadArgument);
    }
    if (words[0] == "--help" || words[0] == "-h" || words[0] == "help") {
        printOverview(stdout);
        return kExitOk;
    }
    if (words[0] == "--version") {
        std::printf("celestra-cli %s\n", CELESTRA_VERSION);
        return kExitOk;
    }
    const auto& all = commands();
    auto it = all.find(words[0]);
    if (it == all.end()) {
        std::fprintf(stderr, "celestra-cli: unknown subcommand \"%s\" (see celestra-cli --help)\n", words[0].c_str());
        return exitCode(celestra::Status::BadArgument);
    }
    const Command& command = it->second;
    std::vector<std::string> rest(words.begin() + 1, words.end());
    for (const auto& w : rest) {
        if (w == "--help" || w == "-h") {
            std::fputs(command.usage.c_str(), stdout);
            if (command.usage.empty() || command.usage.back() != '\n') std::fputc('\n', stdout);
            return kExitOk;
        }
    }
    try {
        return command.run(rest);
    } catch (const CliError& e) {
        std::fprintf(stderr, "celestra-cli %s: %s\n", command.name.c_str(), e.message.c_str());
        return exitCode(e.status);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "celestra-cli %s: %s\n", command.name.c_str(), e.what());
        return exitCode(celestra::Status::Failed);
    }
}
