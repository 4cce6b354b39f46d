#pragma once

#include <filesystem>
#include <string_view>
#include <utility>

#include "platform/Status.h"

namespace mousecfg {

// A document that the program reads whole and replaces whole (the configuration document, the macro document).
// What could not be read is what the user had, so it is never overwritten: a load that fails on a file that exists
// (unreadable, or contents that do not convert) marks the file damaged, and the next Replace first keeps it aside
// under a numbered ".damaged" name (KeepDamagedFile), writing nothing when it cannot. A missing file is no damage;
// Replace creates it. Used by its owner's thread only.
class DocumentFile {
public:
    DocumentFile() = default;
    explicit DocumentFile(std::filesystem::path path) : path_(std::move(path)) {}

    const std::filesystem::path& path() const { return path_; }
    // Records how a load of the file ended: a failure marks it damaged unless the file does not exist.
    void LoadFinished(const Status& loaded);
    // The last load failed on a file that has not been kept aside yet.
    bool damaged() const { return damaged_; }
    // Replaces the file atomically (creating its folder when needed), keeping a damaged file aside first. Fails,
    // naming the file, when either cannot be done; a damaged file then stays as it was.
    Status Replace(std::string_view contents);

private:
    std::filesystem::path path_;
    bool damaged_ = false;
};

}  // namespace mousecfg
