// The About box: the icon, the version and two notice lines. OK, Escape and its close box end
// it, as the dialog manager's own behaviour.
#pragma once

#include <windows.h>

namespace quorvel {

class CAboutDlg {
public:
    // Shows the About box over `owner` until the user closes it.
    static void DoModal(HINSTANCE instance, HWND owner);
};

}  // namespace quorvel
