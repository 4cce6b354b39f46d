#include "platform/Autostart.h"

#include <cstdlib>
#include <system_error>

#include "platform/AtomicFile.h"

namespace mousecfg {
namespace {

// An Exec argument in double quotes: the quoting rules escape " ` $ \ with a backslash, then the value's own
// escape rules double every backslash, and field codes need "%%" for a literal "%".
std::string QuoteExecArgument(const std::string& argument) {
    std::string quoted = "\"";
    for (const char c : argument) {
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
            quoted += c;
        } else if (c == '\\') {
            quoted += "\\\\\\\\";
        } else if (c == '%') {
            quoted += "%%";
        } else if (c == '\n' || c == '\r') {
            quoted += ' ';
        } else {
            quoted += c;
        }
    }
    return quoted + "\"";
}

std::string SafeName(const std::string& name) {
    std::string safe;
    for (const char c : name) {
        safe += (c == '/' || c == '\n' || c == '\r') ? '_' : c;
    }
    if (safe.empty() || safe == "." || safe == "..") {
        return "mousecfg";
    }
    return safe;
}

}  // namespace

std::string AutostartEntryText(const std::string& name, const std::filesystem::path& program, bool silent) {
    std::string exec = QuoteExecArgument(program.string());
    if (silent) {
        exec += " -silent";
    }
    return "[Desktop Entry]\nType=Application\nName=" + SafeName(name) + "\nExec=" + exec +
           "\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
}

int SetAutostart(bool enable, const std::string& name, bool silent, const std::filesystem::path& program,
                 const std::filesystem::path& autostartFolder) {
    if (program.empty()) {
        return -1;
    }
    std::error_code error;
    const std::filesystem::path file = autostartFolder / (SafeName(name) + ".desktop");
    if (!enable) {
        std::filesystem::remove(file, error);
        return error ? -1 : 1;
    }
    std::filesystem::create_directories(autostartFolder, error);
    if (error || autostartFolder.empty()) {
        return 0;
    }
    return WriteFileAtomically(file, AutostartEntryText(name, program, silent)) ? 1 : -1;
}

std::filesystem::path DefaultAutostartFolder() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && config[0] == '/') {
        return std::filesystem::path(config) / "autostart";
    }
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        return std::filesystem::path(home) / ".config" / "autostart";
    }
    return {};
}

}  // namespace mousecfg
