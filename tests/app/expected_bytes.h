// Builds expected file images byte by byte, independently of the archive
// writer, for the layout tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace celestra::test {

struct Bytes {
    std::vector<uint8_t> b;

    Bytes& u8(uint8_t v) {
        b.push_back(v);
        return *this;
    }
    Bytes& u16(uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
    Bytes& i32(int32_t v) {
        const auto u = static_cast<uint32_t>(v);
        return u8(u & 0xFF).u8((u >> 8) & 0xFF).u8((u >> 16) & 0xFF).u8(u >> 24);
    }
    Bytes& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, 8);
        for (int k = 0; k < 8; ++k) u8(static_cast<uint8_t>(bits >> (8 * k)));
        return *this;
    }
    // An ASCII (or BMP-only, given as UTF-16 units) string in the wide form.
    Bytes& wide(const std::u16string& s) {
        u8(0xFF).u16(0xFFFE);
        if (s.size() < 255) {
            u8(static_cast<uint8_t>(s.size()));
        } else if (s.size() < 0xFFFE) {
            u8(0xFF).u16(static_cast<uint16_t>(s.size()));
        } else {
            u8(0xFF).u16(0xFFFF).i32(static_cast<int32_t>(s.size()));
        }
        for (char16_t c : s) u16(static_cast<uint16_t>(c));
        return *this;
    }
    Bytes& ascii(const std::string& s) { return wide(std::u16string(s.begin(), s.end())); }
    Bytes& append(const Bytes& other) {
        b.insert(b.end(), other.b.begin(), other.b.end());
        return *this;
    }
};

}  // namespace celestra::test
