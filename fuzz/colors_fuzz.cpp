// Fuzz target: the colour-file loader. A file that loads must write back
// to the bytes it was read from (its first 436); any other file leaves the
// three schemes at their defaults.
#include <cstdint>
#include <cstdlib>

#include "app/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace celestra;
    ColorSchemes schemes;
    schemes.red.colors[0] = 1;  // not a default, to see the reset
    std::string error;
    if (parseColorFile(data, size, schemes, error) != FileStatus::Ok) {
        if (serializeColorFile(schemes) != serializeColorFile(ColorSchemes())) std::abort();
        return 0;
    }
    const std::vector<uint8_t> image = serializeColorFile(schemes);
    if (image.size() > size || !std::equal(image.begin(), image.end(), data)) std::abort();
    return 0;
}
