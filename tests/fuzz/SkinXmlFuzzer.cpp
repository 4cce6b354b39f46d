// Feeds arbitrary text to the skin builder as a window's skin file and as a part file, lays the window out and
// paints it. A file loads exactly when it is well-formed XML, every named control is found by its name, and
// painting keeps its clips balanced.
#include <cstdint>

#include "skin/ChildList.h"
#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/PaintManager.h"
#include "skin/Painter.h"
#include "skin/SkinBuilder.h"
#include "skin/XmlElement.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;

struct CustomClasses : skin::ControlCallback {
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override {
        return skin::CreateCustomLayout(className);
    }
};

// Draws nothing; counts the clip depth.
class NullPainter final : public skin::Painter {
  public:
    void FillRect(const skin::Rect&, skin::Color) override {}
    void FillGradient(const skin::Rect&, skin::Color, skin::Color, bool) override {}
    void DrawBorder(const skin::Rect&, skin::Color, int, int) override {}
    void DrawImage(const skin::ImageRef&, const skin::Rect&) override {}
    void DrawText(const skin::Rect&, std::string_view, const skin::FontSpec&, skin::Color, unsigned) override {}
    void DrawPixels(const skin::PixelBuffer&, const skin::Rect&) override {}
    void PushClip(const skin::Rect&) override { ++depth; }
    void PopClip() override {
        fuzz::Check(depth > 0, "a clip is popped only after it was pushed");
        --depth;
    }
    int depth = 0;
};

// Every control in the tree below `control` that has a name is what the manager finds for that name (or the
// manager finds an earlier control of the same name).
void CheckNames(const skin::PaintManager& manager, const skin::Control& control) {
    if (!control.GetName().empty()) {
        const skin::Control* found = manager.FindControl(control.GetName());
        fuzz::Check(found != nullptr && found->GetName() == control.GetName(), "a named control is found by name");
    }
    if (const skin::ChildList* children = control.Children()) {
        for (const auto& child : children->items()) {
            CheckNames(manager, *child);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    const std::string_view text = fuzz::Text(data, size);
    const auto file = fuzz::ScratchFolder() / "skin.xml";
    fuzz::WriteBytes(file, text);
    const bool wellFormed = skin::ReadXmlFile(file).ok();

    CustomClasses custom;
    skin::PaintManager manager;
    skin::SkinBuilder builder(manager, &custom);
    fuzz::Check(builder.LoadWindow(file) == wellFormed, "a skin file loads exactly when it is well-formed");
    if (manager.GetRoot() != nullptr) {
        CheckNames(manager, *manager.GetRoot());
    }
    manager.SetClientSize({800, 600});
    manager.UpdateLayout();
    NullPainter painter;
    manager.Paint(painter);
    fuzz::Check(painter.depth == 0, "every clip pushed while painting is popped");

    skin::SkinBuilder partBuilder(manager, &custom);
    const auto part = partBuilder.BuildPart(file);
    fuzz::Check(wellFormed || part.empty(), "a part file that is not well-formed builds nothing");
    return 0;
}
