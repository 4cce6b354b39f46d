#pragma once

#include <array>
#include <string>

#include <nlohmann/json_fwd.hpp>

namespace mousecfg::skin {
class Control;
class PaintManager;
}  // namespace mousecfg::skin

namespace mousecfg::layout {

// The three page images that every control of a page takes its pictures from.
struct PageImages {
    std::string normal;
    std::string hot;
    std::string down;
};

// One entry of a position file: a control's name, visibility text and position, and how the entry dresses its
// control. One class per entry type; the markers "VisNoChange" and "PosNotExist" stand for absent members.
class CControlAttributes {
public:
    static constexpr const char* kVisNoChange = "VisNoChange";
    static constexpr const char* kPosNotExist = "PosNotExist";

    virtual ~CControlAttributes() = default;
    // Reads the entry's members in order: "ctrlname", "visible" (optional), "pos" (optional). Throws the JSON
    // library's errors on a missing or mistyped member, or a position the skin cannot take; what was read before
    // stays.
    virtual void Parse(const nlohmann::json& entry);
    const std::string& GetControlName() const { return name_; }
    // "l,t,r,b", or kPosNotExist.
    const std::string& GetPos() const { return posText_; }
    const std::string& GetVisibleText() const { return visible_; }
    // Dresses the control of the entry's name; false when the manager has no such control.
    virtual bool Apply(skin::PaintManager& manager, const PageImages& images) const;

protected:
    bool HasPos() const { return posText_ != kPosNotExist; }
    const std::array<int, 4>& rect() const { return rect_; }
    // "file='<file>' source='<the entry's rectangle>'".
    std::string ImageText(const std::string& file) const;
    // Sets "pos" and, with a normal image, the normal, hot and pushed images from the page images.
    void ApplyButtonLook(skin::Control& control, const PageImages& images) const;
    // Sets "visible" when a normal image is named and the entry gives a visibility.
    void ApplyVisibility(skin::Control& control, const PageImages& images) const;
    // The control's own dressing, called by Apply with the control found.
    virtual void Dress(skin::Control& control, const PageImages& images) const = 0;

private:
    std::string name_;
    std::string visible_ = kVisNoChange;
    std::string posText_ = kPosNotExist;
    std::array<int, 4> rect_{};
};

}  // namespace mousecfg::layout
