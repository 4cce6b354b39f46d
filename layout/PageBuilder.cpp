#include "layout/PageBuilder.h"

#include <cstdio>

#include "layout/PositionFile.h"
#include "platform/MessageBoxes.h"
#include "platform/Trace.h"
#include "skin/AttributeText.h"
#include "skin/Button.h"
#include "skin/Control.h"
#include "skin/Option.h"
#include "skin/PaintManager.h"

namespace mousecfg::layout {
namespace {

constexpr const char* kModelFiles[] = {"/Position/mousekey.json", "/Position/mousekey2.json",
                                       "/Position/mouseadv.json", "/Position/mouselight.json",
                                       "/Position/mousemain.json"};

// Paths in the files are written "folder" + "/name", the way the program has always joined them.
std::filesystem::path Join(const std::filesystem::path& folder, const char* name) {
    return std::filesystem::path(folder.string() + name);
}

std::vector<std::string> Names(const PositionFile& file) {
    std::vector<std::string> names;
    for (const auto& entry : file.controls) {
        names.push_back(entry->GetControlName());
    }
    return names;
}

}  // namespace

bool PageBuilder::ApplyPage(const PositionFile& file, skin::PaintManager& manager) {
    skin::Control* container = manager.FindControl(file.containerName);
    if (container == nullptr || file.containerName.empty()) {
        trace::Write("背景图片设置异常 未找到控件\n");
        return false;
    }
    container->SetAttribute("bkimage", file.bkImage);
    for (const auto& entry : file.controls) {
        entry->Apply(manager, file.images);
    }
    return true;
}

std::vector<std::string> PageBuilder::LoadPageLayout(const std::filesystem::path& file, skin::PaintManager& manager) {
    const PositionFile parsed = PositionFile::Read(file);
    ApplyPage(parsed, manager);
    return Names(parsed);
}

std::vector<std::string> PageBuilder::LoadModelLayouts(const std::filesystem::path& deviceFolder,
                                                       const std::filesystem::path& skinPrefix,
                                                       skin::PaintManager& manager, MessageBoxes& messages,
                                                       const LayoutMessages& texts) {
    std::vector<std::string> names;
    std::vector<std::filesystem::path> files;
    for (const char* name : kModelFiles) {
        files.push_back(Join(deviceFolder, name));
    }
    files.push_back(Join(skinPrefix, "/VeruzUrir/MouseKeySel.json"));
    for (size_t i = 0; i < files.size(); ++i) {
        const PositionFile parsed = PositionFile::Read(files[i]);
        const bool modelFile = i < std::size(kModelFiles);
        if (modelFile && (!parsed.opened || parsed.damaged)) {
            // What a damaged file did place stays; the rest of the page keeps the skin's layout.
            messages.Show({texts.title, texts.text, texts.confirm, texts.cancel, true});
        }
        if (!parsed.opened) {
            continue;
        }
        ApplyPage(parsed, manager);
        const auto listed = Names(parsed);
        names.insert(names.end(), listed.begin(), listed.end());
    }
    return names;
}

KeyPageMarks PageBuilder::PrepareKeyPageMarks(skin::PaintManager& manager, bool onePageLayout) {
    KeyPageMarks marks;
    for (int i = 0; i < KeyPageMarks::kMarkCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "btn_MouseKey_Mark%d", i);
        if (const auto* mark = manager.Find<skin::Option>(name)) {
            marks.markImages[static_cast<size_t>(i)] = skin::attr::FormatImage(mark->GetSelectedImage());
        }
    }
    auto* button0 = manager.Find<skin::Option>("btn_MouseKey_Click0");
    if (button0 != nullptr) {
        marks.highlightColor = button0->GetSelectedTextColor();
    }
    if (onePageLayout) {
        if (button0 != nullptr) {
            button0->SetSelectedTextColor(marks.highlightColor);
            button0->SetHotTextColor(marks.highlightColor);
            button0->SetPushedTextColor(marks.highlightColor);
            button0->Selected(true);
        }
        if (auto* mark0 = manager.Find<skin::Option>("btn_MouseKey_Mark0")) {
            for (const char* attribute : {"selectedimage", "hotimage", "pushedimage"}) {
                mark0->SetAttribute(attribute, marks.markImages[0]);
            }
            mark0->Selected(true);
        }
    }
    return marks;
}

std::vector<std::string> PageBuilder::LoadHomeLayout(const std::filesystem::path& skinPrefix,
                                                     skin::PaintManager& manager, MessageBoxes& messages) {
    const PositionFile parsed = PositionFile::Read(Join(skinPrefix, "/Home/Home.json"));
    if (!parsed.opened) {
        messages.Show({"", "无法打开json文件", "OK", "", true});
        return {};
    }
    ApplyPage(parsed, manager);
    return Names(parsed);
}

}  // namespace mousecfg::layout
