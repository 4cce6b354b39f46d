#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "skin/Color.h"
#include "skin/FontSpec.h"
#include "skin/Geometry.h"
#include "skin/Notification.h"

namespace mousecfg::skin {

class Control;
class Option;
class PaintHost;
class Painter;

// What the root element of a window's skin file says about the window itself.
struct WindowSkinInfo {
    Size size{400, 300};   // initial client size
    Size minSize;
    Rect caption;          // drag area; bottom -1 means the whole height
    std::string title;
    bool resizable = false;
    // Whether the window's layout may be mirrored for right-to-left languages ("mirror"); parts of it opt out.
    bool mirror = false;
};

using AttributeList = std::vector<std::pair<std::string, std::string>>;

// The control tree of one window and everything around it: controls by name, option groups, fonts, default
// attributes per class, image paths, layout, focus, hot and pressed controls, input dispatch and notifications.
// Used on the window's thread only.
//
// Controls removed while an input event or a notification is being handled are destroyed when that handling
// has finished, so a handler may empty a list whose item raised the notification it is handling.
class PaintManager {
public:
    PaintManager();
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    // Replaces the whole tree (the previous tree is destroyed as for a removal).
    void SetRoot(std::unique_ptr<Control> root);
    Control* GetRoot() const { return root_.get(); }
    // The control named `name` (the first one added when names repeat); none when there is none.
    Control* FindControl(std::string_view name) const;
    template <class T>
    T* Find(std::string_view name) const {
        return dynamic_cast<T*>(FindControl(name));
    }
    // The control under a client point that takes mouse input.
    Control* FindControl(Point point);
    // The options of a group in the order they were added; empty when there is no such group.
    const std::vector<Option*>& GetOptionGroup(std::string_view group) const;

    void AddFont(int id, FontSpec font);
    // The font of `id`; the default font when `id` is negative or unknown.
    FontSpec GetFont(int id) const;
    void SetDefaultFont(FontSpec font) { defaultFont_ = std::move(font); }
    const FontSpec& GetDefaultFont() const { return defaultFont_; }
    // Gives every font the family `family` (the language's font face).
    void SetFontFamilyForAll(const std::string& family);

    void SetDefaultAttributes(std::string className, AttributeList attributes);
    const AttributeList* GetDefaultAttributes(std::string_view className) const;
    WindowSkinInfo& windowInfo() { return windowInfo_; }
    const WindowSkinInfo& windowInfo() const { return windowInfo_; }

    // Folder of the skin file loaded last; images are looked up there first.
    void SetSkinFolder(std::filesystem::path folder) { skinFolder_ = std::move(folder); }
    const std::filesystem::path& GetSkinFolder() const { return skinFolder_; }
    // The path under which an image named in an attribute is found: absolute paths as they are, relative ones in
    // the skin folder, the resource path or the working folder, in that order (the skin folder when none has it).
    std::string ResolveImagePath(std::string_view file) const;

    void SetHost(PaintHost* host) { host_ = host; }
    PaintHost* GetHost() const { return host_; }
    Size MeasureText(std::string_view text, const FontSpec& font) const;
    // The size of `text` wrapped to lines of `width` (an estimate without a window).
    Size MeasureWrappedText(std::string_view text, const FontSpec& font, int width) const;

    void SetClientSize(Size size);
    Size GetClientSize() const { return clientSize_; }
    void NeedUpdate();
    // Lays the tree out again when something changed since the last layout.
    void UpdateLayout();
    void Invalidate(const Rect& rect);
    void Paint(Painter& painter);

    Control* GetFocus() const { return focus_; }
    void SetFocus(Control* control);
    Control* GetHot() const { return hot_; }
    // The control whose tip was asked for last and not hidden since; none when no tip is up or pending.
    Control* GetToolTipControl() const { return toolTip_; }

    // Input in client coordinates, from the window's host. They return whether a control took the input.
    void HandleMouseMove(Point point);
    bool HandleButtonDown(Point point, bool doubleClick = false);
    bool HandleButtonUp(Point point);
    bool HandleRightButton(Point point, bool down);
    bool HandleWheel(Point point, int delta);
    void HandleMouseLeaveWindow();
    bool HandleKeyDown(unsigned key, unsigned modifiers);
    bool HandleKeyUp(unsigned key, unsigned modifiers);
    bool HandleChar(char32_t character);

    void AddNotifier(NotifyListener* listener);
    void RemoveNotifier(NotifyListener* listener);
    // Raises a notification from a control (or none) to every listener, in the order they were added.
    void SendNotify(Control* sender, std::string_view type, uintptr_t wParam = 0, intptr_t lParam = 0,
                    std::string text = {});
    void SendNotify(Notification& notification);

    // Texts of controls with a text id, from the process-wide text source.
    void ApplyTextQuery(Control& control);
    void ReloadText();

    // Bookkeeping called by controls and containers.
    void RegisterControl(Control* control);
    void UnregisterControl(Control* control);
    void RenameControl(Control* control, const std::string& from, const std::string& to);
    void AddOptionGroupMember(const std::string& group, Option* option);
    void RemoveOptionGroupMember(const std::string& group, Option* option);
    // A control (and its subtree) left the tree or was hidden: it loses hot, pressed and focus state.
    void ControlRemoved(Control* control);
    void ControlHidden(Control* control);
    void DestroyLater(std::unique_ptr<Control> control);

private:
    class DispatchScope;
    void Send(Control* control, struct ControlEvent& event);
    void SetHotControl(Control* control, Point point);
    // Asks the host for the tip of the hot control, or hides the tip when it has none.
    void UpdateToolTip();
    void HideToolTip();
    Control* NextFocusable(Control* from, bool backwards) const;

    std::unique_ptr<Control> root_;
    std::unordered_map<std::string, std::vector<Control*>> names_;
    std::map<std::string, std::vector<Option*>, std::less<>> groups_;
    std::map<int, FontSpec> fonts_;
    FontSpec defaultFont_;
    std::map<std::string, AttributeList, std::less<>> defaults_;  // by class name in lower case
    WindowSkinInfo windowInfo_;
    std::filesystem::path skinFolder_;
    PaintHost* host_ = nullptr;
    Size clientSize_;
    bool needUpdate_ = true;
    Control* focus_ = nullptr;
    Control* hot_ = nullptr;
    Control* capture_ = nullptr;
    Control* toolTip_ = nullptr;
    std::vector<NotifyListener*> listeners_;
    int dispatchDepth_ = 0;
    std::vector<std::unique_ptr<Control>> graveyard_;
};

}  // namespace mousecfg::skin
