#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace mousecfg::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "mousecfg-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path TempDir::Write(std::string_view name, std::string_view contents) const {
    const std::filesystem::path file = path_ / name;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    return file;
}

std::string TempDir::Read(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

std::filesystem::path TestDataPath(std::string_view relative) {
    const char* root = std::getenv("MOUSECFG_TEST_DATA");
    const std::filesystem::path base = root != nullptr ? std::filesystem::path(root) : std::filesystem::path("tests/data");
    return base / relative;
}

}  // namespace mousecfg::test
