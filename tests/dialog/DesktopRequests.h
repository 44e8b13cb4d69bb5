// Asks a top-level window to close, as the window manager does when the user clicks its close
// box: a WM_DELETE_WINDOW message to the window with the given title.
#pragma once

#include <string>

namespace quorvel {

// False when no window has that title or the display cannot be opened.
bool SendCloseRequest(const std::string& windowTitle);

}  // namespace quorvel
