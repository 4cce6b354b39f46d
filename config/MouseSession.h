#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "config/ApplyJob.h"
#include "config/ApplyWorker.h"
#include "config/DeviceFeature.h"
#include "config/DeviceImage.h"
#include "config/FunctionTable.h"
#include "config/LinkKind.h"
#include "config/MouseConfig.h"
#include "config/PresetMacros.h"
#include "config/SensorOptions.h"
#include "device/DeviceStateModel.h"
#include "macro/KeyNames.h"
#include "platform/DocumentFile.h"
#include "platform/Status.h"

namespace mousecfg {

class CommandSet;
class FileDialogs;
class MacroStore;
class MessageBoxes;
class MessageSink;
class MousePages;
class WindowTimers;
struct Message;

// What a mouse session works with; everything must outlive it.
struct MouseSessionServices {
    CommandSet& commands;
    MessageSink& window;   // the main window: gets 2051 and 2047, and the apply worker's messages
    WindowTimers& timers;  // the main window's timers (the 20 s status poll, id 2)
    FileDialogs& dialogs;
    MessageBoxes& boxes;
    MacroStore& macros;
    MousePages& pages;
    KeyNames keyNames;
};

// Texts of the message windows the session shows (from the language file in the program).
struct MouseSessionTexts {
    std::string title = "Tip";
    std::string wrongFile = "This configuration file does not belong to the current device.";
    std::string damagedFile = "This configuration file is damaged and was not imported.";
    std::string saveFailed = "The settings could not be saved:";
    std::string ok = "OK";
};

// How an import ended. NotSaved: the file could not be written over the configuration; nothing changed and
// nothing was sent.
enum class ImportResult { Cancelled, NotJson, NoName, OtherDevice, BadContents, NotSaved, Imported };

// The mouse configuration of the selected device: its model folder and description, its configuration document,
// the device image and the apply state, with the operations of the mouse pages that replace or re-select a whole
// configuration (load, profile switch, import, export, reset) and the apply runs that bring it to the mouse.
//
// Threads: everything runs on the user-interface thread except the DeviceStateModel values marked "any thread",
// which the connection monitor's reader threads read (they come from a copy kept under a lock and refreshed by
// DocumentChanged), and the apply worker, which works on a snapshot and reports through messages. The window
// must pass the worker's messages (kApplyProgress, kApplyStep, kApplyFinished) to HandleWorkerMessage.
class MouseSession final : public DeviceStateModel {
  public:
    // `resRoot` holds what the user changes: the model folders' descriptions and configuration documents under
    // VeruzUrir/, the settings file Set.ini. `resources` holds what is only read: the function names, the preset
    // macros and each model's factory configuration; the same folder when empty.
    MouseSession(const MouseSessionServices& services, std::filesystem::path resRoot,
                 std::filesystem::path resources = {});
    ~MouseSession() override;  // waits for a running apply worker
    MouseSession(const MouseSession&) = delete;
    MouseSession& operator=(const MouseSession&) = delete;

    // --- The device ---
    // The selected device: its name as the catalogue gives it (also the model name the report-rate tables
    // distinguish) and its model folder name under VeruzUrir/.
    void SetDevice(std::string deviceName, std::string folder);
    void SetLink(LinkKind link);
    LinkKind link() const { return link_; }
    // The load sequence: chip number (HID) and model description, configuration document and labels, the
    // document side of the DPI page set-up (DPI memory re-mapped after a chip change or a reset, gears and rates
    // limited), the level count, profile tags, sensor options; then the pages are refreshed. The macro store gets
    // the model's code of 400 DPI for DPI items. Returns the failure to read the configuration document (the
    // document then keeps what it had; a file that exists is damaged, see configDamaged).
    Status LoadDevice();
    // The configuration file failed to load but exists: it is kept aside (".damaged") before anything replaces it.
    bool configDamaged() const { return configFile_.damaged(); }
    const std::string& deviceName() const { return deviceName_; }
    const std::filesystem::path& modelFolder() const { return modelFolder_; }
    std::filesystem::path settingsFile() const { return resRoot_ / "Set.ini"; }
    void SetTexts(MouseSessionTexts texts) { texts_ = std::move(texts); }
    // Over BLE the chip number arrives in a device-information reply instead of being read: the next LoadDevice
    // loads the model description of `chip` (and re-maps the DPI memory when it differs from the last one).
    void UseChipNumber(int chip);
    // The one-shot skip of the BLE device-information request at the next load.
    void SkipNextBleDeviceInfo() { skipBleDeviceInfo_ = true; }

    // --- Profiles, import, export, reset ---
    // The user chose `profile` (0..2) in the selector: the pages switch and a full run is requested (2051,
    // wParam 0x82). Ignored while the selector is being set by ShowProfile, and for other numbers.
    void SelectProfile(int profile);
    // Shows `profile` chosen elsewhere (the mouse reported it) without requesting a write.
    void ShowProfile(int profile);
    // Imports the exchange file the user chooses (ExchangeCheck says what is refused), reloads and writes the
    // profile. A file that cannot be written over the configuration shows the save failure and returns NotSaved;
    // when the configuration cannot be loaded afterwards nothing is written to the mouse.
    ImportResult ImportConfiguration();
    // Writes the model's saved configuration with the device name to a file the user chooses. Cancelling
    // writes nothing and succeeds.
    Status ExportConfiguration();
    // The factory configuration of the model and the [Reset] sensor options, then a full write. A missing
    // factory file leaves the configuration file as it was (the rest of the reset still runs); the result
    // reports it. A factory file that cannot be written over the configuration stops the reset before anything
    // else changes, and one that cannot be loaded afterwards before anything is written to the mouse.
    Status ResetConfiguration();

    // --- Apply runs ---
    // What a page does after a change: posts 2051 with the request type (+ 0x80 for a full run).
    void RequestApply(int type, bool full);
    // The main window's handling of 2051 once it has checked that a device is online: stores the pending type
    // and starts a run.
    void OnApplyRequest(uintptr_t wParam, intptr_t lParam);
    // Starts a run (full or single) on the apply worker unless one is running; false when dropped.
    bool StartApply(bool full);
    // The main window's handling of 2073: the macro document changed.
    void OnMacrosChanged();
    // The main window's relay of a setting change (kSavePowerChanged ... kShortPressChanged): unless a run is
    // under way, sets the message's pending flag and returns the apply item the window then requests with 2051
    // (9, 2 or 10); nothing during a run and for other messages.
    std::optional<int> RelayItem(uint32_t message);
    // The Apply button: saves the document, the DPI memory and the macro bindings, asks the window to reload the
    // macro document (2047) and starts a single run of the pending type.
    void ApplyButton();
    // The worker's messages; false for other messages.
    bool HandleWorkerMessage(const Message& message);
    // A run is under way (from StartApply until its results are taken over). Any thread.
    bool ApplyRunning() const { return applyRunning_.load(); }
    ApplyState& applyState() { return apply_; }
    const ApplyState& applyState() const { return apply_; }
    // The outcome of the last finished run. A run whose results could not all be saved (ApplyOutcome::saved)
    // has shown the failure in a message window.
    const std::optional<ApplyOutcome>& lastOutcome() const { return lastOutcome_; }

    // --- The document ---
    MouseConfig& config() { return config_; }
    const MouseConfig& config() const { return config_; }
    const DeviceFeature& feature() const { return feature_; }
    const DeviceImage& image() const { return image_; }
    const SensorOptions& options() const { return options_; }
    const FunctionTable& functions() const { return functions_; }
    const KeyNames& keyNames() const { return keyNames_; }
    MacroStore& macros() { return macros_; }
    // Sets one sensor option in memory and in [Set] of the settings file.
    Status SetSensorOption(std::string_view key, int value);
    // Reads the options under `keys` (sensor_key) again from [Set], where the settings window wrote them.
    void ReloadSensorOptions(std::span<const std::string_view> keys);
    // Saves the document and the DPI memory (after runs, at exit, when hiding); a damaged configuration file is
    // kept aside first. Returns the first failure, naming the file.
    Status SaveDocument();
    // Runs the label pass again (after a macro change).
    void ResolveLabels();
    // The pages changed the document: refreshes the values the reader threads compare with.
    void DocumentChanged();
    // Set by the main window while it rebuilds its pages.
    void SetDeviceEventsSuspended(bool suspended) { eventsSuspended_.store(suspended); }

    // --- DeviceStateModel, any thread ---
    int CurrentProfile() const override;
    int CurrentDpiLevel() const override;
    int DpiLevelFlag(int level) const override;
    int CurrentLightingValue() const override;
    int ReportRateCode() const override;
    bool DeviceEventsSuspended() const override { return eventsSuspended_.load(); }
    void ReloadKeyMap(int deviceIndex) override;
    std::optional<int> MappedButton(int deviceIndex, int button) const override;

    // --- DeviceStateModel, user-interface thread: replies to reads made over BLE ---
    void SetCurrentDeviceName(const std::string& name) override { deviceName_ = name; }
    void SetMouseProfileTags(const std::array<uint16_t, 4>& tags) override;
    void SetCurrentProfileFromMouse(int profile) override;
    void SetDpiLevelsFromMouse(int currentLevel, const std::array<DpiLevelReading, 8>& levels) override;
    void BeginLightingRead(int modeCode, uint16_t value) override;
    void SetLightingRecord(const LightingRecordReading& record) override;

  private:
    void LoadResources();
    int ReadChip();
    void PrepareDpiPage(bool chipChanged);
    void RefreshPages();
    ApplyJob MakeJob(bool full) const;
    void OnApplyFinished();
    void TakeOverOutcome(const ApplyOutcome& outcome);
    void ClearConsumedFlags(const ApplyState& consumed, bool full);
    void StartFullAfterReplace();
    void RenewAllTags();
    void ShowWarning(const std::string& text);
    // A save failure outside a run: traced and kept for the outcome of the next run that ends.
    void NoteSaveFailure(Status status);
    bool InProfile(int profile) const { return profile >= 0 && profile < kProfileCount; }

    CommandSet& commands_;
    MessageSink& window_;
    WindowTimers& timers_;
    FileDialogs& dialogs_;
    MessageBoxes& boxes_;
    MacroStore& macros_;
    MousePages& pages_;
    KeyNames keyNames_;
    std::filesystem::path resRoot_;
    std::filesystem::path resources_;
    std::filesystem::path factoryFile_;  // the selected model's ResetMouseConfig.json
    MouseSessionTexts texts_;

    // State below is used on the user-interface thread only.
    std::string deviceName_;
    std::filesystem::path modelFolder_;
    LinkKind link_ = LinkKind::Cable;
    DeviceFeature feature_;
    bool featureLoaded_ = false;
    int chipNumber_ = 0;
    bool bleChipChanged_ = false;  // UseChipNumber gave another chip than the loaded description's
    MouseConfig config_;
    DocumentFile configFile_;  // the model's MouseConfig.json
    Status unsaved_ = Status::Ok();  // the first save failure since the last run ended
    DeviceImage image_;
    SensorOptions options_;
    FunctionTable functions_;
    PresetMacros presets_;
    bool resourcesLoaded_ = false;
    ApplyState apply_;
    ApplyState runningState_;  // the flags the running job was started with
    bool runningFull_ = false;
    bool dpiResetPending_ = false;
    bool selectorGuard_ = false;
    bool skipBleDeviceInfo_ = false;
    int lightingModeRead_ = -1;  // the mode whose effect record a BLE lighting read delivers next
    std::optional<std::array<uint16_t, 4>> bleMouseTags_;
    // Tags runs wrote over BLE that no reply has shown yet: a reply to a read sent before the write must not undo
    // them (profile -> tag).
    std::map<int, uint16_t> bleWrittenTags_;
    std::optional<ApplyOutcome> lastOutcome_;
    std::atomic<bool> applyRunning_{false};  // so other threads (settings window) see a run under way
    std::atomic<bool> eventsSuspended_{false};

    // The values the reader threads compare with. State below is protected by mirrorMutex_.
    mutable std::mutex mirrorMutex_;
    struct Mirror {
        int profile = 0;
        int dpiLevel = 0;
        std::array<int, 8> dpiFlags{};
        int lighting = 0;
        int rateCode = 0;
        std::map<int, int> keyMap;  // key slot (from 1) -> page button index
        std::filesystem::path featureFile;
    } mirror_;

    ApplyWorker worker_;  // last: its thread posts to the window until it is joined
};

}  // namespace mousecfg
