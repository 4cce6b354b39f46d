// The entry's inputs: the command line, the start-up description, the autostart entry.
#include <gtest/gtest.h>

#include "app/AppPaths.h"
#include "app/CommandLine.h"
#include "platform/Autostart.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

app::CommandLine Parse(std::vector<const char*> arguments) {
    arguments.insert(arguments.begin(), "mousecfg");
    return app::CommandLine::Parse(static_cast<int>(arguments.size()), arguments.data());
}

TEST(CommandLine, TheDeveloperOptionsAreTakenOutAndTheRestIsComparedWithSilentWhole) {
    EXPECT_TRUE(Parse({"-silent"}).Silent());
    EXPECT_TRUE(Parse({"--simulate", "receiver", "-silent", "--res", "r"}).Silent());
    EXPECT_FALSE(Parse({"-silent", "x"}).Silent());
    EXPECT_FALSE(Parse({"-SILENT"}).Silent());
    EXPECT_FALSE(Parse({}).Silent());
    const auto line = Parse({"--simulate", "ble", "--res", "some/res", "--grab", "shot.png"});
    EXPECT_EQ(line.simulate, app::Simulation::Ble);
    EXPECT_TRUE(line.resourceFolder.is_absolute()) << "the program changes to its own folder";
    EXPECT_TRUE(line.grab.is_absolute());
    EXPECT_EQ(Parse({"--sim-command", "dpi-button 3"}).ask, "sim dpi-button 3");
    EXPECT_EQ(Parse({"--ask", "status"}).ask, "status");
    EXPECT_FALSE(Parse({"--simulate", "usb"}).error.empty());
    EXPECT_FALSE(Parse({"--frobnicate"}).error.empty());
    EXPECT_TRUE(Parse({"--help"}).help);
}

TEST(StartupDescription, ReadsTheInstanceNameAndSkinFolderAndMissingKeysReadEmpty) {
    TempDir dir;
    const auto file = dir.Write("DeviceFeature.ini", "[Init]\nMutexName=mousecfg\n[Config]\nResPath=res_white\n");
    const auto description = app::StartupDescription::Read(file);
    EXPECT_EQ(description.mutexName, "mousecfg");
    EXPECT_EQ(description.SkinPrefix(), "./res_white");
    const auto missing = app::StartupDescription::Read(dir / "none.ini");
    EXPECT_EQ(missing.mutexName, "");
    EXPECT_EQ(missing.SkinPrefix(), "./");
    EXPECT_EQ(app::SkinFolderOfPrefix("./res_black"), "res_black");
    EXPECT_EQ(app::SkinFolderOfPrefix("./"), "");
    const auto paths = app::AppPaths::For("/opt/mousecfg");
    EXPECT_EQ(paths.SkinFolder(""), std::filesystem::path("/opt/mousecfg/res")) << "no ResPath: the folder itself";
    EXPECT_EQ(paths.FeatureFile(), std::filesystem::path("/opt/mousecfg/res/VeruzUrir/MouseA/Config/DeviceFeature.ini"));
}

TEST(AppPaths, WhatTheUserChangesComesFromTheConfigurationFolderTheRestFromTheResources) {
    const auto paths = app::AppPaths::For("/usr/bin", "/usr/share/mousecfg", "/home/u/.config/mousecfg");
    const std::filesystem::path user = "/home/u/.config/mousecfg";
    const std::filesystem::path install = "/usr/share/mousecfg";
    EXPECT_EQ(paths.SettingsFile(), user / "Set.ini");
    EXPECT_EQ(paths.FeatureFile(), user / "VeruzUrir/MouseA/Config/DeviceFeature.ini") << "the skin choice is written";
    EXPECT_EQ(paths.ColourFile(), user / "VeruzUrir/MouseA/Config/PopColor.ini") << "custom colours are written";
    EXPECT_EQ(paths.ModelFolder("MouseA"), install / "VeruzUrir/MouseA") << "position files and pictures";
    EXPECT_EQ(paths.LanguageFolder(), install / "Language");
    EXPECT_EQ(paths.SkinFolder("res_black"), install / "res_black");
    EXPECT_EQ(paths.IconFile(), install / "icon/mousecfg.png");
}

TEST(Autostart, TheEntryRunsTheProgramQuotedAndSilentWhenAskedAndIsDeletedWhenOff) {
    TempDir dir;
    const auto folder = dir / "autostart";
    EXPECT_EQ(SetAutostart(true, "mousecfg", true, "/opt/my tools/mouse\"cfg$", folder), 1);
    const std::string text = TempDir::Read(folder / "mousecfg.desktop");
    EXPECT_NE(text.find("Exec=\"/opt/my tools/mouse\\\\\"cfg\\\\$\" -silent\n"), std::string::npos) << text;
    EXPECT_EQ(SetAutostart(true, "mousecfg", false, "/opt/m%d", folder), 1);
    EXPECT_NE(TempDir::Read(folder / "mousecfg.desktop").find("Exec=\"/opt/m%%d\"\n"), std::string::npos);
    EXPECT_EQ(SetAutostart(false, "mousecfg", false, "/opt/m", folder), 1);
    EXPECT_FALSE(std::filesystem::exists(folder / "mousecfg.desktop"));
    EXPECT_EQ(SetAutostart(false, "mousecfg", false, "/opt/m", folder), 1) << "deleting what is not there";
    EXPECT_EQ(SetAutostart(true, "../../evil", false, "/opt/m", folder), 1);
    EXPECT_TRUE(std::filesystem::exists(folder / ".._.._evil.desktop")) << "the name cannot leave the folder";
    EXPECT_EQ(SetAutostart(true, "", false, "/opt/m", folder), 1);
    EXPECT_TRUE(std::filesystem::exists(folder / "mousecfg.desktop"));
    EXPECT_EQ(SetAutostart(true, "x", false, "", folder), -1) << "no program path";
    dir.Write("file", "not a folder");
    EXPECT_EQ(SetAutostart(true, "x", false, "/opt/m", dir / "file" / "autostart"), 0);
}

}  // namespace
}  // namespace mousecfg
