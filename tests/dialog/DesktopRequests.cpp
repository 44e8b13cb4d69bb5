#include "DesktopRequests.h"

#include <poll.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace quorvel {
namespace {

using Clock = std::chrono::steady_clock;

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

// A WM_PROTOCOLS message to the window's own client, as the window manager sends it.
void SendProtocolMessage(Display* display, Window window, const char* protocol, long timestamp) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, protocol, False));
    event.xclient.data.l[1] = timestamp;
    event.xclient.data.l[2] = static_cast<long>(window);
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// The window's answer to a ping: the same message, sent to the root window.
bool IsPingReply(Display* display, const XEvent& event, Window window, long timestamp) {
    return event.type == ClientMessage &&
           event.xclient.message_type == XInternAtom(display, "WM_PROTOCOLS", True) &&
           event.xclient.data.l[0] ==
               static_cast<long>(XInternAtom(display, "_NET_WM_PING", True)) &&
           event.xclient.data.l[1] == timestamp &&
           event.xclient.data.l[2] == static_cast<long>(window);
}

// Reads the display's events until one is the ping's reply or the deadline passes.
bool AwaitPingReply(Display* display, Window window, long timestamp, Clock::time_point deadline) {
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event{};
            XNextEvent(display, &event);
            if (IsPingReply(display, event, window, timestamp)) {
                return true;
            }
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        poll(&connection, 1, static_cast<int>(left.count()));
    }
}

}  // namespace

bool SendCloseRequest(const std::string& windowTitle) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return false;
    }
    const Window window = FindTopLevel(display, windowTitle);
    if (window != 0) {
        SendProtocolMessage(display, window, "WM_DELETE_WINDOW", CurrentTime);
    }
    XCloseDisplay(display);
    return window != 0;
}

PingOutcome PingWindow(const std::string& windowTitle, std::chrono::milliseconds limit) {
    PingOutcome outcome;
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return outcome;
    }
    const Window window = FindTopLevel(display, windowTitle);
    outcome.windowFound = window != 0;
    if (outcome.windowFound) {
        // The reply goes to the root window's substructure listeners.
        XSelectInput(display, XDefaultRootWindow(display), SubstructureNotifyMask);
        const auto sent = Clock::now();
        // A timestamp of this ping alone, so that no other reply is taken for its own.
        const long timestamp = static_cast<long>(sent.time_since_epoch().count() & 0x7fffffff);
        SendProtocolMessage(display, window, "_NET_WM_PING", timestamp);
        if (AwaitPingReply(display, window, timestamp, sent + limit)) {
            outcome.delay =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sent);
        }
    }
    XCloseDisplay(display);
    return outcome;
}

std::optional<ScreenRect> TopLevelRect(const std::string& windowTitle) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::nullopt;
    }
    std::optional<ScreenRect> rect;
    XWindowAttributes attributes{};
    const Window window = FindTopLevel(display, windowTitle);
    if (window != 0 && XGetWindowAttributes(display, window, &attributes) != 0) {
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(display, window, XDefaultRootWindow(display), 0, 0, &x, &y, &child);
        rect = ScreenRect{x, y, attributes.width, attributes.height};
    }
    XCloseDisplay(display);
    return rect;
}

}  // namespace quorvel
