#include "core/side_files.h"

#include <gtest/gtest.h>

namespace celestra {
namespace {

TEST(SideFiles, ExtensionIsReplacedOrAdded) {
    EXPECT_EQ(replaceExtension("/usr/bin/celestra", "405"), "/usr/bin/celestra.405");
    EXPECT_EQ(replaceExtension("/opt/Celestra.exe", "405"), "/opt/Celestra.405");
    EXPECT_EQ(replaceExtension("/opt/x.y/celestra", "40C"), "/opt/x.y/celestra.40C");
    EXPECT_EQ(replaceExtension("/home/u/.hidden", "DeltaT"), "/home/u/.hidden.DeltaT");
    EXPECT_EQ(replaceExtension("celestra.bin", "clj"), "celestra.clj");
}

TEST(SideFiles, OverrideRedirectsSideFiles) {
    setExecutablePathOverride("/tmp/somewhere/celestra");
    EXPECT_EQ(sideFilePath("LeapSeconds"), "/tmp/somewhere/celestra.LeapSeconds");
    setExecutablePathOverride("");
    EXPECT_NE(executablePath(), "/tmp/somewhere/celestra");
    EXPECT_FALSE(executablePath().empty());
}

}  // namespace
}  // namespace celestra
