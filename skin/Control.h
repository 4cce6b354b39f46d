#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/Color.h"
#include "skin/ControlEvent.h"
#include "skin/Geometry.h"
#include "skin/ImageRef.h"

namespace mousecfg::skin {

class ChildList;
class Painter;
class PaintManager;

// Outcome of setting one attribute text on a control.
enum class AttributeStatus { Applied, Unknown, Invalid };

// A windowless control of a skin window: a name, a place, state and the attribute texts that change them.
// Controls live in a tree owned by the paint manager of their window; all calls happen on the window's thread.
// Attribute names are matched without regard to case ("Selectedimage" is "selectedimage").
class Control {
public:
    Control();
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The class name that skin files use as element name ("Button", "VerticalLayout", ...).
    virtual std::string_view GetClass() const { return "Control"; }
    const std::string& GetName() const { return name_; }
    void SetName(std::string name);

    Control* GetParent() const { return parent_; }
    // True when `ancestor` is this control or one of its ancestors.
    bool IsSelfOrDescendantOf(const Control* ancestor) const {
        for (const Control* c = this; c != nullptr; c = c->parent_) {
            if (c == ancestor) {
                return true;
            }
        }
        return false;
    }
    PaintManager* GetManager() const { return manager_; }
    // The children of a container; none for other controls.
    virtual ChildList* Children() { return nullptr; }
    const ChildList* Children() const { return const_cast<Control*>(this)->Children(); }
    // Called when the control enters or leaves a tree; registers names and groups with the manager.
    virtual void Attach(PaintManager* manager, Control* parent);

    // Sets an attribute from its text and traces a failure naming the control. Returns what happened.
    AttributeStatus SetAttribute(std::string_view name, std::string_view value);
    // As SetAttribute without the trace (the skin loader reports with file and line instead).
    AttributeStatus TrySetAttribute(std::string_view name, std::string_view value);

    // Placement: the rectangle in client coordinates that layout gave the control.
    const Rect& GetPos() const { return pos_; }
    virtual void SetPos(const Rect& rect);
    virtual void Move(int dx, int dy);
    // The size the control asks its layout for; 0 in a dimension means "stretch".
    virtual Size EstimateSize(Size available);
    // Configured placement ("pos", "width", "height", "float", "padding", "min/max").
    Point GetFixedXY() const { return fixedXY_; }
    void SetFixedXY(Point xy);
    int GetFixedWidth() const { return fixedWidth_; }
    void SetFixedWidth(int width);
    int GetFixedHeight() const { return fixedHeight_; }
    void SetFixedHeight(int height);
    int GetMinWidth() const { return minWidth_; }
    int GetMaxWidth() const { return maxWidth_; }
    int GetMinHeight() const { return minHeight_; }
    int GetMaxHeight() const { return maxHeight_; }
    const Rect& GetPadding() const { return padding_; }
    bool IsFloat() const { return float_; }
    void SetFloat(bool isFloat);

    bool IsVisible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // True when the control and all its ancestors are visible.
    bool IsVisibleInTree() const;
    bool IsEnabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);
    bool IsEnabledInTree() const;
    bool IsHot() const { return hot_; }
    bool IsPushed() const { return pushed_; }
    bool IsFocused() const { return focused_; }
    bool IsMouseEnabled() const { return mouseEnabled_; }
    void SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
    // Whether a click on the control does something (a click elsewhere may drag the window by its caption).
    virtual bool IsInteractive() const { return false; }
    // Whether the control takes the keyboard focus when clicked or tabbed to.
    virtual bool IsFocusable() const { return false; }

    const std::string& GetText() const { return text_; }
    virtual void SetText(std::string text);
    const std::string& GetTextId() const { return textId_; }
    // The tip shown when the cursor rests on the control: the "tooltip" text, or the text the text source
    // gives for "tooltipid" (the language's text wins when it has one).
    const std::string& GetToolTip() const { return toolTip_; }
    void SetToolTip(std::string text) { toolTip_ = std::move(text); }
    const std::string& GetToolTipId() const { return toolTipId_; }
    const std::string& GetUserData() const { return userData_; }
    void SetUserData(std::string data) { userData_ = std::move(data); }
    uintptr_t GetTag() const { return tag_; }
    void SetTag(uintptr_t tag) { tag_ = tag; }

    Color GetBkColor() const { return bkColor_; }
    void SetBkColor(Color color);
    Color GetTextColor() const { return textColor_; }
    void SetTextColor(Color color);
    Color GetDisabledTextColor() const { return disabledTextColor_; }
    Color GetBorderColor() const { return borderColor_; }
    const ImageRef& GetBkImage() const { return bkImage_; }
    void SetBkImage(ImageRef image);
    int GetFont() const { return font_; }
    void SetFont(int fontId);
    unsigned GetTextAlign() const { return textAlign_; }
    // The text padding; its left and right change places while the control is mirrored.
    Rect GetTextPadding() const;
    // Whether the control is laid out mirrored: a right-to-left language is in use and the nearest "mirror"
    // attribute on the control or its ancestors (or the window's, at the root) allows it. A mirrored container
    // places its children from the right; a mirrored control draws its images' "dest" from the right.
    bool IsMirrored() const;

    // The deepest visible control under `point` that takes mouse input (this one or a descendant), or none.
    virtual Control* FindAt(Point point);
    virtual void DoEvent(ControlEvent& event);
    // Draws the control and its children. Called with the clip set to the control's parent area.
    virtual void Paint(Painter& painter);

    // Asks the window to redraw the control's area / to lay out the tree again.
    void Invalidate();
    void NeedUpdate();

    // Raises a notification from this control to the window's listeners.
    void Notify(std::string_view type, uintptr_t wParam = 0, intptr_t lParam = 0, std::string text = {});

protected:
    // Sets one attribute; `name` is in lower case. Derived classes handle theirs and pass the rest on.
    virtual AttributeStatus ApplyAttribute(const std::string& name, std::string_view value);
    virtual void PaintBackground(Painter& painter);
    virtual void PaintStatusImages(Painter& painter);
    virtual void PaintText(Painter& painter);
    void PaintBorder(Painter& painter);
    // Draws an image over the control (or image.dest inside it) after resolving its file.
    void DrawImage(Painter& painter, const ImageRef& image);
    // The text colour for the current state; derived classes add hot, pushed and selected colours.
    virtual Color CurrentTextColor() const;
    // Parsers that assign on success and report Invalid otherwise.
    AttributeStatus AssignImage(ImageRef& field, std::string_view value);
    AttributeStatus AssignColor(Color& field, std::string_view value);
    AttributeStatus AssignInt(int& field, std::string_view value);
    AttributeStatus AssignBool(bool& field, std::string_view value);
    void SetHot(bool hot);
    void SetPushed(bool pushed);

    Rect pos_;
    std::string text_;

private:
    friend class PaintManager;
    AttributeStatus ApplyPlacementAttribute(const std::string& name, std::string_view value);
    AttributeStatus ApplyLookAttribute(const std::string& name, std::string_view value);
    AttributeStatus ApplyTextLayoutAttribute(const std::string& name, std::string_view value);

    std::string name_;
    Control* parent_ = nullptr;
    PaintManager* manager_ = nullptr;
    Point fixedXY_;
    int fixedWidth_ = 0;
    int fixedHeight_ = 0;
    int minWidth_ = 0;
    int maxWidth_ = 9999;
    int minHeight_ = 0;
    int maxHeight_ = 9999;
    Rect padding_;
    bool float_ = false;
    bool visible_ = true;
    bool enabled_ = true;
    bool hot_ = false;
    bool pushed_ = false;
    bool focused_ = false;
    bool mouseEnabled_ = true;
    signed char mirror_ = -1;  // -1: as the parent (or the window); 0 no; 1 yes
    std::string textId_;
    std::string toolTip_;
    std::string toolTipId_;
    std::string userData_;
    uintptr_t tag_ = 0;
    Color bkColor_ = kNoColor;
    Color bkColor2_ = kNoColor;
    Color textColor_ = kNoColor;
    Color disabledTextColor_ = kNoColor;
    Color borderColor_ = kNoColor;
    int borderSize_ = 0;
    int borderRound_ = 0;
    ImageRef bkImage_;
    int font_ = -1;
    unsigned textAlign_;
    Rect textPadding_;
};

}  // namespace mousecfg::skin
