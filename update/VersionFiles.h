#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Status.h"

// The JSON files and replies of the software update: the updater's version description, the update server's
// reply to the version query, and the version window's local and downloaded version files. Every parser takes
// any text and answers nothing for what is not the expected shape (not JSON, wrongly typed, missing members);
// none of them throws.
namespace mousecfg::update {

// Texts longer than this in a version file are refused; replies are limited by the transfer.
inline constexpr size_t kMaxVersionFileSize = 64 * 1024;

// The updater's version description ("AutoUpdate/res/version/VersionInfo.json"): the product, the installed
// version and where to ask about newer ones.
struct VersionInfo {
    std::string productName;  // "product_name"
    std::string version;      // "version"
    std::string updateUrl;    // "update_url", an http or https address ending with "/"
    bool operator==(const VersionInfo&) const = default;

    // update_url + product_name + "/" + version, joined as they are: the description's "update_url" brings its
    // own separator.
    std::string QueryAddress() const;
};
// Nothing unless the text is an object with the three strings, "update_url" is a web address and the others
// hold no control characters.
std::optional<VersionInfo> ParseVersionInfo(std::string_view text);

// The update server's reply: {"code": 200, "data": {"total": N, "version": "...", "download_url": "..."}}.
// "version" and "download_url" are optional; a "download_url" that is no web address is dropped, and control
// characters are taken out of "version".
struct ServerReply {
    int64_t code = 0;
    int64_t total = 0;
    std::string latestVersion;
    std::string downloadUrl;
    bool operator==(const ServerReply&) const = default;

    // A newer version exists when "code" is 200 and "data"."total" is above 0 (the status must be 200 as well,
    // which the caller checks before parsing).
    bool NewerVersion() const { return code == 200 && total > 0; }
};
// Nothing unless "code" is an integer and "data" an object with an integer "total".
std::optional<ServerReply> ParseServerReply(std::string_view body);

// The version window's "Version/LocalVersion.json": {"LocalVersion": {"CurVersion", "SeverCenterURL",
// "TestFileURL"}}; missing or wrongly typed strings read as empty.
struct LocalVersion {
    std::string curVersion;
    std::string serverCenterUrl;
    std::string testFileUrl;  // the update server's test file, for the download button
};
std::optional<LocalVersion> ParseLocalVersion(std::string_view text);

// The downloaded "SeverVersion.json": {"SeverVersion": {"MaxVersion": "..."}}; nothing when "MaxVersion" is
// missing or not a string.
std::optional<std::string> ParseServerVersion(std::string_view text);

// A version file's text: fails when it cannot be read or is larger than kMaxVersionFileSize.
Result<std::string> ReadVersionFile(const std::filesystem::path& file);

}  // namespace mousecfg::update
