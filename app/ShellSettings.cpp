#include "app/ShellSettings.h"

#include <string>

#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "platform/UrlOpener.h"

namespace mousecfg::app {

int ShellSettings::Int(const char* section, const char* key) const {
    return ini::GetProfileNumber(section, key, file_);
}

bool ShellSettings::SetInt(const char* section, const char* key, int value) const {
    const Status status = ini::WritePrivateProfileString(section, key, std::to_string(value), file_);
    if (!status) {
        trace::Printf("%s\n", status.message().c_str());
    }
    return status.ok();
}

std::string ShellSettings::SoftName() const {
    return ini::GetPrivateProfileString("Set", "SoftName", "", file_);
}

std::string ShellSettings::ServerAddress() const {
    std::string address = ini::GetPrivateProfileString("Set", "ServerAddress", "", file_);
    while (address.ends_with('/')) {
        address.pop_back();
    }
    // A host (with port or path) and nothing else: blanks, quotes and control characters are refused.
    return IsWebAddress(address) ? address : std::string();
}

std::map<std::string, int> ShellSettings::PublicLed() const {
    std::map<std::string, int> map;
    for (const auto& [name, value] : ini::GetPrivateProfileEntries("PublicLed", file_)) {
        if (!value.empty()) {
            map.emplace(name, ini::Atoi(value));
        }
    }
    return map;
}

}  // namespace mousecfg::app
