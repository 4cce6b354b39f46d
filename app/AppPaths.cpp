#include "app/AppPaths.h"

#include "platform/PrivateProfile.h"
#include "platform/ProgramPaths.h"

namespace mousecfg::app {

AppPaths AppPaths::For(const std::filesystem::path& programFolder, const std::filesystem::path& resourceFolder,
                       const std::filesystem::path& configFolder) {
    AppPaths paths;
    paths.programFolder = std::filesystem::absolute(programFolder).lexically_normal();
    paths.resourceFolder = resourceFolder.empty() ? FindResourceFolder(paths.programFolder)
                                                  : std::filesystem::absolute(resourceFolder).lexically_normal();
    paths.configFolder =
        configFolder.empty() ? paths.resourceFolder : std::filesystem::absolute(configFolder).lexically_normal();
    return paths;
}

Result<AppPaths> AppPaths::Resolve(const std::filesystem::path& programFolder,
                                   const std::filesystem::path& resourceOverride, bool simulated) {
    const Result<ProgramPaths> resolved =
        ResolveProgramPaths(programFolder, resourceOverride, simulated, UserEnvironment::FromProcess());
    if (!resolved) {
        return resolved.status();
    }
    return For(resolved->programFolder, resolved->resourceFolder, resolved->configFolder);
}

StartupDescription StartupDescription::Read(const std::filesystem::path& featureFile) {
    StartupDescription description;
    description.mutexName = ini::GetPrivateProfileString("Init", "MutexName", "", featureFile);
    description.resPath = ini::GetPrivateProfileString("Config", "ResPath", "", featureFile);
    return description;
}

std::string SkinFolderOfPrefix(const std::string& prefix) {
    const size_t slash = prefix.find('/');
    return slash == std::string::npos ? std::string() : prefix.substr(slash + 1);
}

}  // namespace mousecfg::app
