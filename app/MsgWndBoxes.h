#pragma once

#include <functional>

#include "platform/MessageBoxes.h"

namespace mousecfg::skin {
class SkinWindow;
}

namespace mousecfg::app {

struct MsgTexts;

// Message boxes of the device, layout and configuration code, shown as the program's message window over the
// main window: modal requests block until answered, others are handed to the main window, which keeps its one
// non-modal message window.
class MsgWndBoxes final : public MessageBoxes {
public:
    using NonModal = std::function<void(const MsgTexts& texts, bool singleButton)>;
    void SetParent(skin::SkinWindow* parent, NonModal nonModal) {
        parent_ = parent;
        nonModal_ = std::move(nonModal);
    }
    int Show(const MessageBoxRequest& request) override;

private:
    skin::SkinWindow* parent_ = nullptr;
    NonModal nonModal_;
};

}  // namespace mousecfg::app
