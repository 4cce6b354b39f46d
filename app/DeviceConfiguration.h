#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/MessageSink.h"
#include "platform/Status.h"

namespace mousecfg {
class ConnectionMonitor;
class DeviceStateModel;
class MacroStore;
class MessageBoxes;
class WindowTimers;
struct DeviceFeature;
struct MouseConfig;
}  // namespace mousecfg

namespace mousecfg::app {

class LanguageTexts;

// What the main window offers the apply engine. UI thread only.
class ApplyHost {
public:
    virtual ~ApplyHost() = default;
    // The busy display of an apply run ("gif_vertical", "apply_progress", "ring", "text_apply", "tranWnd").
    virtual void ShowApplyProgress(bool show, bool full) = 0;
    // Progress of a full write: requests sent so far and in all.
    virtual void ShowApplySteps(int /*done*/, int /*total*/) {}
};

// Everything the engine works with besides its own documents; all of it outlives the engine's use of it.
struct ApplyContext {
    ApplyHost& host;
    // The main window's messages: the engine's worker posts through it (posts after the window is gone are
    // dropped). Keep the weak pointer, not the window.
    std::weak_ptr<MessageSink> window;
    // The main window's timers (the 20 s status poll that a run stops and restarts) and message windows.
    WindowTimers& timers;
    MessageBoxes& boxes;
    // Connection kind, online, the BLE path, and the reads that BLE replies ask for after a run.
    ConnectionMonitor& monitor;
};

// The settings a relay marks as changed before it asks for a single apply run of their request type (the power-save
// choice marks nothing: the lighting run it asks for carries it).
enum class PendingSetting { SavePower, Sleep, PowerDown, SensorByte, LiftOff, MoveWake, ShortPress };

// How message 2034 asks for the device to be loaded.
enum class DeviceLoad { First = 1, ImportFollowUp = 2, Reselect = 3 };

// The configuration of the device in use and the engine that writes it to the mouse: the main window hands it
// device loads (2034), apply requests (2051), relays (2060-2068, 2074), macro changes (2073) and profile changes
// made on the mouse (2032), asks it to save on exit and when hiding to the tray, and gives the connection
// monitor its DeviceStateModel. Every method is called on the UI thread; the engine runs its writes on a worker
// of its own and reports back through ApplyContext::window (its own messages reach HandleMessage).
class DeviceConfiguration {
public:
    virtual ~DeviceConfiguration() = default;

    // Called once by the main window, before anything else but StateModel.
    virtual void Attach(const ApplyContext& context) = 0;
    // The language changed: the texts of the engine's message windows.
    virtual void SetLanguage(const LanguageTexts& texts) = 0;

    // Loads the model description and the configuration document of the model folder `folder` for the device
    // the catalogue calls `deviceName`; with ImportFollowUp only the follow-up of an import or reset runs.
    virtual void LoadDevice(const std::string& deviceName, const std::string& folder, DeviceLoad load) = 0;
    // The document and the model description of the loaded device; null before a device was loaded.
    virtual MouseConfig* Document() = 0;
    virtual const DeviceFeature* Feature() const = 0;
    // The pages changed the document: values that the readers compare follow it.
    virtual void DocumentChanged() = 0;
    // The mouse reported another active profile (2032): the pages show it, nothing is written.
    virtual void ShowProfile(int profile) = 0;
    // The values the connection monitor's threads compare and the replies it decodes. Valid from construction.
    virtual DeviceStateModel& StateModel() = 0;
    // Set while the main window rebuilds its pages: the readers report no device events then.
    virtual void SetRebuilding(bool rebuilding) = 0;
    // The mouse came online, or its variant changed: the device is read again and the configuration brought in
    // step with the mouse (message 2053 with lParam 1 while online).
    virtual void RefreshFromDevice() = 0;

    // Message 2051: one run of `requestType` (full when `full`) for `profile`. The main window has already
    // dropped requests made while the connection is being updated or no device is online.
    virtual void RequestApply(int requestType, bool full, int profile) = 0;
    // A relay marks its setting before the main window sends 2051 for it; the setting's value is read again
    // from the settings file, where the settings window wrote it.
    virtual void SetPending(PendingSetting setting) = 0;
    // Message 2073: the macro document changed; a full run writes the key assignments and renews the tags.
    virtual void OnMacrosChanged() = 0;
    virtual bool ApplyRunning() const = 0;
    // Set from a macro change until the run it started has finished: the window's buttons ignore clicks then.
    virtual bool MacrosChanged() const = 0;

    // The items "Import", "Export" and "Reset" of the pages' "More" menu.
    virtual void ImportConfiguration() = 0;
    virtual Status ExportConfiguration() = 0;
    virtual Status ResetConfiguration() = 0;
    // The macro document the bindings name (the macro page edits the same one).
    virtual MacroStore& Macros() = 0;

    // Saves the document and the DPI memory of the model (exit, hide to the tray).
    virtual Status SaveDocumentAndDpiMemory() = 0;
    // Before the program ends: waits for a running apply run and takes its results over.
    virtual void FinishRun() = 0;
    // Messages the engine posted to the window; true when it handled `message`.
    virtual bool HandleMessage(const Message& message, intptr_t& result) = 0;
};

}  // namespace mousecfg::app
