#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mousecfg {

class ProgramLauncher;

// A desktop program the pages can start: its name on the search path, its arguments and the desktop it belongs to
// (as XDG_CURRENT_DESKTOP names it; empty for programs of no particular desktop).
struct DesktopProgram {
    std::string_view name;
    std::vector<std::string_view> arguments;
    std::string_view desktop;
};

// A program found on the search path, ready to start.
struct ResolvedProgram {
    std::filesystem::path file;
    std::vector<std::string> arguments;
};

// The mouse settings panels of the desktops (GNOME, KDE Plasma, Xfce, Cinnamon, MATE, LXQt, LXDE), in the order
// they are tried.
std::span<const DesktopProgram> MouseSettingsPrograms();
// The on-screen keyboards (onboard, florence, ...), in the order they are tried.
std::span<const DesktopProgram> OnScreenKeyboards();

// The first of `programs` that `launcher` finds, those of the running desktop first: `currentDesktop` is
// XDG_CURRENT_DESKTOP, desktop names joined by ':' and compared without case. None when none is installed.
std::optional<ResolvedProgram> ChooseProgram(std::span<const DesktopProgram> programs, std::string_view currentDesktop,
                                             const ProgramLauncher& launcher);

}  // namespace mousecfg
