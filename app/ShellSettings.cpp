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
    // A host (with port or path) and nothing else, under a domain that can resolve.
    if (!IsWebAddress(address)) {
        return {};
    }
    return NeverResolves(address.substr(address.find("://") + 3)) ? std::string() : address;
}

// Hosts under the domains reserved for examples and for invalid names can never be reached (a placeholder
// address in an old settings file is one).
bool ShellSettings::NeverResolves(std::string_view hostAndPath) {
    std::string host(hostAndPath.substr(0, hostAndPath.find_first_of(":/?#")));
    for (char& c : host) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    while (host.ends_with('.')) {
        host.pop_back();
    }
    for (const std::string_view reserved : {"example", "invalid"}) {
        if (host == reserved || (host.ends_with(reserved) && host[host.size() - reserved.size() - 1] == '.')) {
            return true;
        }
    }
    return false;
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
