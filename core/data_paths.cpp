#include "core/data_paths.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "core/side_files.h"

namespace celestra {

namespace {

std::string withoutTrailingSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// An XDG variable counts only when it holds an absolute path.
std::string xdgFolder(const char* variable, const char* homeRelative) {
    if (const char* value = std::getenv(variable); value && value[0] == '/') return withoutTrailingSlash(value);
    const std::string home = homeFolder();
    return (home == "/" ? std::string() : home) + homeRelative;
}

}  // namespace

std::string homeFolder() {
    if (const char* env = std::getenv("HOME"); env && env[0] == '/') return withoutTrailingSlash(env);
    struct passwd pw {};
    struct passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir &&
        found->pw_dir[0] == '/')
        return withoutTrailingSlash(found->pw_dir);
    return "/";
}

std::string parentFolder(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::vector<std::string> dataSearchFolders() {
    std::vector<std::string> folders;
    auto add = [&folders](const std::string& folder) {
        if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
    };
    // /proc/self/exe has the links resolved, so a link to the program in
    // another folder still finds the share/ beside the real bin/.
    if (const std::string exe = executablePath(); !exe.empty()) {
        const std::string prefix = parentFolder(parentFolder(exe));
        add((prefix == "/" ? std::string() : prefix) + "/share/celestra");
    }
    add(userDataFolder());
    const char* dirs = std::getenv("XDG_DATA_DIRS");
    const std::string list = (dirs && *dirs) ? dirs : "/usr/local/share:/usr/share";
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(':', start);
        if (end == std::string::npos) end = list.size();
        const std::string entry = list.substr(start, end - start);
        if (!entry.empty() && entry[0] == '/') add(withoutTrailingSlash(entry) + "/celestra");
        start = end + 1;
    }
    return folders;
}

std::vector<std::string> dataSearchPaths(const std::string& name) {
    std::vector<std::string> paths;
    for (const std::string& folder : dataSearchFolders()) paths.push_back(folder + "/" + name);
    return paths;
}

std::string findDataFile(const std::string& name) {
    for (const std::string& path : dataSearchPaths(name))
        if (isRegularFilePath(path)) return path;
    return {};
}

std::string userDataFolder() { return xdgFolder("XDG_DATA_HOME", "/.local/share") + "/celestra"; }
std::string userCacheFolder() { return xdgFolder("XDG_CACHE_HOME", "/.cache") + "/celestra"; }
std::string userConfigFolder() { return xdgFolder("XDG_CONFIG_HOME", "/.config") + "/celestra"; }

bool makeFolders(const std::string& folder) {
    if (folder.empty()) return false;
    for (size_t pos = 1; pos <= folder.size(); ++pos) {
        if (pos != folder.size() && folder[pos] != '/') continue;
        const std::string part = folder.substr(0, pos);
        // EEXIST also covers a file of that name; the check below refuses it.
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFilePath(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace celestra
