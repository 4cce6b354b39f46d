#include "skin/ContextMenu.h"

#include "platform/TextEncoding.h"
#include "platform/Trace.h"
#include "skin/AttributeText.h"
#include "skin/Control.h"
#include "skin/SkinPlatform.h"
#include "skin/SkinResources.h"
#include "skin/SkinWindow.h"
#include "skin/TextQuery.h"
#include "skin/XmlElement.h"

namespace mousecfg::skin {
namespace {

MenuLook ReadLook(const XmlElement& menu, const std::string& file) {
    MenuLook look;
    const std::pair<const char*, Color*> colours[] = {{"bkcolor", &look.background},
                                                      {"textcolor", &look.text},
                                                      {"hotbkcolor", &look.hotBackground},
                                                      {"disabledtextcolor", &look.disabledText},
                                                      {"bordercolor", &look.border}};
    for (const auto& [key, target] : colours) {
        if (!menu.HasAttribute(key)) {
            continue;
        }
        if (const std::optional<Color> colour = attr::ParseColor(menu.Attribute(key))) {
            *target = *colour;
        } else {
            trace::Printf("skin: %s:%d: menu: bad colour '%s'\n", file.c_str(), menu.line, key);
        }
    }
    return look;
}

MenuItem ReadItem(const XmlElement& element, const std::string& file) {
    MenuItem item;
    item.separator = EqualsIgnoringAsciiCase(element.name, "Separator");
    for (const auto& [key, value] : element.attributes) {
        const std::string name = ToAsciiLower(key);
        const auto flag = attr::ParseBool(value);
        if (name == "name") {
            item.name = value;
        } else if (name == "text") {
            item.text = value;
        } else if (name == "textid") {
            item.textId = value;
        } else if (name == "icon") {
            item.icon = value;
        } else if (name == "group") {
            item.group = value;
            item.checkable = true;
        } else if (flag && (name == "visible" || name == "enabled" || name == "checkable" || name == "checked")) {
            (name == "visible" ? item.visible : name == "enabled" ? item.enabled
                                              : name == "checkable" ? item.checkable
                                                                    : item.checked) = *flag;
        } else {
            trace::Printf("skin: %s:%d: menu item: unknown attribute or bad value '%s'\n", file.c_str(),
                          element.line, key.c_str());
        }
    }
    if (item.text.empty()) {
        item.text = item.name;
    }
    return item;
}

}  // namespace

ContextMenu::ContextMenu() = default;
ContextMenu::~ContextMenu() = default;

bool ContextMenu::Load(const std::filesystem::path& file) {
    std::filesystem::path located = file;
    std::error_code error;
    if (!file.is_absolute() && std::filesystem::exists(SkinResources::GetResourcePath() / file, error)) {
        located = SkinResources::GetResourcePath() / file;
    }
    auto root = ReadXmlFile(located);
    if (!root) {
        trace::Printf("skin: %s\n", root.message().c_str());
        return false;
    }
    items_.clear();
    look_ = ReadLook(*root, file.filename().string());
    TextQuery* query = SkinResources::GetTextQueryInterface();
    for (const XmlElement& element : root->children) {
        MenuItem item = ReadItem(element, file.filename().string());
        if (query != nullptr && !item.textId.empty()) {
            item.text = query->QueryControlText(item.textId, "MenuItem").value_or(item.text);
        }
        items_.push_back(std::move(item));
    }
    return true;
}

MenuItem* ContextMenu::FindItem(const std::string& name) {
    for (MenuItem& item : items_) {
        if (item.name == name) {
            return &item;
        }
    }
    return nullptr;
}

bool ContextMenu::Popup(SkinWindow& owner, Point screen, bool above) {
    Close();
    std::weak_ptr<int> alive = alive_;
    SkinWindow* target = &owner;
    host_ = SkinPlatform::Get().ShowMenu(items_, look_, screen, above, [this, alive, target](const std::string& name) {
        if (!alive.expired()) {
            Chosen(target, name);
        }
    });
    return host_ != nullptr;
}

void ContextMenu::Close() {
    host_.reset();
}

void ContextMenu::Chosen(SkinWindow* owner, const std::string& name) {
    MenuItem* item = FindItem(name);
    if (item == nullptr) {
        return;
    }
    if (item->checkable) {
        if (!item->group.empty()) {
            for (MenuItem& other : items_) {
                if (other.group == item->group) {
                    other.checked = false;
                }
            }
            item->checked = true;
        } else {
            item->checked = !item->checked;
        }
    }
    const bool checked = item->checked;
    if (messageId_ != 0) {
        owner->Post(Message{messageId_, 0, 0, name});
        return;
    }
    Notification notification;
    notification.type = std::string(notify::kMenuClick);
    notification.senderName = name;
    notification.text = name;
    notification.wParam = checked ? 1 : 0;
    owner->GetPaintManager().SendNotify(notification);
}

}  // namespace mousecfg::skin
