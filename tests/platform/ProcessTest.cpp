// Running processes by name and detached processes started without a shell.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/DetachedProcess.h"
#include "platform/ProcessList.h"
#include "tests/support/TempDir.h"

namespace mousecfg {
namespace {

using test::TempDir;

std::string WaitForText(const std::filesystem::path& file) {
    for (int i = 0; i < 500; ++i) {
        const std::string text = TempDir::Read(file);
        if (!text.empty() && text.back() == '\n') {
            return text;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return TempDir::Read(file);
}

TEST(ProcessList, FindsProcessesOfTheUserByShortNameOrProgramFileIgnoringCase) {
    TempDir proc;
    const auto add = [&](const std::string& id, const std::string& comm, const std::string& cmdline, char state) {
        proc.Write(id + "/comm", comm + "\n");
        proc.Write(id + "/stat", id + " (" + comm + ") " + state + " 1");
        proc.Write(id + "/cmdline", cmdline);
    };
    add("40", "AutoUpdate", std::string("/opt/AutoUpdate\0-x", 18), 'S');
    add("7", "autoupdate", "", 'R');
    add("12", "sh", std::string("/usr/lib/x/AUTOUPDATE\0", 22), 'S');  // a long name the kernel cut short
    add("13", "AutoUpdate", "", 'Z');
    add("14", "AutoUpdated", "AutoUpdated", 'S');
    add("self", "AutoUpdate", "", 'S');
    EXPECT_EQ(FindProcessesByName("AutoUpdate", ::geteuid(), proc.path()), (std::vector<pid_t>{7, 12, 40}));
    EXPECT_TRUE(FindProcessesByName("AutoUpdate", ::geteuid() + 1, proc.path()).empty()) << "another user's";
    EXPECT_TRUE(FindProcessesByName("AutoUpdate", ::geteuid(), proc / "missing").empty());
}

TEST(ProcessList, FindsThisTestAmongTheSystemsProcesses) {
    const std::string comm = TempDir::Read("/proc/self/comm");
    const auto found = FindProcessesByName(comm.substr(0, comm.size() - 1), ::geteuid());
    EXPECT_NE(std::find(found.begin(), found.end(), ::getpid()), found.end());
}

TEST(DetachedProcess, StartsTheProgramWithItsArgumentsInItsFolderAndLeavesNothingToWaitFor) {
    TempDir dir;
    const auto program = dir.Write("bin/tool", "#!/bin/sh\nprintf '%s|' \"$@\" > ../out.part\npwd >> ../out.part\n"
                                               "ls /proc/$$/fd >> ../out.part\nmv ../out.part ../out\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    // A file this process keeps open without close-on-exec must not reach the program.
    const int kept = ::open("/dev/null", O_RDONLY);
    ASSERT_GE(kept, 0);
    const int high = ::dup2(kept, 77);
    ASSERT_EQ(high, 77);
    const Status started = StartDetached(program, {"two words", "$HOME", ";rm -rf x"}, dir / "bin");
    ::close(kept);
    ::close(high);
    ASSERT_TRUE(started) << started.message();
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "no child of this process is left";
    const std::string out = WaitForText(dir / "out");
    EXPECT_EQ(out.substr(0, out.find('\n') + 1), "two words|$HOME|;rm -rf x|" + (dir / "bin").string() + "\n")
        << "arguments as given, no shell between";
    EXPECT_EQ(out.find("\n77\n"), std::string::npos) << out;
}

TEST(DetachedProcess, AProgramThatCannotStartIsReportedWithTheReason) {
    TempDir dir;
    const Status missing = StartDetached(dir / "missing");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.message().find("No such file"), std::string::npos) << missing.message();
    const Status plain = StartDetached(dir.Write("plain", "not a program"));
    EXPECT_FALSE(plain);
    EXPECT_NE(plain.message().find("Permission denied"), std::string::npos) << plain.message();
    const Status folder = StartDetached("/bin/true", {}, dir / "no-folder");
    EXPECT_FALSE(folder);
    EXPECT_NE(folder.message().find("no-folder"), std::string::npos) << folder.message();
}

}  // namespace
}  // namespace mousecfg
