#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace mousecfg {

// Opens a web address with the desktop's default browser: Qt's desktop services in the program, a recording
// fake in tests. Never through a shell. Called on the user-interface thread.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // False when the desktop has no handler for the address or refused it.
    virtual bool OpenUrl(const std::string& url) = 0;
    // Opens a local document (the manual installed with the program) with the desktop's handler for its type.
    // False when the file does not exist or nothing opened it (an opener that opens web addresses only).
    virtual bool OpenFile(const std::filesystem::path& file) {
        (void)file;
        return false;
    }
};

// True for an "http://" or "https://" address (the scheme in any case) with something after the scheme and no
// blanks, quotes, angle brackets, backslashes or control characters: the only addresses the program hands to
// the desktop's URL handler or fetches.
bool IsWebAddress(std::string_view text);

}  // namespace mousecfg
