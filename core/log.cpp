#include "core/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "core/number_text.h"

namespace celestra {

namespace {
std::mutex& sinkMutex() {
    static std::mutex m;
    return m;
}
LogSink& sinkSlot() {
    static LogSink s;
    return s;
}
bool stderrEnabled() {
    static const bool enabled = [] {
        const char* v = std::getenv("CELESTRA_DEBUG");
        return v && *v && std::strcmp(v, "0") != 0;
    }();
    return enabled;
}
}  // namespace

void debugLog(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintfC(buffer, sizeof buffer, format, args);
    va_end(args);
    std::lock_guard<std::mutex> lock(sinkMutex());
    if (sinkSlot()) {
        sinkSlot()(buffer);
    } else if (stderrEnabled()) {
        std::fputs("celestra: ", stderr);
        std::fputs(buffer, stderr);
        const size_t n = std::strlen(buffer);
        if (n == 0 || buffer[n - 1] != '\n') std::fputc('\n', stderr);
    }
}

LogSink setLogSink(LogSink sink) {
    std::lock_guard<std::mutex> lock(sinkMutex());
    LogSink old = std::move(sinkSlot());
    sinkSlot() = std::move(sink);
    return old;
}

}  // namespace celestra
