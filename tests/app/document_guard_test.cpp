#include "app/document_guard.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <thread>

#include "app/startup.h"
#include "tests/support/test_support.h"

namespace fs = std::filesystem;

namespace celestra {
namespace {

std::string readText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::set<std::string> entries(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
}

TEST(DocumentLock, OneHolderAtATimeAndTakenOverOnceReleased) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "Celestra.clj").string();
    EXPECT_EQ(DocumentLock::lockPathFor(doc), (dir / ".Celestra.clj.lock").string());

    DocumentLock first;
    ASSERT_EQ(first.acquire(doc), DocumentLock::Result::Owned);
    // flock() locks belong to the open file, so a second lock in this
    // process stands for another program.
    DocumentLock second;
    EXPECT_EQ(second.acquire(doc), DocumentLock::Result::HeldElsewhere);
    EXPECT_EQ(second.holderPid(), ::getpid());
    EXPECT_FALSE(second.owned());
    // Another document is another lock.
    EXPECT_EQ(second.acquire((dir / "trip.clj").string()), DocumentLock::Result::Owned);

    // Moved, the lock stays held; released, the next one takes it.
    DocumentLock moved = std::move(first);
    EXPECT_EQ(DocumentLock().acquire(doc), DocumentLock::Result::HeldElsewhere);
    moved.release();
    DocumentLock third;
    EXPECT_EQ(third.acquire(doc), DocumentLock::Result::Owned);

    // A folder that does not exist holds no lock (and no document either).
    EXPECT_EQ(DocumentLock().acquire((dir / "none" / "x.clj").string()), DocumentLock::Result::Unavailable);
}

TEST(DocumentLock, ALockOfAKilledProgramIsTakenOver) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "Celestra.clj").string();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        DocumentLock lock;
        const char c = lock.acquire(doc) == DocumentLock::Result::Owned ? 'y' : 'n';
        [[maybe_unused]] ssize_t n = ::write(ready[1], &c, 1);
        ::pause();
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'y');
    DocumentLock lock;
    EXPECT_EQ(lock.acquire(doc), DocumentLock::Result::HeldElsewhere);
    EXPECT_EQ(lock.holderPid(), child);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(lock.acquire(doc), DocumentLock::Result::Owned);
    EXPECT_TRUE(fs::exists(DocumentLock::lockPathFor(doc)));  // the file stays; only the lock went
}

TEST(DocumentGuard, StaleTemporariesAreRemovedAndNothingElse) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "Celestra.clj").string();
    for (const char* name : {"Celestra.clj.a1B2c3", "Celestra.clj.ZZZZZZ", "Celestra.clj.000000"})
        std::ofstream(dir / name) << "half";
    const std::set<std::string> kept = {"Celestra.clj",
                                        "Celestra.clj.a1B2c",
                                        "Celestra.clj.a1B2c3d",
                                        "Celestra.clj.a1-2c3",
                                        "Celestra.clj.unreadable-2024-05-01",
                                        "Celestra.colors.a1B2c3",
                                        "XCelestra.clj.a1B2c3",
                                        ".Celestra.clj.lock"};
    for (const std::string& name : kept) std::ofstream(dir / name) << "mine";
    fs::create_directory(dir / "Celestra.clj.folder");
    fs::create_symlink(dir / "Celestra.clj", dir / "Celestra.clj.link01");

    EXPECT_EQ(removeStaleTemporaries(doc), 3);
    std::set<std::string> expected = kept;
    expected.insert({"Celestra.clj.folder", "Celestra.clj.link01"});
    EXPECT_EQ(entries(dir), expected);
    EXPECT_EQ(removeStaleTemporaries((dir / "missing" / "x.clj").string()), 0);
}

TEST(DocumentGuard, MovingAsideNeverReplacesAndCountsOn) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "Celestra.clj").string();
    std::ofstream(doc) << "first";
    std::string error;
    EXPECT_EQ(moveAside(doc, "2024-05-01", error), doc + ".unreadable-2024-05-01");
    std::ofstream(doc) << "second";
    EXPECT_EQ(moveAside(doc, "2024-05-01", error), doc + ".unreadable-2024-05-01-2");
    fs::create_directory(doc);  // not a regular file: moved all the same
    EXPECT_EQ(moveAside(doc, "2024-05-01", error), doc + ".unreadable-2024-05-01-3");
    EXPECT_EQ(readText(doc + ".unreadable-2024-05-01"), "first");
    EXPECT_EQ(readText(doc + ".unreadable-2024-05-01-2"), "second");
    EXPECT_FALSE(fs::exists(doc));
    EXPECT_EQ(moveAside(doc, "2024-05-01", error), "");
    EXPECT_NE(error.find(doc), std::string::npos) << error;
}

TEST(DocumentGuard, SavingWithinWhatTheSessionMayWrite) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "d.clj").string(), colors = (dir / "d.colors").string();
    std::ofstream(doc) << "kept";
    std::ofstream(colors) << "kept";
    DocumentData data(2451545.0, 0.0);
    std::string error;
    WriteAccess access;
    access.readOnly = true;
    EXPECT_EQ(saveDocumentWithin(access, doc, colors, data, error), SaveOutcome::NotAllowed);
    EXPECT_NE(error.find("open in another Celestra"), std::string::npos) << error;
    access = {};
    access.keepDocument = true;
    EXPECT_EQ(saveDocumentWithin(access, doc, colors, data, error), SaveOutcome::NotAllowed);
    EXPECT_EQ(readText(doc), "kept");
    access.keepDocument = false;
    access.keepColors = true;
    EXPECT_EQ(saveDocumentWithin(access, doc, colors, data, error), SaveOutcome::Saved);
    EXPECT_EQ(readText(colors), "kept");
    DocumentData loaded;
    EXPECT_TRUE(loadDocument(doc, colors, loaded, error).ok());
    EXPECT_EQ(saveDocumentWithin({}, (dir / "no" / "d.clj").string(), colors, data, error), SaveOutcome::Failed);
}

TEST(DocumentGuard, StartupReadsTheColourFileBesideADocumentItCannotRead) {
    const fs::path dir = test::makeTempDir();
    AppPaths p = makeAppPaths((dir / "celestra").string(), dir.string());
    fs::create_directories(p.dataFolder);
    std::vector<uint8_t> newer = serializeDocument(DocumentData(2451545.0, 0.0));
    newer[0] = 0xFD;  // 1021
    std::ofstream(p.docPath, std::ios::binary).write(reinterpret_cast<const char*>(newer.data()), 40);
    std::ofstream(p.colorsPath) << "abc";  // shorter than its version number
    DocumentData d(2451545.0, 0.0);
    std::string error;
    const LoadResult r = openStartupDocument(p, d, error);
    EXPECT_EQ(r.document, FileStatus::WrongVersion);
    EXPECT_TRUE(isKeptAsItIs(r.document));
    EXPECT_NE(error.find("document version 1021 found"), std::string::npos) << error;  // no longer silent
    EXPECT_EQ(r.colors, FileStatus::Damaged);
    EXPECT_TRUE(isKeptAsItIs(r.colors));
    EXPECT_EQ(r.colorError.rfind(p.colorsPath + ": damaged", 0), 0u) << r.colorError;
    EXPECT_FALSE(isKeptAsItIs(FileStatus::Missing));
    EXPECT_FALSE(isKeptAsItIs(FileStatus::Empty));
}

// kill -9 at random points while a program saves, over and over: each
// file is always the previous or the new one, whole, and what the killed
// saves left is gone after the next start's clean-up. Seeded, so a
// failure can be run again; bounded to a few seconds.
TEST(DocumentGuard, KilledDuringSavesTheDocumentAlwaysLoadsAndNoTemporaryOutlivesTheNextStart) {
    const fs::path dir = test::makeTempDir();
    const std::string doc = (dir / "Celestra.clj").string(), colors = (dir / "Celestra.colors").string();
    // Two documents that differ in every file, with enough sights that a save takes a while.
    DocumentData a(2451545.0, 0.0), b(2460000.5, 0.0);
    b.places[0].name = "Harbour";
    b.colorSchemes.black.colors[Stars] = rgb(1, 2, 3);
    for (int i = 0; i < 400; ++i) {
        a.sights.Append(a.currentSight);
        b.sights.Append(b.currentSight);
    }
    const std::vector<uint8_t> images[2][2] = {{serializeDocument(a), serializeColorFile(a.colorSchemes)},
                                               {serializeDocument(b), serializeColorFile(b.colorSchemes)}};
    ASSERT_NE(images[0][0], images[1][0]);
    ASSERT_NE(images[0][1], images[1][1]);
    std::string error;
    ASSERT_TRUE(saveDocument(doc, colors, a, error)) << error;

    // The kills fall anywhere within two saves' time, as long as a save takes
    // in this build (a sanitizer's is many times slower).
    const auto before = std::chrono::steady_clock::now();
    for (int k = 0; k < 3; ++k) ASSERT_TRUE(saveDocument(doc, colors, a, error)) << error;
    const auto saveMicroseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - before).count() / 3;
    std::mt19937 random(20240501);
    std::uniform_int_distribution<int> delayMicroseconds(
        0, static_cast<int>(std::max<long long>(1000, 2 * saveMicroseconds)));
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    int cycles = 0, leftTemporaries = 0;
    // At least 20 cycles however slow the build (a sanitizer's fork is), then
    // as many as 3 seconds allow.
    while (cycles < 20 || (cycles < 300 && std::chrono::steady_clock::now() < limit)) {
        // The child says when its saves begin, so the random delay counts from
        // there and not from a fork whose cost depends on the build.
        int started[2];
        ASSERT_EQ(::pipe(started), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(started[0]);
            const char go = 1;
            if (::write(started[1], &go, 1) != 1) ::_exit(1);
            for (int k = 0;; ++k) {
                std::string ignored;
                saveDocument(doc, colors, k % 2 ? a : b, ignored);
            }
        }
        ::close(started[1]);
        char go = 0;
        const bool began = ::read(started[0], &go, 1) == 1;
        ::close(started[0]);
        if (began) std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_TRUE(began) << "the saving child did not start";
        ++cycles;
        SCOPED_TRACE("cycle " + std::to_string(cycles));
        for (int file = 0; file < 2; ++file) {
            const std::string text = readText(file == 0 ? doc : colors);
            const std::vector<uint8_t> bytes(text.begin(), text.end());
            EXPECT_TRUE(bytes == images[0][file] || bytes == images[1][file]) << (file == 0 ? doc : colors);
        }
        DocumentData loaded;
        EXPECT_TRUE(loadDocument(doc, colors, loaded, error).ok()) << error;
        // The next start's clean-up.
        leftTemporaries += removeStaleTemporaries(doc) + removeStaleTemporaries(colors);
        EXPECT_EQ(entries(dir), (std::set<std::string>{"Celestra.clj", "Celestra.colors"}));
        if (HasFailure()) break;
    }
    RecordProperty("cycles", cycles);
    RecordProperty("temporaries_removed", leftTemporaries);
    // The kills did land inside saves (else this test would prove nothing).
    EXPECT_GT(leftTemporaries, 0) << cycles << " cycles";
}

}  // namespace
}  // namespace celestra
