#include "config/UserDocuments.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <nlohmann/json.hpp>
#include <optional>
#include <string_view>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/IniDocument.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"

namespace mousecfg {
namespace {

using json = nlohmann::json;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameName(text.substr(0, prefix.size()), prefix);
}

// Which keys of an INI document the install decides: true for the model's and the factory's data, false for
// what the program writes on the user's behalf.
using InstallOwns = bool (*)(std::string_view section, std::string_view key);

bool SettingsInstallOwns(std::string_view section, std::string_view) {
    return SameName(section, "Reset");  // the factory values a configuration reset takes
}

bool ModelInstallOwns(std::string_view section, std::string_view key) {
    if (SameName(section, "RANDOM") || SameName(section, "MacUsed")) {
        return false;  // profile tags, and what a reset deletes
    }
    if (StartsWith(section, "ChipReset")) {
        // "profile0".."profile2" remember the user's DPI values per chip; "profile_reset*" are the factory's.
        return !(StartsWith(key, "profile") && key.size() > 7 && std::isdigit(static_cast<unsigned char>(key[7])));
    }
    return !(SameName(section, "Config") && SameName(key, "ResPath"));  // the skin choice
}

bool ColoursInstallOwns(std::string_view section, std::string_view) {
    return !SameName(section, "SelfDefine");  // the user's own colours
}

enum class Format { Ini, Json };

struct Document {
    std::filesystem::path relative;
    Format format;
    InstallOwns installOwns = nullptr;  // INI only
};

std::vector<Document> Documents(const std::filesystem::path& resources) {
    std::vector<Document> documents{{"Set.ini", Format::Ini, SettingsInstallOwns}};
    std::vector<std::filesystem::path> models;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(resources / "VeruzUrir", error)) {
        if (entry.is_directory(error) && std::filesystem::is_directory(entry.path() / "Config", error)) {
            models.push_back(std::filesystem::path("VeruzUrir") / entry.path().filename() / "Config");
        }
    }
    std::sort(models.begin(), models.end());
    for (const auto& config : models) {
        documents.push_back({config / "DeviceFeature.ini", Format::Ini, ModelInstallOwns});
        documents.push_back({config / "MouseConfig.json", Format::Json});
        documents.push_back({config / "PopColor.ini", Format::Ini, ColoursInstallOwns});
    }
    documents.push_back({"MacroDock/MacroData/macroConfig.json", Format::Json});
    std::erase_if(documents, [&](const Document& document) {
        return !std::filesystem::is_regular_file(resources / document.relative, error);
    });
    return documents;
}

// Adds to `user` the members of `install` it lacks; objects recursively, arrays of equal length element by
// element. True when something was added.
bool AddMissingMembers(json& user, const json& install) {
    bool changed = false;
    if (user.is_object() && install.is_object()) {
        for (const auto& [key, value] : install.items()) {
            const auto found = user.find(key);
            if (found == user.end()) {
                user[key] = value;
                changed = true;
            } else {
                changed = AddMissingMembers(*found, value) || changed;
            }
        }
    } else if (user.is_array() && install.is_array() && user.size() == install.size()) {
        for (size_t i = 0; i < user.size(); ++i) {
            changed = AddMissingMembers(user[i], install[i]) || changed;
        }
    }
    return changed;
}

// The upgraded text of an INI document, or nothing when it needs no change.
std::optional<std::string> UpgradeIni(const std::string& userText, const std::string& installText,
                                      InstallOwns installOwns) {
    ini::IniDocument user = ini::IniDocument::Parse(userText);
    const ini::IniDocument install = ini::IniDocument::Parse(installText);
    bool changed = false;
    for (const std::string_view section : install.SectionNames()) {
        for (const ini::IniDocument::Entry& entry : install.Entries(section)) {
            if (entry.duplicate || !entry.hasEquals) {
                continue;
            }
            if (installOwns(section, entry.name) || !user.FindValue(section, entry.name)) {
                changed = user.SetValue(section, entry.name, entry.value) || changed;
            }
        }
    }
    return changed ? std::optional<std::string>(user.Serialise()) : std::nullopt;
}

// The upgraded text of a JSON document, nothing when it needs no change; an error when the user's copy is not
// JSON (the install's not being JSON leaves the user's as it is).
Result<std::optional<std::string>> UpgradeJson(const std::string& userText, const std::string& installText) {
    json user;
    try {
        user = json::parse(userText);
    } catch (const json::exception& error) {
        return Status::Error(error.what());
    }
    try {
        if (!AddMissingMembers(user, json::parse(installText))) {
            return std::optional<std::string>();
        }
    } catch (const json::exception&) {
        return std::optional<std::string>();
    }
    return std::optional<std::string>(user.dump(4, ' ', false, json::error_handler_t::replace));
}

Status CreateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const bool existed = std::filesystem::is_directory(folder, error);
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return Status::Error("cannot create the configuration folder " + folder.string() + ": " +
                             (error ? error.message() : std::string("not a folder")));
    }
    if (!existed) {
        ::chmod(folder.c_str(), 0700);  // the user's settings are nobody else's business
    }
    return Status::Ok();
}

}  // namespace

std::vector<std::filesystem::path> UserDocuments::List(const std::filesystem::path& resourceFolder) {
    std::vector<std::filesystem::path> list;
    for (const Document& document : Documents(resourceFolder)) {
        list.push_back(document.relative);
    }
    return list;
}

Result<UserDocuments::Report> UserDocuments::Prepare(const std::filesystem::path& resourceFolder,
                                                     const std::filesystem::path& configFolder) {
    Report report;
    std::error_code error;
    if (std::filesystem::equivalent(resourceFolder, configFolder, error)) {
        return report;
    }
    if (const Status created = CreateFolder(configFolder); !created) {
        return created;
    }
    for (const Document& document : Documents(resourceFolder)) {
        const auto target = configFolder / document.relative;
        const Result<std::string> install = ReadWholeFile(resourceFolder / document.relative);
        if (!install) {
            continue;  // listed, so it exists: unreadable now, the next start tries again
        }
        std::optional<std::string> text;
        if (!std::filesystem::exists(target, error)) {
            if (const Status folder = CreateFolder(target.parent_path()); !folder) {
                return folder;
            }
            text = *install;
            report.seeded.push_back(document.relative.generic_string());
        } else {
            const Result<std::string> user = ReadWholeFile(target);
            if (!user) {
                return user.status();
            }
            if (document.format == Format::Ini) {
                text = UpgradeIni(*user, *install, document.installOwns);
            } else if (Result<std::optional<std::string>> json = UpgradeJson(*user, *install); json) {
                text = *json;
            } else {
                trace::Printf("%s: not upgraded, it does not read as JSON (%s)\n", target.string().c_str(),
                              json.message().c_str());
                report.damaged.push_back(document.relative.generic_string());
            }
            if (text) {
                report.upgraded.push_back(document.relative.generic_string());
            }
        }
        if (text) {
            if (const Status written = WriteFileAtomically(target, *text); !written) {
                return written;
            }
        }
    }
    ini::ClearCache();  // the files may have changed within one tick of the cache's clock
    return report;
}

}  // namespace mousecfg
