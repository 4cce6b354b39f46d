#pragma once

#include <optional>
#include <string>
#include <vector>

namespace mousecfg {

// What a file dialog shows: a filter text such as "Config Flie(*.Mouse.Config)", its pattern
// ("*.Mouse.Config") and the extension added to a name typed without one ("Config").
struct FileFilter {
    std::string text;
    std::string pattern;
    std::string defaultExtension;
};

// The system's file dialogs: Qt's in the program, scripted answers in tests. Called on the user-interface
// thread; each call blocks until the user has answered.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // A file to write (overwriting confirmed by the dialog); nothing when cancelled.
    virtual std::optional<std::string> SaveFile(const FileFilter& filter) = 0;
    // Files to read (one unless `multiple`); empty when cancelled.
    virtual std::vector<std::string> OpenFiles(const FileFilter& filter, bool multiple) = 0;
};

}  // namespace mousecfg
