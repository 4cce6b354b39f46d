#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/MessageSink.h"
#include "update/HttpClient.h"

namespace mousecfg::update {

// The outcome of one version check. `newer` is false after every failure; `detail` says why, for the trace.
struct UpdateCheckResult {
    bool newer = false;
    std::string currentVersion;  // of the version description
    std::string latestVersion;   // as the server names it; may be empty
    std::string downloadUrl;     // the server's download page; may be empty
    std::string detail;

    // As a message for a window: wParam 1 when newer, the versions and the page in the text, one per line.
    Message ToMessage(uint32_t id) const;
    static UpdateCheckResult FromMessage(const Message& message);
};

// Asks the update server whether a newer version of the product exists: reads the version description
// `versionFile`, queries its address (update_url + product_name + "/" + version) within `limits`, and applies the
// rules: status 200, "code" 200 and "data"."total" above 0. A missing or damaged description, a failed or
// oversized transfer, another status, a reply that is not the expected JSON: not newer. Blocks for up to the
// limits' total time: call it from a worker. Any thread.
UpdateCheckResult CheckForUpdate(const std::filesystem::path& versionFile, const HttpLimits& limits,
                                 const std::atomic<bool>* cancel = nullptr);

}  // namespace mousecfg::update
