// A second X client for the key page's end-to-end test. It takes one key as a global shortcut (a passive grab on
// the root window, as desktop shortcuts do) and prints "key NAME" for every key press it receives, so that the
// test can tell whether a key reached a program other than the one recording it.
//   gui_key_listener KEYSYM     e.g. gui_key_listener q
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gui_key_listener KEYSYM\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "gui_key_listener: no X display\n");
        return 1;
    }
    const KeySym wanted = XStringToKeysym(argv[1]);
    const KeyCode code = wanted == NoSymbol ? 0 : XKeysymToKeycode(display, wanted);
    if (code == 0) {
        std::fprintf(stderr, "gui_key_listener: no key for %s\n", argv[1]);
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    XGrabKey(display, code, AnyModifier, root, True, GrabModeAsync, GrabModeAsync);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == KeyPress) {
            const KeySym sym = XLookupKeysym(&event.xkey, 0);
            const char* name = XKeysymToString(sym);
            std::printf("key %s\n", name != nullptr ? name : "?");
            std::fflush(stdout);
        }
    }
}
