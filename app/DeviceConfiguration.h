#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "platform/MessageSink.h"
#include "platform/Status.h"

namespace mousecfg {
class CommandSet;
class ConnectionMonitor;
class DeviceStateModel;
struct DeviceFeature;
struct MouseConfig;
}  // namespace mousecfg

namespace mousecfg::app {

// What the main window offers the apply engine. UI thread only.
class ApplyHost {
public:
    virtual ~ApplyHost() = default;
    // The busy display of an apply run ("gif_vertical", "apply_progress", "ring", "text_apply", "tranWnd").
    // A worker thread asks for it by posting msg::kApplyProgress (wParam bit 0 show, bit 1 full).
    virtual void ShowApplyProgress(bool show, bool full) = 0;
};

// Everything the engine works with besides its own documents; all of it outlives the engine's use of it.
struct ApplyContext {
    ApplyHost& host;
    // The main window's messages: the engine's worker posts through it (posts after the window is gone are
    // dropped). Keep the weak pointer, not the window.
    std::weak_ptr<MessageSink> window;
    // Connection kind, online, the BLE path, and the 20 s status poll that a run stops and restarts.
    ConnectionMonitor& monitor;
    // Requests to the mouse; one at a time (CommandSet::Session).
    CommandSet& commands;
};

// The settings a relay marks as changed before it asks for a single apply run of their request type.
enum class PendingSetting { Sleep, PowerDown, SensorByte, LiftOff, MoveWake, ShortPress };

// How message 2034 asks for the device to be loaded.
enum class DeviceLoad { First = 1, ImportFollowUp = 2, Reselect = 3 };

// The configuration of the device in use and the engine that writes it to the mouse: the main window hands it
// device loads (2034), apply requests (2051), relays (2060-2068, 2074) and macro changes (2073), asks it to save
// on exit and when hiding to the tray, and gives the connection monitor its DeviceStateModel. Every method is
// called on the UI thread; the engine runs its writes on a worker of its own and reports back through
// ApplyContext::window (its own messages reach HandleMessage).
class DeviceConfiguration {
public:
    virtual ~DeviceConfiguration() = default;

    // Called once by the main window, before anything else.
    virtual void Attach(const ApplyContext& context) = 0;

    // Loads the model description and the configuration document of `modelFolder`; with ImportFollowUp only the
    // follow-up of an import or reset runs.
    virtual void LoadDevice(const std::filesystem::path& modelFolder, DeviceLoad load) = 0;
    // The document and the model description of the loaded device; null before a device was loaded.
    virtual MouseConfig* Document() = 0;
    virtual const DeviceFeature* Feature() const = 0;
    // The pages changed the document: values that the readers compare follow it.
    virtual void DocumentChanged() = 0;
    // The values the connection monitor's threads compare and the replies it decodes.
    virtual DeviceStateModel& StateModel() = 0;
    // The device information was read after a selection or the device variant changed: read the device's data
    // into the document (message 2053 with lParam 1 while online).
    virtual void RefreshFromDevice() = 0;

    // Message 2051: one run of `requestType` (full when `full`) for `profile`. The main window has already
    // dropped requests made while the connection is being updated or no device is online.
    virtual void RequestApply(int requestType, bool full, int profile) = 0;
    // A relay marks its setting before the main window sends 2051 for it.
    virtual void SetPending(PendingSetting setting) = 0;
    // Message 2073: the macro document changed; a full run writes the key assignments and renews the tags.
    virtual void OnMacrosChanged() = 0;
    virtual bool ApplyRunning() const = 0;
    // Set from a macro change until the run it started has finished: the window's buttons ignore clicks then.
    virtual bool MacrosChanged() const = 0;

    // Saves the document and the DPI memory of the model (exit, hide to the tray).
    virtual Status SaveDocumentAndDpiMemory() = 0;
    // Messages the engine posted to the window; true when it handled `message`.
    virtual bool HandleMessage(const Message& message, intptr_t& result) = 0;
};

}  // namespace mousecfg::app
