// celestra-cli nmea [FILE|-] [--json]: decodes NMEA 0183 sentences line by line.
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "cli/cli.h"
#include "core/regular_file.h"
#include "gps/nmea0183.h"

namespace celestra::cli {
namespace {

// A sentence is at most 82 characters; a longer line is reported and skipped.
constexpr size_t kMaxNmeaLine = 1024;

int runNmea(const std::vector<std::string>& words) {
    const Args args(words, {}, {"json"});
    if (args.positional().size() > 1) usageError("give at most one input file");
    const std::string path = args.positional().empty() ? "-" : args.positional().front();

    // A named file must be a regular one (a device or FIFO would never end);
    // a stream is read from standard input. Either is read line by line, in
    // constant memory, whatever its size.
    int fd = STDIN_FILENO;
    if (path != "-") {
        InputFileError error;
        fd = openRegularFile(path, 0, error);
        if (fd < 0) fail(statusOf(error), inputFileMessage("NMEA file", path, error));
    }
    const bool json = args.flag("json");

    CNmea0183 parser;
    LineReader in(fd, kMaxNmeaLine);
    std::string line;
    LineReader::Result got;
    while ((got = in.next(line)) == LineReader::Result::Line || got == LineReader::Result::TooLong) {
        const bool tooLong = got == LineReader::Result::TooLong;
        const bool decoded = !tooLong && parser.Parse(line);
        const std::string error = tooLong ? "Line longer than 1024 characters" : parser.ErrorMessage();
        if (json) {
            Json j;
            j.beginObject();
            if (tooLong || parser.LastSentenceIDReceived().empty()) j.nullField("type");
            else j.field("type", parser.LastSentenceIDReceived());
            j.field("decoded", decoded);
            if (decoded) {
                j.nullField("error").field("talker", parser.TalkerID()).field("summary", parser.PlainText());
            } else {
                j.field("error", error).nullField("talker").nullField("summary");
            }
            j.endObject();
            std::printf("%s\n", j.str().c_str());
        } else if (decoded) {
            // ZDA and HDG have no summary of their own.
            std::printf("%s\n",
                        parser.PlainText().empty() ? parser.ErrorMessage().c_str() : parser.PlainText().c_str());
        } else {
            std::printf("%s\n", error.c_str());
        }
    }
    if (fd != STDIN_FILENO) ::close(fd);
    if (got == LineReader::Result::Error)
        fail(Status::IoError, "error while reading " + path + ": " + std::strerror(in.lastErrno()));
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"nmea", "decode NMEA 0183 sentences (GGA, GLL, RMC, ZDA, HDG, HDT)",
                             "Usage: celestra-cli nmea [FILE|-] [--json]\n"
                             "\n"
                             "Decodes every line of FILE (or standard input) as an NMEA 0183 sentence\n"
                             "and prints, per line, the English summary of a decoded sentence (\"No Error\"\n"
                             "for ZDA and HDG, which have none) or the reason it was not decoded:\n"
                             "\"Invalid Checksum\", \"Missing Checksum\" (RMC needs one), \"<TYPE> is an\n"
                             "unknown type of sentence\", \"Not an NMEA sentence\", \"Line longer than 1024\n"
                             "characters\". FILE must be a regular file (a stream comes on standard input);\n"
                             "input of any size is read in constant memory. GGA and GLL times are\n"
                             "taken to be of the UTC day that puts them nearest the system clock.\n"
                             "\n"
                             "  --json   one JSON object per input line with the keys type, decoded,\n"
                             "           error, talker and summary (null where not applicable)\n",
                             runNmea});

}  // namespace celestra::cli
