// x11_probe: what the end-to-end tests of the macro page need of another X client.
//   x11_probe keys OUT KEY...  wants the given keys as a program with global shortcuts does: grabs them (with any
//                              modifiers) on the root window and appends the name of every key press it receives to
//                              OUT. Without another client's keyboard grab such a key reaches it whatever window has
//                              the focus; while another client grabs the keyboard, it does not. Prints "ready" once
//                              the grabs are in place, then runs until killed.
//   x11_probe layout NAME      names the session's keyboard layout NAME in the root window's "_XKB_RULES_NAMES",
//                              as the session's keyboard settings do.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int WatchKeys(Display* display, int count, char** keys, const char* out) {
    const Window root = DefaultRootWindow(display);
    for (int i = 0; i < count; ++i) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(keys[i]));
        if (code == 0) {
            std::fprintf(stderr, "x11_probe: no key '%s'\n", keys[i]);
            return 1;
        }
        XGrabKey(display, code, AnyModifier, root, True, GrabModeAsync, GrabModeAsync);
    }
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            if (std::FILE* file = std::fopen(out, "a")) {
                const char* name = XKeysymToString(XLookupKeysym(&event.xkey, 0));
                std::fprintf(file, "%s\n", name != nullptr ? name : "?");
                std::fclose(file);
            }
        }
    }
}

int NameLayout(Display* display, const char* layout) {
    // rules, model, layout, variant, options: NUL-separated.
    std::string value = std::string("evdev") + '\0' + "pc105" + '\0' + layout + '\0' + '\0';
    const Atom names = XInternAtom(display, "_XKB_RULES_NAMES", False);
    XChangeProperty(display, DefaultRootWindow(display), names, XA_STRING, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(value.data()), static_cast<int>(value.size()));
    XSync(display, False);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "x11_probe: no X display\n");
        return 1;
    }
    int result = 2;
    if (argc >= 4 && std::strcmp(argv[1], "keys") == 0) {
        result = WatchKeys(display, argc - 3, argv + 3, argv[2]);
    } else if (argc == 3 && std::strcmp(argv[1], "layout") == 0) {
        result = NameLayout(display, argv[2]);
    } else {
        std::fprintf(stderr, "usage: x11_probe keys OUT KEY... | x11_probe layout NAME\n");
    }
    XCloseDisplay(display);
    return result;
}
