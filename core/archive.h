// The archive format the document and colour files are written in: a plain
// little-endian byte stream with no header of its own. Readers and writers
// work on a whole file held in memory; every read is bounds-checked.
//
// Scalars: int16/uint16, int32/uint32 and IEEE 754 binary64 doubles, all
// little-endian.
//
// Strings (engine side: UTF-8 std::string) are written in the wide form:
//   0xFF, uint16 0xFFFE (the wide mark), then the length in UTF-16 code units:
//     one byte when < 255;
//     else 0xFF + uint16 when < 0xFFFE;
//     else 0xFF + uint16 0xFFFF + uint32;
//   then the code units as UTF-16LE, no terminator.
// On reading, the same length forms without the wide mark are accepted as a
// narrow (8-bit) string and decoded as ISO 8859-1: every byte is a code point,
// so no input is ambiguous and none is lost.
//
// Objects with their class (used by lists of polymorphic records):
//   count: uint16, or uint16 0xFFFF + uint32 when the count is >= 0xFFFF;
//   per object: for the first object of a class the new-class tag 0xFFFF,
//   uint16 schema, uint16 name length, ASCII name; for a later object of a
//   known class 0x8000 | class index (or 0x7FFF + uint32 0x80000000 | index
//   when the index does not fit in 15 bits); then the object's own fields.
//   Classes and objects share one numbering, from 1, in the order they are
//   first written: the first class is 1, its first object 2, and so on.
//
// Damaged input raises ArchiveError, the only exception the engine throws.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace celestra {

class ArchiveError : public std::runtime_error {
public:
    // `offset` is the byte offset (from the start of the buffer) where the
    // failed read began.
    ArchiveError(const std::string& message, size_t offset);
    size_t offset() const { return offset_; }
    // The message without the offset suffix that what() carries.
    const std::string& reason() const { return reason_; }

private:
    std::string reason_;
    size_t offset_;
};

// The schema number written with every class record.
constexpr uint16_t kArchiveSchema = 256;

class ArchiveWriter {
public:
    void writeUInt8(uint8_t v) { bytes_.push_back(v); }
    void writeUInt16(uint16_t v);
    void writeInt16(int16_t v) { writeUInt16(static_cast<uint16_t>(v)); }
    void writeUInt32(uint32_t v);
    void writeInt32(int32_t v) { writeUInt32(static_cast<uint32_t>(v)); }
    void writeDouble(double v);
    // A UTF-8 string in the wide form. Invalid UTF-8 sequences are written as
    // U+FFFD; characters outside the BMP as surrogate pairs.
    void writeString(const std::string& utf8);

    // Element count of a list of objects.
    void writeCount(uint64_t count);
    // The class part of an object with its class; call it once per object,
    // then write the object's fields.
    void writeObjectClass(const std::string& className, uint16_t schema = kArchiveSchema);

    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<uint8_t> bytes_;
    std::map<std::string, uint32_t> classIndex_;
    uint32_t mapCount_ = 0;  // classes and objects written so far
};

class ArchiveReader {
public:
    ArchiveReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    explicit ArchiveReader(const std::vector<uint8_t>& bytes) : ArchiveReader(bytes.data(), bytes.size()) {}

    uint8_t readUInt8();
    uint16_t readUInt16();
    int16_t readInt16() { return static_cast<int16_t>(readUInt16()); }
    uint32_t readUInt32();
    int32_t readInt32() { return static_cast<int32_t>(readUInt32()); }
    double readDouble();
    // Wide or narrow form; unpaired UTF-16 surrogates are an ArchiveError.
    std::string readString();

    uint64_t readCount();
    // Reads the class part of an object and returns its class name. A null
    // object, a reference to an earlier object or to an unknown class index
    // is an ArchiveError: the lists of this program hold distinct objects.
    std::string readObjectClass();

    size_t offset() const { return pos_; }
    size_t remaining() const { return size_ - pos_; }
    bool atEnd() const { return pos_ == size_; }

    [[noreturn]] void fail(const std::string& message, size_t at) const;

private:
    const uint8_t* take(size_t n);
    std::string readStringBody(uint64_t length, bool wide, size_t start);

    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
    // Archive map by index (index 0 unused): -1 for an object, else the
    // position of the class's name in classNames_.
    std::vector<int32_t> map_{-1};
    std::vector<std::string> classNames_;
};

// UTF-8 <-> UTF-16 conversions used by the string form (exposed for tests).
std::u16string utf16FromUtf8(const std::string& utf8);
// Returns false on an unpaired surrogate.
bool utf8FromUtf16(const std::u16string& utf16, std::string& out);

}  // namespace celestra
