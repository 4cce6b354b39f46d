#include "platform/DesktopPrograms.h"

#include <algorithm>
#include <cctype>

#include "platform/ProgramLauncher.h"

namespace mousecfg {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Whether `desktop` is one of the ':'-separated names of `current`.
bool IsCurrentDesktop(std::string_view desktop, std::string_view current) {
    if (desktop.empty()) {
        return false;
    }
    size_t start = 0;
    while (start <= current.size()) {
        size_t end = current.find(':', start);
        if (end == std::string_view::npos) {
            end = current.size();
        }
        if (SameName(current.substr(start, end - start), desktop)) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

std::optional<ResolvedProgram> Resolve(const DesktopProgram& program, const ProgramLauncher& launcher) {
    std::optional<std::filesystem::path> file = launcher.FindProgram(program.name);
    if (!file) {
        return std::nullopt;
    }
    return ResolvedProgram{std::move(*file), {program.arguments.begin(), program.arguments.end()}};
}

}  // namespace

std::span<const DesktopProgram> MouseSettingsPrograms() {
    static const DesktopProgram kPrograms[] = {
        {"gnome-control-center", {"mouse"}, "GNOME"},
        {"systemsettings", {"kcm_mouse"}, "KDE"},
        {"kcmshell6", {"kcm_mouse"}, "KDE"},
        {"systemsettings5", {"kcm_mouse"}, "KDE"},
        {"kcmshell5", {"kcm_mouse"}, "KDE"},
        {"xfce4-mouse-settings", {}, "XFCE"},
        {"cinnamon-settings", {"mouse"}, "X-Cinnamon"},
        {"mate-mouse-properties", {}, "MATE"},
        {"lxqt-config-input", {}, "LXQt"},
        {"lxinput", {}, "LXDE"},
    };
    return kPrograms;
}

std::span<const DesktopProgram> OnScreenKeyboards() {
    static const DesktopProgram kPrograms[] = {
        {"onboard", {}, ""},
        {"florence", {}, ""},
        {"matchbox-keyboard", {}, ""},
        {"kvkbd", {}, "KDE"},
        {"xvkbd", {}, ""},
    };
    return kPrograms;
}

std::optional<ResolvedProgram> ChooseProgram(std::span<const DesktopProgram> programs, std::string_view currentDesktop,
                                             const ProgramLauncher& launcher) {
    for (const DesktopProgram& program : programs) {
        if (IsCurrentDesktop(program.desktop, currentDesktop)) {
            if (auto resolved = Resolve(program, launcher)) {
                return resolved;
            }
        }
    }
    for (const DesktopProgram& program : programs) {
        if (auto resolved = Resolve(program, launcher)) {
            return resolved;
        }
    }
    return std::nullopt;
}

}  // namespace mousecfg
