// Start-up of the real program: the time from starting the process to the first painted main window, and the
// resident memory once it has started, against the virtual mouse behind its receiver. Runs the program several
// times on the offscreen platform (or on the display the environment names), each run followed by one of a bare
// Qt window started the same way (bench_bare_window: what any Qt program costs on this machine), and prints each
// run, the medians and the program's cost over the bare window.
// Goals: first paint under 300 ms, resident memory under 80 MiB.
//   bench_startup [PROGRAM [RES [RUNS [BARE_WINDOW]]]]
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double firstPaintMs = -1;
    long rssKib = -1;
};

long ResidentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

Run StartOnce(const std::string& program, const std::string& res, const std::string& runtime) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<std::string> args = {program, "--simulate", "receiver", "--res", res};
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    Run run;
    if (spawned != 0) {
        close(pipeFds[0]);
        return run;
    }
    std::string output;
    char buffer[256];
    ssize_t got = 0;
    while (output.find("first-paint") == std::string::npos && (got = read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        output.append(buffer, static_cast<size_t>(got));
    }
    if (output.find("first-paint") != std::string::npos) {
        run.firstPaintMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    // The memory once the start-up work (threads, first device reads) has settled.
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    run.rssKib = ResidentKib(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    close(pipeFds[0]);
    std::filesystem::remove_all(runtime + "/mousecfg.socket");
    return run;
}

struct Medians {
    double firstPaintMs = -1;
    double residentMib = -1;
};

Medians MedianOf(std::vector<Run> runs) {
    std::vector<double> paints;
    std::vector<long> memory;
    for (const Run& run : runs) {
        if (run.firstPaintMs >= 0 && run.rssKib >= 0) {
            paints.push_back(run.firstPaintMs);
            memory.push_back(run.rssKib);
        }
    }
    if (paints.empty()) {
        return {};
    }
    std::sort(paints.begin(), paints.end());
    std::sort(memory.begin(), memory.end());
    return {paints[paints.size() / 2], memory[memory.size() / 2] / 1024.0};
}

}  // namespace

int main(int argc, char** argv) {
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe").parent_path();
    const std::string program = argc > 1 ? argv[1] : (self.parent_path() / "bin/mousecfg").string();
    const std::string res = argc > 2 ? argv[2] : (self.parent_path() / "bin/res").string();
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
    const std::string bare = argc > 4 ? argv[4] : (self / "bench_bare_window").string();
    const std::filesystem::path temp = std::filesystem::temp_directory_path() / ("mousecfg-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(temp / "config");
    std::filesystem::permissions(temp, std::filesystem::perms::owner_all);
    setenv("XDG_RUNTIME_DIR", temp.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (temp / "config").c_str(), 1);
    setenv("MOUSECFG_REPORT_FIRST_PAINT", "1", 1);
    if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    std::printf("start-up of %s against %s (virtual mouse behind the receiver, platform %s)\n", program.c_str(),
                bare.c_str(), std::getenv("QT_QPA_PLATFORM") != nullptr ? std::getenv("QT_QPA_PLATFORM") : "default");
    std::vector<Run> programRuns;
    std::vector<Run> bareRuns;
    for (int i = 0; i < runs; ++i) {
        programRuns.push_back(StartOnce(program, res, temp.string()));
        bareRuns.push_back(StartOnce(bare, res, temp.string()));
        std::printf("run %d: first paint %.1f ms, resident %.1f MiB; bare window %.1f ms, %.1f MiB\n", i + 1,
                    programRuns.back().firstPaintMs, programRuns.back().rssKib / 1024.0, bareRuns.back().firstPaintMs,
                    bareRuns.back().rssKib / 1024.0);
    }
    std::filesystem::remove_all(temp);
    const Medians median = MedianOf(programRuns);
    const Medians baseline = MedianOf(bareRuns);
    if (median.firstPaintMs < 0) {
        std::printf("the program did not report a first paint\n");
        return 1;
    }
    std::printf("median: first paint %.1f ms (goal < 300 ms) %s, resident %.1f MiB (goal < 80 MiB) %s\n",
                median.firstPaintMs, median.firstPaintMs < 300 ? "met" : "NOT met", median.residentMib,
                median.residentMib < 80 ? "met" : "NOT met");
    if (baseline.firstPaintMs >= 0) {
        std::printf("bare window median: first paint %.1f ms, resident %.1f MiB; the program adds %.1f ms, %.1f MiB\n",
                    baseline.firstPaintMs, baseline.residentMib, median.firstPaintMs - baseline.firstPaintMs,
                    median.residentMib - baseline.residentMib);
    } else {
        std::printf("the bare window did not report a first paint\n");
    }
    return 0;
}
