#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "skin/Color.h"
#include "skin/ImageRef.h"

namespace mousecfg {
class MessageBoxes;
}  // namespace mousecfg

namespace mousecfg::skin {
class PaintManager;
}  // namespace mousecfg::skin

namespace mousecfg::layout {

struct PositionFile;

// Message texts of the language that a failed model file shows (title "Tip", text "Json Warn").
struct LayoutMessages {
    std::string title;
    std::string text;
    std::string confirm;
    std::string cancel;
};

// What the key page keeps from a model's layout: each mark's selected image and the key highlight colour.
struct KeyPageMarks {
    static constexpr int kMarkCount = 13;
    std::array<std::string, kMarkCount> markImages;  // attribute texts; "" for a missing mark
    skin::Color highlightColor = skin::kNoColor;
};

// Places and dresses the controls of a page from position files. Called on the window's thread.
class PageBuilder {
public:
    // Applies a parsed file: the container's background, then every entry in file order. False (with the trace
    // "背景图片设置异常 未找到控件") when the container does not exist; entries whose control is missing are
    // skipped.
    static bool ApplyPage(const PositionFile& file, skin::PaintManager& manager);
    // Reads and applies one file; returns the names of all entries listed, in file order.
    static std::vector<std::string> LoadPageLayout(const std::filesystem::path& file, skin::PaintManager& manager);

    // The five model files of a device folder and the key selection file of the skin, in this order; a model file
    // that is missing or damaged shows the message window (modal; what it could not place keeps the skin's
    // layout). Returns all names listed.
    static std::vector<std::string> LoadModelLayouts(const std::filesystem::path& deviceFolder,
                                                     const std::filesystem::path& skinPrefix,
                                                     skin::PaintManager& manager, MessageBoxes& messages,
                                                     const LayoutMessages& texts);
    // The key page marks of the model just loaded; in the one-page layout button 0 is highlighted at once.
    static KeyPageMarks PrepareKeyPageMarks(skin::PaintManager& manager, bool onePageLayout);
    // "/Home/Home.json" of the skin; when it cannot be opened a message box with the text "无法打开json文件"
    // and no title, and an empty layout.
    static std::vector<std::string> LoadHomeLayout(const std::filesystem::path& skinPrefix,
                                                   skin::PaintManager& manager, MessageBoxes& messages);
};

}  // namespace mousecfg::layout
