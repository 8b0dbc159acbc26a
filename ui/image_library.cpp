#include "ui/image_library.h"

#include <QFile>
#include <QFileInfo>
#include <QResource>

#include <cstring>
#include <vector>

#include "catalogs/deep_sky.h"
#include "core/log.h"

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

bool ImageLibrary::load() {
    if (loaded_) return true;
    auto file = std::make_unique<QFile>(filePath_);
    if (!file->open(QIODevice::ReadOnly)) return false;
    const qint64 size = file->size();
    const uchar* bytes = size > 0 ? file->map(0, size) : nullptr;
    if (!bytes || !resourceLibraryIsWhole(bytes, static_cast<size_t>(size))) {
        debugLog("image library %s: not a whole resource file\n", qPrintable(filePath_));
        return false;
    }
    // Qt still refuses what it cannot read (an unknown flag, say). The
    // library goes under its own root, so it cannot stand in for the
    // program's own resources.
    if (!QResource::registerResource(bytes, QLatin1String(kRoot))) {
        debugLog("image library %s: refused as a resource library\n", qPrintable(filePath_));
        return false;
    }
    if (!QFileInfo(QLatin1Char(':') + QLatin1String(kRoot) + QLatin1String(kFolder)).isDir()) {
        QResource::unregisterResource(bytes, QLatin1String(kRoot));
        debugLog("image library %s: no %s folder in it\n", qPrintable(filePath_), kFolder);
        return false;
    }
    file_ = std::move(file);
    mapped_ = bytes;
    loaded_ = true;
    return true;
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
