#pragma once

#include <filesystem>
#include <string>

#include "app/settings/Setting.h"

namespace mousecfg {
class CommandSet;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class CKivoMainWnd;
class DeviceConfiguration;

// What the settings window needs besides what the main window itself knows.
struct SettingsServices {
    std::filesystem::path settingsFile;
    DeviceConfiguration& configuration;  // the model's sensor chip and whether an apply run is under way
    CommandSet& commands;
    UrlOpener& urls;
    std::filesystem::path program;          // the autostart entry
    std::filesystem::path autostartFolder;
    std::string version;
};

// Opens the settings window modal over the main window, handing it the main window's state it
// shows, and closes it when the main window asks (the device went, or the window said it closed). UI thread.
class SettingsOpener {
public:
    explicit SettingsOpener(SettingsServices services) : services_(std::move(services)) {}

    // Creates the window centred over `window` and runs it modal; returns when it has closed.
    void Open(CKivoMainWnd& window);
    // Closes the open settings window; nothing when none is open.
    void Close();
    // The open window, for tests; none when none is open.
    Setting* OpenWindow() const { return open_; }
    // Settings writes fail through this writer from now on (tests); none restores the file writes.
    void SetWriter(SettingStore::Writer writer) { writer_ = std::move(writer); }

private:
    SettingsServices services_;
    SettingStore::Writer writer_;
    Setting* open_ = nullptr;
};

}  // namespace mousecfg::app
