#pragma once

#include "platform/ProgramLauncher.h"

namespace mousecfg::qt {

// Finds programs on PATH and starts them with QProcess::startDetached: an argument list, no shell, and a process
// that is not a child left for this one to reap.
class QtProgramLauncher final : public ProgramLauncher {
public:
    std::optional<std::filesystem::path> FindProgram(std::string_view name) const override;
    Status StartDetached(const std::filesystem::path& program, const std::vector<std::string>& arguments) override;
};

}  // namespace mousecfg::qt
