// SHA-256 (FIPS 180-4), for checking that a data file is the one the build
// wrote. Streaming: update() any number of times, then digest().
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace celestra {

class Sha256 {
public:
    Sha256();
    void update(const void* data, size_t size);
    // The 32-byte digest; the object is spent afterwards (reset() to reuse).
    std::array<uint8_t, 32> digest();
    void reset();

private:
    void block(const uint8_t* p);

    uint32_t h_[8];
    uint8_t pending_[64];
    size_t pendingSize_ = 0;
    uint64_t totalBytes_ = 0;
};

// The digest as 64 lower-case hexadecimal digits.
std::string sha256Hex(const std::array<uint8_t, 32>& digest);
std::string sha256Hex(const void* data, size_t size);

}  // namespace celestra
