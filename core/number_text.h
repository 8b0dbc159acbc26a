// Numbers as text, the same whatever locale the process runs in.
//
// A desktop toolkit sets the C library's locale from the environment at
// start, and in a German or French desktop LC_NUMERIC then writes and reads
// "12,5": printf's "%.2f", strtod and sscanf follow it. Every number the
// engine writes or reads goes through these instead, so its texts (angles,
// times, results, files) keep the decimal point everywhere.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace celestra {

// snprintf in the "C" locale. Only the calling thread switches locale (POSIX
// uselocale) and only for the call, so other threads are never affected.
int snprintfC(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
int vsnprintfC(char* buffer, std::size_t size, const char* format, va_list args);
// The same into a string (any length).
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A whole text as one finite decimal number: blanks around it, an optional
// sign, digits with at most one '.', an optional exponent ("1e-5"); nothing
// else ("12,5", "12.5.3", "12x", "0x1p3", "inf" and "" give nullopt).
std::optional<double> parseDecimal(std::string_view text);

// The shortest text that reads back as exactly `value` ("0.001", "36.94",
// "1e+20"), for numbers written to files; a non-finite value gives "nan"
// or "inf".
std::string formatShortest(double value);

}  // namespace celestra
