#pragma once

#include <filesystem>
#include <string>

namespace mousecfg {

// The entry that starts the program with the desktop session: an XDG autostart file
// "<autostart folder>/<name>.desktop" whose command runs `program`, followed by " -silent" when `silent`.
// Enabling writes (or rewrites) the file atomically, disabling deletes it. Returns 1 on success, -1 when the
// program path is empty or the file cannot be written or deleted, 0 when the folder cannot be created.
// A name that is empty or would leave the folder ("a/b", "..") is made safe: "/" becomes "_", an empty name
// becomes "mousecfg".
int SetAutostart(bool enable, const std::string& name, bool silent, const std::filesystem::path& program,
                 const std::filesystem::path& autostartFolder);

// $XDG_CONFIG_HOME/autostart, else $HOME/.config/autostart; empty when neither variable is set.
std::filesystem::path DefaultAutostartFolder();

// The desktop entry's text for `program` (quoted as the desktop entry format asks) and `silent`.
std::string AutostartEntryText(const std::string& name, const std::filesystem::path& program, bool silent);

}  // namespace mousecfg
