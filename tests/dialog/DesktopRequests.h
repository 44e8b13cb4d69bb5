// What the desktop asks of a top-level window, sent as the window manager sends it: the close
// request of the close box, and the ping by which a desktop decides whether the window still
// answers. The window is the top-level one with the given title.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "ScreenCapture.h"

namespace quorvel {

// False when no window has that title or the display cannot be opened.
bool SendCloseRequest(const std::string& windowTitle);

struct PingOutcome {
    bool windowFound = false;
    // How long the window took to answer; none when it did not answer within the limit.
    std::optional<std::chrono::milliseconds> delay;
};

// Sends _NET_WM_PING and waits up to `limit` for the window's answer, which comes back to the
// root window.
PingOutcome PingWindow(const std::string& windowTitle, std::chrono::milliseconds limit);

// Where the window is on the screen; none when no window has that title.
std::optional<ScreenRect> TopLevelRect(const std::string& windowTitle);

}  // namespace quorvel
