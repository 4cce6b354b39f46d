#include "update/HttpClient.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>

#include "platform/AtomicFile.h"
#include "platform/UrlOpener.h"

namespace mousecfg::update {
namespace {

// libcurl is initialised once for the process and never cleaned up: its global clean-up is not safe while
// another thread may still be using it.
void InitialiseCurl() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_ALL); });
}

// A buffer the write callback fills up to a limit; past it the transfer is ended.
struct Sink {
    std::string* text;
    size_t limit;
    bool overflow = false;
};

size_t Append(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<Sink*>(user);
    const size_t bytes = size * count;
    if (sink->text->size() + bytes > sink->limit) {
        sink->overflow = true;
        return 0;
    }
    sink->text->append(data, bytes);
    return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    const auto* cancel = static_cast<const std::atomic<bool>*>(user);
    return cancel != nullptr && cancel->load() ? 1 : 0;
}

struct CurlDeleter {
    void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};

void SetOptions(CURL* curl, const std::string& url, const HttpLimits& limits, Sink& body, Sink& headers,
                const std::atomic<bool>* cancel) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);  // timeouts without signals: safe in a threaded program
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, Append);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &headers);
    // The progress callback prints nothing; it only lets another thread end the transfer.
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, Progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, cancel);
}

}  // namespace

HttpResponse HttpGet(const std::string& url, const HttpLimits& limits, const std::atomic<bool>* cancel) {
    HttpResponse response;
    if (!IsWebAddress(url)) {
        response.error = "not an http or https address: " + url;
        return response;
    }
    InitialiseCurl();
    const std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) {
        response.error = "libcurl could not create a transfer";
        return response;
    }
    Sink body{&response.body, limits.maxBytes};
    Sink headers{&response.headers, limits.maxBytes};
    SetOptions(curl.get(), url, limits, body, headers, cancel);
    const CURLcode result = curl_easy_perform(curl.get());
    curl_easy_getinfo(curl.get(), CURLINFO_RESPONSE_CODE, &response.status);
    curl_easy_getinfo(curl.get(), CURLINFO_TOTAL_TIME, &response.totalSeconds);
    if (char* effective = nullptr; curl_easy_getinfo(curl.get(), CURLINFO_EFFECTIVE_URL, &effective) == CURLE_OK &&
                                   effective != nullptr) {
        response.effectiveUrl = effective;
    }
    if (body.overflow || headers.overflow || result == CURLE_FILESIZE_EXCEEDED) {
        response.error = "the reply is larger than " + std::to_string(limits.maxBytes) + " bytes";
    } else if (result != CURLE_OK) {
        response.error = curl_easy_strerror(result);
    }
    return response;
}

Status HttpDownload(const std::string& url, const std::filesystem::path& file, const HttpLimits& limits,
                    const std::atomic<bool>* cancel) {
    const HttpResponse response = HttpGet(url, limits, cancel);
    if (!response.error.empty()) {
        return Status::Error(url + ": " + response.error);
    }
    if (response.status != 200) {
        return Status::Error(url + ": the server answered " + std::to_string(response.status));
    }
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (error) {
        return Status::Error(file.parent_path().string() + ": " + error.message());
    }
    return WriteFileAtomically(file, response.body);
}

}  // namespace mousecfg::update
