#include "app/settings/SettingStore.h"

#include "platform/PrivateProfile.h"

namespace mousecfg::app {
namespace {

constexpr std::string_view kSection = "Set";

}  // namespace

SettingStore::SettingStore(std::filesystem::path file, Writer writer) : file_(std::move(file)), writer_(std::move(writer)) {
    if (!writer_) {
        writer_ = [](std::string_view section, std::string_view key, std::string_view value,
                     const std::filesystem::path& target) {
            return ini::WritePrivateProfileString(section, key, value, target);
        };
    }
}

int SettingStore::Get(std::string_view key) const {
    return ini::GetProfileNumber(kSection, key, file_);
}

int SettingStore::Get(std::string_view key, int missing) const {
    return ini::GetPrivateProfileInt(kSection, key, missing, file_);
}

std::string SettingStore::GetText(std::string_view key) const {
    return ini::GetPrivateProfileString(kSection, key, "", file_);
}

Status SettingStore::Set(std::string_view key, int value) const {
    return writer_(kSection, key, std::to_string(value), file_);
}

bool SettingStore::LowBatteryNoticeEnabled(const std::filesystem::path& file) {
    return ini::GetPrivateProfileInt(kSection, kLowBatteryNoticeKey, 1, file) != 0;
}

}  // namespace mousecfg::app
