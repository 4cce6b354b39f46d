#include "platform/ProgramLauncher.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

#include "platform/DetachedProcess.h"

namespace mousecfg {

std::optional<std::filesystem::path> FindOnPath(std::string_view name, std::string_view searchPath) {
    if (name.empty() || name.find('/') != std::string_view::npos) {
        return std::nullopt;
    }
    size_t start = 0;
    while (start <= searchPath.size()) {
        size_t end = searchPath.find(':', start);
        if (end == std::string_view::npos) {
            end = searchPath.size();
        }
        const std::string_view folder = searchPath.substr(start, end - start);
        const std::filesystem::path candidate =
            (folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder)) / name;
        std::error_code error;
        if (std::filesystem::is_regular_file(candidate, error) && ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = end + 1;
    }
    return std::nullopt;
}

std::optional<std::filesystem::path> SystemProgramLauncher::FindProgram(std::string_view name) const {
    const char* path = std::getenv("PATH");
    return FindOnPath(name, path != nullptr ? path : "");
}

Status SystemProgramLauncher::StartDetached(const std::filesystem::path& program,
                                            const std::vector<std::string>& arguments) {
    return mousecfg::StartDetached(program, arguments);
}

}  // namespace mousecfg
