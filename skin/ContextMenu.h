#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skin/Geometry.h"
#include "skin/MenuItem.h"

namespace mousecfg::skin {

class MenuHost;
class SkinWindow;

// A context menu built from a menu skin file:
//   <Menu><Item name="Import" text="Import" textid="Import"/><Separator/><Item name="x" checkable="true"/></Menu>
// Items may be changed (hidden, disabled, checked) before Popup. A clicked item arrives at the owner window as the
// notification "MyMenuClick" (no sender; senderName and text are the item name; wParam the item's check state),
// or, after SetMessageDelivery, as a posted message with the item name as its text. Owned by the window that
// shows it; destroying it closes the menu. Used on the user-interface thread.
class ContextMenu {
public:
    ContextMenu();
    ~ContextMenu();

    // Reads the menu skin file (relative to the resource path); false with a trace when it cannot be read.
    bool Load(const std::filesystem::path& file);
    std::vector<MenuItem>& items() { return items_; }
    const MenuLook& look() const { return look_; }
    MenuItem* FindItem(const std::string& name);
    void SetMessageDelivery(uint32_t messageId) { messageId_ = messageId; }

    // Shows the menu with its top-left corner at a screen point (its bottom-left corner when `above`).
    bool Popup(SkinWindow& owner, Point screen, bool above = false);
    void Close();
    bool IsOpen() const { return host_ != nullptr; }

private:
    void Chosen(SkinWindow* owner, const std::string& name);

    std::vector<MenuItem> items_;
    MenuLook look_;
    uint32_t messageId_ = 0;
    std::unique_ptr<MenuHost> host_;
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace mousecfg::skin
