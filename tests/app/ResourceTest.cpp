// The shipped resources: every language file is complete, every text id of the skins has a text, and both skin
// folders hold every window's skin file with the controls the program addresses.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "app/CKivoMainWnd.h"
#include "app/LanguageTable.h"
#include "app/LanguageTexts.h"
#include "config/FunctionTable.h"
#include "platform/PrivateProfile.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"

namespace mousecfg {
namespace {

const std::filesystem::path kRes = MOUSECFG_SOURCE_RES;

std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(LanguageFiles, EveryLanguageHasEveryTextOfTheEnglishFile) {
    const auto english = kRes / "Language/lan_en.ini";
    const auto sections = ini::GetPrivateProfileSectionNames(english);
    ASSERT_GE(sections.size(), 8u);
    for (int index = 0; index < app::kLanguageCount; ++index) {
        const auto file = app::LanguageFile(kRes / "Language", index);
        SCOPED_TRACE(file.string());
        ASSERT_TRUE(std::filesystem::exists(file));
        for (const std::string& section : sections) {
            for (const std::string& key : ini::GetPrivateProfileKeys(section, english)) {
                EXPECT_NE(ini::GetPrivateProfileString(section, key, "", file), "") << section << "/" << key;
            }
        }
    }
}

TEST(LanguageFiles, EveryTextIdOfTheSkinsHasAnEnglishText) {
    const auto texts = app::LanguageTexts::Load(kRes / "Language/lan_en.ini");
    const std::string marker = "textid=\"";
    for (const char* skin : {"res_black", "res_white"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kRes / skin)) {
            if (entry.path().extension() != ".xml") {
                continue;
            }
            const std::string text = ReadText(entry.path());
            for (size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1)) {
                const size_t begin = at + marker.size();
                const std::string id = text.substr(begin, text.find('"', begin) - begin);
                // The macro item dialog answers its own texts from "MacroPopUI".
                const bool dialog = entry.path().filename() == "popmacroset.xml";
                const bool found = texts.Lookup(id, false, true) || texts.Lookup(id, true, true) ||
                                   (dialog && texts.Find("MacroPopUI", id));
                EXPECT_TRUE(found) << entry.path().filename() << ": " << id;
            }
        }
    }
}

// A window for loading any skin file.
class SkinProbe final : public skin::SkinWindow {
public:
    explicit SkinProbe(std::string file) : file_(std::move(file)) {}
    std::string GetSkinFile() override { return file_; }
    std::string GetWindowClassName() const override { return "Probe"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view cls) override { return skin::CreateCustomLayout(cls); }

private:
    std::string file_;
};

TEST(SkinFolders, EveryWindowLoadsWithoutProblemsWithTheControlsTheProgramAddresses) {
    const std::map<std::string, std::vector<std::string>> windows = {
        {"MainWnd.xml",
         {"tab_main", "btn_Null", "btn_Mac", "ver_mousepage", "ver_mousekeysel", "ver_mousehid", "ver_macropage",
          "connect_state", "connect_text", "in_charge", "battery_progress", "battery_progress2", "battery_Text",
          "apply_progress", "ring", "text_apply", "gif_vertical", "tranWnd", "tranWnd_setting", "ChangeSkin",
          "mainwnd_red_point", "btn_close", "btn_min", "btn_set", "guideButton", "MacroShareButton", "TmpFocusButton",
          "home_layout", "btn_display0", "lab_simulated", "title_text", "modal_popwnd_btn"}},
        {"msg.xml", {"MessageTitle", "MessageText", "confirm_btn", "cancel_btn", "closebtn"}},
        {"msg2.xml", {"MessageTitle", "MessageText", "confirm_btn", "cancel_btn", "closebtn"}},
        {"msg3.xml", {"MessageTitle", "MessageTextNoDevice", "MessageTextWirelessUnconnect", "confirm_btn", "closebtn"}},
        {"ClosePop.xml", {"Minimize", "Exit", "NotRemindAgain", "OkButton", "CancelButton", "btn_close"}},
        {"poppush.xml", {"animlayout", "dpilevel", "DPIText", "curmode", "dpivalue", "slider_dpi", "dev_name", "btn_close"}},
        {"popcolor.xml", {"Pallet", "colorHex", "colorR", "colorG", "colorB", "popok", "popcancel", "def_color0",
                          "def_color7", "cust_color0", "cust_color7"}},
        {"poptip.xml", {"displaytext"}},
        {"setting.xml",
         {"opt_automaticallyOpen", "opt_automaticallyHide", "opt_dpipopck", "opt_lightmode", "opt_lowbattery",
          "btn_language", "lan_cn", "lan_gr", "intell_save_power", "Slider_Sleep_Time", "Edit_Sleep_Time",
          "Value_Sleep_Time", "Slider_PD_Time", "Edit_PD_Time", "Value_PD_Time", "StraightLineCorrection",
          "RippleControlEn", "LODHeight1", "LODHeight2", "StraightLine_Ver", "RippleCtrl_Ver", "LODHeight_Ver",
          "ChargeCntLabel", "setting_red_point", "setting_about_red_point", "Minimize", "Exit", "RemindAgain",
          "opt_routine", "opt_more", "opt_about", "setting_tab", "btn_close", "btn_update", "lab_version"}},
        {"SoftVersion.xml", {"closebtn", "btn_Online", "btn_DownVersion", "btn_IndexVersion", "btn_StartUpdata",
                             "btn_TempBtn", "btn_OpenPdf", "lab_IndexVersion", "lab_DownState"}},
    };
    skin::HeadlessPlatform platform;
    skin::SkinPlatform::Set(&platform);
    for (const char* folder : {"res_black", "res_white"}) {
        skin::SkinResources::SetResourcePath(std::filesystem::path(MOUSECFG_RES_DIR) / folder);
        for (const auto& [file, controls] : windows) {
            SCOPED_TRACE(std::string(folder) + "/" + file);
            SkinProbe probe(file);
            skin::SkinBuilder builder(probe.GetPaintManager(), &probe);
            ASSERT_TRUE(builder.LoadWindow(file));
            EXPECT_TRUE(builder.problems().empty()) << builder.problems().front();
            for (const std::string& name : controls) {
                EXPECT_NE(probe.FindControl(name), nullptr) << name;
            }
        }
        EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(MOUSECFG_RES_DIR) / folder / "Home/Home.json"));
        for (const char* image : {"bluetooth", "UsbConnect", "2.4GConnect", "2.4GNoConnect"}) {
            for (const char* scale : {".png", "@2x.png"}) {
                EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(MOUSECFG_RES_DIR) / folder / "Home" /
                                                    (std::string(image) + scale)))
                    << image << scale;
            }
        }
    }
    skin::SkinPlatform::Set(nullptr);
}

TEST(SkinFolders, BothSkinsHaveTheSameFiles) {
    std::set<std::string> black;
    std::set<std::string> white;
    for (const auto& [folder, files] : {std::pair{"res_black", &black}, std::pair{"res_white", &white}}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(kRes / folder)) {
            files->insert(std::filesystem::relative(entry.path(), kRes / folder).string());
        }
    }
    EXPECT_EQ(black, white);
}

// Every language but English (which shows the model's own names) names every function of the model, so the key
// page and the assignment lists never mix languages; and every text keeps the placeholders of its English text.
TEST(LanguageFiles, EveryLanguageNamesEveryFunctionAndKeepsThePlaceholders) {
    FunctionTable functions;
    ASSERT_TRUE(functions.Load(kRes / "VeruzUrir/Language/LanguageText.json").ok());
    ASSERT_FALSE(functions.entries().empty());
    const auto english = kRes / "Language/lan_en.ini";
    const auto placeholders = [](const std::string& text) {
        std::multiset<std::string> found;
        for (size_t at = text.find('%'); at != std::string::npos && at + 1 < text.size(); at = text.find('%', at + 1)) {
            if (std::string_view("dsu").find(text[at + 1]) != std::string_view::npos) {
                found.insert(text.substr(at, 2));
            }
        }
        return found;
    };
    for (int index = 0; index < app::kLanguageCount; ++index) {
        const auto file = app::LanguageFile(kRes / "Language", index);
        SCOPED_TRACE(file.string());
        if (index != app::kEnglish) {
            for (const auto& [code, texts] : functions.entries()) {
                EXPECT_NE(ini::GetPrivateProfileString("MouseFunctionUI", std::to_string(code), "", file), "")
                    << "no name for function " << code << " (" << texts.list << ")";
            }
        }
        for (const std::string& section : ini::GetPrivateProfileSectionNames(english)) {
            for (const std::string& key : ini::GetPrivateProfileKeys(section, english)) {
                EXPECT_EQ(placeholders(ini::GetPrivateProfileString(section, key, "", file)),
                          placeholders(ini::GetPrivateProfileString(section, key, "", english)))
                    << section << "/" << key;
            }
        }
    }
}

}  // namespace
}  // namespace mousecfg
