// The skin of the main window: building the pages, the switch between the two skin folders, the language
// (texts, title, tray tooltip, fonts) and the apply progress display.
#include "app/CKivoMainWnd.h"
#include "app/LanguageTable.h"
#include "app/MacroPage.h"
#include "app/MousePages.h"
#include "device/ConnectionMonitor.h"
#include "layout/PageBuilder.h"
#include "platform/FontRegistry.h"
#include "platform/PrivateProfile.h"
#include "platform/Trace.h"
#include "skin/Label.h"
#include "skin/Option.h"
#include "skin/Progress.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinResources.h"
#include "skin/TabLayout.h"

namespace mousecfg::app {

std::string CKivoMainWnd::SkinFolderName() const {
    return SkinFolderOfPrefix(skinPrefix_);
}

// Gives the pages the skin folder and lets them build their controls; the home page is placed from its layout.
void CKivoMainWnd::BuildPages() {
    const std::filesystem::path folder = services_.paths.SkinFolder(SkinFolderName());
    layout::PageBuilder::LoadHomeLayout(folder, GetPaintManager(), boxes_);
    services_.macroPage.Initialise(*this, folder);
    services_.mousePages.Initialise(*this, folder);
    if (const auto* bar = Find<skin::Progress>("battery_progress")) {
        batteryColour_ = bar->GetForeColor();
    }
}

void CKivoMainWnd::CreateDpiPopup() {
    dpiPopup_ = std::make_unique<CPopPush>();
    if (!dpiPopup_->Create(nullptr, "", skin::style::kWsPopup,
                           skin::style::kWsExToolWindow | skin::style::kWsExTopmost)) {
        dpiPopup_.reset();
    }
}

void CKivoMainWnd::SwitchSkin() {
    const std::string current = SkinFolderName();
    const std::string next = current != preResPath1_ ? preResPath1_ : preResPath2_;
    if (next.empty()) {
        trace::Write("skin switch: the model description names no skin folders\n");
        return;
    }
    services_.mousePages.SetRebuilding(true);
    services_.configuration.SetRebuilding(true);
    skinPrefix_ = "./" + next;
    skin::SkinResources::SetResourcePath(services_.paths.SkinFolder(next));
    const Status written = ini::WritePrivateProfileString("Config", "ResPath", next, services_.paths.FeatureFile());
    if (!written) {
        trace::Printf("%s\n", written.message().c_str());
    }
    skin::SkinBuilder builder(GetPaintManager(), this);
    if (!builder.LoadWindow(GetSkinFile())) {
        trace::Printf("skin switch: %s/%s could not be loaded\n", next.c_str(), GetSkinFile().c_str());
    }
    GetPaintManager().SetClientSize({kWidth, kHeight});
    CreateDpiPopup();
    BuildPages();
    ClickDevice(currentDevice_);
    services_.macroPage.Refresh();
    ApplyLanguage(languageIndex_);
    ShowBanner();
    ShowLinkButtons();
    if (auto* change = Find<skin::Option>("ChangeSkin")) {
        change->Selected(next == preResPath2_, false);
    }
    if (auto* page = Find<skin::Option>(currentPageButton_)) {
        page->Selected(true, false);
    }
    if (auto* tabs = Find<skin::TabLayout>("tab_main")) {
        tabs->SelectItem(currentPageButton_ == "btn_Mac" ? 1 : 0);
    }
    if (lastBattery_) {
        ShowBattery(*lastBattery_);
    }
    RunConnectionDisplay(false);
    services_.mousePages.SetRebuilding(false);
    services_.configuration.SetRebuilding(false);
}

void CKivoMainWnd::ApplyLanguage(int index) {
    languageIndex_ = index;
    texts_ = LanguageTexts::Load(LanguageFile(services_.paths.LanguageFolder(), index));
    skin::SkinResources::SetRightToLeft(IsRightToLeft(index));
    ChooseFontFace();
    std::string title = texts_.WindowName();
    if (!services_.banner.empty()) {
        title += " \xE2\x80\x94 " + texts_.Lookup("SimulatedBanner", false, true).value_or("virtual mouse");
    }
    SetWindowText(title);
    if (skin::Control* caption = FindControl("title_text"); caption != nullptr && !texts_.WindowName().empty()) {
        caption->SetText(texts_.WindowName());
    }
    CreateTrayIcon();
    services_.macroPage.SetLanguage(texts_, index);
    services_.mousePages.SetLanguage(texts_);
    services_.configuration.SetLanguage(texts_);
    skin::SkinResources::SetTextQueryInterface(this);
    skin::SkinResources::ReloadText();
    ApplyControlFonts();
    for (const char* name : {"HLayout_Edit_Time", "bindkey_num_layout"}) {
        if (skin::Control* layout = FindControl(name)) {
            layout->NeedUpdate();
        }
    }
    ApplyFontFace();
    SetConnectionImage();
}

// The language file's per-control font adjustments: a label with font 0 takes the width of its text; a
// label, option, button or edit with another font index takes that font.
void CKivoMainWnd::ApplyControlFonts() {
    for (const ControlFont& entry : texts_.Controls()) {
        skin::Control* control = FindControl(entry.control);
        if (control == nullptr) {
            continue;
        }
        const bool known = entry.type == "label" || entry.type == "option" || entry.type == "button" ||
                           entry.type == "edit";
        if (entry.type == "label" && entry.fontIndex == 0) {
            if (auto* label = dynamic_cast<skin::Label*>(control)) {
                const skin::Rect padding = label->GetTextPadding();
                label->SetFixedWidth(label->MeasureText().cx + padding.left + padding.right);
            }
        } else if (known && entry.fontIndex != 0) {
            control->SetFont(entry.fontIndex);
        }
    }
}

// The faces the language is shown in: the language file's face when it has every letter of the language's
// texts, else faces of the system that have them in front of it.
void CKivoMainWnd::ChooseFontFace() {
    fontFace_.clear();
    for (const std::string& face :
         services_.fonts.FacesFor(texts_.FontName(), texts_.AllTexts(), LanguageTag(languageIndex_))) {
        fontFace_ += (fontFace_.empty() ? "" : ",") + face;
    }
    trace::Printf("language %s: fonts %s\n", std::string(LanguageName(languageIndex_)).c_str(), fontFace_.c_str());
}

// The language's face for every window of the program, those opened later included.
void CKivoMainWnd::ApplyFontFace() {
    skin::SkinResources::SetFontFamily(fontFace_);
    ApplyFontFace(*this);
    if (dpiPopup_) {
        ApplyFontFace(*dpiPopup_);
    }
}

// The language's font face for a window of the program (the popups look like the main window).
void CKivoMainWnd::ApplyFontFace(skin::SkinWindow& window) const {
    if (!fontFace_.empty()) {
        window.GetPaintManager().SetFontFamilyForAll(fontFace_);
        window.GetPaintManager().NeedUpdate();
    }
}

void CKivoMainWnd::ShowBanner() {
    SetVisible("lab_simulated", !services_.banner.empty());
}

void CKivoMainWnd::ShowApplyProgress(bool show, bool full) {
    if (!full) {
        for (const char* name : {"gif_vertical", "apply_progress", "ring", "text_apply", "tranWnd"}) {
            SetVisible(name, false);
        }
        return;
    }
    SetVisible("gif_vertical", true);
    SetVisible("apply_progress", !show);
    if (FindControl("ring") == nullptr) {
        return;
    }
    if (show) {
        SetVisible("tranWnd_setting", false);
        SetVisible("tranWnd", true);
    }
    SetVisible("ring", show);
    SetVisible("text_apply", show);
}

void CKivoMainWnd::ShowApplySteps(int done, int total) {
    if (auto* bar = Find<skin::Progress>("apply_progress"); bar != nullptr && total > 0) {
        bar->SetValue(bar->GetMinValue() + (bar->GetMaxValue() - bar->GetMinValue()) * done / total);
    }
}

}  // namespace mousecfg::app
