#include "ui/image_library.h"

#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QResource>
#include <cstdio>
#include <cstring>
#include <vector>

#include "catalogs/deep_sky.h"
#include "core/log.h"
#include "core/regular_file.h"

namespace celestra {
namespace {

// The resource file is big-endian throughout.
uint32_t be32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}
uint16_t be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

constexpr uint16_t kNodeDirectory = 0x02;

// Where the library's tree is mapped among the program's resources, and the
// folder of its pictures.
constexpr const char* kRoot = "/imagelibrary";
constexpr const char* kFolder = "/deepsky";

}  // namespace

bool resourceLibraryIsWhole(const uint8_t* b, size_t size) {
    // Header: "qres", format version, then the offsets of the tree, the data
    // and the names (and from version 3 a flags word).
    if (!b || size < 20 || std::memcmp(b, "qres", 4) != 0) return false;
    const uint32_t version = be32(b + 4);
    if (version < 1 || version > 3) return false;
    if (version >= 3 && size < 24) return false;
    const uint64_t tree = be32(b + 8), data = be32(b + 12), names = be32(b + 16);
    // A tree node: name offset (4), flags (2), then a directory's child count
    // (4) and first child's index (4), or a file's locale (4) and data offset
    // (4); from version 2 a modification time (8) follows.
    const uint64_t nodeSize = version >= 2 ? 22 : 14;
    if (tree >= size) return false;
    const uint64_t nodeCount = (size - tree) / nodeSize;
    if (nodeCount == 0) return false;
    const auto within = [size](uint64_t offset, uint64_t length) { return offset <= size && length <= size - offset; };
    // A name: length in UTF-16 units (2), hash (4), the units.
    const auto nameFits = [&](uint32_t offset) {
        const uint64_t at = names + offset;
        return within(at, 6) && within(at + 6, 2 * uint64_t{be16(b + at)});
    };
    // Every node is some directory's child once; more children in all than
    // nodes means a loop or a forged count, and ends the walk early.
    std::vector<bool> seen(nodeCount, false);
    std::vector<uint64_t> pending{0};
    seen[0] = true;
    uint64_t children = 0;
    while (!pending.empty()) {
        const uint64_t index = pending.back();
        pending.pop_back();
        const uint8_t* node = b + tree + index * nodeSize;
        const uint16_t flags = be16(node + 4);
        if (index != 0 && !nameFits(be32(node))) return false;  // the root's name is never read
        if (flags & kNodeDirectory) {
            const uint64_t count = be32(node + 6), first = be32(node + 10);
            children += count;
            if (children >= nodeCount || first > nodeCount || count > nodeCount - first) return false;
            for (uint64_t c = first; c < first + count; ++c) {
                if (seen[c]) return false;
                seen[c] = true;
                pending.push_back(c);
            }
        } else {
            if (index == 0) return false;  // the root is a directory
            // A file's data: its length (4), then the bytes (zlib or zstd
            // data carries its own framing inside them).
            const uint64_t at = data + be32(node + 10);
            if (!within(at, 4) || !within(at + 4, be32(b + at))) return false;
        }
    }
    return true;
}

QString pictureResourceStem(int k) {
    const auto kind = catalogueKind(k);
    const QString folder = QLatin1String(kFolder);
    if (kind == CatalogueKind::Messier) return folder + QStringLiteral("/M%1").arg(k - kFirstMessierObject + 1);
    if (kind == CatalogueKind::Caldwell) return folder + QStringLiteral("/C%1").arg(k - kFirstCaldwellObject + 1);
    return {};
}

ImageLibrary::ImageLibrary(QString filePath) : filePath_(std::move(filePath)) {}

ImageLibrary::~ImageLibrary() { unload(); }

namespace {

// The largest library accepted: 219 pictures at a generous 1 MiB each.
constexpr uint64_t kMaxLibraryBytes = uint64_t{256} << 20;
// Where a downloaded library is tried before it may replace the real one.
constexpr const char* kCheckRoot = "/imagelibrary-check";

// Opens and maps a library file: a regular file (opened without blocking),
// a whole resource file. Null with a diagnostic otherwise.
std::unique_ptr<QFile> openWholeLibrary(const QString& path, const uchar*& bytes) {
    bytes = nullptr;
    InputFileError error;
    uint64_t size = 0;
    const int fd = openRegularFile(path.toStdString(), kMaxLibraryBytes, error, &size);
    if (fd < 0) {
        if (error.status != InputFileStatus::Missing)
            debugLog("%s\n", inputFileMessage("image library", path.toStdString(), error).c_str());
        return nullptr;
    }
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    bytes = size > 0 ? file->map(0, static_cast<qint64>(size)) : nullptr;
    if (!bytes || !resourceLibraryIsWhole(bytes, static_cast<size_t>(size))) {
        debugLog("image library %s: not a whole resource file\n", qPrintable(path));
        bytes = nullptr;
        return nullptr;
    }
    return file;
}

// Registers mapped library bytes under `root`; true when Qt takes them and
// they hold the pictures' folder (else nothing stays registered).
bool registerLibrary(const uchar* bytes, const QString& root, const QString& path) {
    // Qt still refuses what it cannot read (an unknown flag, say).
    if (!QResource::registerResource(bytes, root)) {
        debugLog("image library %s: refused as a resource library\n", qPrintable(path));
        return false;
    }
    if (!QFileInfo(QLatin1Char(':') + root + QLatin1String(kFolder)).isDir()) {
        QResource::unregisterResource(bytes, root);
        debugLog("image library %s: no %s folder in it\n", qPrintable(path), kFolder);
        return false;
    }
    return true;
}

}  // namespace

bool ImageLibrary::load() {
    if (loaded_) return true;
    const uchar* bytes = nullptr;
    auto file = openWholeLibrary(filePath_, bytes);
    // The library goes under its own root, so it cannot stand in for the
    // program's own resources.
    if (!file || !registerLibrary(bytes, QLatin1String(kRoot), filePath_)) return false;
    file_ = std::move(file);
    mapped_ = bytes;
    loaded_ = true;
    return true;
}

QString ImageLibrary::downloadPath() const { return filePath_ + QStringLiteral(".download"); }

bool ImageLibrary::installDownload() {
    const QString staging = downloadPath();
    bool ok = false;
    {
        // Tried under a root of its own, then let go before the rename.
        const uchar* bytes = nullptr;
        const auto file = openWholeLibrary(staging, bytes);
        if (file && registerLibrary(bytes, QLatin1String(kCheckRoot), staging)) {
            QResource::unregisterResource(bytes, QLatin1String(kCheckRoot));
            ok = true;
        }
    }
    if (ok) {
        unload();
        ok = std::rename(staging.toLocal8Bit().constData(), filePath_.toLocal8Bit().constData()) == 0;
    }
    if (!ok) QFile::remove(staging);
    return ok && load();
}

void ImageLibrary::unload() {
    if (!loaded_) return;
    QResource::unregisterResource(mapped_, QLatin1String(kRoot));
    file_.reset();  // unmaps
    mapped_ = nullptr;
    loaded_ = false;
}

QImage ImageLibrary::picture(int k) const {
    const QString stem = pictureResourceStem(k);
    if (!loaded_ || stem.isEmpty()) return {};
    for (const char* ext : {".jpg", ".png", ".gif"}) {
        const QString path = QLatin1Char(':') + QLatin1String(kRoot) + stem + QLatin1String(ext);
        if (!QFile::exists(path)) continue;
        QImage image(path);
        if (!image.isNull()) return image;
        debugLog("image library: %s does not decode\n", qPrintable(path));
    }
    return {};
}

}  // namespace celestra
