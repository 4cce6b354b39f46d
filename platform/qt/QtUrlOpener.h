#pragma once

#include "platform/UrlOpener.h"

namespace mousecfg::qt {

// Opens addresses with QDesktopServices (the desktop's URL handler, started as a process of its own with an
// argument list, never through a shell). Only http and https addresses and existing local files are opened.
class QtUrlOpener final : public UrlOpener {
public:
    bool OpenUrl(const std::string& url) override;
    bool OpenFile(const std::filesystem::path& file) override;
};

}  // namespace mousecfg::qt
