#include "app/startup.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "core/data_paths.h"
#include "core/log.h"
#include "core/regular_file.h"

namespace celestra {

void setDisplayMetrics(DisplayMetrics& metrics, int32_t dpiX, int32_t dpiY, int32_t screenWidth, int32_t screenHeight) {
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

bool isFolder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
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

// The folder exists (every missing level created) and this user may create files in it.
bool usableFolder(const std::string& folder) {
    return !folder.empty() && makeFolders(folder) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

// Writes `bytes` to a new file beside `target` and links it into place:
// link() never replaces an existing file, and the target never exists
// half-written.
bool createWithoutReplacing(const std::string& target, const std::vector<uint8_t>& bytes) {
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return false;
    bool ok = ::fchmod(fd, 0644) == 0;
    for (size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::link(temp.c_str(), target.c_str()) != 0 && errno != EEXIST && !exists(target))
        ok = ::rename(temp.c_str(), target.c_str()) == 0;  // a file system without hard links
    ::unlink(temp.c_str());
    return ok && exists(target);
}

}  // namespace

AppPaths makeAppPaths(const std::string& exePath, const std::string& documentsFolder) {
    AppPaths p;
    p.exePath = exePath;
    p.installDocPath = findDataFile(kSeedDocumentName);
    setDataFolder(p, withoutTrailingSlash(documentsFolder) + "/Celestra");
    p.docPath = p.dataFolder + "/Celestra.clj";
    p.colorsPath = p.dataFolder + "/Celestra.colors";
    return p;
}

void setDataFolder(AppPaths& paths, const std::string& folder) {
    paths.dataFolder = folder;
    paths.pdaDocPath = folder + "/CelestraPDA.clj";
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

std::string existingDataFolder(const std::string& documentsFolder) {
    const std::string documents = withoutTrailingSlash(documentsFolder) + "/Celestra";
    if (isFolder(documents)) return documents;
    const std::string fallback = userDataFolder();
    return exists(fallback + "/Celestra.clj") ? fallback : documents;
}

bool prepareDataFolder(AppPaths& paths, std::string& note) {
    note.clear();
    if (usableFolder(paths.dataFolder)) return true;
    const std::string refused = paths.dataFolder;
    const std::string fallback = userDataFolder();
    if (fallback != refused && usableFolder(fallback)) {
        // The document follows only when it was the one in the refused folder.
        if (paths.docPath == refused + "/Celestra.clj") {
            paths.docPath = fallback + "/Celestra.clj";
            paths.colorsPath = fallback + "/Celestra.colors";
        }
        setDataFolder(paths, fallback);
        note = "The documents folder cannot be used (" + refused + "); Celestra keeps its files in " + fallback + ".";
        debugLog("%s\n", note.c_str());
        return true;
    }
    note = "Neither " + refused + " nor " + fallback + " can be created; nothing will be saved.";
    debugLog("%s\n", note.c_str());
    return false;
}

std::string seedDocument(AppPaths& paths, std::string& note) {
    if (!prepareDataFolder(paths, note)) return kSeedCreateFailedMessage;
    if (exists(paths.docPath)) return {};
    std::vector<uint8_t> seed;  // no installed seed: the empty document it would be
    std::string error;
    if (!paths.installDocPath.empty() && readWholeFile(paths.installDocPath, seed, error) != FileStatus::Ok) {
        debugLog("seedDocument: %s; starting from an empty document\n", error.c_str());
        seed.clear();
    }
    if (!createWithoutReplacing(paths.docPath, seed)) debugLog("seedDocument: %s not created\n", paths.docPath.c_str());
    return {};
}

LoadResult openStartupDocument(const AppPaths& paths, DocumentData& data, std::string& error) {
    LoadResult result = loadDocument(paths.docPath, paths.colorsPath, data, error);
    if (!result.ok()) {
        // A new document: the members as they are, and the colours of the
        // colour file beside it (its defaults when it cannot be read). It is
        // read even so: a colour file that is there but unreadable must be
        // known before anything is saved over it.
        result.colors = loadColorFile(paths.colorsPath, data.colorSchemes, result.colorError);
        data.ApplyColorPreset();
        if (result.document == FileStatus::Missing || result.document == FileStatus::Empty) error.clear();
    }
    return result;
}

}  // namespace celestra
