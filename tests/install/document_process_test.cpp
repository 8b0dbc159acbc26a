// The desktop program's care for its document, with real processes on one
// home: a document or colour file it cannot read is kept through a
// termination signal, a second program on the same document saves nothing
// while the first holds it, a lock left by a killed program is taken over,
// SIGHUP saves as SIGTERM does, and what interrupted saves left is cleared
// at start. Nobody answers the program's questions here: what it does
// without an answer is what these tests check.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/document.h"
#include "tests/install/desktop_session.h"

namespace fs = std::filesystem;

namespace celestra {
namespace {

using test::DesktopProcess;
using test::readFile;
using test::Session;

const fs::path kProgram = CELESTRA_GUI_PATH;

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The atomic save puts a new file in place: a new inode means it was written.
ino_t inodeOf(const fs::path& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

struct Folder {
    Session session;
    fs::path data = session.home / "Documents" / "Celestra";
    fs::path doc = data / "Celestra.clj";
    fs::path colors = data / "Celestra.colors";
    Folder() { fs::create_directories(data); }
};

TEST(DocumentProcesses, AFileThatCannotBeReadIsKeptThroughTheSignals) {
    const std::vector<uint8_t> good = serializeDocument(DocumentData(2451545.0, 0.0));
    std::vector<uint8_t> newer = good;
    newer[0] = 0xFD;  // version 1021, a later program's
    const std::vector<uint8_t> truncated(good.begin(), good.begin() + 40);
    std::vector<uint8_t> newerColors = serializeColorFile(ColorSchemes());
    newerColors[0] = 0x1B;  // 1051
    struct Case {
        const char* name;
        std::vector<uint8_t> document;  // empty: a folder where the document should be
        std::vector<uint8_t> colors;    // empty: none
        int signal;
    };
    const Case cases[] = {
        {"newer document", newer, {}, SIGTERM},
        {"damaged document", truncated, newerColors, SIGINT},
        {"a folder as the document", {}, {}, SIGHUP},
        {"newer colour file", good, newerColors, SIGTERM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Folder f;
        if (c.document.empty()) fs::create_directory(f.doc);
        else writeBytes(f.doc, c.document);
        if (!c.colors.empty()) writeBytes(f.colors, c.colors);
        const ino_t docInode = inodeOf(f.doc);
        const ino_t colorsInode = inodeOf(f.colors);

        DesktopProcess program(kProgram, f.session);
        ASSERT_TRUE(program.waitUntilReady()) << program.stderrText();
        const fs::path kept = c.document == good ? f.colors : f.doc;
        // Said on stderr at start, with the file.
        EXPECT_NE(program.stderrText().find("celestra: " + kept.string() + ": "), std::string::npos)
            << program.stderrText();
        program.signal(c.signal);
        ASSERT_TRUE(program.waitForExit());
        EXPECT_EQ(program.exitCode(), 0) << program.stderrText();

        if (c.document.empty()) {
            EXPECT_TRUE(fs::is_directory(f.doc));
        } else if (c.document == good) {
            EXPECT_NE(inodeOf(f.doc), docInode) << "the readable document is saved";
        } else {
            EXPECT_EQ(inodeOf(f.doc), docInode);
            EXPECT_TRUE(readFile(f.doc) == std::string(c.document.begin(), c.document.end())) << "written over";
            EXPECT_NE(program.stderrText().find("the document was not saved: " + f.doc.string()), std::string::npos)
                << program.stderrText();
        }
        if (!c.colors.empty()) {
            EXPECT_EQ(inodeOf(f.colors), colorsInode);
            EXPECT_TRUE(readFile(f.colors) == std::string(c.colors.begin(), c.colors.end())) << "written over";
        }
        // Nothing was moved aside without being asked.
        for (const auto& e : fs::directory_iterator(f.data))
            EXPECT_EQ(e.path().filename().string().find("unreadable"), std::string::npos) << e.path();
    }
}

TEST(DocumentProcesses, TwoProgramsOnOneDocumentAndALockLeftByAKilledOne) {
    Folder f;
    writeBytes(f.doc, serializeDocument(DocumentData(2451545.0, 0.0)));
    // What interrupted saves left, and names that only look like it.
    const std::vector<std::string> stale = {"Celestra.clj.Ab12Cd", "Celestra.colors.0zZ9yY"};
    const std::vector<std::string> others = {"Celestra.clj.bak", "Celestra.clj.Ab12Cde", "Celestra.clj.Ab-2Cd",
                                             "Other.clj.Ab12Cd", "Celestra.clj.unreadable-2024-01-01"};
    for (const std::string& name : stale) std::ofstream(f.data / name) << "half";
    for (const std::string& name : others) std::ofstream(f.data / name) << "mine";
    fs::create_directory(f.data / "Celestra.clj.Folder");

    DesktopProcess first(kProgram, f.session);
    ASSERT_TRUE(first.waitUntilReady()) << first.stderrText();
    for (const std::string& name : stale) EXPECT_FALSE(fs::exists(f.data / name)) << name;
    for (const std::string& name : others) EXPECT_EQ(readFile(f.data / name), "mine") << name;
    EXPECT_TRUE(fs::is_directory(f.data / "Celestra.clj.Folder"));

    // The second says so, and a signal ends it without a save.
    ino_t inode = inodeOf(f.doc);
    {
        std::ofstream(f.data / "Celestra.clj.Xy34Zw") << "the first one's save in flight";
        DesktopProcess second(kProgram, f.session);
        ASSERT_TRUE(second.waitUntilReady()) << second.stderrText();
        EXPECT_NE(second.stderrText().find(f.doc.string() + " is open in another Celestra"), std::string::npos)
            << second.stderrText();
        second.signal(SIGHUP);
        ASSERT_TRUE(second.waitForExit());
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(inodeOf(f.doc), inode);
        EXPECT_TRUE(fs::exists(f.data / "Celestra.clj.Xy34Zw")) << "another's temporary is not the second's to remove";
        fs::remove(f.data / "Celestra.clj.Xy34Zw");
    }

    // Killed, the first leaves its lock file; the next program takes it over and saves on SIGHUP.
    first.signal(SIGKILL);
    ASSERT_TRUE(first.waitForExit());
    DesktopProcess third(kProgram, f.session);
    ASSERT_TRUE(third.waitUntilReady()) << third.stderrText();
    EXPECT_EQ(third.stderrText().find("open in another Celestra"), std::string::npos) << third.stderrText();
    third.signal(SIGHUP);
    ASSERT_TRUE(third.waitForExit());
    EXPECT_EQ(third.exitCode(), 0) << third.stderrText();
    EXPECT_NE(inodeOf(f.doc), inode) << "not saved on SIGHUP";
    DocumentData loaded;
    std::string error;
    EXPECT_TRUE(loadDocument(f.doc.string(), loaded, error).ok()) << error;
}

}  // namespace
}  // namespace celestra
