// The one diagnostic channel of the engine. Diagnostics are for developers
// (the user sees messages through the UI or the CLI's own error lines): they
// go to stderr when the environment variable CELESTRA_DEBUG is set to a
// non-empty value other than "0", and to an installed sink otherwise (tests
// install one to check that a diagnostic was written).
#pragma once

#include <functional>
#include <string>

namespace celestra {

// printf-style; a trailing newline in the format is kept as it is.
void debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Replaces the sink (empty function: back to the default). Returns the old one.
using LogSink = std::function<void(const std::string& line)>;
LogSink setLogSink(LogSink sink);

}  // namespace celestra
