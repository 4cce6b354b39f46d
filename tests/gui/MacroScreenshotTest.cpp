// Screenshots of the macro page and the item dialog in both skins, drawn by Qt on the offscreen platform in the
// whole program against the virtual mouse, compared region by region with the pictures in tests/gui/screenshots
// (MOUSECFG_UPDATE_REFERENCES=1 rewrites them).
#include <QCoreApplication>
#include <QImage>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/CKivoMainWnd.h"
#include "app/Shell.h"
#include "app/SessionConfiguration.h"
#include "app/ShellMessages.h"
#include "app/macro/CPopMacroSetWnd.h"
#include "app/macro/MacroEditorPage.h"
#include "config/KeyAssignment.h"
#include "config/MouseConfig.h"
#include "macro/MacroStore.h"
#include "macro/ui/ControlSearch.h"
#include "skin/Edit.h"
#include "skin/List.h"
#include "skin/Tree.h"
#include "skin/TreeNode.h"
#include "skin/WindowMessages.h"
#include "tests/gui/ShellScreenshots.h"

namespace mousecfg {
namespace {

using test::Grab;
using test::RectOf;
using test::Spin;

// Compares the named regions of `shot` with the reference `name`; rewrites the reference when asked to.
void Compare(skin::SkinWindow& window, const QImage& shot, const std::string& name,
             const std::vector<std::string>& regions) {
    test::CompareRegions(window, shot, MOUSECFG_SCREENSHOTS, name, regions);
}

void Click(skin::SkinWindow& window, const skin::Control& control) {
    const QRect area = RectOf(control);
    const intptr_t at = skin::msg::MakePointParam(area.center().x(), area.center().y());
    window.HandleMessage(Message{skin::msg::kMouseMove, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonDown, 0, at, {}});
    window.HandleMessage(Message{skin::msg::kLButtonUp, 0, at, {}});
    Spin(30);
}

class MacroScreenshots : public ::testing::TestWithParam<const char*> {
protected:
    app::CKivoMainWnd& Window() { return shell_->Window(); }
    skin::TreeNode* Node(int g, int m) {
        auto roots = Window().Find<skin::Tree>("tre_Macro_GroupDisplay")->GetRootNodes();
        return m < 0 ? roots.at(static_cast<size_t>(g)) : roots.at(static_cast<size_t>(g))->GetChildNode(m);
    }

    test::NoFonts fonts_;
    test::ProgramUnderTest program_{GetParam(), 1, fonts_};
    app::Shell* shell_ = &program_.Shell();
};

TEST_P(MacroScreenshots, PageAndDialogLookLikeTheirPictures) {
    const std::string skin = std::string(GetParam()).substr(4);  // "black", "white"
    // "Shift click" bound to button 4 and then changed: its binding row and its "ToSave" mark show.
    MouseConfig& config = *shell_->Configuration().Document();
    MacroStore& macros = shell_->Configuration().Macros();
    ASSERT_TRUE(AssignMacro(config, macros, config.currentProfile, 4, 0, 1));
    ASSERT_TRUE(RebuildMacroBindings(macros, config, Window().ModelName()));
    Window().Send(Message{app::msg::kMacroReload, 1, 0, {}});
    Click(Window(), *Window().FindControl("btn_Mac"));
    Click(Window(), *Node(0, 1));
    auto* count = Window().Find<skin::Edit>("Edit_Macro_Time");
    Window().GetPaintManager().SetFocus(count);
    count->ReplaceText("3");
    count->PressReturn();
    Click(Window(), *Window().Find<skin::List>("list_Macro_KeyDisplay")->GetItemAt(1));
    ASSERT_TRUE(macroui::FindIn(*Node(0, 1), "ToSave")->IsVisible());
    Compare(Window(), Grab(Window()), "macro_page_" + skin + ".png",
            {"tre_Macro_GroupDisplay", "list_Macro_KeyDisplay", "HLayout_Edit_Time", "opt_Macro_CycleUntilRelease",
             "btn_Macro_Record", "btn_Macro_InsertKey", "btn_Macro_Delete", "opt_Macro_AddMacGroup",
             "VLayout_BindKeys_Info", "bindkey_num_layout"});

    // The item dialog on the second item (the left button's press), over the page.
    bool shown = false;
    QTimer::singleShot(300, [&] {
        app::CPopMacroSetWnd* dialog = shell_->EditorPage().ItemDialog();
        ASSERT_NE(dialog, nullptr);
        shown = true;
        Compare(*dialog, Grab(*dialog), "macro_dialog_" + skin + ".png",
                {"lab_Motify_Title", "btn_Modify_ListKeyType", "btn_Modify_MouseType", "btn_Motify_Status",
                 "edit_Motify_Delay", "btn_Motify_Apply", "btn_Motify_Cancel"});
        dialog->Close(0);
    });
    const skin::Control* row = Window().Find<skin::List>("list_Macro_KeyDisplay")->GetItemAt(1);
    Click(Window(), *macroui::FindIn(*const_cast<skin::Control*>(row), "modify"));
    EXPECT_TRUE(shown);
}

INSTANTIATE_TEST_SUITE_P(BothSkins, MacroScreenshots, ::testing::Values("res_black", "res_white"));

}  // namespace
}  // namespace mousecfg
