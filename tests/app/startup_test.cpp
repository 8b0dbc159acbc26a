#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/data_paths.h"
#include "core/side_files.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

TEST(Startup, DisplayMetrics) {
    struct Case {
        int dpi, width, height;
        double scale;
        bool high;
        int bar;
    };
    const Case cases[] = {
        {96, 240, 320, 1.0, false, 26},          {192, 480, 640, 2.0, true, 53}, {72, 240, 320, 1.0, false, 26},
        {96, 320, 320, 1.0, false, 26},          {96, 321, 320, 1.0, false, 53}, {96, 320, 240, 1.0, false, 26},
        {131, 480, 640, 131.0 / 96.0, true, 53},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        DisplayMetrics m;
        m.commandBarHeight = -1;
        setDisplayMetrics(m, c.dpi, c.dpi, c.width, c.height);
        EXPECT_DOUBLE_EQ(m.displayScale, c.scale);
        EXPECT_EQ(m.highResolution, c.high);
        EXPECT_EQ(m.commandBarHeight, c.bar);
        EXPECT_EQ(m.screenWidth, c.width);
        EXPECT_EQ(m.dpiY, c.dpi);
    }
    // Exactly 128 DPI: not high resolution, and the bar height is left as it was.
    DisplayMetrics m;
    m.commandBarHeight = 40;
    setDisplayMetrics(m, 128, 128, 240, 320);
    EXPECT_FALSE(m.highResolution);
    EXPECT_DOUBLE_EQ(m.displayScale, 128.0 / 96.0);
    EXPECT_EQ(m.commandBarHeight, 40);
}

bool exists(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A scratch world: an installation under prefix/ (with or without a shipped
// seed), a home without Documents, and the XDG variables pointing into it.
class StartupFolders : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = test::makeTempDir();
        ASSERT_TRUE(makeFolders(dir_ + "/prefix/bin") && makeFolders(dir_ + "/prefix/share/celestra"));
        setExecutablePathOverride(exe());
    }
    void TearDown() override { setExecutablePathOverride(""); }
    std::string exe() const { return dir_ + "/prefix/bin/celestra"; }
    void shipSeed(const std::string& bytes) { std::ofstream(dir_ + "/prefix/share/celestra/Celestra.clj") << bytes; }

    std::string dir_;
    test::ScopedEnv home_{"HOME", "/nonexistent-home"};
    test::ScopedEnv dataHome_{"XDG_DATA_HOME", nullptr};
    test::ScopedEnv dataDirs_{"XDG_DATA_DIRS", "/nonexistent-share"};
};

TEST_F(StartupFolders, PathsUnderTheDocumentsFolderAndTheShippedSeed) {
    AppPaths p = makeAppPaths(exe(), "/home/ann/Documents/");
    EXPECT_EQ(p.exePath, exe());
    EXPECT_EQ(p.installDocPath, "");  // no seed installed
    EXPECT_EQ(p.dataFolder, "/home/ann/Documents/Celestra");
    EXPECT_EQ(p.docPath, "/home/ann/Documents/Celestra/Celestra.clj");
    EXPECT_EQ(p.colorsPath, "/home/ann/Documents/Celestra/Celestra.colors");
    EXPECT_EQ(p.pdaDocPath, "/home/ann/Documents/Celestra/CelestraPDA.clj");
    EXPECT_EQ(colorFilePathFor(p.docPath), p.colorsPath);
    shipSeed("");
    p = makeAppPaths(exe(), "/d");
    EXPECT_EQ(p.installDocPath, dir_ + "/prefix/share/celestra/Celestra.clj");
}

TEST(Startup, DocumentsFolderFollowsTheXdgRules) {
    const std::string dir = test::makeTempDir();
    test::ScopedEnv home("HOME", dir);
    test::ScopedEnv config("XDG_CONFIG_HOME", dir + "/cfg");
    test::ScopedEnv documents("XDG_DOCUMENTS_DIR", nullptr);
    EXPECT_EQ(userDocumentsFolder(), dir + "/Documents");

    ::mkdir((dir + "/cfg").c_str(), 0755);
    std::ofstream(dir + "/cfg/user-dirs.dirs") << "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
                                                  "XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"\n";
    EXPECT_EQ(userDocumentsFolder(), dir + "/Papiers");
    std::ofstream(dir + "/cfg/user-dirs.dirs") << "XDG_DOCUMENTS_DIR=\"/srv/docs/\"\n";
    EXPECT_EQ(userDocumentsFolder(), "/srv/docs");

    setenv("XDG_DOCUMENTS_DIR", "/data/mine", 1);
    EXPECT_EQ(userDocumentsFolder(), "/data/mine");
}

TEST_F(StartupFolders, SeedingCreatesTheWholeDataFolderAndNothingBesideTheExecutable) {
    // ~/Documents does not exist: every level is made.
    AppPaths p = makeAppPaths(exe(), dir_ + "/home/Documents");
    std::string note;
    EXPECT_EQ(seedDocument(p, note), "");
    EXPECT_EQ(note, "");
    EXPECT_EQ(p.dataFolder, dir_ + "/home/Documents/Celestra");
    ASSERT_TRUE(exists(p.docPath));
    EXPECT_EQ(readText(p.docPath), "");  // no seed installed: an empty document
    EXPECT_FALSE(exists(exe() + ".clj"));
    EXPECT_FALSE(exists(dir_ + "/prefix/bin/Celestra.clj"));

    // The empty working document opens as a new document with defaults.
    DocumentData d(2451545.0, 0.0);
    d.drawState.colorPreset = 0;
    std::string error;
    const LoadResult r = openStartupDocument(p, d, error);
    EXPECT_EQ(r.document, FileStatus::Empty);
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(d.drawState.colorScheme.colors[BackgroundNotSky], rgb(60, 0, 0));

    // A document with content is never overwritten by the seed.
    std::ofstream(p.docPath) << "mine";
    shipSeed("seed");
    p = makeAppPaths(exe(), dir_ + "/home/Documents");
    EXPECT_EQ(seedDocument(p, note), "");
    EXPECT_EQ(readText(p.docPath), "mine");
    // A missing one gets the shipped seed's bytes.
    ::unlink(p.docPath.c_str());
    EXPECT_EQ(seedDocument(p, note), "");
    EXPECT_EQ(readText(p.docPath), "seed");
}

TEST_F(StartupFolders, UnusableDocumentsFolderFallsBackToTheUsersDataFolder) {
    std::ofstream(dir_ + "/Documents") << "a file where the folder should be";
    test::ScopedEnv dataHome("XDG_DATA_HOME", dir_ + "/data");
    AppPaths p = makeAppPaths(exe(), dir_ + "/Documents");
    std::string note;
    EXPECT_EQ(seedDocument(p, note), "");
    EXPECT_EQ(p.dataFolder, dir_ + "/data/celestra");
    EXPECT_EQ(p.docPath, dir_ + "/data/celestra/Celestra.clj");
    EXPECT_EQ(p.colorsPath, dir_ + "/data/celestra/Celestra.colors");
    EXPECT_EQ(p.pdaDocPath, dir_ + "/data/celestra/CelestraPDA.clj");
    EXPECT_TRUE(exists(p.docPath));
    EXPECT_NE(note.find(dir_ + "/Documents/Celestra"), std::string::npos) << note;
    EXPECT_NE(note.find(p.dataFolder), std::string::npos) << note;
    // The command line then reads the folder that was used.
    EXPECT_EQ(existingDataFolder(dir_ + "/Documents"), dir_ + "/data/celestra");

    // A document named on the command line stays where it is.
    AppPaths named = makeAppPaths(exe(), dir_ + "/Documents");
    named.docPath = dir_ + "/mine.clj";
    ASSERT_TRUE(prepareDataFolder(named, note));
    EXPECT_EQ(named.docPath, dir_ + "/mine.clj");
    EXPECT_EQ(named.dataFolder, dir_ + "/data/celestra");
}

TEST_F(StartupFolders, NoUsableFolderIsReportedAndStartupGoesOn) {
    std::ofstream(dir_ + "/blocker") << "x";
    test::ScopedEnv dataHome("XDG_DATA_HOME", dir_ + "/blocker/data");
    AppPaths p = makeAppPaths(exe(), dir_ + "/blocker/Documents");
    std::string note;
    EXPECT_EQ(seedDocument(p, note), "Could not create the .clj file!");
    EXPECT_NE(note.find("nothing will be saved"), std::string::npos) << note;

    DocumentData d(2451545.0, 0.0);
    std::string error;
    EXPECT_EQ(openStartupDocument(p, d, error).document, FileStatus::Missing);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(d.places[4].name, "Custom 5");
    // With no folder made, the command line looks where the program would.
    EXPECT_EQ(existingDataFolder(dir_ + "/blocker/Documents"), dir_ + "/blocker/Documents/Celestra");
}

TEST(Startup, DamagedWorkingDocumentStartsFromDefaultsWithAMessage) {
    const std::string dir = test::makeTempDir();
    const AppPaths p = makeAppPaths(dir + "/celestra", dir);
    ::mkdir(p.dataFolder.c_str(), 0755);
    std::ofstream(p.docPath, std::ios::binary).write("\xFC\x03\x00\x00\x01", 5);  // version 1020, then 1 byte
    DocumentData d(2451545.0, 0.0);
    std::string error;
    EXPECT_EQ(openStartupDocument(p, d, error).document, FileStatus::Damaged);
    EXPECT_NE(error.find(p.docPath + ": damaged at byte offset 4"), std::string::npos) << error;
    EXPECT_EQ(d.drawState.magnitudeLimit, 5000);
}

}  // namespace
}  // namespace celestra
