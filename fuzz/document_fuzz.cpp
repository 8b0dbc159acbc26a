// Fuzz target: the document loader. Besides "never crash", checks that a
// failed load leaves the state untouched and that a document that loads
// writes back to an image that loads to the same state.
#include <cstdint>
#include <cstdlib>

#include "app/document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace celestra;
    DocumentData doc(2451545.0, 0.0);
    const std::vector<uint8_t> before = serializeDocument(doc);
    int32_t version = 0;
    std::string error;
    if (parseDocument(data, size, doc, version, error) != FileStatus::Ok) {
        if (serializeDocument(doc) != before || error.empty()) std::abort();
        return 0;
    }
    const std::vector<uint8_t> once = serializeDocument(doc);
    DocumentData again(2451545.0, 0.0);
    if (parseDocument(once.data(), once.size(), again, version, error) != FileStatus::Ok) std::abort();
    if (serializeDocument(again) != once) std::abort();
    return 0;
}
