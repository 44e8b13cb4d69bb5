#include "CloseRequest.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quorvel {
namespace {

bool HasTitle(Display* display, Window window, const std::string& title) {
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr) {
        return false;
    }
    const bool same = title == name;
    XFree(name);
    return same;
}

// The first child of the root window with the title; 0 when none has it.
Window FindTopLevel(Display* display, const std::string& title) {
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, XDefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    Window found = 0;
    for (unsigned i = 0; i < count && found == 0; ++i) {
        if (HasTitle(display, children[i], title)) {
            found = children[i];
        }
    }
    XFree(children);
    return found;
}

}  // namespace

bool SendCloseRequest(const std::string& windowTitle) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const Window window = FindTopLevel(display, windowTitle);
    if (window != 0) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] =
            static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
        XFlush(display);
    }
    XCloseDisplay(display);
    return window != 0;
}

}  // namespace quorvel
