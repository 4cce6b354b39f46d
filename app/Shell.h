#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app/AppPaths.h"
#include "app/CommandLine.h"
#include "platform/KeyboardLayout.h"

namespace mousecfg {
class FileDialogs;
class FontRegistry;
class NetworkStatus;
class ProgramLauncher;
class UrlOpener;
}  // namespace mousecfg

namespace mousecfg::app {

class CKivoMainWnd;
class DeviceLink;
class MacroEditorPage;
class MouseConfigPages;
class SessionConfiguration;
class SettingsOpener;
class SoftwareUpdate;

// The program from its command line to the running main window, without the parts that need Qt (the entry
// adds the single instance, the platform services and the event loop): the start-up description, the skin
// folder, the device link (real or virtual), the device configuration, the pages and the main window.
class Shell {
public:
    // `launcher` starts the desktop's mouse settings and on-screen keyboard; without one the pages offer neither.
    Shell(CommandLine commandLine, AppPaths paths, UrlOpener& urls, FontRegistry& fonts, FileDialogs& dialogs,
          std::function<void(int)> quit, ProgramLauncher* launcher = nullptr);
    ~Shell();

    // What the start-up description says: the instance name and the skin folder.
    const StartupDescription& Description() const { return description_; }
    // Points the skin library at the skin folder, sets the working folder to the program folder and creates
    // the main window (990 x 690, centred). False when the window could not be created.
    bool Start();
    // A request from a second start: "restore" brings the window back (also from the tray); "sim TEXT" hands
    // TEXT to the virtual mouse; "status" tells whether the window is visible, whether it hides in the tray and
    // whether it is minimised; "control NAME" describes a control of the main window: "x=.. y=.. w=.. h=.." (screen
    // coordinates of its rectangle), "visible=0|1 enabled=0|1 selected=0|1 text=..." (tests drive the window with real
    // input by it).
    // Returns the answer for the second start.
    std::string HandleRequest(const std::string& request);
    // The session's keyboard layout changed: key names of the macro page and its dialog follow it.
    void FollowKeyboardLayout(const KeyboardLayout::Names& names);
    // Ends the device threads; the window then answers nothing. Before the shell goes.
    void Shutdown();

    CKivoMainWnd& Window() { return *window_; }
    DeviceLink& Link() { return *link_; }
    SessionConfiguration& Configuration() { return *configuration_; }
    MacroEditorPage& EditorPage() { return *macroPage_; }
    SettingsOpener& Settings() { return *settings_; }
    SoftwareUpdate& Update() { return *update_; }

    // The desktop's services of the software update, before Start: the network information of the version
    // window and the request that brings a running updater's window back (true when it answered).
    void SetUpdateServices(NetworkStatus* network, std::function<bool()> raiseUpdater);

private:
    CommandLine commandLine_;
    AppPaths paths_;
    StartupDescription description_;
    UrlOpener& urls_;
    FontRegistry& fonts_;
    FileDialogs& dialogs_;
    std::function<void(int)> quit_;
    std::unique_ptr<ProgramLauncher> noPrograms_;
    ProgramLauncher& launcher_;
    std::unique_ptr<DeviceLink> link_;
    std::unique_ptr<SessionConfiguration> configuration_;
    std::unique_ptr<MouseConfigPages> mousePages_;
    std::unique_ptr<MacroEditorPage> macroPage_;
    std::unique_ptr<SettingsOpener> settings_;
    std::unique_ptr<SoftwareUpdate> update_;
    std::unique_ptr<CKivoMainWnd> window_;
};

}  // namespace mousecfg::app
