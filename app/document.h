// The document file (version 1020) and the colour file beside it (version
// 1050): what a document holds, how it is written and read.
//
// Document layout, little-endian, no header beyond the version:
//   int32 version 1020
//   drawing state (CUniverseViewDrawState::Serialize, 31 values)
//   observer state (CObserverState::Serialize, 15 values)
//   current sight (CMeasure::Serialize)
//   sight list (ObservationList::Serialize: count, objects with class)
//   five custom places: string name, double longitude, double latitude
// Colour file: int32 version 1050, then the Black, White and Red schemes
// (CColorScheme::Serialize, 144 bytes each).
//
// Loading never leaves a half-read state: it reads into a copy and commits
// only when every section was read. Saving is atomic per file.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/color_scheme.h"
#include "model/draw_state.h"
#include "model/measure.h"
#include "model/observation_list.h"
#include "model/observer_state.h"

namespace celestra {

constexpr int32_t kDocumentVersion = 1020;
constexpr int32_t kColorFileVersion = 1050;
constexpr int kCustomPlaceCount = 5;

// A place the user keeps for the place page. In memory latitude comes first;
// the file holds longitude first, then latitude.
struct CustomPlace {
    std::string name;
    double latitude = 0.0;   // degrees, north positive
    double longitude = 0.0;  // degrees, east positive
};

struct DocumentData {
    // Every member at its constructor default; places "Custom 1" to "Custom 5".
    DocumentData();
    // The same with the observer state (and the current sight's AP) at a fixed instant.
    DocumentData(double instantJdUtc, double zoneOffsetDays);

    CUniverseViewDrawState drawState;
    CObserverState observer;
    CMeasure currentSight;
    ObservationList sights;
    std::array<CustomPlace, kCustomPlaceCount> places;
    ColorSchemes colorSchemes;  // from the colour file

    // Copies the scheme that the drawing state's colour preset names into the
    // chart's scheme. A preset that is not 0, 1 or 2 is set to 1 (Black).
    void ApplyColorPreset();
};

enum class FileStatus {
    Ok,
    Missing,       // no such file
    Empty,         // a file of no bytes (the seed document)
    WrongVersion,  // a readable file of another version: nothing was read
    Damaged,       // truncated or inconsistent
    Unreadable,    // exists but cannot be read (permissions, I/O error, too large)
};

struct LoadResult {
    FileStatus document = FileStatus::Missing;
    FileStatus colors = FileStatus::Missing;
    int32_t versionFound = 0;  // the document's first int32, when it has one
    std::string colorError;    // set when the colour file is there but could not be read
    bool ok() const { return document == FileStatus::Ok; }
};

// The colour file that belongs to a document: same folder and stem, ".colors".
std::string colorFilePathFor(const std::string& documentPath);

// Byte images of the two files.
std::vector<uint8_t> serializeDocument(const DocumentData& data);
std::vector<uint8_t> serializeColorFile(const ColorSchemes& schemes);

// Parses a document image into `data` (colour schemes untouched). On any
// status but Ok `data` is unchanged and `error` says why (with the byte
// offset for damage); `versionFound` is set whenever 4 bytes were there.
FileStatus parseDocument(const uint8_t* bytes, size_t size, DocumentData& data, int32_t& versionFound,
                         std::string& error);
// Parses a colour-file image. Ok: the three schemes as read. Any other
// status: the three schemes reset to their defaults; `error` says why.
FileStatus parseColorFile(const uint8_t* bytes, size_t size, ColorSchemes& schemes, std::string& error);

// Reads the document and then its colour file, then applies the colour
// preset. On failure `data` is unchanged and `error` names the file (and the
// byte offset for damage, or the version found and the one supported). A
// missing, damaged or other-version colour file resets the three schemes;
// anything but a missing file is reported, in LoadResult::colorError.
LoadResult loadDocument(const std::string& path, DocumentData& data, std::string& error);
LoadResult loadDocument(const std::string& path, const std::string& colorsPath, DocumentData& data, std::string& error);
FileStatus loadColorFile(const std::string& path, ColorSchemes& schemes, std::string& error);

// Writes the document, then the colour file, each atomically. False with a
// message naming the file when either could not be written; a file that
// could not be written keeps its previous contents.
bool saveDocument(const std::string& path, const DocumentData& data, std::string& error);
bool saveDocument(const std::string& path, const std::string& colorsPath, const DocumentData& data, std::string& error);

// Replaces `path` with `bytes`: a temporary file in the same folder,
// written, flushed to disk, then renamed over the old file.
bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error);

// Reads a whole regular file (at most 512 MiB) without blocking on a FIFO or
// device: Missing, Unreadable (also anything but a regular file) or Ok.
FileStatus readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace celestra
