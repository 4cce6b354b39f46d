#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/Geometry.h"

namespace mousecfg::skin {

class Control;

// The type strings of notifications that the controls raise; windows compare against these texts.
namespace notify {
inline constexpr std::string_view kWindowInit = "windowinit";      // after the skin is loaded and laid out
inline constexpr std::string_view kClick = "click";                // button, option, check box released
inline constexpr std::string_view kSelectChanged = "selectchanged";  // option or check box state changed
inline constexpr std::string_view kItemSelect = "itemselect";      // list, tree or combo selection changed
inline constexpr std::string_view kItemClick = "itemclick";        // a list or tree item or combo item clicked
inline constexpr std::string_view kItemActivate = "itemactivate";  // a list item double-clicked or Enter
inline constexpr std::string_view kValueChanged = "valuechanged";  // slider released or stepped
inline constexpr std::string_view kMoveValueChanged = "movevaluechanged";  // slider value while dragging
inline constexpr std::string_view kSetFocus = "setfocus";
inline constexpr std::string_view kKillFocus = "killfocus";
inline constexpr std::string_view kReturn = "return";              // Enter in an edit
inline constexpr std::string_view kTextChanged = "textchanged";    // an edit's text typed by the user
inline constexpr std::string_view kMouseEnter = "mouseenter";
inline constexpr std::string_view kMouseLeave = "mouseleave";
inline constexpr std::string_view kTabSelect = "tabselect";        // a tab layout shows another page
inline constexpr std::string_view kColorChanged = "colorchanged";  // the user picked a colour in a palette
inline constexpr std::string_view kPreDropDown = "predropdown";    // a combo is about to open its list
inline constexpr std::string_view kDropDown = "dropdown";          // a combo opened its list
inline constexpr std::string_view kScroll = "scroll";              // the user scrolled a container
inline constexpr std::string_view kMenuClick = "MyMenuClick";      // a context menu item; text = item name
}  // namespace notify

// One notification as a window's Notify receives it. `sender` is valid during the call only (controls removed
// by a handler are destroyed after the input event that caused the notification has been handled).
struct Notification {
    std::string type;
    Control* sender = nullptr;  // none for notifications raised by the program or by menus
    std::string senderName;     // the sender's name, or what the raiser gives instead (a menu item name)
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
    std::string text;  // menu item name, the text of an edit, ...
    Point point;       // cursor position in client coordinates when input caused it
};

// Receives the notifications of a paint manager. Called on the window's thread.
class NotifyListener {
public:
    virtual ~NotifyListener() = default;
    virtual void Notify(Notification& notification) = 0;
};

}  // namespace mousecfg::skin
