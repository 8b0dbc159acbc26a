#include "core/side_files.h"

#include <unistd.h>

#include <climits>
#include <mutex>

namespace celestra {

namespace {
std::mutex& overrideMutex() {
    static std::mutex m;
    return m;
}
std::string& overridePath() {
    static std::string p;
    return p;
}
}  // namespace

std::string executablePath() {
    {
        std::lock_guard<std::mutex> lock(overrideMutex());
        if (!overridePath().empty()) return overridePath();
    }
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlink("/proc/self/exe", buffer, PATH_MAX);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<size_t>(n));
}

void setExecutablePathOverride(const std::string& path) {
    std::lock_guard<std::mutex> lock(overrideMutex());
    overridePath() = path;
}

std::string replaceExtension(const std::string& path, const std::string& extension) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    return stem + "." + extension;
}

std::string sideFilePath(const std::string& extension) {
    const std::string exe = executablePath();
    if (exe.empty()) return {};
    return replaceExtension(exe, extension);
}

}  // namespace celestra
