// Side files "beside the executable": the executable's full path with its
// extension (if any) replaced, e.g. /usr/bin/celestra -> /usr/bin/celestra.405.
#pragma once

#include <string>

namespace celestra {

// Full path of the running executable (/proc/self/exe), or "" if unknown.
std::string executablePath();

// Overrides the path used for side files (tests, and --ephemeris style
// options that relocate the program's data). An empty string restores the
// real executable path.
void setExecutablePathOverride(const std::string& path);

// `executablePath()` with its extension replaced by `extension` (given
// without the dot): "405", "40C", "DeltaT", "LeapSeconds", "clj".
// A dot in a folder name is not an extension.
std::string sideFilePath(const std::string& extension);

// Pure form of the rule, for any path.
std::string replaceExtension(const std::string& path, const std::string& extension);

}  // namespace celestra
