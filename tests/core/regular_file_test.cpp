#include "core/regular_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/sha256.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

class RegularFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = test::makeTempDir(); }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& text) {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    InputFileStatus read(const std::string& path, uint64_t limit, std::string* reason = nullptr) {
        std::vector<uint8_t> bytes{1, 2, 3};
        InputFileError error;
        const InputFileStatus status = readRegularFile(path, limit, bytes, error);
        EXPECT_EQ(status, error.status);
        if (status != InputFileStatus::Ok) { EXPECT_TRUE(bytes.empty()); }
        if (reason) *reason = error.reason;
        return status;
    }
    std::string dir_;
};

TEST_F(RegularFileTest, ReadsARegularFileWithinItsLimit) {
    const std::string path = write("a.txt", "hello");
    std::vector<uint8_t> bytes;
    InputFileError error;
    ASSERT_EQ(readRegularFile(path, 5, bytes, error), InputFileStatus::Ok);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello");
    EXPECT_EQ(read(write("empty", ""), 5), InputFileStatus::Ok);
    // Through a symbolic link too: the target is what counts.
    std::filesystem::create_symlink(path, dir_ + "/link");
    EXPECT_EQ(read(dir_ + "/link", 0), InputFileStatus::Ok);

    std::string reason;
    EXPECT_EQ(read(path, 4, &reason), InputFileStatus::TooLarge);
    EXPECT_EQ(reason, "is larger than the 4 bytes allowed (5 bytes)");
    // A sparse gigabyte is refused before anything is allocated.
    const int fd = ::open((dir_ + "/sparse").c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, int64_t{1} << 30), 0);
    ::close(fd);
    EXPECT_EQ(read(dir_ + "/sparse", uint64_t{16} << 20, &reason), InputFileStatus::TooLarge);
    EXPECT_EQ(reason, "is larger than the 16 MiB allowed (1073741824 bytes)");
}

TEST_F(RegularFileTest, RefusesEverythingButARegularFileWithoutBlocking) {
    std::string reason;
    EXPECT_EQ(read(dir_ + "/none", 0, &reason), InputFileStatus::Missing);
    EXPECT_EQ(reason, "does not exist");
    EXPECT_EQ(read(dir_ + "/none/deeper", 0), InputFileStatus::Missing);

    EXPECT_EQ(read(dir_, 0, &reason), InputFileStatus::NotRegular);
    EXPECT_EQ(reason, "is a directory");
    // A FIFO nobody writes to: a blocking open would never return.
    ASSERT_EQ(::mkfifo((dir_ + "/fifo").c_str(), 0644), 0);
    EXPECT_EQ(read(dir_ + "/fifo", 0, &reason), InputFileStatus::NotRegular);
    EXPECT_EQ(reason, "is a named pipe (FIFO)");
    // A device that never ends a read.
    EXPECT_EQ(read("/dev/zero", 0, &reason), InputFileStatus::NotRegular);
    EXPECT_EQ(reason, "is a character device");

    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    const std::string socketPath = dir_ + "/sock";
    ASSERT_LT(socketPath.size(), sizeof addr.sun_path);
    std::strcpy(addr.sun_path, socketPath.c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(read(socketPath, 0, &reason), InputFileStatus::NotRegular);
    EXPECT_EQ(reason, "is a socket");
    ::close(sock);

    std::filesystem::create_symlink(dir_ + "/loop2", dir_ + "/loop1");
    std::filesystem::create_symlink(dir_ + "/loop1", dir_ + "/loop2");
    EXPECT_EQ(read(dir_ + "/loop1", 0, &reason), InputFileStatus::Unreadable);
    EXPECT_EQ(reason, "is a loop of symbolic links");

    InputFileError error;
    EXPECT_EQ(openRegularFile(dir_ + "/fifo", 0, error), -1);
    EXPECT_EQ(inputFileMessage("comet file", dir_ + "/fifo", error),
              "comet file " + dir_ + "/fifo is a named pipe (FIFO)");
}

std::vector<std::pair<LineReader::Result, std::string>> allLines(int fd, size_t maxLine) {
    LineReader reader(fd, maxLine);
    std::vector<std::pair<LineReader::Result, std::string>> out;
    std::string line;
    for (LineReader::Result r; (r = reader.next(line)) != LineReader::Result::End;) {
        out.emplace_back(r, line);
        if (r == LineReader::Result::Error) break;
    }
    return out;
}

TEST_F(RegularFileTest, LineReaderKeepsAtMostOneLineInMemory) {
    using R = LineReader::Result;
    // CRLF and LF ends, blank lines, a last line without an end.
    InputFileError error;
    int fd = openRegularFile(write("lines", "one\r\n\ntwo\nlast"), 0, error);
    ASSERT_GE(fd, 0);
    const std::vector<std::pair<R, std::string>> expected = {
        {R::Line, "one"}, {R::Line, ""}, {R::Line, "two"}, {R::Line, "last"}};
    EXPECT_EQ(allLines(fd, 16), expected);
    ::close(fd);

    // A line of exactly the limit is whole; one byte more is cut and flagged,
    // however far beyond the read buffer it runs.
    const std::string huge(300000, 'x');
    fd = openRegularFile(write("long", "abcd\nabcde\n" + huge + "\nok"), 0, error);
    const auto lines = allLines(fd, 4);
    ::close(fd);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], std::make_pair(R::Line, std::string("abcd")));
    EXPECT_EQ(lines[1], std::make_pair(R::TooLong, std::string("abcd")));
    EXPECT_EQ(lines[2], std::make_pair(R::TooLong, std::string("xxxx")));
    EXPECT_EQ(lines[3], std::make_pair(R::Line, std::string("ok")));

    // An empty input has no line; a read error is reported as one.
    fd = openRegularFile(write("none", ""), 0, error);
    EXPECT_TRUE(allLines(fd, 4).empty());
    ::close(fd);
    const int dirFd = ::open(dir_.c_str(), O_RDONLY | O_DIRECTORY);
    const auto failed = allLines(dirFd, 4);
    ::close(dirFd);
    ASSERT_EQ(failed.size(), 1u);
    EXPECT_EQ(failed[0].first, R::Error);
}

// FIPS 180-4 example messages (NIST CSRC "SHA-256" examples).
TEST(Sha256, PublishedTestVectors) {
    EXPECT_EQ(sha256Hex("", 0), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(sha256Hex("abc", 3), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
    EXPECT_EQ(sha256Hex(twoBlocks.data(), twoBlocks.size()),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    const std::string million(1000000, 'a');
    EXPECT_EQ(sha256Hex(million.data(), million.size()),
              "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(Sha256, PiecesGiveTheDigestOfTheWhole) {
    // Lengths around the 64-byte block and the 56-byte padding boundary.
    std::string data;
    for (int i = 0; i < 300; ++i) data += static_cast<char>(i * 7 + 3);
    for (const size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 300u}) {
        const std::string whole = sha256Hex(data.data(), length);
        for (const size_t piece : {1u, 7u, 63u, 64u, 65u}) {
            Sha256 hash;
            for (size_t at = 0; at < length; at += piece) hash.update(data.data() + at, std::min(piece, length - at));
            EXPECT_EQ(sha256Hex(hash.digest()), whole) << length << " in pieces of " << piece;
        }
    }
}

}  // namespace
}  // namespace celestra
