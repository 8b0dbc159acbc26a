#include "app/document_guard.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/log.h"
#include "core/time_scales.h"

namespace celestra {

bool isKeptAsItIs(FileStatus status) {
    return status == FileStatus::WrongVersion || status == FileStatus::Damaged || status == FileStatus::Unreadable;
}

SaveOutcome saveDocumentWithin(const WriteAccess& access, const std::string& path, const std::string& colorsPath,
                               const DocumentData& data, std::string& error) {
    if (access.readOnly) {
        error = path + " is open in another Celestra";
        return SaveOutcome::NotAllowed;
    }
    if (access.keepDocument) {
        error = path + " could not be read and is kept as it is";
        return SaveOutcome::NotAllowed;
    }
    const bool saved = access.keepColors ? writeFileAtomically(path, serializeDocument(data), error)
                                         : saveDocument(path, colorsPath, data, error);
    return saved ? SaveOutcome::Saved : SaveOutcome::Failed;
}

namespace {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool isAsciiAlnum(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// NAME + "." + exactly six letters or digits.
bool isTemporaryOf(const std::string& entry, const std::string& name) {
    if (entry.size() != name.size() + 7 || entry.compare(0, name.size(), name) != 0 || entry[name.size()] != '.')
        return false;
    for (size_t i = name.size() + 1; i < entry.size(); ++i)
        if (!isAsciiAlnum(entry[i])) return false;
    return true;
}

pid_t readHolder(int fd) {
    char text[32] = {};
    const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
    if (n <= 0) return 0;
    const long pid = std::strtol(text, nullptr, 10);
    return pid > 0 ? static_cast<pid_t>(pid) : 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// The lock

DocumentLock::~DocumentLock() { release(); }

DocumentLock::DocumentLock(DocumentLock&& other) noexcept : fd_(other.fd_), holder_(other.holder_) { other.fd_ = -1; }

DocumentLock& DocumentLock::operator=(DocumentLock&& other) noexcept {
    if (this != &other) {
        release();
        fd_ = other.fd_;
        holder_ = other.holder_;
        other.fd_ = -1;
    }
    return *this;
}

std::string DocumentLock::lockPathFor(const std::string& documentPath) {
    const std::string folder = folderOf(documentPath);
    return (folder == "/" ? std::string() : folder) + "/." + nameOf(documentPath) + ".lock";
}

DocumentLock::Result DocumentLock::acquire(const std::string& documentPath) {
    release();
    holder_ = 0;
    const std::string lockPath = lockPathFor(documentPath);
    // Close-on-exec: a child started later (a browser, a helper) must not
    // inherit the open file and with it keep the lock alive after we end.
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
        debugLog("DocumentLock: %s: %s\n", lockPath.c_str(), std::strerror(errno));
        return Result::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        if (held) holder_ = readHolder(fd);
        else debugLog("DocumentLock: %s: %s\n", lockPath.c_str(), std::strerror(errno));
        ::close(fd);
        return held ? Result::HeldElsewhere : Result::Unavailable;
    }
    // Ours: say who holds it, for the message another program shows.
    const std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) != static_cast<ssize_t>(pid.size()))
        debugLog("DocumentLock: %s: the holder could not be written\n", lockPath.c_str());
    fd_ = fd;
    holder_ = ::getpid();
    return Result::Owned;
}

void DocumentLock::release() {
    if (fd_ < 0) return;
    ::close(fd_);  // drops the flock
    fd_ = -1;
}

// ---------------------------------------------------------------------------
// Stale temporaries

int removeStaleTemporaries(const std::string& path) {
    const std::string folder = folderOf(path);
    const std::string name = nameOf(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    const int dirFd = ::dirfd(dir);
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (!isTemporaryOf(e->d_name, name)) continue;
        // lstat: a link or a folder that happens to carry such a name is not ours.
        struct stat st {};
        if (::fstatat(dirFd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
        if (::unlinkat(dirFd, e->d_name, 0) == 0) {
            ++removed;
            debugLog("Removed %s/%s, left by an interrupted save\n", folder.c_str(), e->d_name);
        }
    }
    ::closedir(dir);
    return removed;
}

// ---------------------------------------------------------------------------
// Moving aside

std::string localDateText() {
    const CalendarDate d = calendarFromJulianDay(currentJulianDayUtc() + platformZoneOffset().offsetDays);
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string unreadableName(const std::string& path, const std::string& date) {
    const std::string base = path + ".unreadable-" + date;
    struct stat st {};
    if (::lstat(base.c_str(), &st) != 0) return base;
    for (int n = 2;; ++n) {
        const std::string candidate = base + "-" + std::to_string(n);
        if (::lstat(candidate.c_str(), &st) != 0) return candidate;
    }
}

std::string moveAside(const std::string& path, const std::string& date, std::string& error) {
    // A name taken between the look and the move is tried again, a few times.
    for (int attempt = 0; attempt < 8; ++attempt) {
        const std::string target = unreadableName(path, date);
        // RENAME_NOREPLACE: never over a file that appeared meanwhile.
        if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return target;
        if (errno == EEXIST) continue;
        if (errno == EINVAL || errno == ENOSYS) {
            // A file system without it: link() never replaces either (not for a folder).
            if (::link(path.c_str(), target.c_str()) == 0) {
                if (::unlink(path.c_str()) == 0) return target;
                ::unlink(target.c_str());
            } else if (errno == EEXIST) {
                continue;
            }
        }
        error = "cannot move " + path + " to " + target + ": " + std::strerror(errno);
        return {};
    }
    error = "cannot move " + path + " aside: every name tried was taken";
    return {};
}

}  // namespace celestra
