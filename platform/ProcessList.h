#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string_view>
#include <vector>

namespace mousecfg {

// The running processes of user `uid` whose program is called `name`, compared without case: either the
// kernel's short name of the process (/proc/<pid>/comm, at most 15 characters) or the file name of its first
// command-line argument. Processes that have ended but were not yet waited for are left out. Ids ascending;
// empty when the process folder cannot be read. `procRoot` is "/proc" except in tests. Any thread.
std::vector<pid_t> FindProcessesByName(std::string_view name, uid_t uid,
                                       const std::filesystem::path& procRoot = "/proc");

// The program file a process runs (/proc/<pid>/exe); empty when it cannot be read (another user's process, or
// one that has ended).
std::filesystem::path ProcessExecutable(pid_t pid, const std::filesystem::path& procRoot = "/proc");

}  // namespace mousecfg
