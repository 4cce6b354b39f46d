#include "update/VersionFiles.h"

#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>

#include "platform/UrlOpener.h"

namespace mousecfg::update {
namespace {

using nlohmann::json;

constexpr size_t kMaxVersionText = 64;

// The object of a JSON text; nothing for another value or a parse error.
std::optional<json> ParseObject(std::string_view text) {
    json value = json::parse(text.begin(), text.end(), nullptr, false);
    if (value.is_discarded() || !value.is_object()) {
        return std::nullopt;
    }
    return value;
}

// The object named `key` inside the object of a JSON text; nothing when either is missing or of another type.
std::optional<json> InnerObject(std::string_view text, const char* key) {
    auto object = ParseObject(text);
    if (!object) {
        return std::nullopt;
    }
    const auto inner = object->find(key);
    if (inner == object->end() || !inner->is_object()) {
        return std::nullopt;
    }
    return std::move(*inner);
}

std::optional<std::string> StringMember(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_string()) {
        return std::nullopt;
    }
    return it->get<std::string>();
}

std::optional<int64_t> IntegerMember(const json& object, const char* key) {
    const auto it = object.find(key);
    if (it == object.end() || !it->is_number_integer()) {
        return std::nullopt;
    }
    if (it->is_number_unsigned()) {
        const uint64_t value = it->get<uint64_t>();
        return value > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())
                   ? std::numeric_limits<int64_t>::max()
                   : static_cast<int64_t>(value);
    }
    return it->get<int64_t>();
}

bool HasControlCharacter(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

// A version text as shown and handed on in one line: no control characters, at most 64 bytes.
std::string CleanVersionText(const std::string& text) {
    std::string clean;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F && clean.size() < kMaxVersionText) {
            clean += c;
        }
    }
    return clean;
}

}  // namespace

std::string VersionInfo::QueryAddress() const {
    return updateUrl + productName + "/" + version;
}

std::optional<VersionInfo> ParseVersionInfo(std::string_view text) {
    const auto object = ParseObject(text);
    if (!object) {
        return std::nullopt;
    }
    VersionInfo info;
    const auto product = StringMember(*object, "product_name");
    const auto version = StringMember(*object, "version");
    const auto url = StringMember(*object, "update_url");
    if (!product || !version || !url || !IsWebAddress(*url) || HasControlCharacter(*product) ||
        HasControlCharacter(*version)) {
        return std::nullopt;
    }
    info.productName = *product;
    info.version = *version;
    info.updateUrl = *url;
    return info;
}

std::optional<ServerReply> ParseServerReply(std::string_view body) {
    const auto object = ParseObject(body);
    if (!object) {
        return std::nullopt;
    }
    const auto code = IntegerMember(*object, "code");
    const auto data = object->find("data");
    if (!code || data == object->end() || !data->is_object()) {
        return std::nullopt;
    }
    const auto total = IntegerMember(*data, "total");
    if (!total) {
        return std::nullopt;
    }
    ServerReply reply;
    reply.code = *code;
    reply.total = *total;
    reply.latestVersion = CleanVersionText(StringMember(*data, "version").value_or(""));
    const std::string url = StringMember(*data, "download_url").value_or("");
    reply.downloadUrl = IsWebAddress(url) ? url : "";
    return reply;
}

std::optional<LocalVersion> ParseLocalVersion(std::string_view text) {
    const auto local = InnerObject(text, "LocalVersion");
    if (!local) {
        return std::nullopt;
    }
    LocalVersion version;
    version.curVersion = CleanVersionText(StringMember(*local, "CurVersion").value_or(""));
    version.serverCenterUrl = StringMember(*local, "SeverCenterURL").value_or("");
    version.testFileUrl = StringMember(*local, "TestFileURL").value_or("");
    return version;
}

std::optional<std::string> ParseServerVersion(std::string_view text) {
    const auto server = InnerObject(text, "SeverVersion");
    if (!server) {
        return std::nullopt;
    }
    const auto latest = StringMember(*server, "MaxVersion");
    if (!latest) {
        return std::nullopt;
    }
    return CleanVersionText(*latest);
}

Result<std::string> ReadVersionFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return Status::Error(file.string() + ": cannot be opened");
    }
    std::string text(kMaxVersionFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return Status::Error(file.string() + ": cannot be read");
    }
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxVersionFileSize) {
        return Status::Error(file.string() + ": larger than a version file can be");
    }
    return text;
}

}  // namespace mousecfg::update
