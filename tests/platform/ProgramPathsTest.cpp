// Where the programs find their resources and keep the user's configuration.
#include <gtest/gtest.h>

#include "platform/ProgramPaths.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

TEST(ProgramPaths, ResourcesComeFromTheInstallBesideBinElseFromResBesideTheProgram) {
    TempDir dir;
    std::filesystem::create_directories(dir / "usr/bin");
    std::filesystem::create_directories(dir / "usr/share/mousecfg");
    EXPECT_EQ(FindResourceFolder(dir / "usr/bin"), dir / "usr/share/mousecfg");
    EXPECT_EQ(FindResourceFolder(dir / "usr/bin/"), dir / "usr/share/mousecfg") << "a trailing slash";
    EXPECT_EQ(FindResourceFolder(dir / "usr/sbin/../bin"), dir / "usr/share/mousecfg");

    std::filesystem::create_directories(dir / "build/bin");
    EXPECT_EQ(FindResourceFolder(dir / "build/bin"), dir / "build/bin/res") << "a build folder has no share/";
    std::filesystem::create_directories(dir / "opt/share/mousecfg");
    std::filesystem::create_directories(dir / "opt/tools");
    EXPECT_EQ(FindResourceFolder(dir / "opt/tools"), dir / "opt/tools/res") << "only a bin folder is an install";

    EXPECT_EQ(FindUpdaterFolder(dir / "usr/bin"), dir / "usr/libexec/mousecfg/AutoUpdate");
    EXPECT_EQ(FindUpdaterFolder(dir / "build/bin"), dir / "build/bin/AutoUpdate");
}

TEST(ProgramPaths, ThePerUserFolderFollowsTheXdgVariablesAndSimulatingHasItsOwn) {
    struct Case {
        UserEnvironment environment;
        bool simulated;
        const char* expected;  // empty: no folder
    };
    const Case cases[] = {
        {{"/cfg", "/state", "/home/u"}, false, "/cfg/mousecfg"},
        {{"/cfg", "/state", "/home/u"}, true, "/state/mousecfg/simulate/res"},
        {{"", "", "/home/u"}, false, "/home/u/.config/mousecfg"},
        {{"", "", "/home/u"}, true, "/home/u/.local/state/mousecfg/simulate/res"},
        {{"relative/cfg", "relative/state", "/home/u"}, false, "/home/u/.config/mousecfg"},
        {{"relative/cfg", "relative/state", "/home/u"}, true, "/home/u/.local/state/mousecfg/simulate/res"},
        {{"/cfg", "", ""}, false, "/cfg/mousecfg"},
        {{"/cfg", "", ""}, true, ""},
        {{"", "", ""}, false, ""},
    };
    for (const Case& c : cases) {
        const auto folder = UserConfigFolder(c.environment, c.simulated);
        if (*c.expected == '\0') {
            EXPECT_FALSE(folder) << c.environment.configHome << " " << c.simulated;
            EXPECT_NE(folder.message().find("--res"), std::string::npos) << folder.message();
        } else {
            ASSERT_TRUE(folder) << folder.message();
            EXPECT_EQ(*folder, std::filesystem::path(c.expected));
        }
    }
}

TEST(ProgramPaths, ResNamesOneFolderForBothAndOtherwiseTheyDiffer) {
    TempDir dir;
    std::filesystem::create_directories(dir / "usr/bin");
    std::filesystem::create_directories(dir / "usr/share/mousecfg");
    const UserEnvironment environment{"", "", (dir / "home").string()};

    const auto given = ResolveProgramPaths(dir / "usr/bin", dir / "mine/./res", true, environment);
    ASSERT_TRUE(given);
    EXPECT_EQ(given->resourceFolder, dir / "mine/res");
    EXPECT_EQ(given->configFolder, dir / "mine/res");

    const auto real = ResolveProgramPaths(dir / "usr/bin", {}, false, environment);
    const auto simulated = ResolveProgramPaths(dir / "usr/bin", {}, true, environment);
    ASSERT_TRUE(real && simulated);
    EXPECT_EQ(real->resourceFolder, dir / "usr/share/mousecfg");
    EXPECT_EQ(real->configFolder, dir / "home/.config/mousecfg");
    EXPECT_EQ(simulated->resourceFolder, real->resourceFolder);
    EXPECT_EQ(simulated->configFolder, dir / "home/.local/state/mousecfg/simulate/res");
    EXPECT_FALSE(std::filesystem::exists(dir / "home")) << "resolving creates nothing";

    EXPECT_FALSE(ResolveProgramPaths(dir / "usr/bin", {}, false, UserEnvironment{}));
}

}  // namespace
}  // namespace mousecfg
