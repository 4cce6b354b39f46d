#include "platform/ProcessList.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace mousecfg {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
               return lower(x) == lower(y);
           });
}

// At most `limit` bytes of a small file of the process folder; empty when it cannot be read.
std::string ReadSmallFile(const std::filesystem::path& file, size_t limit = 4096) {
    std::ifstream in(file, std::ios::binary);
    std::string text(limit, '\0');
    in.read(text.data(), static_cast<std::streamsize>(limit));
    text.resize(static_cast<size_t>(std::max<std::streamsize>(in.gcount(), 0)));
    return text;
}

// The state letter of "<pid> (<comm>) <state> ...": after the last ')', since the name may hold any character.
char ProcessState(const std::filesystem::path& folder) {
    const std::string stat = ReadSmallFile(folder / "stat");
    const size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() ? stat[close + 2] : '?';
}

bool NameMatches(const std::filesystem::path& folder, std::string_view name) {
    std::string comm = ReadSmallFile(folder / "comm", 64);
    while (!comm.empty() && (comm.back() == '\n' || comm.back() == '\0')) {
        comm.pop_back();
    }
    if (EqualsIgnoringCase(comm, name)) {
        return true;
    }
    const std::string cmdline = ReadSmallFile(folder / "cmdline");
    const std::string first = cmdline.substr(0, cmdline.find('\0'));
    const size_t slash = first.rfind('/');
    return !first.empty() && EqualsIgnoringCase(std::string_view(first).substr(slash == std::string::npos ? 0 : slash + 1), name);
}

}  // namespace

std::vector<pid_t> FindProcessesByName(std::string_view name, uid_t uid, const std::filesystem::path& procRoot) {
    std::vector<pid_t> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(procRoot, error)) {
        const std::string id = entry.path().filename().string();
        if (id.empty() || id.size() > 9 || !std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        struct stat info {};
        if (::stat(entry.path().c_str(), &info) != 0 || info.st_uid != uid) {
            continue;
        }
        if (NameMatches(entry.path(), name) && ProcessState(entry.path()) != 'Z') {
            found.push_back(static_cast<pid_t>(std::stol(id)));
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::filesystem::path ProcessExecutable(pid_t pid, const std::filesystem::path& procRoot) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::read_symlink(procRoot / std::to_string(pid) / "exe", error);
    return error ? std::filesystem::path() : file;
}

}  // namespace mousecfg
