#pragma once

#include <filesystem>
#include <string>

#include "platform/ProgramPaths.h"
#include "platform/Status.h"

namespace mousecfg::app {

// Where the program finds its files (platform/ProgramPaths.h decides them). The read-only resources (skins,
// pictures, languages, catalogue, model defaults and position files) come from the resource folder; what the
// user changes (settings, the model files' profile tags and skin choice, colour presets, configuration and
// macro documents) from the configuration folder, a per-user copy laid out like the resource folder. With --res
// both are the same folder. Paths are absolute.
struct AppPaths {
    std::filesystem::path programFolder;
    std::filesystem::path resourceFolder;
    std::filesystem::path configFolder;

    // The paths with the folders given; an empty resource folder is found from the program folder, an empty
    // configuration folder is the resource folder.
    static AppPaths For(const std::filesystem::path& programFolder, const std::filesystem::path& resourceFolder = {},
                        const std::filesystem::path& configFolder = {});
    // The paths of a start: --res DIR for both, else the install's resources and the per-user folder (the
    // virtual mouse's own copy when `simulated`). Fails when there is no per-user folder (no HOME).
    static Result<AppPaths> Resolve(const std::filesystem::path& programFolder,
                                    const std::filesystem::path& resourceOverride, bool simulated);

    // The default model's description: the instance name and the skin folders are read from it, the skin in use
    // is written to it.
    std::filesystem::path FeatureFile() const { return configFolder / kDefaultModelConfig / "DeviceFeature.ini"; }
    std::filesystem::path SettingsFile() const { return configFolder / "Set.ini"; }
    std::filesystem::path LanguageFolder() const { return resourceFolder / "Language"; }
    // The user's manual installed with the program, opened when no manual server is configured.
    std::filesystem::path ManualFile() const { return resourceFolder / "Manual" / "index.html"; }
    std::filesystem::path ExtraFontsFile() const { return LanguageFolder() / "ExFont.json"; }
    std::filesystem::path ColourFile() const { return configFolder / kDefaultModelConfig / "PopColor.ini"; }
    // A model folder named by the device catalogue ("DevFolder"): its position files and pictures.
    std::filesystem::path ModelFolder(const std::string& folder) const { return resourceFolder / "VeruzUrir" / folder; }
    // A skin folder by its name ("res_black"); the resource folder itself for an empty name.
    std::filesystem::path SkinFolder(const std::string& name) const {
        return name.empty() ? resourceFolder : resourceFolder / name;
    }
    std::filesystem::path IconFile() const { return resourceFolder / "icon" / "mousecfg.png"; }
    // The updater's folder ("AutoUpdate"): beside the program in a build folder, libexec/mousecfg/ when installed.
    std::filesystem::path UpdaterFolder() const { return FindUpdaterFolder(programFolder); }

    // The software update: the updater program and its version description in the updater's folder, and the
    // separate upgrade program beside this one. The version window reads "Version/LocalVersion.json" of the
    // resources and writes what it downloads to the configuration folder ("Version/SeverVersion.json",
    // "Version/123/").
    std::filesystem::path UpdaterProgram() const { return UpdaterFolder() / "AutoUpdate"; }
    std::filesystem::path UpdaterVersionFile() const { return UpdaterFolder() / "res" / "version" / "VersionInfo.json"; }
    std::filesystem::path UpgradeProgram() const { return programFolder / "Upgrade"; }
    std::filesystem::path LocalVersionFile() const { return resourceFolder / "Version" / "LocalVersion.json"; }
    std::filesystem::path ServerVersionFile() const { return configFolder / "Version" / "SeverVersion.json"; }
    std::filesystem::path TestDownloadFolder() const { return configFolder / "Version" / "123"; }

private:
    static constexpr const char* kDefaultModelConfig = "VeruzUrir/MouseA/Config";
};

// What the entry reads from the default model's description before anything else: the instance name (also the
// main window's class name and first title) and the skin folder in use. Missing keys read as empty.
struct StartupDescription {
    std::string mutexName;
    std::string resPath;

    // "./" + the skin folder: the form in which the skin in use is remembered and compared.
    std::string SkinPrefix() const { return "./" + resPath; }
    static StartupDescription Read(const std::filesystem::path& featureFile);
};

// The skin folder name of a prefix: the text after its first "/" ("./res_white" -> "res_white").
std::string SkinFolderOfPrefix(const std::string& prefix);

}  // namespace mousecfg::app
