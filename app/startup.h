// What the program settles once at start: the display metrics every drawing
// scales by, the paths of its files, and a working document seeded from the
// empty copy beside the executable.
#pragma once

#include <cstdint>
#include <string>

#include "app/document.h"

namespace celestra {

struct DisplayMetrics {
    int32_t dpiX = 96;
    int32_t dpiY = 96;
    double displayScale = 1.0;    // dpiX / 96, never below 1.0
    bool highResolution = false;  // dpiX > 128
    int32_t screenWidth = 0;      // pixels
    int32_t screenHeight = 0;     // pixels
    int32_t commandBarHeight = 26;  // pixels
};

// Fills `metrics` from the display's DPI and size. The command bar is 26
// pixels high on a screen at most 320 × 320 and 53 otherwise, except that a
// display of exactly 128 DPI keeps the height `metrics` already holds.
void setDisplayMetrics(DisplayMetrics& metrics, int32_t dpiX, int32_t dpiY, int32_t screenWidth,
                       int32_t screenHeight);

struct AppPaths {
    std::string exePath;         // the executable
    std::string installDocPath;  // exePath with the extension "clj": the empty seed document
    std::string dataFolder;      // <documents>/Celestra
    std::string docPath;         // dataFolder/Celestra.clj
    std::string colorsPath;      // dataFolder/Celestra.colors
    std::string pdaDocPath;      // dataFolder/CelestraPDA.clj
};

// The paths for an executable and a documents folder (trailing "/" ignored).
AppPaths makeAppPaths(const std::string& exePath, const std::string& documentsFolder);

// The user's documents folder: $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR in
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else ~/Documents; the home
// folder is $HOME, else the account's home directory.
// The GUI passes its own documents location to makeAppPaths instead.
std::string userDocumentsFolder();

// The message shown when the seed document cannot be created.
constexpr const char* kSeedCreateFailedMessage = "Could not create the .clj file!";

// Creates the empty seed document beside the executable when it is missing,
// then, when the working document is missing, creates the data folder (its
// parent is not created) and copies the seed to it without overwriting an
// existing file. Returns kSeedCreateFailedMessage when the seed could not be
// created (start-up goes on), else "". Other failures are silent: opening
// the document then fails and the program starts from defaults.
std::string seedDocument(const AppPaths& paths);

// Opens the working document: a document that is missing, empty, of another
// version, damaged or unreadable leaves `data` at what it holds (the
// defaults at start-up) with the three colour schemes at their defaults;
// `error` then holds the reason for damage or a read error. Returns the
// load result.
LoadResult openStartupDocument(const AppPaths& paths, DocumentData& data, std::string& error);

}  // namespace celestra
