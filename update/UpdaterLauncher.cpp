#include "update/UpdaterLauncher.h"

#include "platform/DetachedProcess.h"
#include "platform/ProcessList.h"
#include "platform/Trace.h"

namespace mousecfg::update {

UpdaterLauncher::UpdaterLauncher(std::filesystem::path program, std::function<bool()> raise,
                                 std::filesystem::path procRoot, uid_t uid)
    : program_(std::move(program)), raise_(std::move(raise)), procRoot_(std::move(procRoot)), uid_(uid) {}

bool UpdaterLauncher::Running() const {
    for (const pid_t pid : FindProcessesByName(program_.filename().string(), uid_, procRoot_)) {
        std::error_code error;
        const std::filesystem::path file = ProcessExecutable(pid, procRoot_);
        if (!file.empty() && std::filesystem::equivalent(file, program_, error)) {
            return true;
        }
    }
    return false;
}

UpdaterLauncher::Outcome UpdaterLauncher::Start() {
    const std::string name = program_.filename().string();
    if (Running()) {
        // The updater may still be setting up its socket: the window is asked for twice.
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (raise_ && raise_()) {
                return Outcome::Raised;
            }
        }
        trace::Printf("updater: %s runs but did not answer\n", name.c_str());
        return Outcome::NotRaised;
    }
    const Status started = StartDetached(program_, {}, program_.parent_path());
    if (!started) {
        trace::Printf("updater: %s\n", started.message().c_str());
        return Outcome::StartFailed;
    }
    return Outcome::Started;
}

}  // namespace mousecfg::update
