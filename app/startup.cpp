#include "app/startup.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/log.h"
#include "core/regular_file.h"
#include "core/side_files.h"

namespace celestra {

void setDisplayMetrics(DisplayMetrics& metrics, int32_t dpiX, int32_t dpiY, int32_t screenWidth,
                       int32_t screenHeight) {
    metrics.dpiX = dpiX;
    metrics.dpiY = dpiY;
    metrics.highResolution = dpiX > 128;
    const double scale = dpiX * (1.0 / 96.0);
    metrics.displayScale = scale > 1.0 ? scale : 1.0;
    metrics.screenWidth = screenWidth;
    metrics.screenHeight = screenHeight;
    if (dpiX != 128) metrics.commandBarHeight = (screenWidth <= 320 && screenHeight <= 320) ? 26 : 53;
}

namespace {

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

// Value of XDG_DOCUMENTS_DIR in a user-dirs.dirs file: a shell assignment
// whose value is "$HOME/..." or an absolute path in double quotes.
std::string documentsFromUserDirs(const std::string& file, const std::string& home) {
    // A few lines of shell; a FIFO or a folder in its place is not waited on.
    std::vector<uint8_t> bytes;
    InputFileError error;
    if (readRegularFile(file, 64 * 1024, bytes, error) != InputFileStatus::Ok) return {};
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        const auto start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0) continue;
        std::string value = line.substr(start + key.size());
        while (!value.empty() && (value.back() == ' ' || value.back() == '\t' || value.back() == '\r'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"') return {};
        value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) {
            if (home.empty()) return {};
            value = home + value.substr(5);
        }
        return value.empty() || value.front() != '/' ? std::string() : value;
    }
    return {};
}

// $HOME, else the account's home from the password database, else "/".
std::string homeFolder() {
    if (const char* env = std::getenv("HOME"); env && *env == '/') return withoutTrailingSlash(env);
    struct passwd pw {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return withoutTrailingSlash(found->pw_dir);
    return "/";
}

}  // namespace

AppPaths makeAppPaths(const std::string& exePath, const std::string& documentsFolder) {
    AppPaths p;
    p.exePath = exePath;
    p.installDocPath = replaceExtension(exePath, "clj");
    p.dataFolder = withoutTrailingSlash(documentsFolder) + "/Celestra";
    p.docPath = p.dataFolder + "/Celestra.clj";
    p.colorsPath = p.dataFolder + "/Celestra.colors";
    p.pdaDocPath = p.dataFolder + "/CelestraPDA.clj";
    return p;
}

std::string userDocumentsFolder() {
    if (const char* env = std::getenv("XDG_DOCUMENTS_DIR"); env && *env == '/') return withoutTrailingSlash(env);
    const std::string home = homeFolder();
    const char* configEnv = std::getenv("XDG_CONFIG_HOME");
    const std::string config = (configEnv && *configEnv == '/') ? std::string(configEnv) : home + "/.config";
    const std::string fromFile = documentsFromUserDirs(config + "/user-dirs.dirs", home);
    if (!fromFile.empty()) return withoutTrailingSlash(fromFile);
    return (home == "/" ? std::string() : home) + "/Documents";
}

std::string seedDocument(const AppPaths& paths) {
    std::string message;
    if (!exists(paths.installDocPath)) {
        const int fd = ::open(paths.installDocPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            debugLog("seedDocument: cannot create %s\n", paths.installDocPath.c_str());
            message = kSeedCreateFailedMessage;
        } else {
            ::close(fd);
        }
    }
    if (exists(paths.docPath)) return message;
    if (::mkdir(paths.dataFolder.c_str(), 0755) != 0 && errno != EEXIST) return message;

    std::vector<uint8_t> seed;
    std::string error;
    if (readWholeFile(paths.installDocPath, seed, error) != FileStatus::Ok) return message;
    // Written beside the target and linked into place: link() never replaces
    // an existing file, and the document never exists half-copied.
    std::string temp = paths.docPath + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return message;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (size_t done = 0; ok && done < seed.size();) {
        const ssize_t n = ::write(fd, seed.data() + done, seed.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::link(temp.c_str(), paths.docPath.c_str()) != 0 && errno != EEXIST && !exists(paths.docPath))
        ok = ::rename(temp.c_str(), paths.docPath.c_str()) == 0;  // a file system without hard links
    if (!ok || !exists(paths.docPath))
        debugLog("seedDocument: %s not copied\n",
                 paths.docPath.c_str());
    ::unlink(temp.c_str());
    return message;
}

LoadResult openStartupDocument(const AppPaths& paths, DocumentData& data, std::string& error) {
    LoadResult result = loadDocument(paths.docPath, paths.colorsPath, data, error);
    if (!result.ok()) {
        // A new document: the members as they are, and the colour defaults.
        data.colorSchemes.ResetAll();
        data.ApplyColorPreset();
        if (result.document != FileStatus::Damaged && result.document != FileStatus::Unreadable) error.clear();
    }
    return result;
}

}  // namespace celestra
