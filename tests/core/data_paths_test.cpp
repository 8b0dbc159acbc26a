// Where shipped data is looked for and the user's folders lie: the one
// layout of build tree and installation, the XDG rules and their edges.
#include "core/data_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <vector>

#include "core/side_files.h"
#include "tests/support/test_support.h"

namespace celestra {
namespace {

using Folders = std::vector<std::string>;

TEST(DataPaths, ShareBesideTheExecutablesFolderThenTheXdgFolders) {
    test::ScopedEnv dataHome("XDG_DATA_HOME", "/home/ann/.data");
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", "/opt/site/share/:relative/share::/usr/share");
    setExecutablePathOverride("/work/build/ui/celestra");
    EXPECT_EQ(dataSearchFolders(), (Folders{"/work/build/share/celestra", "/home/ann/.data/celestra",
                                            "/opt/site/share/celestra", "/usr/share/celestra"}));
    // An installation's programs share one folder; a folder named twice is searched once.
    setExecutablePathOverride("/usr/bin/celestra-cli");
    EXPECT_EQ(dataSearchFolders(),
              (Folders{"/usr/share/celestra", "/home/ann/.data/celestra", "/opt/site/share/celestra"}));
    // A program in / itself still gets an absolute folder.
    setExecutablePathOverride("/celestra");
    EXPECT_EQ(dataSearchFolders().front(), "/share/celestra");
    setExecutablePathOverride("");
}

TEST(DataPaths, XdgDefaultsWhenVariablesAreUnsetOrRelative) {
    test::ScopedEnv home("HOME", "/home/bo/");
    test::ScopedEnv dataHome("XDG_DATA_HOME", "data");  // relative: ignored
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", nullptr);
    test::ScopedEnv cache("XDG_CACHE_HOME", nullptr);
    test::ScopedEnv config("XDG_CONFIG_HOME", "/etc/xdg/bo");
    setExecutablePathOverride("/opt/celestra/bin/celestra");
    EXPECT_EQ(dataSearchFolders(), (Folders{"/opt/celestra/share/celestra", "/home/bo/.local/share/celestra",
                                            "/usr/local/share/celestra", "/usr/share/celestra"}));
    setExecutablePathOverride("");
    EXPECT_EQ(userDataFolder(), "/home/bo/.local/share/celestra");
    EXPECT_EQ(userCacheFolder(), "/home/bo/.cache/celestra");
    EXPECT_EQ(userConfigFolder(), "/etc/xdg/bo/celestra");
    EXPECT_EQ(homeFolder(), "/home/bo");
}

TEST(DataPaths, FindDataFileTakesTheFirstRegularFile) {
    const std::string dir = test::makeTempDir();
    for (const char* sub : {"/a", "/a/celestra", "/b", "/b/celestra", "/b/celestra/Celestra.clj"})
        ASSERT_EQ(::mkdir((dir + sub).c_str(), 0700), 0);
    std::ofstream(dir + "/a/celestra/NOTICE.ephemeris") << "a";
    setExecutablePathOverride(dir + "/bin/celestra");
    test::ScopedEnv dataHome("XDG_DATA_HOME", dir + "/b");
    test::ScopedEnv dataDirs("XDG_DATA_DIRS", dir + "/a");
    EXPECT_EQ(findDataFile("NOTICE.ephemeris"), dir + "/a/celestra/NOTICE.ephemeris");
    EXPECT_EQ(findDataFile("Celestra.clj"), "");  // a folder of that name is passed over
    EXPECT_EQ(findDataFile("celestra.405"), "");
    EXPECT_EQ(dataSearchPaths("x").back(), dir + "/a/celestra/x");
    setExecutablePathOverride("");
}

TEST(DataPaths, MakeFoldersCreatesEveryLevelAndRefusesAFileInTheWay) {
    const std::string dir = test::makeTempDir();
    EXPECT_TRUE(makeFolders(dir + "/one/two/three/"));
    struct stat st {};
    EXPECT_EQ(::stat((dir + "/one/two/three").c_str(), &st), 0);
    EXPECT_TRUE(makeFolders(dir + "/one"));  // existing: fine
    std::ofstream(dir + "/file") << "x";
    EXPECT_FALSE(makeFolders(dir + "/file"));
    EXPECT_FALSE(makeFolders(dir + "/file/below"));
    EXPECT_FALSE(makeFolders(""));

    EXPECT_EQ(parentFolder("/a/b/c"), "/a/b");
    EXPECT_EQ(parentFolder("/c"), "/");
    EXPECT_EQ(parentFolder("c"), ".");
}

}  // namespace
}  // namespace celestra
