#include "platform/DetachedProcess.h"

#include <fcntl.h>
#include <linux/close_range.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace mousecfg {
namespace {

// What the program's child reports through the pipe when it cannot start the program: the step and errno.
struct ChildFailure {
    int step = 0;  // 1 working folder, 2 exec, 3 fork
    int error = 0;
};

[[noreturn]] void Fail(int reportFd, int step) {
    const ChildFailure failure{step, errno};
    [[maybe_unused]] const ssize_t written = ::write(reportFd, &failure, sizeof failure);
    ::_exit(127);
}

// Runs in the forked child of a possibly multi-threaded process: only async-signal-safe calls from here on.
[[noreturn]] void RunChild(const char* program, char* const* argv, const char* folder, int reportFd, int maxFd) {
    ::setsid();
    const pid_t grandchild = ::fork();
    if (grandchild < 0) {
        Fail(reportFd, 3);
    }
    if (grandchild > 0) {
        ::_exit(0);  // the program is adopted by init and reaped there
    }
    if (folder != nullptr && ::chdir(folder) != 0) {
        Fail(reportFd, 1);
    }
    const int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    if (devNull >= 0) {
        ::dup2(devNull, STDIN_FILENO);
    }
    // Descriptors of this process (the mouse's device nodes, sockets) must not reach the program.
    if (::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC) != 0) {
        for (int fd = 3; fd < maxFd; ++fd) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        }
    }
    ::execv(program, argv);
    Fail(reportFd, 2);
}

Status Failure(const std::filesystem::path& program, const char* what, int error) {
    return Status::Error(program.string() + ": " + what + ": " + std::strerror(error));
}

}  // namespace

Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                     const std::filesystem::path& workingFolder) {
    // Everything the child needs is prepared before fork: it may not allocate.
    const std::string programText = program.string();
    const std::string folderText = workingFolder.string();
    std::vector<std::string> texts;
    texts.push_back(programText);
    texts.insert(texts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const long openMax = ::sysconf(_SC_OPEN_MAX);
    const int maxFd = openMax > 0 && openMax < 65536 ? static_cast<int>(openMax) : 65536;

    // Output this process has buffered must not be written again by the children.
    std::fflush(nullptr);
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) {
        return Failure(program, "cannot start", errno);
    }
    const pid_t child = ::fork();
    if (child < 0) {
        const int error = errno;
        ::close(report[0]);
        ::close(report[1]);
        return Failure(program, "cannot start", error);
    }
    if (child == 0) {
        ::close(report[0]);
        RunChild(programText.c_str(), argv.data(), folderText.empty() ? nullptr : folderText.c_str(), report[1], maxFd);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes without a word when the program started (close-on-exec), or carries the failure.
    ChildFailure failure;
    ssize_t got = 0;
    do {
        got = ::read(report[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    ::close(report[0]);
    if (got == static_cast<ssize_t>(sizeof failure)) {
        const char* step = failure.step == 1 ? "cannot change to its folder" : "cannot start";
        return Failure(failure.step == 1 ? workingFolder : program, step, failure.error);
    }
    if (got != 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return Failure(program, "cannot start", ECHILD);
    }
    return Status::Ok();
}

}  // namespace mousecfg
