// The outcome of an engine computation, carried by every result that can
// fail for a reason a caller must tell apart. The command-line program turns
// it into its exit code in one place (cli/cli.cpp, exitCode); the GUI turns
// it into a message.
//
// The ephemeris reader keeps the integer codes its callers were written
// against (0 success, 1 bad argument, 2 no state); statusFromEphemerisCode
// below is where they become a Status.
#pragma once

namespace celestra {

enum class Status {
    Ok,
    BadArgument,       // a number outside its range (a body number, an origin), a non-finite instant
    OutsideEphemeris,  // no state for the instant: outside the file's range, no file open, or a damaged record
    Damaged,           // a file that is there but whose contents are not valid
    Missing,           // a file or an object that is not there
    IoError,           // reading or writing a file failed (permissions, an I/O error, a full disk)
    Device,            // a device or network source that failed or timed out
    Failed,            // anything else: the computation has no answer (no fix, no twilight)
};

// The reader's codes (0, 1, 2) and the same raised by 10 (bodyState's 11,
// 12): 1 is a bad argument, 2 no state for the instant. Any other non-zero
// code counts as Failed.
constexpr Status statusFromEphemerisCode(int code) {
    switch (code) {
        case 0: return Status::Ok;
        case 1:
        case 11: return Status::BadArgument;
        case 2:
        case 12: return Status::OutsideEphemeris;
        default: return Status::Failed;
    }
}

}  // namespace celestra
