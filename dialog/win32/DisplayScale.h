// What the window needs to know of the display it is on: its DPI, the message font at a DPI, and
// the frame around a client area at a DPI. Windows 10 tells each monitor's DPI (the window is
// per-monitor DPI aware); on older versions every answer is the system DPI's.
#pragma once

#include <windows.h>

namespace quorvel {

// The DPI of the monitor the window is on.
UINT WindowDpi(HWND window);

// The font of message boxes, as the user's display settings set it, for `dpi`.
LOGFONTW MessageFont(UINT dpi);

// The window size around a client area of `client` for the window's styles, at `dpi`.
SIZE WindowSizeForClient(HWND window, SIZE client, UINT dpi);

}  // namespace quorvel
