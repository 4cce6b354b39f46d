#include "skin/qt/X11Hints.h"

#include <QGuiApplication>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <string>
#include <xcb/xcb.h>

namespace mousecfg::skin::qt {
namespace {

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(connection, 0, static_cast<uint16_t>(strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply != nullptr ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    free(reply);
    return atom;
}

xcb_connection_t* Connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace

bool NeedsShapeForTransparency() {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    // A compositing manager owns the selection _NET_WM_CM_Sn of the screen it composites.
    const int screen = 0;
    const std::string name = "_NET_WM_CM_S" + std::to_string(screen);
    const xcb_get_selection_owner_cookie_t cookie = xcb_get_selection_owner(connection, Atom(connection, name.c_str()));
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(connection, cookie, nullptr);
    const bool composited = reply != nullptr && reply->owner != XCB_WINDOW_NONE;
    free(reply);
    return !composited;
}

bool SetDemandsAttention(QWindow& window, bool demand) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return false;
    }
    // A mapped window's state changes by a request to the window manager on the root window.
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = static_cast<xcb_window_t>(window.winId());
    event.type = Atom(connection, "_NET_WM_STATE");
    event.data.data32[0] = demand ? 1 : 0;  // add, remove
    event.data.data32[1] = Atom(connection, "_NET_WM_STATE_DEMANDS_ATTENTION");
    event.data.data32[3] = 1;  // a normal application
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    xcb_send_event(connection, 0, screen->root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection);
    return true;
}

void KeepOutOfTaskBar(QWindow& window) {
    xcb_connection_t* connection = Connection();
    if (connection == nullptr) {
        return;
    }
    // The state property of a window that is not mapped yet is the client's to set; Qt adds its own states to
    // what it finds there when it maps the window.
    const xcb_atom_t states[] = {Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window.winId()),
                        Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
    xcb_flush(connection);
}

}  // namespace mousecfg::skin::qt
