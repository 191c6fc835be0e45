// Sends a window the message a window manager sends when its close button is clicked
// (WM_PROTOCOLS with WM_DELETE_WINDOW), on the display named by DISPLAY. Xvfb runs no window
// manager, so the end-to-end checks play its part.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s WINDOW-ID\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = std::strtoul(argv[1], nullptr, 0);
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, message.xclient.window, False, NoEventMask, &message);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
