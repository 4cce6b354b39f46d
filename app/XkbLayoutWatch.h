#pragma once

#include <functional>
#include <memory>

#include "platform/KeyboardLayout.h"

namespace mousecfg::app {

// Follows the keyboard layout the X session names (the root window's "_XKB_RULES_NAMES", XkbRulesNames.h) on the
// display the program runs on: `changed` is called once at the start with the
// session's layout and again whenever the session names another one. Does nothing on other window systems.
// UI thread only; `changed` runs there.
class XkbLayoutWatch {
public:
    explicit XkbLayoutWatch(std::function<void(const KeyboardLayout::Names&)> changed);
    ~XkbLayoutWatch();

private:
    class Filter;
    std::unique_ptr<Filter> filter_;
};

}  // namespace mousecfg::app
