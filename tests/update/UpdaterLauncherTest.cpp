// Starting the updater: a running one of this user is asked to come back (twice), none running starts it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "tests/support/TempDir.h"
#include "update/UpdaterLauncher.h"

namespace mousecfg::update {
namespace {

using test::TempDir;

// A process folder with one process `id` whose short name is `name` in state `state`, running `program`.
void AddProcess(const TempDir& proc, int id, const std::string& name, const std::filesystem::path& program,
                char state = 'S') {
    const std::string folder = std::to_string(id);
    proc.Write(folder + "/comm", name + "\n");
    proc.Write(folder + "/stat", folder + " (" + name + ") " + state + " 1 1 1");
    proc.Write(folder + "/cmdline", std::string("/opt/x/") + name + '\0' + "--flag" + '\0');
    std::filesystem::create_symlink(program, proc / folder / "exe");
}

bool WaitForFile(const std::filesystem::path& file) {
    for (int i = 0; i < 500 && !std::filesystem::exists(file); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::filesystem::exists(file);
}

class Launcher : public ::testing::Test {
protected:
    Launcher() {
        program_ = dir_.Write("AutoUpdate/AutoUpdate", "#!/bin/sh\npwd > started.part && mv started.part started\n");
        std::filesystem::permissions(program_, std::filesystem::perms::owner_all);
    }
    UpdaterLauncher::Outcome Start(std::function<bool()> raise) {
        return UpdaterLauncher(program_, std::move(raise), proc_.path(), ::geteuid()).Start();
    }
    TempDir dir_;
    TempDir proc_;
    std::filesystem::path program_;
};

TEST_F(Launcher, ARunningUpdaterIsRaisedInsteadOfStartedAgain) {
    AddProcess(proc_, 321, "autoupdate", program_);
    int asked = 0;
    EXPECT_EQ(Start([&] { return ++asked == 2; }), UpdaterLauncher::Outcome::Raised);
    EXPECT_EQ(asked, 2) << "the first request may find the updater still starting";
    asked = 0;
    EXPECT_EQ(Start([&] { return ++asked < 0; }), UpdaterLauncher::Outcome::NotRaised);
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "AutoUpdate/started")) << "a running updater that does not answer: nothing";
}

TEST_F(Launcher, NoUpdaterOfThisUserStartsItDetachedInItsFolder) {
    AddProcess(proc_, 17, "AutoUpdate", program_, 'Z');  // ended, not yet waited for
    AddProcess(proc_, 18, "AutoUpdater", program_);
    AddProcess(proc_, 19, "bash", program_);
    AddProcess(proc_, 20, "AutoUpdate", dir_.Write("other/AutoUpdate", ""));  // another program of the name
    bool asked = false;
    EXPECT_EQ(Start([&] { return asked = true; }), UpdaterLauncher::Outcome::Started);
    EXPECT_FALSE(asked);
    ASSERT_TRUE(WaitForFile(dir_ / "AutoUpdate/started"));
    std::string folder = TempDir::Read(dir_ / "AutoUpdate/started");
    EXPECT_EQ(folder, (dir_ / "AutoUpdate").string() + "\n");
}

TEST_F(Launcher, AMissingUpdaterIsReportedAsNotStarted) {
    std::filesystem::remove(program_);
    EXPECT_EQ(Start({}), UpdaterLauncher::Outcome::StartFailed);
    dir_.Write("AutoUpdate/AutoUpdate", "not executable");
    EXPECT_EQ(Start({}), UpdaterLauncher::Outcome::StartFailed);
}

}  // namespace
}  // namespace mousecfg::update
