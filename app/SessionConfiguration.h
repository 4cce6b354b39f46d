#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "app/DeviceConfiguration.h"
#include "config/MousePages.h"
#include "macro/KeyNames.h"

namespace mousecfg {
class CommandSet;
class FileDialogs;
class MouseSession;
}  // namespace mousecfg

namespace mousecfg::app {

// The device configuration of the program: the mouse session (configuration document, model description, apply
// engine) and the macro document it binds, connected to the main window. The session exists from construction,
// so that the connection monitor can be given its state model before the window attaches; until Attach its
// messages, timers and message windows go nowhere.
//
// What the session asks of the pages goes to the page view (the mouse pages, once they show the configuration);
// the progress display of a run goes to the window. Failures the user must know of are shown in the window's
// message window: documents that could not be read (after the first run that follows the device load, since the
// connection display closes the window's message when the mouse comes online), an export or reset that failed,
// and (through the session) results of a run or an import that could not be saved.
class SessionConfiguration final : public DeviceConfiguration, private mousecfg::MousePages {
public:
    // `configFolder` holds what the user changes (model descriptions, configuration and macro documents, the
    // settings file), `resourceFolder` what is only read (function names, preset macros, factory documents);
    // `commands` reach the mouse.
    SessionConfiguration(const std::filesystem::path& resourceFolder, const std::filesystem::path& configFolder,
                         CommandSet& commands, FileDialogs& dialogs, KeyNames keyNames);
    ~SessionConfiguration() override;  // waits for a running apply run

    // The pages that show the configuration; null for none. Must outlive its use.
    void SetPageView(mousecfg::MousePages* view) { view_ = view != nullptr ? view : &noView_; }
    MouseSession& Session() { return *session_; }
    const MouseSession& Session() const { return *session_; }
    // The BLE path is active (false before the window attached).
    bool BleActive() const;
    // The main window's message windows (nothing is shown before the window attached).
    MessageBoxes& Boxes();

    void Attach(const ApplyContext& context) override;
    void SetLanguage(const LanguageTexts& texts) override;
    void LoadDevice(const std::string& deviceName, const std::string& folder, DeviceLoad load) override;
    MouseConfig* Document() override;
    const DeviceFeature* Feature() const override;
    void DocumentChanged() override;
    void ShowProfile(int profile) override;
    DeviceStateModel& StateModel() override;
    void SetRebuilding(bool rebuilding) override;
    void RefreshFromDevice() override;
    void RequestApply(int requestType, bool full, int profile) override;
    void SetPending(PendingSetting setting) override;
    void OnMacrosChanged() override;
    bool ApplyRunning() const override;
    bool MacrosChanged() const override;
    void ImportConfiguration() override;
    Status ExportConfiguration() override;
    Status ResetConfiguration() override;
    MacroStore& Macros() override { return *macros_; }
    Status SaveDocumentAndDpiMemory() override;
    void FinishRun() override;
    bool HandleMessage(const Message& message, intptr_t& result) override;

private:
    class WindowPort;

    // mousecfg::MousePages: the progress goes to the window, the rest to the page view.
    void ShowApplyProgress(bool show, bool full) override;
    void ShowApplySteps(int done, int total) override;
    void ShowProfileSelector(int profile) override;
    void RefreshPages(int profile) override;
    void ReinitAssignmentPopup() override;
    void ShowLightingMode(int mode) override;
    void ShowDpiLevel(int level) override;
    void ShowRate(int index) override;
    void RefreshButtonLabels() override;
    void ApplyFinished() override;

    // The session's link follows the connection the monitor chose.
    void FollowLink();
    // Shows `text` followed by the failure's message (which names the file) in a message window.
    void ShowFailure(const std::string& text, const Status& failure);
    // After a device load: notes the documents that could not be read (with the macro document's, found at
    // construction) for one message window when the next run has ended.
    void NoteDamagedDocuments();

    // Texts of the message windows (language section "Mouse").
    struct FailureTexts {
        std::string title = "Tip";
        std::string damaged = "These files could not be read. They are not overwritten: each is kept with the "
                              "ending .damaged before anything new is saved in its place.";
        std::string error = "Something went wrong. Please try again.";
        std::string ok = "OK";
    };

    std::unique_ptr<WindowPort> port_;
    std::filesystem::path configFolder_;  // where the documents the user changes live
    std::unique_ptr<MacroStore> macros_;
    std::unique_ptr<MouseSession> session_;
    std::optional<ApplyContext> context_;
    mousecfg::MousePages noView_;  // shows nothing
    mousecfg::MousePages* view_ = &noView_;
    bool loaded_ = false;
    FailureTexts texts_;
    bool macrosDamaged_ = false;  // the macro document could not be read at construction (until noted)
    std::string damagedFiles_;    // the damaged documents' paths, one per line, until they are shown
};

}  // namespace mousecfg::app
