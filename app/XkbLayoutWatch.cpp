#include "app/XkbLayoutWatch.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <cstdlib>
#include <string>
#include <xcb/xcb.h>

#include "app/XkbRulesNames.h"
#include "platform/Trace.h"

namespace mousecfg::app {

// Reads the property at the start and after each change of it on the root window.
class XkbLayoutWatch::Filter final : public QAbstractNativeEventFilter {
public:
    Filter(xcb_connection_t* connection, xcb_window_t root, std::function<void(const KeyboardLayout::Names&)> changed)
        : connection_(connection), root_(root), changed_(std::move(changed)) {
        const char name[] = "_XKB_RULES_NAMES";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        atom_ = atom != nullptr ? atom->atom : xcb_atom_t{XCB_ATOM_NONE};
        free(atom);
        // Property changes of the root window reach this client too; the event mask Qt chose is kept.
        xcb_get_window_attributes_reply_t* attributes =
            xcb_get_window_attributes_reply(connection_, xcb_get_window_attributes(connection_, root_), nullptr);
        const uint32_t mask = (attributes != nullptr ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_PROPERTY_CHANGE;
        free(attributes);
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        Read();
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
        if (type == "xcb_generic_event_t") {
            const auto* event = static_cast<const xcb_generic_event_t*>(message);
            if ((event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
                const auto* property = static_cast<const xcb_property_notify_event_t*>(message);
                if (property->window == root_ && property->atom == atom_) {
                    Read();
                }
            }
        }
        return false;
    }

private:
    void Read() {
        if (atom_ == XCB_ATOM_NONE) {
            return;
        }
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_, xcb_get_property(connection_, 0, root_, atom_, XCB_ATOM_STRING, 0, 1024), nullptr);
        if (reply == nullptr) {
            return;
        }
        const std::string value(static_cast<const char*>(xcb_get_property_value(reply)),
                                static_cast<size_t>(xcb_get_property_value_length(reply)));
        free(reply);
        if (const auto names = ParseXkbRulesNames(value)) {
            trace::Printf("keyboard layout: %s %s\n", names->layout.c_str(), names->variant.c_str());
            changed_(*names);
        }
    }

    xcb_connection_t* connection_;
    xcb_window_t root_;
    xcb_atom_t atom_ = XCB_ATOM_NONE;
    std::function<void(const KeyboardLayout::Names&)> changed_;
};

XkbLayoutWatch::XkbLayoutWatch(std::function<void(const KeyboardLayout::Names&)> changed) {
    auto* x11 = qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 != nullptr ? x11->connection() : nullptr;
    if (connection == nullptr) {
        return;
    }
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (screen == nullptr) {
        return;
    }
    filter_ = std::make_unique<Filter>(connection, screen->root, std::move(changed));
    qGuiApp->installNativeEventFilter(filter_.get());
}

XkbLayoutWatch::~XkbLayoutWatch() {
    if (filter_ && qGuiApp != nullptr) {
        qGuiApp->removeNativeEventFilter(filter_.get());
    }
}

}  // namespace mousecfg::app
