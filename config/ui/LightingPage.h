#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "config/ui/LightingModeTable.h"
#include "config/ui/PageRequests.h"
#include "config/ui/SettingsPage.h"

namespace mousecfg {
struct LightingModeSettings;
}  // namespace mousecfg

namespace mousecfg::ui {

// The lighting page: the lighting mode of the current profile (drop list "btn_MouseLed_LedMode", items in mode index
// order) and the settings of that mode: brightness and speed (sliders with value labels), direction (group
// "MouseDirect"), the seven colour slots (colour buttons "btn_MouseLed_ColVal" + k opening the colour picker, check
// boxes "chk_MouseLed_ColEn" + k), and for the model's single-colour modes the choice of the one colour (group
// "SingleColorGroup", options "opt_MouseLed_SingleCol" + k). The page works on lighting[p][m] of the document, p the
// current profile and m the profile's mode (the mode field of its record 0).
//
// Which modes exist and which controls each shows is the model's LightingModeTable; a mode it cannot use is not
// offered. The single-colour modes are the model's [Config] SingleColorModes (mode indexes joined by ",").
//
// Every change updates the document at once and asks for one single run of the lighting effect (request type 9);
// made while a run is under way it waits for it. At least one colour slot of a mode stays on. UI thread only.
class LightingPage final : public SettingsPage {
public:
    static constexpr int kSingleColourModes = 2;

    LightingPage() = default;

    void Initialise(PageContext& context) override;
    bool OnClick(skin::Notification& notification) override;
    void OnSelectChanged(skin::Notification& notification) override;
    void OnItemSelect(skin::Notification& notification) override;
    void OnValueChanged(skin::Notification& notification) override;
    void OnColourPicked(const std::string& button, skin::Color colour) override;
    void OnDeviceEvent(const Message& message) override;
    void Refresh(int profile) override;
    void ShowLightingMode(int mode) override;
    void ApplyFinished() override;

    const LightingModeTable& Modes() const { return table_; }
    int CurrentMode() const { return currentMode_; }

private:
    LightingModeSettings* Record();
    void ReadModel();
    void ShowModeList();
    void InitLightingPage();
    void ShowColours(const LightingModeSettings& record);
    void ApplyVisibility(int mode);
    void ShowSingleColour(const LightingModeSettings& record);
    bool IsSingleColour(int mode) const;
    void OnModeChosen(int mode);
    void OnSlotSwitched(int slot);
    void OnSingleColourChosen(int slot);
    void OnSliderMoved(const std::string& name, int value, bool released);
    void Changed();

    PageContext* context_ = nullptr;
    std::unique_ptr<PageRequests> requests_;
    LightingModeTable table_;
    std::vector<std::string> tracedProblems_;
    std::array<int, kSingleColourModes> singleColourModes_{-1, -1};
    int currentMode_ = -1;
};

}  // namespace mousecfg::ui
