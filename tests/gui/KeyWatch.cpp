// keywatch OUT KEY...: another X client that wants the given keys, as a program with global shortcuts does: it
// grabs them (with any modifiers) on the root window and appends the name of every key press it receives to OUT.
// Without a keyboard grab of another client, pressing such a key reaches keywatch whatever window has the
// focus; while another client grabs the keyboard, it does not. Prints "ready" once the grabs are in place.
#include <X11/Xlib.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: keywatch OUT KEY...\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "keywatch: no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(display);
    for (int i = 2; i < argc; ++i) {
        const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(argv[i]));
        if (code == 0) {
            std::fprintf(stderr, "keywatch: no key '%s'\n", argv[i]);
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
            if (std::FILE* out = std::fopen(argv[1], "a")) {
                const char* name = XKeysymToString(XLookupKeysym(&event.xkey, 0));
                std::fprintf(out, "%s\n", name != nullptr ? name : "?");
                std::fclose(out);
            }
        }
    }
}
