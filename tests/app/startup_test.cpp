#include "app/startup.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

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
        {96, 240, 320, 1.0, false, 26},  {192, 480, 640, 2.0, true, 53}, {72, 240, 320, 1.0, false, 26},
        {96, 320, 320, 1.0, false, 26},  {96, 321, 320, 1.0, false, 53}, {96, 320, 240, 1.0, false, 26},
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

TEST(Startup, PathsUnderTheDocumentsFolder) {
    const AppPaths p = makeAppPaths("/opt/celestra/Celestra.exe", "/home/ann/Documents/");
    EXPECT_EQ(p.installDocPath, "/opt/celestra/Celestra.clj");
    EXPECT_EQ(p.dataFolder, "/home/ann/Documents/Celestra");
    EXPECT_EQ(p.docPath, "/home/ann/Documents/Celestra/Celestra.clj");
    EXPECT_EQ(p.colorsPath, "/home/ann/Documents/Celestra/Celestra.colors");
    EXPECT_EQ(p.pdaDocPath, "/home/ann/Documents/Celestra/CelestraPDA.clj");
    EXPECT_EQ(makeAppPaths("/usr/bin/celestra", "/d").installDocPath, "/usr/bin/celestra.clj");
    EXPECT_EQ(colorFilePathFor(p.docPath), p.colorsPath);
}

class EnvGuard {
public:
    explicit EnvGuard(const char* name) : name_(name) {
        if (const char* v = std::getenv(name)) saved_ = v, had_ = true;
    }
    ~EnvGuard() { had_ ? setenv(name_, saved_.c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::string saved_;
    bool had_ = false;
};

TEST(Startup, DocumentsFolderFollowsTheXdgRules) {
    EnvGuard g1("XDG_DOCUMENTS_DIR"), g2("XDG_CONFIG_HOME"), g3("HOME");
    const std::string dir = test::makeTempDir();
    setenv("HOME", dir.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (dir + "/cfg").c_str(), 1);
    unsetenv("XDG_DOCUMENTS_DIR");
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

bool exists(const std::string& p) {
    struct stat st {};
    return ::stat(p.c_str(), &st) == 0;
}

TEST(Startup, SeedingCreatesTheEmptySeedAndCopiesItOnce) {
    const std::string dir = test::makeTempDir();
    ::mkdir((dir + "/bin").c_str(), 0755);
    ::mkdir((dir + "/docs").c_str(), 0755);
    const AppPaths p = makeAppPaths(dir + "/bin/celestra", dir + "/docs");

    EXPECT_EQ(seedDocument(p), "");
    ASSERT_TRUE(exists(p.installDocPath));
    ASSERT_TRUE(exists(p.docPath));

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
    EXPECT_EQ(seedDocument(p), "");
    std::ifstream in(p.docPath);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "mine");
}

TEST(Startup, SeedThatCannotBeCreatedIsReportedAndStartupGoesOn) {
    const std::string dir = test::makeTempDir();
    // No such install folder: the seed cannot be created; the documents folder is missing too.
    const AppPaths p = makeAppPaths(dir + "/missing/celestra", dir + "/nodocs");
    EXPECT_EQ(seedDocument(p), "Could not create the .clj file!");
    EXPECT_FALSE(exists(p.dataFolder));  // its parent is not created

    DocumentData d(2451545.0, 0.0);
    std::string error;
    EXPECT_EQ(openStartupDocument(p, d, error).document, FileStatus::Missing);
    EXPECT_TRUE(error.empty());
    EXPECT_EQ(d.places[4].name, "Custom 5");
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
