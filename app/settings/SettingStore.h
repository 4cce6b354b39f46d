#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "platform/Status.h"

namespace mousecfg::app {

// The key of the low-battery notice switch in section "Set"; unlike the other switches it is on when missing.
inline constexpr std::string_view kLowBatteryNoticeKey = "LowBatteryNoticeEn";

// The settings window's keys of section "Set" of the settings file: read as the private-profile functions read
// them (a missing key reads as 0), written at once, one key at a time as decimal text. Every write reports its
// failure and leaves the file as it was. Any thread (the file functions lock), used by the UI thread.
class SettingStore {
public:
    // How a value reaches the file; the private-profile write unless a test puts a failing one in its place.
    using Writer = std::function<Status(std::string_view section, std::string_view key, std::string_view value,
                                        const std::filesystem::path& file)>;

    explicit SettingStore(std::filesystem::path file, Writer writer = {});

    int Get(std::string_view key) const;
    // As Get, with `missing` for a key that is not there or empty.
    int Get(std::string_view key, int missing) const;
    std::string GetText(std::string_view key) const;
    Status Set(std::string_view key, int value) const;

    // Whether the low-battery notice is switched on in `file` (on when the key is missing).
    static bool LowBatteryNoticeEnabled(const std::filesystem::path& file);

    const std::filesystem::path& File() const { return file_; }

private:
    std::filesystem::path file_;
    Writer writer_;
};

}  // namespace mousecfg::app
