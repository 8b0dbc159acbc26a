#include "core/archive.h"

#include <cstring>

namespace celestra {

ArchiveError::ArchiveError(const std::string& message, size_t offset)
    : std::runtime_error(message + " at byte offset " + std::to_string(offset)), reason_(message), offset_(offset) {}

// ---------------------------------------------------------------------------
// UTF conversions

std::u16string utf16FromUtf8(const std::string& utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const size_t n = utf8.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        uint32_t cp = 0xFFFD;
        size_t len = 1;
        uint32_t min = 0;
        if (c < 0x80) {
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2, cp = c & 0x1F, min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3, cp = c & 0x0F, min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4, cp = c & 0x07, min = 0x10000;
        } else {
            len = 0;  // stray continuation or invalid lead byte
        }
        if (len > 1) {
            bool ok = i + len <= n;
            for (size_t k = 1; ok && k < len; ++k) {
                if ((s[i + k] & 0xC0) != 0x80) ok = false;
                else cp = (cp << 6) | (s[i + k] & 0x3F);
            }
            // Overlong forms, surrogates and values above U+10FFFF are not characters.
            if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                cp = 0xFFFD;
                len = 1;
            }
        } else if (len == 0) {
            cp = 0xFFFD;
            len = 1;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

namespace {
void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}
}  // namespace

bool utf8FromUtf16(const std::u16string& utf16, std::string& out) {
    out.clear();
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        uint32_t u = utf16[i];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 >= utf16.size()) return false;
            const uint32_t low = utf16[i + 1];
            if (low < 0xDC00 || low > 0xDFFF) return false;
            u = 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00);
            ++i;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
        appendUtf8(out, u);
    }
    return true;
}

// ---------------------------------------------------------------------------
// Writer

void ArchiveWriter::writeUInt16(uint16_t v) {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

void ArchiveWriter::writeUInt32(uint32_t v) {
    for (int k = 0; k < 4; ++k) bytes_.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

void ArchiveWriter::writeDouble(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    for (int k = 0; k < 8; ++k) bytes_.push_back(static_cast<uint8_t>(bits >> (8 * k)));
}

void ArchiveWriter::writeString(const std::string& utf8) {
    const std::u16string units = utf16FromUtf8(utf8);
    const uint64_t n = units.size();
    writeUInt8(0xFF);
    writeUInt16(0xFFFE);
    if (n < 0xFF) {
        writeUInt8(static_cast<uint8_t>(n));
    } else {
        writeUInt8(0xFF);
        if (n < 0xFFFE) {
            writeUInt16(static_cast<uint16_t>(n));
        } else {
            writeUInt16(0xFFFF);
            // Strings of 4 Gi code units and more do not occur in these files.
            writeUInt32(static_cast<uint32_t>(n));
        }
    }
    bytes_.reserve(bytes_.size() + 2 * units.size());
    for (char16_t u : units) writeUInt16(static_cast<uint16_t>(u));
}

void ArchiveWriter::writeCount(uint64_t count) {
    if (count < 0xFFFF) {
        writeUInt16(static_cast<uint16_t>(count));
    } else {
        writeUInt16(0xFFFF);
        writeUInt32(static_cast<uint32_t>(count));
    }
}

void ArchiveWriter::writeObjectClass(const std::string& className, uint16_t schema) {
    auto it = classIndex_.find(className);
    if (it == classIndex_.end()) {
        writeUInt16(0xFFFF);
        writeUInt16(schema);
        writeUInt16(static_cast<uint16_t>(className.size()));
        for (char c : className) writeUInt8(static_cast<uint8_t>(c));
        classIndex_.emplace(className, ++mapCount_);
    } else if (it->second < 0x7FFF) {
        writeUInt16(static_cast<uint16_t>(0x8000 | it->second));
    } else {
        writeUInt16(0x7FFF);
        writeUInt32(0x80000000u | it->second);
    }
    ++mapCount_;  // the object itself
}

// ---------------------------------------------------------------------------
// Reader

void ArchiveReader::fail(const std::string& message, size_t at) const { throw ArchiveError(message, at); }

const uint8_t* ArchiveReader::take(size_t n) {
    if (n > size_ - pos_) fail("unexpected end of file", pos_);
    const uint8_t* p = data_ + pos_;
    pos_ += n;
    return p;
}

uint8_t ArchiveReader::readUInt8() { return *take(1); }

uint16_t ArchiveReader::readUInt16() {
    const uint8_t* p = take(2);
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ArchiveReader::readUInt32() {
    const uint8_t* p = take(4);
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}

double ArchiveReader::readDouble() {
    const uint8_t* p = take(8);
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = (bits << 8) | p[k];
    double v = 0.0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

std::string ArchiveReader::readString() {
    const size_t start = pos_;
    bool wide = false;
    uint64_t length = readUInt8();
    if (length == 0xFF) {
        length = readUInt16();
        if (length == 0xFFFE) {
            wide = true;
            length = readUInt8();
            if (length == 0xFF) length = readUInt16();
        }
        if (length == 0xFFFF) {
            length = readUInt32();
            // The archive format's 64-bit form would follow here; no file of
            // this program holds a string that long.
            if (length == 0xFFFFFFFFu) fail("string length out of range", start);
        }
    }
    return readStringBody(length, wide, start);
}

std::string ArchiveReader::readStringBody(uint64_t length, bool wide, size_t start) {
    const uint64_t bytes = wide ? 2 * length : length;
    // Checked before any allocation: a hostile length cannot claim memory.
    if (bytes > remaining()) fail("string longer than the rest of the file", start);
    const uint8_t* p = take(static_cast<size_t>(bytes));
    std::string out;
    if (!wide) {
        out.reserve(length);
        for (uint64_t i = 0; i < length; ++i) appendUtf8(out, p[i]);
        return out;
    }
    std::u16string units(static_cast<size_t>(length), u'\0');
    for (uint64_t i = 0; i < length; ++i) units[i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    if (!utf8FromUtf16(units, out)) fail("string holds an unpaired UTF-16 surrogate", start);
    return out;
}

uint64_t ArchiveReader::readCount() {
    uint64_t count = readUInt16();
    if (count == 0xFFFF) count = readUInt32();
    return count;
}

std::string ArchiveReader::readObjectClass() {
    const size_t start = pos_;
    uint32_t tag = readUInt16();
    const bool newClass = tag == 0xFFFF;
    if (tag == 0x7FFF) tag = readUInt32();  // the wide form of a reference
    else if (tag & 0x8000) tag = 0x80000000u | (tag & 0x7FFF);

    if (newClass) {
        readUInt16();  // schema: any is accepted
        const uint16_t nameLength = readUInt16();
        if (nameLength == 0) fail("empty class name", start);
        const uint8_t* p = take(nameLength);
        std::string name(reinterpret_cast<const char*>(p), nameLength);
        for (unsigned char c : name)
            if (c < 0x20 || c > 0x7E) fail("class name is not ASCII", start);
        classNames_.push_back(name);
        map_.push_back(static_cast<int32_t>(classNames_.size() - 1));
        map_.push_back(-1);
        return name;
    }
    if (tag & 0x80000000u) {
        const uint32_t index = tag & 0x7FFFFFFF;
        if (index == 0 || index >= map_.size() || map_[index] < 0) fail("reference to an unknown class", start);
        map_.push_back(-1);
        return classNames_[static_cast<size_t>(map_[index])];
    }
    if (tag == 0) fail("null object in a list", start);
    fail("repeated object reference in a list", start);
}

}  // namespace celestra
