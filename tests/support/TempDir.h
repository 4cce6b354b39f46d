#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mousecfg::test {

// A fresh folder under the system's temporary folder, removed with everything in it on destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }
    // Writes `contents` to `name` (folders created as needed) and returns the file's path.
    std::filesystem::path Write(std::string_view name, std::string_view contents) const;
    // The whole file as bytes; empty when it cannot be read.
    static std::string Read(const std::filesystem::path& file);

private:
    std::filesystem::path path_;
};

// The path of a file under tests/data.
std::filesystem::path TestDataPath(std::string_view relative);

}  // namespace mousecfg::test
