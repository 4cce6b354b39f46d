// Feeds arbitrary text to the parsers of the software update: the update server's reply, the updater's version
// description and the version window's files. What a parser accepts, written back as JSON, must parse to the same
// values, and the rules that follow from it must hold (a newer version only for code 200 and a total above 0;
// the query address starts with the update address; kept addresses are web addresses).
#include <cstdint>
#include <nlohmann/json.hpp>
#include <string_view>

#include "platform/UrlOpener.h"
#include "tests/fuzz/FuzzSupport.h"
#include "update/VersionFiles.h"

namespace {

using mousecfg::fuzz::Check;
using nlohmann::json;
using namespace mousecfg::update;

void CheckReply(std::string_view text) {
    const auto reply = ParseServerReply(text);
    if (!reply) {
        return;
    }
    Check(reply->NewerVersion() == (reply->code == 200 && reply->total > 0), "newer only for code 200 and a total above 0");
    Check(reply->downloadUrl.empty() || mousecfg::IsWebAddress(reply->downloadUrl), "the download page is a web address");
    Check(reply->latestVersion.size() <= 64, "the latest version is one short line");
    const json rebuilt = {{"code", reply->code},
                          {"data", {{"total", reply->total}, {"version", reply->latestVersion},
                                    {"download_url", reply->downloadUrl}}}};
    const auto again = ParseServerReply(rebuilt.dump(-1, ' ', false, json::error_handler_t::replace));
    Check(again.has_value(), "a reply written back parses");
    Check(again->code == reply->code && again->total == reply->total && again->downloadUrl == reply->downloadUrl,
          "a reply written back parses to the same values");
}

void CheckVersionInfo(std::string_view text) {
    const auto info = ParseVersionInfo(text);
    if (!info) {
        return;
    }
    Check(mousecfg::IsWebAddress(info->updateUrl), "the update address is a web address");
    Check(info->QueryAddress().starts_with(info->updateUrl), "the query starts with the update address");
    const json rebuilt = {{"product_name", info->productName}, {"version", info->version}, {"update_url", info->updateUrl}};
    const auto again = ParseVersionInfo(rebuilt.dump(-1, ' ', false, json::error_handler_t::replace));
    // Texts that are not valid UTF-8 come back changed by the JSON writer; everything else comes back the same.
    if (again) {
        Check(again->updateUrl == info->updateUrl, "a description written back keeps its address");
    }
}

void CheckVersionWindowFiles(std::string_view text) {
    if (const auto local = ParseLocalVersion(text)) {
        Check(local->curVersion.size() <= 64, "the installed version is one short line");
    }
    if (const auto latest = ParseServerVersion(text)) {
        Check(latest->size() <= 64, "the latest version is one short line");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = mousecfg::fuzz::Text(data, size);
    CheckReply(text);
    CheckVersionInfo(text);
    CheckVersionWindowFiles(text);
    return 0;
}
