// Pictures of the settings window (its three pages) and of the version window in both skins,
// drawn by Qt on the offscreen platform and compared with the references in tests/gui/reference region by
// region. MOUSECFG_UPDATE_REFERENCES=1 rewrites them (look at them before committing).
#include <QApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "app/LanguageTexts.h"
#include "app/settings/Setting.h"
#include "app/update/SoftVersion.h"
#include "platform/PrivateProfile.h"
#include "skin/ChildList.h"
#include "skin/Label.h"
#include "skin/Option.h"
#include "skin/SkinResources.h"
#include "skin/qt/QtWindowHost.h"
#include "tests/gui/ReferenceImages.h"
#include "tests/support/TempDir.h"

namespace mousecfg::skin::qt::test {
namespace {

const std::filesystem::path kRes = MOUSECFG_RES_DIR;

void CompareWithReference(const QImage& shot, const QString& name, const std::vector<std::string>& regions,
                          const std::function<QRect(const std::string&)>& rectOf) {
    mousecfg::test::CompareWithReference(shot, QStringLiteral(MOUSECFG_GUI_REFERENCES "/") + name, regions, rectOf);
}

void Spin(int ms) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

QImage Grab(SkinWindow& window) {
    Spin(30);
    auto* widget = static_cast<QtWindowHost*>(window.GetHost());
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

QRect RectOf(SkinWindow& window, const std::string& name) {
    window.GetPaintManager().UpdateLayout();
    const Control* control = window.FindControl(name);
    if (control == nullptr || !control->IsVisibleInTree()) {
        return {};
    }
    const Rect& pos = control->GetPos();
    return QRect(pos.left, pos.top, pos.width(), pos.height());
}

class WindowPictures : public ::testing::TestWithParam<const char*> {
protected:
    WindowPictures() : texts_(app::LanguageTexts::Load(kRes / "Language/lan_en.ini")) {
        SkinResources::SetResourcePath(kRes / GetParam());
        // The shipped settings with fixed values, whatever the resource folder holds.
        std::filesystem::copy_file(kRes / "Set.ini", dir_ / "Set.ini");
        for (const auto& [key, value] : {std::pair{"AutomaticallyOpenEn", "1"}, std::pair{"AutomaticallyHideEn", "0"},
                                         std::pair{"DpiPopEn", "1"}, std::pair{"SleepTime", "10"},
                                         std::pair{"PDTime", "30"}, std::pair{"LODHeight", "0"},
                                         std::pair{"StraightLineCorrectEn", "1"}, std::pair{"Language", "1"}}) {
            ini::WritePrivateProfileString("Set", key, value, dir_ / "Set.ini");
        }
    }
    ~WindowPictures() override { SkinResources::SetTextQueryInterface(nullptr); }
    std::string Skin() const { return std::string(GetParam()).substr(4); }

    mousecfg::test::TempDir dir_;
    app::LanguageTexts texts_;
};

TEST_P(WindowPictures, TheSettingsPagesLookLikeTheirReferences) {
    app::SettingContext context;
    context.settingsFile = dir_ / "Set.ini";
    context.texts = &texts_;
    context.sensorOptionType = 6;
    context.closeOption = 0;
    context.remind = 1;
    context.version = "0.1.0";
    app::Setting window(std::move(context));
    ASSERT_TRUE(window.Create(nullptr, "setting", style::kWsPopup));
    window.MoveWindow({0, 0, 680, 560});
    window.ShowWindow(true, true);
    Spin(50);
    const auto rect = [&window](const std::string& name) { return RectOf(window, name); };
    CompareWithReference(Grab(window), QString::fromStdString("setting_general_" + Skin() + ".png"),
                         {"setting_title", "opt_routine", "opt_more", "opt_automaticallyOpen", "opt_automaticallyHide",
                          "opt_dpipopck", "btn_language", "Minimize", "Exit", "RemindAgain"},
                         rect);
    window.Find<Option>("opt_more")->Activate();
    CompareWithReference(Grab(window), QString::fromStdString("setting_device_" + Skin() + ".png"),
                         {"opt_more", "opt_lightmode", "Slider_Sleep_Time", "Edit_Sleep_Time", "Value_PD_Time",
                          "StraightLineCorrection", "LODHeight1", "LODHeight2", "ChargeCntLabel"},
                         rect);
    window.Find<Option>("opt_about")->Activate();
    CompareWithReference(Grab(window), QString::fromStdString("setting_about_" + Skin() + ".png"),
                         {"opt_about", "lab_version", "btn_update", "link_website", "link_support"}, rect);
    window.Close();
}

TEST_P(WindowPictures, TheVersionWindowLooksLikeItsReference) {
    app::SoftVersionContext context;
    context.texts = &texts_;
    app::SoftVersion window(std::move(context));
    ASSERT_TRUE(window.Create(nullptr, "SoftVersion", style::kWsPopup, 0,
                              {0, 0, app::SoftVersion::kWidth, app::SoftVersion::kHeight}));
    window.ShowWindow(true, true);
    Spin(50);
    const QImage shot = Grab(window);
    ASSERT_EQ(shot.size(), QSize(app::SoftVersion::kWidth, app::SoftVersion::kHeight));
    CompareWithReference(shot, QString::fromStdString("version_" + Skin() + ".png"),
                         {"btn_DownVersion", "btn_IndexVersion", "lab_IndexVersion", "btn_Online", "btn_TempBtn",
                          "btn_StartUpdata", "btn_OpenPdf", "closebtn"},
                         [&window](const std::string& name) { return RectOf(window, name); });
    window.Close();
}

// The options and check boxes of a window whose text is wider than their box, with the text and its width.
std::vector<std::string> CutTexts(const Control& control) {
    std::vector<std::string> cut;
    const auto* label = dynamic_cast<const Label*>(&control);
    if (label != nullptr && control.IsVisibleInTree() && !control.GetText().empty() &&
        dynamic_cast<const Option*>(&control) != nullptr) {
        const int need = label->MeasureText().cx + control.GetTextPadding().left + control.GetTextPadding().right;
        if (need > control.GetPos().width()) {
            cut.push_back(control.GetName() + " \"" + control.GetText() + "\" needs " + std::to_string(need) +
                          " of " + std::to_string(control.GetPos().width()));
        }
    }
    if (const ChildList* children = control.Children()) {
        for (int i = 0; i < children->GetCount(); ++i) {
            std::vector<std::string> more = CutTexts(*children->GetItemAt(i));
            cut.insert(cut.end(), more.begin(), more.end());
        }
    }
    return cut;
}

// A long translation runs under the control beside it: every option of the settings window shows its whole text
// in every language.
TEST_P(WindowPictures, EveryOptionOfTheSettingsWindowShowsItsWholeTextInEveryLanguage) {
    for (const auto& entry : std::filesystem::directory_iterator(kRes / "Language")) {
        if (!entry.path().filename().string().starts_with("lan_")) {
            continue;
        }
        const app::LanguageTexts texts = app::LanguageTexts::Load(entry.path());
        app::SettingContext context;
        context.settingsFile = dir_ / "Set.ini";
        context.texts = &texts;
        context.sensorOptionType = 6;
        app::Setting window(std::move(context));
        ASSERT_TRUE(window.Create(nullptr, "setting", style::kWsPopup));
        window.MoveWindow({0, 0, 680, 560});
        for (const char* page : {"opt_routine", "opt_more", "opt_about"}) {
            window.Find<Option>(page)->Activate();
            window.GetPaintManager().UpdateLayout();
            for (const std::string& cut : CutTexts(*window.GetPaintManager().GetRoot())) {
                ADD_FAILURE() << entry.path().filename() << ": " << cut;
            }
        }
        window.Close();
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, WindowPictures, ::testing::Values("res_black", "res_white"));

}  // namespace
}  // namespace mousecfg::skin::qt::test
