#pragma once

#include <array>
#include <string>
#include <string_view>

#include "config/SensorOptions.h"

namespace mousecfg::skin {
struct Notification;
}  // namespace mousecfg::skin

namespace mousecfg::ui {

class PageRequests;
struct PageContext;
struct SensorTimeOption;

// The sensor and power options of the advanced page: power saving ("intell_save_power"), sleep time and short
// press (slider, value label and edit each), lift-off distance (group "LODHeight"), straight-line, ripple,
// smooth-line and jitter correction and wake on movement. They are the application's options for the device
// whatever the profile, kept in [Set] of the settings file: every change writes its key at once and then asks the
// main window to relay it to the mouse (2060 ... 2074). Which of them a sensor chip offers follows the chip table
// (ShowChipControls). UI thread only.
//
// A write that fails tells the user and the controls show again what the settings file holds; nothing is relayed.
class SensorOptionsPanel {
public:
    SensorOptionsPanel(PageContext& context, PageRequests& requests) : context_(context), requests_(requests) {}

    // The skin's controls exist: the lift-off options' own texts are kept for the chips that use them.
    void Initialise();
    // The controls show the session's options (sleep time and short press held in their sliders' ranges) and
    // the containers of the options the device's sensor chip offers.
    void Show();

    // Notifications of the panel's controls; false for other senders.
    bool OnSelectChanged(const skin::Notification& notification);
    bool OnValueChanged(const skin::Notification& notification);
    bool OnEditDone(const skin::Notification& notification);

private:
    void ShowOptions(const SensorOptions& options);
    void ShowChipControls(int chip);
    void ShowTime(const SensorTimeOption& option, int value);
    bool Store(std::string_view key, int value);
    void StoreTime(const SensorTimeOption& option, int value);
    void StoreCorrections();
    void ShowStored();
    OptionRange Range(const SensorTimeOption& option) const;

    PageContext& context_;
    PageRequests& requests_;
    std::array<std::string, 2> skinLodTexts_;
};

}  // namespace mousecfg::ui
