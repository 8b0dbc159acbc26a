// Where the programs find the data they ship with and keep the user's files.
//
// Shipped data (the ephemeris, its notice, the empty seed document) has one
// layout in the build tree and in an installation: <exe dir>/../share/celestra,
// so build/ui/celestra reads build/share/celestra and PREFIX/bin/celestra
// reads PREFIX/share/celestra. Nothing is looked for, or written, beside the
// executable itself. After that folder come the user's $XDG_DATA_HOME/celestra
// and each folder of $XDG_DATA_DIRS with /celestra appended, as the XDG base
// directory rules define them.
#pragma once

#include <string>
#include <vector>

namespace celestra {

// $HOME when it is an absolute path, else the account's home directory from
// the password database, else "/". Without a trailing "/".
std::string homeFolder();

// The folders searched for shipped data, first match wins, duplicates
// dropped: <exe dir>/../share/celestra (only when the executable's path is
// known); $XDG_DATA_HOME/celestra (default ~/.local/share/celestra); each
// absolute entry of $XDG_DATA_DIRS with /celestra (default /usr/local/share
// and /usr/share; relative entries are ignored, as the XDG rules say).
std::vector<std::string> dataSearchFolders();

// `name` in each of dataSearchFolders(), in order.
std::vector<std::string> dataSearchPaths(const std::string& name);

// The first regular file `name` in dataSearchFolders(), or "".
std::string findDataFile(const std::string& name);

// The user's own folders of the programs (created by whoever writes there):
// $XDG_DATA_HOME/celestra, $XDG_CACHE_HOME/celestra and
// $XDG_CONFIG_HOME/celestra, each variable taken only when it holds an
// absolute path, else ~/.local/share, ~/.cache and ~/.config.
std::string userDataFolder();
std::string userCacheFolder();
std::string userConfigFolder();

// The folder part of a path: "/a/b" for "/a/b/c", "/" for "/c", "." without a slash.
std::string parentFolder(const std::string& path);

// Creates `folder` with every missing level (mode 0755 before the umask).
// True when it is a folder afterwards, also when it existed already.
bool makeFolders(const std::string& folder);

// True when `path` names a regular file (after following links).
bool isRegularFilePath(const std::string& path);

}  // namespace celestra
