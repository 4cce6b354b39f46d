#include "platform/ProgramPaths.h"

#include <cstdlib>
#include <optional>
#include <system_error>

namespace mousecfg {
namespace {

constexpr const char* kProgramName = "mousecfg";

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// An XDG base folder: the variable when it is an absolute path, else `fallback` below HOME; empty when neither.
std::filesystem::path BaseFolder(const std::string& variable, const std::string& home, const char* fallback) {
    if (!variable.empty() && variable.front() == '/') {
        return variable;
    }
    if (!home.empty()) {
        return std::filesystem::path(home) / fallback;
    }
    return {};
}

// Absolute, without "." and ".." parts and without a trailing separator.
std::filesystem::path Normal(const std::filesystem::path& path) {
    std::filesystem::path normal = std::filesystem::absolute(path).lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

// The prefix of an install whose "bin" folder is `folder`: the parent of a "bin" folder beside which
// share/mousecfg exists. Nothing for a build folder.
std::optional<std::filesystem::path> InstallPrefix(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.filename() == "bin" &&
        std::filesystem::is_directory(folder.parent_path() / "share" / kProgramName, error)) {
        return folder.parent_path();
    }
    return std::nullopt;
}

}  // namespace

UserEnvironment UserEnvironment::FromProcess() {
    return UserEnvironment{Variable("XDG_CONFIG_HOME"), Variable("XDG_STATE_HOME"), Variable("HOME")};
}

std::filesystem::path RunningProgramFolder(const std::filesystem::path& fallback) {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? fallback : program.parent_path();
}

std::filesystem::path FindResourceFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = Normal(programFolder);
    const auto prefix = InstallPrefix(folder);
    return prefix ? *prefix / "share" / kProgramName : folder / "res";
}

std::filesystem::path FindUpdaterFolder(const std::filesystem::path& programFolder) {
    const std::filesystem::path folder = Normal(programFolder);
    const auto prefix = InstallPrefix(folder);
    return prefix ? *prefix / "libexec" / kProgramName / "AutoUpdate" : folder / "AutoUpdate";
}


Result<std::filesystem::path> UserConfigFolder(const UserEnvironment& environment, bool simulated) {
    if (simulated) {
        const auto state = BaseFolder(environment.stateHome, environment.home, ".local/state");
        if (state.empty()) {
            return Status::Error("no folder for the simulation's configuration (set XDG_STATE_HOME or HOME, or use "
                                 "--res)");
        }
        return state / kProgramName / "simulate" / "res";
    }
    const auto config = BaseFolder(environment.configHome, environment.home, ".config");
    if (config.empty()) {
        return Status::Error("no folder for the configuration (set XDG_CONFIG_HOME or HOME, or use --res)");
    }
    return config / kProgramName;
}

Result<ProgramPaths> ResolveProgramPaths(const std::filesystem::path& programFolder,
                                         const std::filesystem::path& resourceOverride, bool simulated,
                                         const UserEnvironment& environment) {
    ProgramPaths paths;
    paths.programFolder = Normal(programFolder);
    if (!resourceOverride.empty()) {
        paths.resourceFolder = Normal(resourceOverride);
        paths.configFolder = paths.resourceFolder;
        return paths;
    }
    paths.resourceFolder = FindResourceFolder(paths.programFolder);
    Result<std::filesystem::path> user = UserConfigFolder(environment, simulated);
    if (!user) {
        return user.status();
    }
    paths.configFolder = Normal(*user);
    return paths;
}

}  // namespace mousecfg
