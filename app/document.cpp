#include "app/document.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "core/archive.h"
#include "core/regular_file.h"
#include "core/side_files.h"

namespace celestra {

namespace {

constexpr size_t kMaxFileBytes = size_t{512} << 20;

void nameDefaultPlaces(std::array<CustomPlace, kCustomPlaceCount>& places) {
    for (int i = 0; i < kCustomPlaceCount; ++i) places[static_cast<size_t>(i)].name = "Custom " + std::to_string(i + 1);
}

std::string errnoText() { return std::strerror(errno); }

// A copy of every member but the sight list, which a load replaces anyway
// (a member added to DocumentData must be added here).
DocumentData copyWithoutSights(const DocumentData& data) {
    DocumentData copy(0.0, 0.0);
    copy.drawState = data.drawState;
    copy.observer = data.observer;
    copy.currentSight = data.currentSight;
    copy.places = data.places;
    copy.colorSchemes = data.colorSchemes;
    return copy;
}

}  // namespace

DocumentData::DocumentData() { nameDefaultPlaces(places); }

DocumentData::DocumentData(double instantJdUtc, double zoneOffsetDays)
    : observer(instantJdUtc, zoneOffsetDays), currentSight(CObserverState(instantJdUtc, zoneOffsetDays)) {
    nameDefaultPlaces(places);
}

void DocumentData::ApplyColorPreset() {
    if (drawState.colorPreset != kPresetRed && drawState.colorPreset != kPresetBlack &&
        drawState.colorPreset != kPresetWhite)
        drawState.colorPreset = kDefaultColorPreset;
    drawState.colorScheme.CopyColorsFrom(colorSchemes.forPreset(drawState.colorPreset));
}

std::string colorFilePathFor(const std::string& documentPath) { return replaceExtension(documentPath, "colors"); }

// ---------------------------------------------------------------------------
// Images

std::vector<uint8_t> serializeDocument(const DocumentData& data) {
    ArchiveWriter ar;
    ar.writeInt32(kDocumentVersion);
    data.drawState.Serialize(ar);
    data.observer.Serialize(ar);
    data.currentSight.Serialize(ar);
    data.sights.Serialize(ar);
    for (const CustomPlace& place : data.places) {
        ar.writeString(place.name);
        ar.writeDouble(place.longitude);
        ar.writeDouble(place.latitude);
    }
    return ar.take();
}

std::vector<uint8_t> serializeColorFile(const ColorSchemes& schemes) {
    ArchiveWriter ar;
    ar.writeInt32(kColorFileVersion);
    schemes.black.Serialize(ar);
    schemes.white.Serialize(ar);
    schemes.red.Serialize(ar);
    return ar.take();
}

FileStatus parseDocument(const uint8_t* bytes, size_t size, DocumentData& data, int32_t& versionFound,
                         std::string& error) {
    if (size == 0) {
        error = "the file is empty";
        return FileStatus::Empty;
    }
    try {
        ArchiveReader ar(bytes, size);
        versionFound = ar.readInt32();
        if (versionFound != kDocumentVersion) {
            error = "document version " + std::to_string(versionFound) + " found; this program reads version " +
                    std::to_string(kDocumentVersion);
            return FileStatus::WrongVersion;
        }
        // Read into a copy: the caller's state changes only when every section was read.
        DocumentData loaded = copyWithoutSights(data);
        loaded.drawState.Serialize(ar);
        loaded.observer.Serialize(ar);
        loaded.currentSight.Serialize(ar);
        loaded.sights.Serialize(ar);
        for (CustomPlace& place : loaded.places) {
            place.name = ar.readString();
            place.longitude = ar.readDouble();
            place.latitude = ar.readDouble();
        }
        data = std::move(loaded);
        return FileStatus::Ok;
    } catch (const ArchiveError& e) {
        error = "damaged at byte offset " + std::to_string(e.offset()) + ": " + e.reason();
        return FileStatus::Damaged;
    }
}

FileStatus parseColorFile(const uint8_t* bytes, size_t size, ColorSchemes& schemes, std::string& error) {
    try {
        ArchiveReader ar(bytes, size);
        const int32_t version = ar.readInt32();
        if (version != kColorFileVersion) {
            error = "colour file version " + std::to_string(version) + " found; this program reads version " +
                    std::to_string(kColorFileVersion);
            schemes.ResetAll();
            return FileStatus::WrongVersion;
        }
        ColorSchemes loaded(schemes);
        loaded.black.Serialize(ar);
        loaded.white.Serialize(ar);
        loaded.red.Serialize(ar);
        schemes = loaded;
        return FileStatus::Ok;
    } catch (const ArchiveError& e) {
        error = "damaged at byte offset " + std::to_string(e.offset()) + ": " + e.reason();
        schemes.ResetAll();
        return FileStatus::Damaged;
    }
}

// ---------------------------------------------------------------------------
// Files

FileStatus readWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error) {
    InputFileError why;
    switch (readRegularFile(path, kMaxFileBytes, bytes, why)) {
        case InputFileStatus::Ok: return FileStatus::Ok;
        case InputFileStatus::Missing: error = why.reason; return FileStatus::Missing;
        default: error = why.reason; return FileStatus::Unreadable;
    }
}

bool writeFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes, std::string& error) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = "cannot create a temporary file beside " + path + ": " + errnoText();
        return false;
    }
    auto failWith = [&](const std::string& what) {
        error = what + " " + path + ": " + errnoText();
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    };
    // Keep the permissions of the file being replaced; new files get 0644.
    struct stat old {};
    const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    if (::fchmod(fd, mode) != 0) return failWith("cannot set permissions for");
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failWith("cannot write");
        done += static_cast<size_t>(n);
    }
    if (::fsync(fd) != 0) return failWith("cannot flush");
    if (::close(fd) != 0) {
        error = "cannot close " + path + ": " + errnoText();
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path + ": " + errnoText();
        ::unlink(temp.c_str());
        return false;
    }
    // The folder is not synced: after a crash right here the rename may be
    // lost, leaving the previous complete file, which is all we promise.
    return true;
}

FileStatus loadColorFile(const std::string& path, ColorSchemes& schemes, std::string& error) {
    std::vector<uint8_t> bytes;
    std::string why;
    const FileStatus status = readWholeFile(path, bytes, why);
    if (status != FileStatus::Ok) {
        schemes.ResetAll();
        if (status != FileStatus::Missing) error = path + ": " + why;
        return status;
    }
    const FileStatus parsed = parseColorFile(bytes.data(), bytes.size(), schemes, why);
    if (parsed != FileStatus::Ok) error = path + ": " + why;
    return parsed;
}

LoadResult loadDocument(const std::string& path, DocumentData& data, std::string& error) {
    return loadDocument(path, colorFilePathFor(path), data, error);
}

LoadResult loadDocument(const std::string& path, const std::string& colorsPath, DocumentData& data,
                        std::string& error) {
    LoadResult result;
    std::vector<uint8_t> bytes;
    std::string why;
    result.document = readWholeFile(path, bytes, why);
    if (result.document != FileStatus::Ok) {
        error = path + ": " + why;
        return result;
    }
    DocumentData loaded = copyWithoutSights(data);
    result.document = parseDocument(bytes.data(), bytes.size(), loaded, result.versionFound, why);
    if (result.document != FileStatus::Ok) {
        error = path + ": " + why;
        return result;
    }
    result.colors = loadColorFile(colorsPath, loaded.colorSchemes, result.colorError);
    loaded.ApplyColorPreset();
    data = std::move(loaded);
    return result;
}

bool saveDocument(const std::string& path, const DocumentData& data, std::string& error) {
    return saveDocument(path, colorFilePathFor(path), data, error);
}

bool saveDocument(const std::string& path, const std::string& colorsPath, const DocumentData& data,
                  std::string& error) {
    if (!writeFileAtomically(path, serializeDocument(data), error)) return false;
    return writeFileAtomically(colorsPath, serializeColorFile(data.colorSchemes), error);
}

}  // namespace celestra
