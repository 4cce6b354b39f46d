#include "update/UpdateCheck.h"

#include "platform/Trace.h"
#include "update/VersionFiles.h"

namespace mousecfg::update {

Message UpdateCheckResult::ToMessage(uint32_t id) const {
    return Message{id, newer ? 1u : 0u, 0, currentVersion + "\n" + latestVersion + "\n" + downloadUrl};
}

UpdateCheckResult UpdateCheckResult::FromMessage(const Message& message) {
    UpdateCheckResult result;
    result.newer = message.wParam == 1;
    const std::string& text = message.text;
    const size_t first = text.find('\n');
    const size_t second = first == std::string::npos ? std::string::npos : text.find('\n', first + 1);
    result.currentVersion = text.substr(0, first);
    if (second != std::string::npos) {
        result.latestVersion = text.substr(first + 1, second - first - 1);
        result.downloadUrl = text.substr(second + 1);
    }
    return result;
}

UpdateCheckResult CheckForUpdate(const std::filesystem::path& versionFile, const HttpLimits& limits,
                                 const std::atomic<bool>* cancel) {
    UpdateCheckResult result;
    const Result<std::string> text = ReadVersionFile(versionFile);
    const auto info = text ? ParseVersionInfo(*text) : std::nullopt;
    if (!info) {
        result.detail = text ? versionFile.string() + ": not a version description" : text.message();
        return result;
    }
    result.currentVersion = info->version;
    const std::string address = info->QueryAddress();
    const HttpResponse response = HttpGet(address, limits, cancel);
    trace::Printf("update check: %s -> %ld in %.2f s (%s)%s%s\n", address.c_str(), response.status,
                  response.totalSeconds, response.effectiveUrl.c_str(), response.error.empty() ? "" : ": ",
                  response.error.c_str());
    if (!response.error.empty() || response.status != 200) {
        result.detail = !response.error.empty() ? response.error : "status " + std::to_string(response.status);
        return result;
    }
    const auto reply = ParseServerReply(response.body);
    if (!reply) {
        result.detail = "the reply is not the expected JSON";
        return result;
    }
    result.newer = reply->NewerVersion();
    result.latestVersion = reply->latestVersion;
    result.downloadUrl = reply->downloadUrl;
    result.detail = "code " + std::to_string(reply->code) + ", total " + std::to_string(reply->total);
    return result;
}

}  // namespace mousecfg::update
