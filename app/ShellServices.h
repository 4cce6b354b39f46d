#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "app/AppPaths.h"
#include "platform/MessageSink.h"

namespace mousecfg {
class CommandSet;
class FindDev;
class FontRegistry;
class MessageSink;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class CKivoMainWnd;
class DeviceConfiguration;
class MacroPage;
class MousePages;

// Everything the main window works with. The start-up creates it; every reference outlives the window.
struct ShellServices {
    AppPaths paths;
    std::string instanceName;  // the start-up description's MutexName: window class name and first title
    std::string skinPrefix;    // "./" + the skin folder in use
    std::string commandLine;   // compared with "-silent" whole
    FindDev& catalogue;
    CommandSet& commands;
    DeviceConfiguration& configuration;
    MousePages& mousePages;
    MacroPage& macroPage;
    UrlOpener& urls;
    FontRegistry& fonts;
    // Starts and stops the device-change notification to the window (udev, or the virtual mouse's backend).
    std::function<void(MessageSink&)> startDeviceChanges;
    std::function<void()> stopDeviceChanges;
    // Ends the program's message loop with an exit code.
    std::function<void(int)> quit;
    // The executable and the folder of the autostart entry; an empty folder writes no entry.
    std::filesystem::path programFile;
    std::filesystem::path autostartFolder;
    // Shown in the title bar when the program runs against the virtual mouse; empty otherwise.
    std::string banner;
    // Opens the settings window over the main window; none while the program has no settings window.
    std::function<void(CKivoMainWnd&)> openSettings;
    // The BLE link's registration check (CheckBleRegistration()).
    int bleRegistrationCheck = 1;
    // Closes the settings window when it is open (the device went, or the window said it closed).
    std::function<void()> closeSettings;
    // The software update: message 2037 and the version check's answer; the version window.
    std::function<void(CKivoMainWnd&, const Message&)> softwareUpdate;
    std::function<void(CKivoMainWnd&)> openVersionWindow;
};

}  // namespace mousecfg::app
