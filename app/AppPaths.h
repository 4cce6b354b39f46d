#pragma once

#include <filesystem>
#include <string>

namespace mousecfg::app {

// Where the program finds its files. Everything lives in the resource folder ("res" beside the program, or the
// folder given with --res): skins, model folders, languages, the settings file. Paths are absolute.
struct AppPaths {
    std::filesystem::path programFolder;
    std::filesystem::path resourceFolder;

    static AppPaths For(const std::filesystem::path& programFolder, const std::filesystem::path& resourceFolder = {});

    // The default model's description: the instance name and the skin folders are read from it.
    std::filesystem::path FeatureFile() const { return ModelFolder("MouseA") / "Config" / "DeviceFeature.ini"; }
    std::filesystem::path SettingsFile() const { return resourceFolder / "Set.ini"; }
    std::filesystem::path LanguageFolder() const { return resourceFolder / "Language"; }
    // The user's manual installed with the program, opened when no manual server is configured.
    std::filesystem::path ManualFile() const { return resourceFolder / "Manual" / "index.html"; }
    std::filesystem::path ExtraFontsFile() const { return LanguageFolder() / "ExFont.json"; }
    std::filesystem::path ColourFile() const { return ModelFolder("MouseA") / "Config" / "PopColor.ini"; }
    // A model folder named by the device catalogue ("DevFolder").
    std::filesystem::path ModelFolder(const std::string& folder) const { return resourceFolder / "VeruzUrir" / folder; }
    // A skin folder by its name ("res_black"); the resource folder itself for an empty name.
    std::filesystem::path SkinFolder(const std::string& name) const {
        return name.empty() ? resourceFolder : resourceFolder / name;
    }
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
