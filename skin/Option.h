#pragma once

#include <string>

#include "skin/Button.h"

namespace mousecfg::skin {

// A button with a selected state. Options with the same "group" name form an option group of the window:
// selecting one deselects the others. A click raises "click" first (the handler sees the state before the
// click) and then changes the state, which raises "selectchanged": in a group only for the option that became
// selected, without a group for either change. Selecting from code raises "selectchanged" the same way.
class Option : public Button {
public:
    ~Option() override;
    std::string_view GetClass() const override { return "Option"; }
    void Attach(PaintManager* manager, Control* parent) override;
    bool Activate() override;

    bool IsSelected() const { return selected_; }
    // Changes the state; `notify` false changes it silently.
    virtual void Selected(bool selected, bool notify = true);
    const std::string& GetGroup() const { return group_; }
    void SetGroup(std::string group);

    const ImageRef& GetSelectedImage() const { return selectedImage_; }
    Color GetSelectedTextColor() const { return selectedTextColor_; }
    void SetSelectedTextColor(Color color) { selectedTextColor_ = color; Invalidate(); }

protected:
    AttributeStatus ApplyAttribute(const std::string& name, std::string_view value) override;
    void PaintBackground(Painter& painter) override;
    Color CurrentTextColor() const override;
    const ImageRef& CurrentImage() const override;

private:
    bool selected_ = false;
    std::string group_;
    ImageRef selectedImage_;
    ImageRef selectedHotImage_;
    Color selectedTextColor_ = kNoColor;
    Color selectedBkColor_ = kNoColor;
};

}  // namespace mousecfg::skin
