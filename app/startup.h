// What the program settles once at start: the display metrics every drawing
// scales by, the paths of its files, the data folder, and a working document
// seeded from the empty copy among the shipped data.
#pragma once

#include <cstdint>
#include <string>

#include "app/document.h"

namespace celestra {

struct DisplayMetrics {
    int32_t dpiX = 96;
    int32_t dpiY = 96;
    double displayScale = 1.0;      // dpiX / 96, never below 1.0
    bool highResolution = false;    // dpiX > 128
    int32_t screenWidth = 0;        // pixels
    int32_t screenHeight = 0;       // pixels
    int32_t commandBarHeight = 26;  // pixels
};

// Fills `metrics` from the display's DPI and size. The command bar is 26
// pixels high on a screen at most 320 × 320 and 53 otherwise, except that a
// display of exactly 128 DPI keeps the height `metrics` already holds.
void setDisplayMetrics(DisplayMetrics& metrics, int32_t dpiX, int32_t dpiY, int32_t screenWidth, int32_t screenHeight);

// The name of the empty seed document among the shipped data.
constexpr const char* kSeedDocumentName = "Celestra.clj";

struct AppPaths {
    std::string exePath;         // the executable
    std::string installDocPath;  // the shipped seed document (findDataFile), "" when none is installed
    std::string dataFolder;      // <documents>/Celestra, or the user's data folder (prepareDataFolder)
    std::string docPath;         // dataFolder/Celestra.clj, or the document named on the command line
    std::string colorsPath;      // docPath's colour file: same folder and stem, extension .colors
    std::string pdaDocPath;      // dataFolder/CelestraPDA.clj
};

// The paths for an executable and a documents folder (trailing "/" ignored).
// The seed is looked for among the shipped data (findDataFile).
AppPaths makeAppPaths(const std::string& exePath, const std::string& documentsFolder);
// Moves the data-folder paths (not the document's) to another folder.
void setDataFolder(AppPaths& paths, const std::string& folder);

// The user's documents folder: $XDG_DOCUMENTS_DIR, else XDG_DOCUMENTS_DIR in
// $XDG_CONFIG_HOME/user-dirs.dirs (default ~/.config), else ~/Documents; the home
// folder is $HOME, else the account's home directory.
// The GUI passes its own documents location to makeAppPaths instead.
std::string userDocumentsFolder();

// The data folder the command line reads from: <documents>/Celestra when
// it exists, else the user's data folder when that holds the program's
// files (a documents folder that could not be used), else <documents>/Celestra.
std::string existingDataFolder(const std::string& documentsFolder);

// The message shown when no data folder can be created.
constexpr const char* kSeedCreateFailedMessage = "Could not create the .clj file!";

// Makes paths.dataFolder usable: creates every missing level of it; when
// that fails or the folder cannot be written, moves the data-folder paths
// (and the document's, when it lay there) to the user's data folder
// ($XDG_DATA_HOME/celestra) and creates that the same way. Returns false
// when neither can be used. `note` then, or after a move, says so in one
// line for the status line; else it is empty.
bool prepareDataFolder(AppPaths& paths, std::string& note);

// Start-up's document step: prepareDataFolder, then, when the working
// document is missing, a copy of the seed document (the shipped one, or an
// empty one when none is installed), written beside the target and linked
// into place so an existing document is never overwritten. Returns
// kSeedCreateFailedMessage when no data folder could be made (start-up goes
// on and the document stays in memory), else "". Nothing is written beside
// the executable.
std::string seedDocument(AppPaths& paths, std::string& note);

// Opens the working document: a document that is missing, empty, of another
// version, damaged or unreadable leaves `data` at what it holds (the
// defaults at start-up) with the colour file's schemes (their defaults when
// it cannot be read); `error` then holds the reason, unless the document
// was only missing or empty. The colour file's status and reason are in the
// result either way. Returns the load result.
LoadResult openStartupDocument(const AppPaths& paths, DocumentData& data, std::string& error);

}  // namespace celestra
