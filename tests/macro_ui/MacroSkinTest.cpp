// The macro page's and the item dialog's skin files in both skins: they load without problems and hold every
// control the page and the dialog address, and the page's position file places and dresses its buttons.
#include <gtest/gtest.h>

#include "layout/PositionFile.h"
#include "macro/ui/ControlSearch.h"
#include "skin/ContextMenu.h"
#include "skin/ControlFactory.h"
#include "skin/HeadlessPlatform.h"
#include "skin/SkinBuilder.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"

namespace mousecfg {
namespace {

class Probe final : public skin::SkinWindow {
public:
    explicit Probe(std::string file) : file_(std::move(file)) {}
    std::string GetSkinFile() override { return file_; }
    std::string GetWindowClassName() const override { return "Probe"; }
    std::unique_ptr<skin::Control> CreateControl(std::string_view cls) override { return skin::CreateCustomLayout(cls); }

private:
    std::string file_;
};

class MacroSkinTest : public ::testing::TestWithParam<const char*> {
protected:
    MacroSkinTest() : folder_(std::filesystem::path(MOUSECFG_RES_DIR) / GetParam()) {
        skin::SkinPlatform::Set(&platform_);
        skin::SkinResources::SetResourcePath(folder_);
    }
    ~MacroSkinTest() override { skin::SkinPlatform::Set(nullptr); }

    // Loads a window's skin file and checks it names every one of `controls`.
    void ExpectWindow(const std::string& file, const std::vector<std::string>& controls) {
        SCOPED_TRACE(file);
        Probe probe(file);
        skin::SkinBuilder builder(probe.GetPaintManager(), &probe);
        ASSERT_TRUE(builder.LoadWindow(file));
        EXPECT_TRUE(builder.problems().empty()) << builder.problems().front();
        for (const std::string& name : controls) {
            EXPECT_NE(probe.FindControl(name), nullptr) << name;
        }
    }

    skin::HeadlessPlatform platform_;
    std::filesystem::path folder_;
};

TEST_P(MacroSkinTest, PageAndDialogHoldTheControlsTheyAreAddressedBy) {
    ExpectWindow("MainWnd.xml",
                 {"macro_layout", "tre_Macro_GroupDisplay", "EditGrpNodeAll", "list_Macro_KeyDisplay",
                  "opt_Macro_CycleUntilRelease", "opt_Macro_CycleUntilClick", "opt_Macro_CycleTimes",
                  "Edit_Macro_Time", "HLayout_Edit_Time", "btn_Macro_InsertKey", "btn_Macro_Record",
                  "btn_Macro_Delete", "btn_Macro_Temp", "opt_Macro_AddMacGroup", "opt_Macro_AddNewMac",
                  "opt_Macro_importMacGroup", "opt_Macro_exportMacGroup", "label_bindkeys", "label_bindkeys_num",
                  "bindkey_num_layout", "VLayout_BindKeys_Info", "VLayout_BindKeys", "lab_Macro_ListHint",
                  "lab_Macro_RecordStatus"});
    ExpectWindow("popmacroset.xml",
                 {"lab_Motify_Title", "lab_Motify_TypeName", "btn_Modify_ListKeyType", "btn_Modify_MouseType",
                  "btn_Motify_XYType", "chk_Motify_XDirect", "chk_Motify_YDirect", "Layout_Motify_XYValue",
                  "edit_Motify_Xvalue", "edit_Motify_Yvalue", "chk_Modify_KeyboardValue", "lab_Motify_StatusText",
                  "btn_Motify_Status", "edit_Motify_Delay", "btn_Motify_Apply", "btn_Motify_Cancel",
                  "btn_Motify_Temp", "lab_Motify_KeyHint", "Layout_Motify_Marks"});
}

TEST_P(MacroSkinTest, RowsNodesAndMenusHaveTheirParts) {
    Probe probe("MainWnd.xml");
    const std::map<std::string, std::vector<std::string>> parts = {
        {"node.xml", {}},
        {"node2.xml", {"ToSave"}},
        {"listitem.xml", {"type", "key", "option", "delay", "modify"}},
        {"listBindkeys.xml", {"DeviceName", "DeviceConfig", "DeviceKey"}},
    };
    for (const auto& [file, names] : parts) {
        skin::SkinBuilder builder(probe.GetPaintManager(), &probe);
        std::unique_ptr<skin::Control> part = builder.BuildPartControl(folder_ / file);
        ASSERT_NE(part, nullptr) << file;
        EXPECT_TRUE(builder.problems().empty()) << file << ": " << builder.problems().front();
        for (const std::string& name : names) {
            EXPECT_NE(macroui::FindIn(*part, name), nullptr) << file << ": " << name;
        }
    }
    const std::map<std::string, std::vector<std::string>> menus = {
        {"marco_group_menu.xml", {"group_rename", "GroupDelete", "group_import", "group_export", "group_reset"}},
        {"marco_menu.xml", {"marco_rename", "marco_delete"}},
        {"PopMacroInsert.xml", {"menu_Macro_InsertMouse", "menu_Macro_InsertKB", "menu_Macro_InsertXY",
                                "menu_Macro_InsertDpi", "opt_InsertBefor", "opt_InsertAfter"}},
    };
    for (const auto& [file, names] : menus) {
        skin::ContextMenu menu;
        ASSERT_TRUE(menu.Load(folder_ / file)) << file;
        for (const std::string& name : names) {
            EXPECT_NE(menu.FindItem(name), nullptr) << file << ": " << name;
        }
    }
}

TEST_P(MacroSkinTest, PositionFilePlacesTheButtonsWithPicturesThatExist) {
    const layout::PositionFile page = layout::PositionFile::Read(folder_ / "MacroDock" / "Macro.json");
    ASSERT_TRUE(page.opened);
    EXPECT_EQ(page.containerName, "macro_layout");
    EXPECT_EQ(page.controls.size(), 7u);
    for (const std::string& picture : {page.bkImage, page.images.normal, page.images.hot, page.images.down}) {
        EXPECT_TRUE(std::filesystem::exists(folder_ / picture)) << picture;
    }
    for (const char* row : {"KB2", "mouse", "move", "dpi", "KeyDown", "KeyUp", "1", "2", "3", "4"}) {
        for (const char* scale : {".png", "@2x.png"}) {
            EXPECT_TRUE(std::filesystem::exists(folder_ / "MacroDock" / "png" / (std::string(row) + scale)))
                << row << scale;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothSkins, MacroSkinTest, ::testing::Values("res_black", "res_white"));

}  // namespace
}  // namespace mousecfg
