// A process killed while it saves never leaves a damaged document: a child saves the configuration document, the
// macro document, the settings file and the model file's profile tags in two versions over and over, and is
// killed (SIGKILL) at random moments. Every file is then byte for byte one of the two versions.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempDir.h"

extern char** environ;

namespace mousecfg {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kDocuments = {"VeruzUrir/MouseA/Config/MouseConfig.json",
                                             "VeruzUrir/MouseA/Config/DeviceFeature.ini",
                                             "MacroDock/MacroData/macroConfig.json", "Set.ini"};

fs::path ShippedResources() {
    return test::TestDataPath("../../res");
}

// Starts the saver with `args`: its pid in `pid`, the read end of its standard output in `output`. False when it
// could not be started.
bool StartSaver(const std::vector<std::string>& args, pid_t& pid, int& output) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> line = {DOCUMENT_SAVER};
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : line) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid, DOCUMENT_SAVER, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    output = fds[0];
    return spawned == 0;
}

int WaitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

bool WriteVersion(const fs::path& folder, const char* version) {
    pid_t pid = 0;
    int output = -1;
    if (!StartSaver({"write", ShippedResources().string(), folder.string(), version}, pid, output)) {
        return false;
    }
    close(output);
    const int status = WaitFor(pid);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Reads the child's first line: "ready" once a whole round has been saved.
bool ReadReady(int output) {
    std::string line;
    char c = 0;
    while (read(output, &c, 1) == 1 && c != '\n') {
        line += c;
    }
    return line == "ready";
}

// A folder in memory when the system has one: the saves flush every file, which is slow on a busy disk and
// changes nothing about what a killed process leaves behind.
fs::path WorkRoot() {
    std::error_code error;
    return fs::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm")
                                                                                 : fs::temp_directory_path();
}

TEST(CrashSafety, AKilledSaveLeavesEveryDocumentOldOrNew) {
    const char* killsText = std::getenv("MOUSECFG_CRASH_KILLS");
    const int kills = killsText != nullptr ? std::atoi(killsText) : 200;
    std::string pattern = (WorkRoot() / "mousecfg-crash-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    const fs::path root = pattern;
    const fs::path a = root / "a";
    const fs::path b = root / "b";
    const fs::path work = root / "work";
    ASSERT_TRUE(WriteVersion(a, "a"));
    ASSERT_TRUE(WriteVersion(b, "b"));
    ASSERT_TRUE(WriteVersion(work, "a"));
    for (const std::string& document : kDocuments) {
        ASSERT_NE(test::TempDir::Read(a / document), test::TempDir::Read(b / document)) << document;
    }

    const unsigned seed = std::random_device{}();
    std::mt19937 random(seed);
    SCOPED_TRACE("seed " + std::to_string(seed));
    int seenA = 0;
    int seenB = 0;
    for (int kill = 0; kill < kills; ++kill) {
        pid_t pid = 0;
        int output = -1;
        ASSERT_TRUE(StartSaver({"loop", ShippedResources().string(), work.string()}, pid, output));
        const bool ready = ReadReady(output);
        // Anywhere in the next few rounds of saving.
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(random)));
        ::kill(pid, SIGKILL);
        const int status = WaitFor(pid);
        close(output);
        ASSERT_TRUE(ready) << "the saver did not start (status " << status << ")";
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself (status " << status << ")";
        for (const std::string& document : kDocuments) {
            const std::string now = test::TempDir::Read(work / document);
            const bool isA = now == test::TempDir::Read(a / document);
            const bool isB = now == test::TempDir::Read(b / document);
            ASSERT_TRUE(isA || isB) << document << " is neither version after kill " << kill << " (" << now.size()
                                    << " bytes)";
            seenA += isA ? 1 : 0;
            seenB += isB ? 1 : 0;
        }
    }
    // Both versions were caught, so kills fell between saves of different documents.
    EXPECT_GT(seenA, 0);
    EXPECT_GT(seenB, 0);
    int strays = 0;
    for (const auto& entry : fs::recursive_directory_iterator(work)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.starts_with('.')) {
            EXPECT_NE(name.find(".tmp"), std::string::npos) << name;
            ++strays;
        }
    }
    std::printf("crash safety: %d kills, every document old or new (%d old, %d new), %d temporary files left\n",
                kills, seenA, seenB, strays);
    fs::remove_all(root);
}

}  // namespace
}  // namespace mousecfg
