#pragma once

#include <filesystem>
#include <string>

#include "platform/Status.h"

namespace mousecfg {

// The three folders every program of the project works with, decided in one place for the window and the tool:
//  - programFolder: where the running executable is;
//  - resourceFolder: the read-only resources (skins, pictures, languages, device catalogue, model defaults):
//    "share/mousecfg" beside the "bin" folder of an install (found from the executable, so the install can be
//    moved to any prefix), else "res" beside the executable (a build folder);
//  - configFolder: what the user changes (settings, configuration documents, profile tags, macro document), laid
//    out like the resource folder: $XDG_CONFIG_HOME/mousecfg (~/.config/mousecfg). A run against the virtual
//    mouse uses a copy of its own, $XDG_STATE_HOME/mousecfg/simulate/res (~/.local/state/...), so simulating
//    never touches the real configuration. A folder named on the command line (--res DIR) is both at once.
struct ProgramPaths {
    std::filesystem::path programFolder;
    std::filesystem::path resourceFolder;
    std::filesystem::path configFolder;
};

// The environment variables the per-user folders are derived from; empty when unset.
struct UserEnvironment {
    std::string configHome;  // XDG_CONFIG_HOME
    std::string stateHome;   // XDG_STATE_HOME
    std::string home;        // HOME

    static UserEnvironment FromProcess();
};

// The folder of the running executable (/proc/self/exe); `fallback` when it cannot be read.
std::filesystem::path RunningProgramFolder(const std::filesystem::path& fallback = ".");

// The resource folder of a program in `programFolder` (see ProgramPaths). The install layout wins when its
// folder exists; otherwise "res" beside the program, whether or not it exists.
std::filesystem::path FindResourceFolder(const std::filesystem::path& programFolder);

// The folder of the updater program ("AutoUpdate" with the updater and its own resources): in an install
// "libexec/mousecfg/AutoUpdate" of the prefix (executables have no place in share/ or bin/ subfolders), else
// "AutoUpdate" beside the program. cmake/Install.cmake's mousecfg_install_updater puts it there.
std::filesystem::path FindUpdaterFolder(const std::filesystem::path& programFolder);

// The per-user folder for what the user changes, the real one or the virtual mouse's. XDG variables that are
// not absolute paths are ignored, as the XDG rules ask. Fails when neither they nor HOME name a folder.
Result<std::filesystem::path> UserConfigFolder(const UserEnvironment& environment, bool simulated);

// All three folders. `resourceOverride` (--res) names one folder for both resources and configuration;
// otherwise the resources are found from the program folder and the configuration is the per-user folder.
// Nothing is created here (see UserDocuments for the per-user copy).
Result<ProgramPaths> ResolveProgramPaths(const std::filesystem::path& programFolder,
                                         const std::filesystem::path& resourceOverride, bool simulated,
                                         const UserEnvironment& environment);

}  // namespace mousecfg
