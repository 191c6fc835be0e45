#include "app/WindowTitle.h"

#include <allegro.h>
#ifdef ALLEGRO_WITH_XWINDOWS
#include <xalleg.h>
// Allegro's lock of its X connection, XLOCK and XUNLOCK, counts with ++ and -- on a volatile,
// which C++20 deprecates; clang says so, GCC does not.
#ifdef __clang__
#pragma clang diagnostic ignored "-Wdeprecated-volatile"
#endif

#include <cstring>
#endif

void setWindowTitle(const char* title) {
    set_window_title(title);
#ifdef ALLEGRO_WITH_XWINDOWS
    // WM_NAME in a form every window manager decodes, and _NET_WM_NAME in UTF-8.
    XLOCK();
    Display* display = _xwin.display;
    const Window window = _xwin.wm_window;
    if (display != nullptr && window != None) {
        Xutf8SetWMProperties(display, window, title, title, nullptr, 0, nullptr, nullptr, nullptr);
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                        XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title),
                        static_cast<int>(std::strlen(title)));
        XFlush(display);
    }
    XUNLOCK();
#endif
}
