// celestra-cli nmea [FILE|-] [--json]: decodes NMEA 0183 sentences line by line.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "cli/cli.h"
#include "gps/nmea0183.h"

namespace celestra::cli {
namespace {

int runNmea(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    if (args.positional().size() > 1) usageError("give at most one input file");
    const std::string path = args.positional().empty() ? "-" : args.positional().front();

    std::ifstream file;
    if (path != "-") {
        file.open(path, std::ios::binary);
        if (!file) fail(kExitBadFile, "cannot read " + path);
    }
    std::istream& in = path == "-" ? std::cin : file;
    const bool json = args.flag("json");

    CNmea0183 parser;
    std::string line;
    while (std::getline(in, line)) {
        const bool decoded = parser.Parse(line);
        if (json) {
            Json j;
            j.beginObject();
            if (parser.LastSentenceIDReceived().empty())
                j.nullField("type");
            else
                j.field("type", parser.LastSentenceIDReceived());
            j.field("decoded", decoded);
            if (decoded) {
                j.nullField("error").field("talker", parser.TalkerID()).field("summary", parser.PlainText());
            } else {
                j.field("error", parser.ErrorMessage()).nullField("talker").nullField("summary");
            }
            j.endObject();
            std::printf("%s\n", j.str().c_str());
        } else if (decoded) {
            // ZDA and HDG have no summary of their own.
            std::printf("%s\n", parser.PlainText().empty() ? parser.ErrorMessage().c_str() : parser.PlainText().c_str());
        } else {
            std::printf("%s\n", parser.ErrorMessage().c_str());
        }
    }
    if (in.bad()) fail(kExitBadFile, "error while reading " + path);
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{
    "nmea",
    "decode NMEA 0183 sentences (GGA, GLL, RMC, ZDA, HDG, HDT)",
    "Usage: celestra-cli nmea [FILE|-] [--json]\n"
    "\n"
    "Decodes every line of FILE (or standard input) as an NMEA 0183 sentence\n"
    "and prints, per line, the English summary of a decoded sentence (\"No Error\"\n"
    "for ZDA and HDG, which have none) or the reason it was not decoded:\n"
    "\"Invalid Checksum\", \"Missing Checksum\" (RMC needs one), \"<TYPE> is an\n"
    "unknown type of sentence\", \"Not an NMEA sentence\". GGA and GLL times are\n"
    "taken to be of the UTC day that puts them nearest the system clock.\n"
    "\n"
    "  --json   one JSON object per input line with the keys type, decoded,\n"
    "           error, talker and summary (null where not applicable)\n",
    runNmea});

}  // namespace celestra::cli
