#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace mousecfg::update {

// The single-instance name of the updater: its socket answers "restore" by showing the updater's window.
inline constexpr const char* kUpdaterInstanceName = "mousecfg-AutoUpdate";

// Starts the updater, the separate program in the "AutoUpdate" folder beside this one, or brings back the one
// that runs already. UI thread.
class UpdaterLauncher {
public:
    enum class Outcome {
        Raised,        // an updater of this user runs; its window came back
        NotRaised,     // an updater of this user runs but did not answer: nothing is done
        Started,       // none ran; the updater was started
        StartFailed    // none ran and the updater could not be started (missing, not executable)
    };

    // `program` is the updater's executable; `raise` asks a running updater to show its window (through its own
    // single-instance socket) and says whether it answered. `procRoot` and `uid` choose where running processes
    // are looked for (the system's and this user's, except in tests).
    UpdaterLauncher(std::filesystem::path program, std::function<bool()> raise, std::filesystem::path procRoot = "/proc",
                    uid_t uid = ::getuid());

    // Looks for a running process of the updater: named like its executable and running that very file (another
    // program of the same name, or the updater of another installation, does not count). When there is one,
    // asks it twice to raise its window; when there is none, starts the updater detached in its own folder.
    Outcome Start();

private:
    bool Running() const;

    std::filesystem::path program_;
    std::function<bool()> raise_;
    std::filesystem::path procRoot_;
    uid_t uid_;
};

}  // namespace mousecfg::update
