#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

namespace mousecfg::app {

// The shell's keys of the settings file ("res/Set.ini"): read when they are needed, written at once, decimal
// integers as the private-profile functions read them (a missing key reads as 0).
class ShellSettings {
public:
    explicit ShellSettings(std::filesystem::path file) : file_(std::move(file)) {}

    int Language() const { return Int("Set", "Language"); }
    bool DpiPopupEnabled() const { return Int("Set", "DpiPopEn") != 0; }
    bool AutomaticallyOpen() const { return Int("Set", "AutomaticallyOpenEn") != 0; }
    bool AutomaticallyHide() const { return Int("Set", "AutomaticallyHideEn") != 0; }
    bool OnePageLayout() const { return Int("Set", "OnlyOnePageVersion") != 0; }
    std::string SoftName() const;
    // The manual and macro-sharing server ("https://host"), without a trailing "/"; empty when the key is
    // missing, does not hold an http or https address, or names a host under a domain reserved never to resolve
    // (".example", ".invalid").
    std::string ServerAddress() const;
    int CloseOption() const { return Int("CloseConfig", "CloseOption"); }
    int Remind() const { return Int("CloseConfig", "Remind"); }
    // Section "PublicLed": name -> integer; entries with an empty value are skipped.
    std::map<std::string, int> PublicLed() const;

    bool SetLanguage(int index) const { return SetInt("Set", "Language", index); }
    bool SetCloseOption(int option) const { return SetInt("CloseConfig", "CloseOption", option); }
    bool SetRemind(int remind) const { return SetInt("CloseConfig", "Remind", remind); }

    const std::filesystem::path& File() const { return file_; }

private:
    static bool NeverResolves(std::string_view hostAndPath);
    int Int(const char* section, const char* key) const;
    bool SetInt(const char* section, const char* key, int value) const;
    std::filesystem::path file_;
};

}  // namespace mousecfg::app
