#include "core/archive.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "tests/app/expected_bytes.h"

namespace celestra {
namespace {

using test::Bytes;

TEST(Archive, ScalarsAreLittleEndianAndRoundTrip) {
    ArchiveWriter w;
    w.writeInt16(-2);
    w.writeUInt16(0x1234);
    w.writeInt32(-1020);
    w.writeUInt32(0xC8D0D4);
    w.writeDouble(-122.3);
    w.writeDouble(std::numeric_limits<double>::quiet_NaN());
    Bytes e;
    e.u8(0xFE).u8(0xFF).u8(0x34).u8(0x12).i32(-1020).u8(0xD4).u8(0xD0).u8(0xC8).u8(0x00).f64(-122.3);
    const std::vector<uint8_t> head(w.bytes().begin(), w.bytes().end() - 8);
    EXPECT_EQ(head, e.b);
    // -122.3 is 0xC05E933333333333: lowest byte first, sign and exponent last.
    EXPECT_EQ(w.bytes()[12], 0x33);
    EXPECT_EQ(w.bytes()[19], 0xC0);

    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.readInt16(), -2);
    EXPECT_EQ(r.readUInt16(), 0x1234);
    EXPECT_EQ(r.readInt32(), -1020);
    EXPECT_EQ(r.readUInt32(), 0xC8D0D4u);
    EXPECT_EQ(r.readDouble(), -122.3);
    EXPECT_TRUE(std::isnan(r.readDouble()));
    EXPECT_TRUE(r.atEnd());
}

TEST(Archive, ReadingPastTheEndNamesTheOffsetOfTheFailedRead) {
    const std::vector<uint8_t> bytes = {1, 0, 0, 0, 9, 9, 9};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.readInt32(), 1);
    try {
        r.readDouble();
        FAIL() << "no ArchiveError";
    } catch (const ArchiveError& e) {
        EXPECT_EQ(e.offset(), 4u);
        EXPECT_NE(std::string(e.what()).find("byte offset 4"), std::string::npos);
    }
    EXPECT_EQ(r.offset(), 4u);  // a failed read consumes nothing
}

TEST(Archive, StringLengthFormsAtTheirBoundaries) {
    struct Case {
        size_t length;
        std::vector<uint8_t> prefix;  // after FF FE FF
    };
    const Case cases[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {300, {0xFF, 0x2C, 0x01}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        ArchiveWriter w;
        w.writeString(text);
        const auto& b = w.bytes();
        ASSERT_EQ(b.size(), 3 + c.prefix.size() + 2 * c.length);
        EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 3), (std::vector<uint8_t>{0xFF, 0xFE, 0xFF}));
        EXPECT_EQ(std::vector<uint8_t>(b.begin() + 3, b.begin() + 3 + static_cast<long>(c.prefix.size())), c.prefix);
        ArchiveReader r(b);
        EXPECT_EQ(r.readString(), text);
        EXPECT_TRUE(r.atEnd());
    }
}

TEST(Archive, StringsConvertBetweenUtf8AndUtf16) {
    // é (BMP, two UTF-8 bytes), ∞ (three bytes), G clef U+1D11E (a surrogate pair).
    const std::string text = "\xC3\xA9\xE2\x88\x9E\xF0\x9D\x84\x9E";
    ArchiveWriter w;
    w.writeString(text);
    Bytes e;
    e.wide(u"\u00E9\u221E\U0001D11E");
    EXPECT_EQ(w.bytes(), e.b);
    EXPECT_EQ(e.b[3], 4);  // four UTF-16 units
    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.readString(), text);

    // Invalid UTF-8 is written as U+FFFD rather than dropped or passed through.
    ArchiveWriter bad;
    bad.writeString(
        "a\xFF"
        "b");
    ArchiveReader rb(bad.bytes());
    EXPECT_EQ(rb.readString(),
              "a\xEF\xBF\xBD"
              "b");
}

TEST(Archive, DamagedStringsRaiseArchiveErrorAtTheirStart) {
    const std::vector<std::vector<uint8_t>> damaged = {
        // unpaired high surrogate, then an unpaired low one, then a reversed pair
        {0, 0, 0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xD8},
        {0, 0, 0xFF, 0xFE, 0xFF, 0x02, 0x41, 0x00, 0x00, 0xDC},
        {0, 0, 0xFF, 0xFE, 0xFF, 0x02, 0x00, 0xDC, 0x00, 0xD8},
        // a hostile 32-bit length far beyond the file
        {0, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0, 0xFF, 0xFF, 0xFF, 0x41, 0x00},
        // the 64-bit marker
        {0, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
        // truncated inside the length
        {0, 0, 0xFF, 0xFE, 0xFF, 0xFF, 0x2C},
    };
    for (const auto& bytes : damaged) {
        ArchiveReader r(bytes);
        r.readUInt16();
        try {
            r.readString();
            ADD_FAILURE() << "no ArchiveError";
        } catch (const ArchiveError& e) {
            // The truncated one fails at its 16-bit length; the others at the string's start.
            EXPECT_EQ(e.offset(), bytes.size() == 7 ? 6u : 2u);
        }
    }
}

TEST(Archive, NarrowStringsAreReadAsLatin1) {
    const std::vector<uint8_t> bytes = {0x03, 'a', 'b', 0xE9, 0xFF, 0x04, 0x00, 'w', 'x', 'y', 'z'};
    ArchiveReader r(bytes);
    EXPECT_EQ(r.readString(), "ab\xC3\xA9");
    EXPECT_EQ(r.readString(), "wxyz");
    EXPECT_TRUE(r.atEnd());
}

TEST(Archive, CountsUseTheWideFormFrom0xFFFF) {
    ArchiveWriter w;
    w.writeCount(0xFFFE);
    w.writeCount(0xFFFF);
    w.writeCount(70000);
    Bytes e;
    e.u16(0xFFFE).u16(0xFFFF).i32(0xFFFF).u16(0xFFFF).i32(70000);
    EXPECT_EQ(w.bytes(), e.b);
    ArchiveReader r(w.bytes());
    EXPECT_EQ(r.readCount(), 0xFFFEu);
    EXPECT_EQ(r.readCount(), 0xFFFFu);
    EXPECT_EQ(r.readCount(), 70000u);
}

TEST(Archive, ClassesAndObjectsShareOneNumbering) {
    ArchiveWriter w;
    w.writeObjectClass("CMeasure");  // class 1, object 2
    w.writeObjectClass("CMeasure");  // object 3
    w.writeObjectClass("COther");    // class 4, object 5
    w.writeObjectClass("COther");    // object 6
    w.writeObjectClass("CMeasure");  // object 7
    Bytes e;
    e.u16(0xFFFF).u16(256).u16(8);
    for (char c : std::string("CMeasure")) e.u8(static_cast<uint8_t>(c));
    e.u16(0x8001).u16(0xFFFF).u16(256).u16(6);
    for (char c : std::string("COther")) e.u8(static_cast<uint8_t>(c));
    e.u16(0x8004).u16(0x8001);
    EXPECT_EQ(w.bytes(), e.b);

    ArchiveReader r(w.bytes());
    for (const char* name : {"CMeasure", "CMeasure", "COther", "COther", "CMeasure"})
        EXPECT_EQ(r.readObjectClass(), name);
    EXPECT_TRUE(r.atEnd());
}

TEST(Archive, ObjectTagsThatNameNoClassAreDamage) {
    Bytes head;
    head.u16(0xFFFF).u16(1).u16(1).u8('C');  // class 1 ("C", any schema accepted), object 2
    const std::vector<uint16_t> badTags = {0x8002 /* an object, not a class */, 0x8003 /* not yet numbered */, 0x8000,
                                           0x0000 /* null */, 0x0002 /* object reference */};
    for (uint16_t tag : badTags) {
        SCOPED_TRACE(tag);
        Bytes b = head;
        b.u16(tag);
        ArchiveReader r(b.b);
        EXPECT_EQ(r.readObjectClass(), "C");
        try {
            r.readObjectClass();
            ADD_FAILURE() << "no ArchiveError";
        } catch (const ArchiveError& e) { EXPECT_EQ(e.offset(), 7u); }
    }
    // The wide reference form is understood.
    Bytes wideRef = head;
    wideRef.u16(0x7FFF).i32(static_cast<int32_t>(0x80000001u));
    ArchiveReader r(wideRef.b);
    r.readObjectClass();
    EXPECT_EQ(r.readObjectClass(), "C");
    // A class name that is not printable ASCII.
    Bytes badName;
    badName.u16(0xFFFF).u16(256).u16(2).u8('C').u8(0x01);
    ArchiveReader rn(badName.b);
    EXPECT_THROW(rn.readObjectClass(), ArchiveError);
}

}  // namespace
}  // namespace celestra
