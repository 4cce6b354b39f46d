// A process killed while it saves never leaves a damaged document: a saver process writes the configuration
// document, the macro document, the settings file and the model file's profile tags in two versions over and
// over, and is killed (SIGKILL) at a random moment. Every file is then byte for byte one of the two versions.
// The savers are forked by one child (tests/soak/DocumentSaver.cpp) that has read the documents once.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
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

// The saver started with `args`: its pid, its input and its output.
struct Saver {
    pid_t pid = 0;
    FILE* input = nullptr;
    FILE* output = nullptr;

    // Sends `line` (unless null) and reads the next line of the saver; empty when the saver is gone.
    std::string Ask(const char* line) {
        if (line != nullptr && (std::fputs(line, input) < 0 || std::fflush(input) != 0)) {
            return {};
        }
        char answer[64] = {};
        return std::fgets(answer, sizeof answer, output) != nullptr ? std::string(answer) : std::string();
    }
    // Ends the saver's input and waits for it; its exit status.
    int Finish() {
        if (input != nullptr) {
            std::fclose(input);
        }
        std::fclose(output);
        int status = 0;
        waitpid(pid, &status, 0);
        return status;
    }
};

bool StartSaver(const std::vector<std::string>& args, Saver& saver) {
    int in[2];
    int out[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<std::string> line = {DOCUMENT_SAVER};
    line.insert(line.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : line) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&saver.pid, DOCUMENT_SAVER, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    saver.input = fdopen(in[1], "w");
    saver.output = fdopen(out[0], "r");
    return spawned == 0;
}

bool WriteVersion(const fs::path& folder, const char* version) {
    Saver saver;
    if (!StartSaver({"write", ShippedResources().string(), folder.string(), version}, saver)) {
        return false;
    }
    const int status = saver.Finish();
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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
    const std::unique_ptr<const fs::path, void (*)(const fs::path*)> removeRoot(&root, [](const fs::path* folder) {
        std::error_code ignored;
        fs::remove_all(*folder, ignored);
    });
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
    Saver saver;
    ASSERT_TRUE(StartSaver({"serve", ShippedResources().string(), work.string()}, saver));
    ASSERT_EQ(saver.Ask(nullptr), "ready\n") << "the saver did not start";
    int seenA = 0;
    int seenB = 0;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t pid = std::atoi(saver.Ask("go\n").c_str());
        ASSERT_GT(pid, 0) << "no saver was forked";
        // Anywhere in the first few rounds of saving.
        std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 8000)(random)));
        ::kill(pid, SIGKILL);
        ASSERT_EQ(saver.Ask(nullptr), "done " + std::to_string(SIGKILL) + "\n") << "the saver ended by itself";
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
    const int status = saver.Finish();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
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
    std::printf("crash safety: %d kills, every document old or new (%d old, %d new), %d temporary files left\n", kills,
                seenA, seenB, strays);
    fs::remove_all(root);
}

}  // namespace
}  // namespace mousecfg
