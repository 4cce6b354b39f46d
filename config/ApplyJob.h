#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "config/DeviceFeature.h"
#include "config/DeviceImage.h"
#include "config/LinkKind.h"
#include "config/MouseConfig.h"
#include "config/PresetMacros.h"
#include "config/SensorOptions.h"

namespace mousecfg {

class MacroLookup;

// The apply state of the mouse pages: what the next run is to do. Set by the pages and the main window on the
// user-interface thread; StartApply copies it into the job.
struct ApplyState {
    int pendingType = 0;  // request type of the last changed setting
    bool pendingSleep = false;
    bool pendingPdTime = false;
    bool pendingSensorByte = false;
    bool pendingLod = false;
    bool pendingShortPress = false;
    bool pendingMoveWake = false;
    bool fireRefresh = false;         // the fire value changed: rewrite the fire-key buttons
    bool macrosChanged = false;       // the macro document changed: write keys only, renew all tags
    bool importPending = false;       // after import or reset: write even when the tags match
    bool profileSwitched = false;     // the user switched the profile
    bool followMouseProfile = false;  // adopt the mouse's active profile
    bool quiet = false;               // no progress display
    bool bleSkipProfileRead = false;  // one-shot: the BLE run does not read the active profile
    int editedButton = 0;             // the button whose assignment changed (single runs of types 4 and 5)
};

// Everything one apply run needs, copied on the user-interface thread so that the worker shares nothing with
// the live document.
struct ApplyJob {
    bool full = false;
    ApplyState state;
    MouseConfig config;
    DeviceFeature feature;
    SensorOptions options;
    PresetMacros presets;
    std::shared_ptr<const MacroLookup> macros;
    LinkKind link = LinkKind::Cable;
    std::string modelName;
    DeviceImage image;
    // The mouse's profile tags as the last BLE replies reported them (the BLE run compares with these).
    std::optional<std::array<uint16_t, 4>> bleMouseTags;
};

// What a run found and changed, for the user-interface thread to take over into the document and the model file.
struct ApplyOutcome {
    bool full = false;
    bool wrote = false;                 // the run wrote settings (and made a new tag)
    std::optional<int> adoptedProfile;  // the mouse's active profile became the program's
    int profile = 0;                    // the profile the run worked on
    int readLedMode = -1;               // read-back values of `profile`; -1 = not read
    int readDpiLevel = -1;
    int readRate = -1;
    ImageBuildChanges documentChanges;              // BLE macro fallback and BLE rates
    std::vector<std::pair<int, uint16_t>> newTags;  // (profile, tag) written to the mouse, to save to [RANDOM]
    bool bleSkipConsumed = false;                   // the one-shot skip flag was used
    bool refreshDisplays = false;                   // BLE: the lighting mode and DPI displays are to be refreshed
    int writes = 0;                                 // requests sent
    int failedWrites = 0;                           // of those, the ones the transport did not deliver
    // The first failure to save what the run and the operation that started it changed (the document, the DPI
    // memory, profile tags, macro bindings), naming the file: the mouse then holds what the files do not.
    Status saved = Status::Ok();
    DeviceImage image;                              // the image as the run left it
};

}  // namespace mousecfg
