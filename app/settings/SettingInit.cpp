// The settings window's "windowinit": the rows the model's sensor offers, and every control filled from the
// settings file, the main window's close choice and the mouse's charge counter.
#include "app/LanguageTable.h"
#include "app/LanguageTexts.h"
#include "app/settings/Setting.h"
#include "device/CommandSet.h"
#include "platform/UrlOpener.h"
#include "skin/CheckBox.h"
#include "skin/ChildList.h"
#include "skin/Combo.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"

namespace mousecfg::app {
namespace {

// The rows shown for a sensor option type, and the lift-off texts (none: as the skin has them).
struct SensorRows {
    bool straightLine;
    bool ripple;
    bool liftOff;
    const char* lift1;
    const char* lift2;
};

std::optional<SensorRows> RowsForType(int type) {
    switch (type) {
        case 0: case 1: case 2: case 9: return SensorRows{false, false, false, nullptr, nullptr};
        case 3: return SensorRows{true, false, false, nullptr, nullptr};
        case 4: return SensorRows{true, true, true, nullptr, nullptr};
        case 6: return SensorRows{true, true, true, "1mm", "2mm"};
        case 7: return SensorRows{true, true, true, "2mm", "3mm"};
        case 8: return SensorRows{true, true, false, nullptr, nullptr};
        default: return std::nullopt;  // the rows stay as the skin has them
    }
}

void ForEachControl(skin::Control& control, const std::function<void(skin::Control&)>& visit) {
    visit(control);
    if (const skin::ChildList* children = control.Children()) {
        for (const auto& child : children->items()) {
            ForEachControl(*child, visit);
        }
    }
}

}  // namespace

void Setting::FillControls() {
    filling_ = true;
    ShowSensorRows();
    ShowLanguage();
    ShowGeneralOptions();
    ShowDeviceOptions();
    SetVisible("setting_red_point", context_.settingNotice);
    ShowCloseOption();
    HideUnusableLinks();
    if (!context_.version.empty()) {
        SetText("lab_version", context_.version);
    }
    filling_ = false;
}

void Setting::ShowSensorRows() {
    const auto rows = RowsForType(context_.sensorOptionType);
    if (!rows) {
        return;
    }
    SetVisible("StraightLine_Ver", rows->straightLine);
    SetVisible("RippleCtrl_Ver", rows->ripple);
    SetVisible("LODHeight_Ver", rows->liftOff);
    if (rows->lift1 != nullptr) {
        SetText("LODHeight1", rows->lift1);
        SetText("LODHeight2", rows->lift2);
    }
}

void Setting::ShowLanguage() {
    auto* combo = Find<skin::Combo>("btn_language");
    if (combo == nullptr) {
        return;
    }
    const std::string_view name = LanguageName(store_.Get("Language"));
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (combo->GetItemAt(i)->GetName() == name) {
            combo->SelectItem(i, false);
            return;
        }
    }
}

// Autostart, start hidden (only selectable with autostart on), DPI pop-up and low-battery notice.
void Setting::ShowGeneralOptions() {
    const bool open = store_.Get("AutomaticallyOpenEn") != 0;
    if (auto* option = Find<skin::Option>("opt_automaticallyOpen")) {
        option->Selected(open, false);
    }
    if (auto* hide = Find<skin::Option>("opt_automaticallyHide")) {
        hide->Selected(open && store_.Get("AutomaticallyHideEn") != 0, false);
        hide->SetEnabled(open);
    }
    if (auto* option = Find<skin::Option>("opt_dpipopck")) {
        option->Selected(store_.Get("DpiPopEn") != 0, false);
    }
    if (auto* option = Find<skin::Option>("opt_lowbattery")) {
        option->Selected(store_.Get(kLowBatteryNoticeKey, 1) != 0, false);
    }
}

void Setting::ShowDeviceOptions() {
    const auto select = [this](const char* name, bool selected) {
        if (auto* option = Find<skin::Option>(name)) {
            option->Selected(selected, false);
        }
    };
    select("opt_lightmode", store_.Get("OverallLightControlEn") != 0);
    select("intell_save_power", store_.Get("SavePowerSelect") != 0);
    select("StraightLineCorrection", store_.Get("StraightLineCorrectEn") != 0);
    select("RippleControlEn", store_.Get("RippleCtrlEn") != 0);
    const auto& lift = GetPaintManager().GetOptionGroup("LODHeight");
    if (lift.size() >= 2) {
        lift[store_.Get("LODHeight") == 1 ? 1 : 0]->Selected(true, false);
    }
    ShowStoredTimes();
}

// The mouse's charge counter, read once when the window opens; "-" when the mouse does not answer or another
// request is under way (the window never waits for the mouse).
void Setting::ShowChargeCount() {
    std::string text = "-";
    if (context_.commands != nullptr) {
        if (auto session = context_.commands->TryAcquire()) {
            DeviceRequest& r = session->request();
            r.type = request::kSystemSetting;
            r.subtype = request::kChargeCount;
            if (session->DeviceRead() == 1) {
                text = std::to_string(r[16]);
            }
        }
    }
    SetText("ChargeCntLabel", text);
}

void Setting::ShowCloseOption() {
    if (auto* exit = Find<skin::Option>("Exit")) {
        exit->Selected(context_.closeOption != 0, false);
    }
    if (auto* minimize = Find<skin::Option>("Minimize")) {
        minimize->Selected(context_.closeOption == 0, false);
    }
    if (auto* remind = Find<skin::CheckBox>("RemindAgain")) {
        remind->SetCheck(context_.remind != 0, false);
    }
}

// A link whose key holds no web address would open nothing: it is not offered.
void Setting::HideUnusableLinks() {
    if (skin::Control* root = GetPaintManager().GetRoot()) {
        ForEachControl(*root, [this](skin::Control& control) {
            if (control.GetName().find("link_") != std::string::npos) {
                control.SetVisible(IsWebAddress(store_.GetText(control.GetName())));
            }
        });
    }
}

// The window as the language wants it: its texts from the language file, the language's font face.
void Setting::ApplyLanguageLook() {
    skin::SkinResources::SetTextQueryInterface(this);
    GetPaintManager().ReloadText();
    if (context_.texts != nullptr && !context_.texts->FontName().empty()) {
        GetPaintManager().SetFontFamilyForAll(context_.texts->FontName());
    }
    GetPaintManager().NeedUpdate();
}

}  // namespace mousecfg::app
