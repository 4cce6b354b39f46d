#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Status.h"

namespace mousecfg {

// Starts other programs of the desktop (its mouse settings, an on-screen keyboard) as processes of their own,
// with an argument list and never through a shell: SystemProgramLauncher in the program, a recording fake in
// tests. Called on the user-interface thread.
class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The executable file that `name` (a bare program name) names on the search path; none when there is none.
    virtual std::optional<std::filesystem::path> FindProgram(std::string_view name) const = 0;
    // Starts `program` with `arguments`; the process outlives this one. The failure says why it did not start.
    virtual Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments) = 0;
};

// The programs of this computer: found along PATH, started by StartDetached of DetachedProcess.h.
class SystemProgramLauncher final : public ProgramLauncher {
public:
    std::optional<std::filesystem::path> FindProgram(std::string_view name) const override;
    Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments) override;
};

// The first folder of `searchPath` (folders joined by ':'; an empty entry is the working folder, as for execvp)
// that holds an executable regular file `name`. None for names with a '/' or an empty name.
std::optional<std::filesystem::path> FindOnPath(std::string_view name, std::string_view searchPath);

}  // namespace mousecfg
