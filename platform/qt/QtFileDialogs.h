#pragma once

#include "platform/FileDialogs.h"

namespace mousecfg::qt {

// The file dialogs of Qt. A name typed without the filter's extension gets it.
class QtFileDialogs final : public FileDialogs {
public:
    std::optional<std::string> SaveFile(const FileFilter& filter) override;
    std::vector<std::string> OpenFiles(const FileFilter& filter, bool multiple) override;

    // "Text (pattern)", the form Qt's dialogs take.
    static std::string QtFilterText(const FileFilter& filter);
    // `file` with "." + the default extension appended unless it already ends with it (case ignored).
    static std::string WithExtension(const std::string& file, const std::string& extension);
};

}  // namespace mousecfg::qt
