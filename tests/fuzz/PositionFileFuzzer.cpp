// Feeds arbitrary text to the position file reader and applies what it read to a page that has a control of
// every entry type. Every entry keeps either no position or the four numbers it was given, and a control that an
// entry placed sits where the entry says once the page is laid out.
#include <cstdint>
#include <memory>

#include <nlohmann/json.hpp>

#include "layout/PageBuilder.h"
#include "layout/PositionFile.h"
#include "skin/AttributeText.h"
#include "skin/Control.h"
#include "skin/ControlFactory.h"
#include "skin/PaintManager.h"
#include "skin/SkinBuilder.h"
#include "tests/fuzz/FuzzSupport.h"

namespace {

using namespace mousecfg;

constexpr std::string_view kPage = R"(<Window size="600,400">
  <Container name="page_main">
    <Button name="b" float="true"/>
    <Option name="o" float="true"/>
    <Label name="l" float="true"/>
    <Slider name="s" float="true"/>
    <Combo name="c" float="true"/>
    <VerticalLayoutEx name="v" float="true">
      <Option name="switch" float="true"/>
      <Label name="value" float="true"/>
      <Control name="color" float="true"/>
    </VerticalLayoutEx>
  </Container>
</Window>)";

struct CustomClasses : skin::ControlCallback {
    std::unique_ptr<skin::Control> CreateControl(std::string_view className) override {
        return skin::CreateCustomLayout(className);
    }
};

const std::filesystem::path& PageFile() {
    static const std::filesystem::path file = [] {
        const auto path = fuzz::ScratchFolder() / "page.xml";
        fuzz::WriteBytes(path, kPage);
        return path;
    }();
    return file;
}

// The entries whose own position the page keeps (the sub-controls of "optver" get fixed ones).
bool KeepsItsPosition(const std::string& name) {
    return name == "b" || name == "o" || name == "l" || name == "s" || name == "c" || name == "v";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietTraces();
    const std::string_view text = fuzz::Text(data, size);
    const layout::PositionFile file = layout::PositionFile::Parse(text, "fuzz.json");
    const nlohmann::json root = nlohmann::json::parse(text, nullptr, false);
    if (!file.controls.empty()) {
        fuzz::Check(
            root.is_object() && root["Controlinfo"].is_array() && root["Controlinfo"].size() == file.controls.size(),
            "one entry object per element of Controlinfo");
    }
    for (const auto& entry : file.controls) {
        const std::string& pos = entry->GetPos();
        fuzz::Check(pos == layout::CControlAttributes::kPosNotExist || skin::attr::ParseRect(pos).has_value(),
                    "a position is four numbers or absent");
    }

    CustomClasses custom;
    skin::PaintManager manager;
    skin::SkinBuilder builder(manager, &custom);
    fuzz::Check(builder.LoadWindow(PageFile()), "the page loads");
    manager.SetClientSize({600, 400});
    manager.UpdateLayout();
    layout::PageBuilder::ApplyPage(file, manager);
    manager.UpdateLayout();
    // The last entry for a control decides where it sits.
    for (auto entry = file.controls.rbegin(); entry != file.controls.rend(); ++entry) {
        const std::string& name = (*entry)->GetControlName();
        if (!KeepsItsPosition(name) || (*entry)->GetPos() == layout::CControlAttributes::kPosNotExist) {
            continue;
        }
        const auto rect = skin::attr::ParseRect((*entry)->GetPos());
        const skin::Control* control = manager.FindControl(name);
        fuzz::Check(control != nullptr && control->GetFixedXY().x == rect->left && control->GetFixedXY().y == rect->top,
                    "an entry's position is where its control is placed");
        break;
    }
    return 0;
}
