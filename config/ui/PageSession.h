#pragma once

#include <string>
#include <string_view>

#include "config/LinkKind.h"
#include "platform/Status.h"

namespace mousecfg {
class FunctionTable;
class KeyNames;
class MacroStore;
struct DeviceFeature;
struct MouseConfig;
struct SensorOptions;
}  // namespace mousecfg

namespace mousecfg::ui {

// The mouse configuration as the pages see it: the document of the selected device, its model description, the
// function names, the macro document and the requests that bring changes to the mouse. The program implements it
// over its mouse session; tests over plain values. UI thread only.
//
// A page that needs more of the session (sensor options, the relays of the settings) adds it here.
class PageSession {
public:
    virtual ~PageSession() = default;

    // The configuration document and the model description; null before a device was loaded.
    virtual MouseConfig* Document() = 0;
    virtual const DeviceFeature* Feature() const = 0;
    // The model's function names (list text and button text of each code).
    virtual const FunctionTable& Functions() const = 0;
    // The names of keyboard keys, in the user's layout.
    virtual const KeyNames& Keys() const = 0;
    // The macro document the bindings name.
    virtual MacroStore& Macros() = 0;
    // The device name the catalogue gives (the model name, e.g. "KT61").
    virtual std::string DeviceName() const = 0;
    // The BLE path is active: no report-rate function and no macros can be written.
    virtual bool BleActive() const = 0;

    // The pages changed the document (values the device threads compare follow it).
    virtual void DocumentChanged() = 0;
    // Asks the main window for an apply run (message 2051) of `requestType`, a full one when `full`.
    virtual void RequestApply(int requestType, bool full) = 0;
    // The page button whose assignment the next single run of a key request writes.
    virtual void SetEditedButton(int button) = 0;
    // An apply run is under way; the macro document changed and its run has not finished.
    virtual bool ApplyRunning() const = 0;
    virtual bool MacrosChanged() const = 0;

    // The Apply button: saves the document and the macro bindings and writes the pending setting.
    virtual void ApplyButton() = 0;
    // The user chose `profile` in the profile selector (a full run follows); the mouse reported `profile`.
    virtual void SelectProfile(int profile) = 0;
    virtual void ShowProfile(int profile) = 0;
    // The items of the "More" menu. A failure is returned for the pages to show; cancelling is no failure.
    virtual Status ImportConfiguration() = 0;
    virtual Status ExportConfiguration() = 0;
    virtual Status ResetConfiguration() = 0;
    // "Set"/"OnlyOnePageVersion" of the settings file: non-zero when the key selection sits on the main page.
    virtual int OnePageVersion() const { return 0; }
    // "Config"/"KeySelLedVis" of the model description: the panel offers the lighting functions.
    virtual bool KeySelectLedVisible() const { return true; }

    // The link the mouse is reached by (the report rate is kept per link); None while no mouse is linked.
    virtual LinkKind Link() const { return BleActive() ? LinkKind::Ble : LinkKind::Cable; }
    // The sensor and power options of the settings file as the session holds them; null before a device was
    // loaded.
    virtual const SensorOptions* Sensor() const { return nullptr; }
    // Writes one sensor option (a key of sensor_key) to the settings file and keeps it. On failure the option
    // keeps what the file holds and the failure is returned.
    virtual Status SetSensorOption(std::string_view key, int /*value*/) {
        return Status::Error("the sensor option " + std::string(key) + " cannot be stored");
    }
    // The fire value changed: the next single run rewrites the buttons that carry the fire key.
    virtual void MarkFireValueChanged() {}
};

}  // namespace mousecfg::ui
