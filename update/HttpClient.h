#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

#include "platform/Status.h"

namespace mousecfg::update {

// Bounds of one transfer: a check must never hang the program, follow redirections forever or fill the memory.
struct HttpLimits {
    std::chrono::milliseconds connectTimeout{5000};
    std::chrono::milliseconds totalTimeout{15000};
    long maxRedirects = 50;
    size_t maxBytes = 64 * 1024;  // of the body (and, separately, of the headers)
};

// What came back. `status` is 0 when no response arrived (no server, refused address, timeout before the
// headers); `error` is empty only when the transfer completed within the limits.
struct HttpResponse {
    long status = 0;
    std::string body;
    std::string headers;
    double totalSeconds = 0;
    std::string effectiveUrl;
    std::string error;
};

// A GET request of an http or https address with libcurl (other schemes are refused, also as redirection
// targets), within `limits`. `cancel`, when given and set by another thread, ends the transfer early. Blocks
// until done: call it from a worker, never from the user-interface thread. Any thread.
HttpResponse HttpGet(const std::string& url, const HttpLimits& limits, const std::atomic<bool>* cancel = nullptr);

// Downloads `url` into `file` (its folder created when missing). `file` is replaced atomically, and only when
// the whole answer arrived with status 200: a failed, refused or interrupted download leaves `file` as it was
// and no partial file behind. Any thread, as HttpGet.
Status HttpDownload(const std::string& url, const std::filesystem::path& file, const HttpLimits& limits,
                    const std::atomic<bool>* cancel = nullptr);

}  // namespace mousecfg::update
