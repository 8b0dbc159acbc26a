// Writes the seed corpus of the two fuzz targets: valid documents and
// colour files, and damaged ones (truncated, hostile lengths and counts,
// foreign class names, other versions).
//   celestra-fuzz-corpus OUT_DIR   (writes OUT_DIR/document and OUT_DIR/colors)
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "app/document.h"

using namespace celestra;

namespace {

void write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

DocumentData sample(int sights) {
    DocumentData d(2460000.25, -7.0 / 24.0);
    d.drawState.flags = CUniverseViewDrawState::kFlipEastWest;
    d.drawState.field21 = 2;
    d.drawState.rotation = 270.0;
    d.drawState.colorPreset = 0;
    for (int i = 0; i < sights; ++i) {
        CMeasure m(CObserverState(2460000.0 + i, 0.0));
        m.active = 1;
        m.bodyIndex = 10 + i % 2;
        m.dipShortEnabled = i % 2 ? 1.0 : 0.0;
        d.sights.Append(m);
    }
    d.places[0].name = "Caf\xC3\xA9 \xF0\x9D\x84\x9E";  // é and a non-BMP character
    d.places[1].name = std::string(300, 'L');
    return d;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: celestra-fuzz-corpus OUT_DIR\n");
        return 2;
    }
    const std::string doc = std::string(argv[1]) + "/document/";
    const std::string col = std::string(argv[1]) + "/colors/";

    const std::vector<uint8_t> none = serializeDocument(sample(0));
    const std::vector<uint8_t> three = serializeDocument(sample(3));
    write(doc + "valid-0-sights", none);
    write(doc + "valid-3-sights", three);
    for (size_t cut : {size_t{0}, size_t{2}, size_t{4}, size_t{60}, size_t{140}, size_t{200}, size_t{228}, size_t{400},
                       size_t{576}, size_t{578}, size_t{590}, size_t{600}, size_t{1000}, size_t{1300},
                       three.size() - 700, three.size() - 17, three.size() - 1})
        if (cut < three.size())
            write(doc + "truncated-" + std::to_string(cut),
                  std::vector<uint8_t>(three.begin(), three.begin() + static_cast<long>(cut)));
    auto patched = [&](const std::string& name, size_t at, std::vector<uint8_t> bytes) {
        std::vector<uint8_t> image = three;
        std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<long>(at));
        write(doc + name, image);
    };
    const size_t listAt = 4 + 136 + 88 + 348;
    patched("version-1019", 0, {0xFB, 0x03, 0x00, 0x00});
    patched("version-1021", 0, {0xFD, 0x03, 0x00, 0x00});
    patched("hostile-count", listAt, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    patched("count-one-more", listAt, {0x04, 0x00});
    patched("foreign-class", listAt + 8, {'X'});
    patched("object-reference", listAt + 2 + 14 + 348, {0x02, 0x80});
    patched("null-object", listAt + 2 + 14 + 348, {0x00, 0x00});
    const size_t placesAt = listAt + 2 + 14 + 348 + 2 * (2 + 348);
    patched("hostile-string-length", placesAt, {0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0x7F});
    patched("unpaired-surrogate", placesAt + 4, {0x00, 0xD8});
    patched("narrow-string", placesAt, {0x03, 'a', 'b', 'c'});

    ColorSchemes schemes;
    schemes.white.colors[1] = 0x123456;
    const std::vector<uint8_t> colors = serializeColorFile(schemes);
    write(col + "valid", colors);
    write(col + "empty", {});
    for (size_t cut : {size_t{3}, size_t{4}, size_t{147}, size_t{148}, size_t{300}, size_t{435}})
        write(col + "truncated-" + std::to_string(cut),
              std::vector<uint8_t>(colors.begin(), colors.begin() + static_cast<long>(cut)));
    std::vector<uint8_t> other = colors;
    other[0] = 0x19;  // 1049
    write(col + "version-1049", other);
    std::vector<uint8_t> longer = colors;
    longer.push_back(0xAA);
    write(col + "trailing-byte", longer);
    return 0;
}
