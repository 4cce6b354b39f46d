#include "app/AppPaths.h"

#include "platform/PrivateProfile.h"

namespace mousecfg::app {

AppPaths AppPaths::For(const std::filesystem::path& programFolder, const std::filesystem::path& resourceFolder) {
    AppPaths paths;
    paths.programFolder = std::filesystem::absolute(programFolder).lexically_normal();
    paths.resourceFolder = resourceFolder.empty() ? paths.programFolder / "res"
                                                  : std::filesystem::absolute(resourceFolder).lexically_normal();
    return paths;
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
