// Opening the program's input files: one rule for every loader.
//
// A loader reads only a regular file. A directory, a FIFO, a socket or a
// device named like a data file is refused with a message saying what it
// is, and it is refused without blocking: a FIFO with no writer would hang
// open() and a device such as /dev/zero would never end a read. Whole-file
// reads are bounded by a size the caller states, checked before anything
// is allocated. Nothing here throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/status.h"

namespace celestra {

enum class InputFileStatus {
    Ok,
    Missing,     // no such file (or a folder on the way is missing)
    NotRegular,  // a directory, FIFO, socket or device
    TooLarge,    // larger than the caller's limit
    Unreadable,  // permissions, a symbolic-link loop, an I/O error
};

struct InputFileError {
    InputFileStatus status = InputFileStatus::Ok;
    std::string reason;  // "is a directory", "does not exist", ...: no path, the caller names the file
};

// Opens `path` read-only with O_NONBLOCK (so a FIFO or device never stalls
// the open), after checking with stat() that it is a regular file and again
// with fstat() on the descriptor (it may have been swapped meanwhile).
// maxBytes: the largest size accepted (0: no limit). Returns the descriptor
// (close-on-exec) and its size in `sizeBytes`, or -1 with `error` set.
int openRegularFile(const std::string& path, uint64_t maxBytes, InputFileError& error, uint64_t* sizeBytes = nullptr);

// Reads a whole regular file of at most maxBytes bytes. A file that shrinks
// while it is read gives what was there; one that grows gives the size
// fstat() reported.
InputFileStatus readRegularFile(const std::string& path, uint64_t maxBytes, std::vector<uint8_t>& bytes,
                                InputFileError& error);

// The engine's status of a failed open: Missing, IoError for permissions
// and I/O errors, Damaged for what is not a regular file of a sensible size.
Status statusOf(const InputFileError& error);

// "file PATH: REASON", the one form of the loaders' messages.
std::string inputFileMessage(const std::string& what, const std::string& path, const InputFileError& error);

// Text lines from a descriptor in constant memory: at most maxLine bytes of
// a line are kept. A line ends at LF; a CR before it is dropped. The last
// line counts without a line end. Blocking reads: for a regular file or a
// stream the caller chose to wait on (standard input).
class LineReader {
public:
    enum class Result {
        Line,     // `line` holds it
        TooLong,  // a line longer than maxLine: `line` holds its first maxLine bytes, the rest was skipped
        End,      // no more lines
        Error,    // a read error (errno kept in lastErrno())
    };
    LineReader(int fd, size_t maxLine);
    Result next(std::string& line);
    int lastErrno() const { return errno_; }

private:
    bool fill();

    int fd_;
    size_t maxLine_;
    std::vector<char> buffer_;
    size_t begin_ = 0, end_ = 0;
    bool eof_ = false;
    int errno_ = 0;
};

}  // namespace celestra
