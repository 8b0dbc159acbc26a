// Every subcommand that reads a file refuses a directory, a FIFO or a
// device with exit code 4 and a message naming it, without waiting on it;
// large inputs are refused or streamed.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/test_support.h"

namespace celestra {
namespace {

using test::runCli;

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class InputFilesCli : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::makeTempDir();
        fifo_ = dir_ + "/fifo";
        ASSERT_EQ(::mkfifo(fifo_.c_str(), 0644), 0);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    // Runs the command; should it open the FIFO and wait for a writer (the
    // fault under test), a writer comes and goes after 10 s, and should it
    // read a device without end it is killed after 60 s: the test fails on
    // the output instead of hanging.
    test::CommandResult run(const std::string& arguments) {
        std::atomic<bool> done{false};
        std::thread rescuer([&] {
            for (int i = 0; i < 100 && !done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(100));
            while (!done) {
                const int fd = ::open(fifo_.c_str(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(100));
            }
        });
        test::CommandResult r = test::runCliWithin(60, arguments);
        done = true;
        rescuer.join();
        return r;
    }
    std::string dir_, fifo_;
};

TEST_F(InputFilesCli, SpecialFilesAreNamedAndRefusedWithFour) {
    // What each subcommand calls the file it reads.
    const std::pair<std::string, std::string> commands[] = {
        {"comets --file ", "comet file "},
        {"nmea ", "NMEA file "},
        {"fix ", "sight file "},
        {"doc dump ", ""},
        {"ephemeris --ephemeris ", "ephemeris file "},
    };
    const std::pair<std::string, std::string> files[] = {
        {dir_, "is a directory"},
        {fifo_, "is a named pipe (FIFO)"},
        {"/dev/zero", "is a character device"},
    };
    for (const auto& [command, what] : commands) {
        for (const auto& [file, kind] : files) {
            const auto r = run(command + "'" + file + "'");
            EXPECT_EQ(r.exitCode, 4) << command << file << "\n" << r.err;
            EXPECT_TRUE(has(r.err, what + file) && has(r.err, kind)) << command << file << "\n" << r.err;
            EXPECT_TRUE(r.out.empty()) << command << file;
        }
    }
    // A symbolic-link loop is not "does not exist".
    std::filesystem::create_symlink(dir_ + "/b", dir_ + "/a");
    std::filesystem::create_symlink(dir_ + "/a", dir_ + "/b");
    const auto loop = runCli("ephemeris --ephemeris '" + dir_ + "/a'");
    EXPECT_EQ(loop.exitCode, 4);
    EXPECT_TRUE(has(loop.err, "ephemeris file " + dir_ + "/a is a loop of symbolic links")) << loop.err;
}

TEST_F(InputFilesCli, ACometFileAbove16MiBIsRefusedBeforeItIsRead) {
    const std::string sparse = dir_ + "/huge.txt";
    const int fd = ::open(sparse.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, int64_t{1} << 30), 0);
    ::close(fd);
    const auto r = runCli("comets --file '" + sparse + "'");
    EXPECT_EQ(r.exitCode, 4);
    EXPECT_TRUE(has(r.err, "comet file " + sparse + " is larger than the 16 MiB allowed")) << r.err;
}

TEST_F(InputFilesCli, DataFolderCometFileThatIsADirectoryIsSkippedWithAMessage) {
    // This aborted the program with an uncaught exception at every start.
    const std::string docs = dir_ + "/Documents";
    std::filesystem::create_directories(docs + "/Celestra/Celestra.Comets.txt");
    ::setenv("XDG_DOCUMENTS_DIR", docs.c_str(), 1);
    const auto r = runCli("comets --utc 2000-01-01T00:00:00 --ephemeris '" + dir_ + "/none.405'");
    ::unsetenv("XDG_DOCUMENTS_DIR");
    EXPECT_TRUE(has(r.err, "comet file " + docs + "/Celestra/Celestra.Comets.txt is a directory; skipped")) << r.err;
    EXPECT_EQ(r.exitCode, 4);  // then the missing ephemeris, an orderly failure
}

TEST_F(InputFilesCli, NmeaStreamsLongLinesInConstantMemory) {
    // 64 MiB without a line end, then a sentence: one "too long" line and
    // the sentence, read 1 KiB of line at a time.
    const std::string zeros = dir_ + "/zeros";
    const int fd = ::open(zeros.c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_EQ(::ftruncate(fd, int64_t{64} << 20), 0);
    ::close(fd);
    std::ofstream(zeros, std::ios::app) << "\n$GPHDT,123.4,T\n";
    const auto r = runCli("nmea '" + zeros + "'");
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "Line longer than 1024 characters\nYour true heading is 123.40 degrees.\n");
    const auto json = runCli("nmea --json -", std::string(5000, 'x') + "\n");
    EXPECT_EQ(json.out,
              "{\"type\":null,\"decoded\":false,\"error\":\"Line longer than 1024 characters\",\"talker\":null,"
              "\"summary\":null}\n");
}

}  // namespace
}  // namespace celestra
