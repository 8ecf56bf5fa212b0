// Asks a window to close as a window manager's close button does, by sending it the
// WM_DELETE_WINDOW message of the WM_PROTOCOLS protocol: close_window WINDOW_ID.
// Xvfb runs no window manager, and xdotool has no way to send this message.
#include <X11/Xlib.h>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW_ID\n", argv[0]);
        return 2;
    }
    char* end = nullptr;
    const unsigned long window = std::strtoul(argv[1], &end, 0);
    if (*argv[1] == '\0' || *end != '\0' || window == 0) {
        std::fprintf(stderr, "not a window id: %s\n", argv[1]);
        return 2;
    }
    Display* const display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    XCloseDisplay(display);
    if (sent == 0) {
        std::fprintf(stderr, "cannot send the close request to window %s\n", argv[1]);
        return 1;
    }
    return 0;
}
