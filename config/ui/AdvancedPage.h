#pragma once

#include <string>

#include "config/ui/PageRequests.h"
#include "config/ui/SensorOptionsPanel.h"
#include "config/ui/SettingsPage.h"

namespace mousecfg {
struct MouseConfig;
struct ProfileSettings;
}  // namespace mousecfg

namespace mousecfg::ui {

// The advanced page: the DPI levels of the current profile, the report rate of the link in use, the fire control,
// and the sensor and power options (SensorOptionsPanel).
//
// DPI level i (0..7) is a row of a check box "chk_MouseAdv_PDIEn" + i (the level is on), an option
// "chk_MouseAdv_SelDPI" + i of group "MouseDPIOption" (the active level; its text is the level's DPI), a colour
// button "btn_MouseAdv_Color" + i (opens the colour picker) and an edit "MouseAdv_Edit" + i (a typed DPI value,
// taken by the nearest-gear rule); rows from the model's level count on are hidden. The slider
// "btn_MouseAdv_DpiSlider" runs over the gears 1 .. gearCount of the model's gear table and sets the active
// level's gear: its labels follow while it is dragged, the mouse gets the table once it is let go. The options of
// group "MouseUsbRate" are the report-rate indexes of the link in use; "btn_MouseAdv_FireCtrl" with
// "lab_MouseAdv_FireValue" is the fire value.
//
// Every change updates the configuration document at once and asks for one single apply run of its request type
// (DPI table 6, DPI colours 7, report rate 3, fire keys 4); made while a run is under way, the request waits for
// it (PageRequests). Selections made by the program (ShowDpiLevel, ShowRate, set-up) request nothing. UI thread
// only.
class AdvancedPage final : public SettingsPage {
public:
    AdvancedPage() = default;

    void Initialise(PageContext& context) override;
    void LanguageChanged() override;
    bool OnClick(skin::Notification& notification) override;
    void OnSelectChanged(skin::Notification& notification) override;
    void OnValueChanged(skin::Notification& notification) override;
    void OnEditDone(skin::Notification& notification) override;
    void OnColourPicked(const std::string& button, skin::Color colour) override;
    void OnDeviceEvent(const Message& message) override;
    void OnConnectionChanged(bool connected, bool cable) override;
    void Refresh(int profile) override;
    void ShowDpiLevel(int level) override;
    void ShowRate(int index) override;
    void ApplyFinished() override;

    // The requests waiting for the apply run under way (tests).
    size_t WaitingRequests() const { return requests_ != nullptr ? requests_->Waiting() : 0; }

private:
    ProfileSettings* Profile();
    void ShowLevels(const ProfileSettings& profile);
    void ShowLevel(int level, const ProfileSettings& profile);
    void ShowSlider(const ProfileSettings& profile);
    void ShowActiveLevel(ProfileSettings& profile);
    void ShowRates();
    void ShowFire(int value);
    void ShowModelDifferences();
    void OnLevelSwitched(int level);
    void OnActiveLevelChosen(int level);
    void OnRateChosen(int index);
    void OnSliderMoved(int value, bool released);
    void OnFireMoved(int value, bool released);
    void OnDpiTyped(int level);
    std::string GearText(int gear) const;

    PageContext* context_ = nullptr;
    std::unique_ptr<PageRequests> requests_;
    std::unique_ptr<SensorOptionsPanel> sensor_;
};

}  // namespace mousecfg::ui
