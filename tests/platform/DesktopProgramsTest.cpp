// Finding the desktop's programs on the search path and choosing the one of the running desktop.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/DesktopPrograms.h"
#include "platform/ProgramLauncher.h"
#include "tests/support/TempDir.h"

namespace mousecfg::test {
namespace {

std::filesystem::path Executable(const TempDir& dir, const std::string& name, bool executable = true) {
    const auto file = dir.Write(name, "#!/bin/sh\n");
    ::chmod(file.c_str(), executable ? 0755 : 0644);
    return file;
}

TEST(FindOnPath, TakesTheFirstExecutableFileAlongThePath) {
    TempDir first, second;
    Executable(first, "tool", false);  // not executable: skipped
    std::filesystem::create_directories(first / "onboard");  // a folder of that name: skipped
    const auto found = Executable(second, "tool");
    Executable(second, "onboard");
    const std::string path = (first / "missing").string() + ":" + first.path().string() + ":" + second.path().string();
    EXPECT_EQ(FindOnPath("tool", path), found);
    EXPECT_EQ(FindOnPath("onboard", path), second / "onboard");
    EXPECT_FALSE(FindOnPath("absent", path));
    EXPECT_FALSE(FindOnPath("", path));
    EXPECT_FALSE(FindOnPath("../tool", second.path().string()));
}

// Programs found where the test says they are installed.
class Installed final : public ProgramLauncher {
public:
    explicit Installed(std::vector<std::string> names) : names_(std::move(names)) {}
    std::optional<std::filesystem::path> FindProgram(std::string_view name) const override {
        for (const auto& installed : names_) {
            if (installed == name) {
                return std::filesystem::path("/usr/bin") / installed;
            }
        }
        return std::nullopt;
    }
    Status StartDetached(const std::filesystem::path&, const std::vector<std::string>&) override { return Status::Ok(); }

private:
    std::vector<std::string> names_;
};

TEST(ChooseProgram, PrefersTheRunningDesktopsPanelAndPassesItsArguments) {
    const Installed both({"gnome-control-center", "systemsettings", "xfce4-mouse-settings"});
    auto chosen = ChooseProgram(MouseSettingsPrograms(), "KDE", both);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->file, "/usr/bin/systemsettings");
    EXPECT_EQ(chosen->arguments, std::vector<std::string>{"kcm_mouse"});
    chosen = ChooseProgram(MouseSettingsPrograms(), "ubuntu:GNOME", both);
    EXPECT_EQ(chosen->file, "/usr/bin/gnome-control-center");
    EXPECT_EQ(chosen->arguments, std::vector<std::string>{"mouse"});
    chosen = ChooseProgram(MouseSettingsPrograms(), "xfce", both);
    EXPECT_EQ(chosen->file, "/usr/bin/xfce4-mouse-settings") << "desktop names compare without case";
    chosen = ChooseProgram(MouseSettingsPrograms(), "", both);
    EXPECT_EQ(chosen->file, "/usr/bin/gnome-control-center") << "no desktop: the first of the list";
    EXPECT_FALSE(ChooseProgram(MouseSettingsPrograms(), "GNOME", Installed({"onboard"})));
    EXPECT_EQ(ChooseProgram(OnScreenKeyboards(), "GNOME", Installed({"florence", "onboard"}))->file, "/usr/bin/onboard");
}

}  // namespace
}  // namespace mousecfg::test
