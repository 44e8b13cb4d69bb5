// The About box: the icon, the version and two notice lines, closed by OK, Escape or its close
// box through the dialog's standard behaviour.
#pragma once

#include <wx/dialog.h>

namespace quorvel {

class CAboutDlg : public wxDialog {
public:
    CAboutDlg();
};

}  // namespace quorvel
