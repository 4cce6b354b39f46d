#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace mousecfg::cli {

// File dialogs answered by the file named on the command line: every dialog chooses `path` (none when empty).
class PathFileDialogs final : public FileDialogs {
  public:
    void SetPath(std::string path) { path_ = std::move(path); }
    std::optional<std::string> SaveFile(const FileFilter& /*filter*/) override {
        return path_.empty() ? std::nullopt : std::optional<std::string>(path_);
    }
    std::vector<std::string> OpenFiles(const FileFilter& /*filter*/, bool /*multiple*/) override {
        return path_.empty() ? std::vector<std::string>{} : std::vector<std::string>{path_};
    }

  private:
    std::string path_;
};

}  // namespace mousecfg::cli
