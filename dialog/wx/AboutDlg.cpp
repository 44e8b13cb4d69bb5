#include "AboutDlg.h"

#include <wx/xrc/xmlres.h>

namespace quorvel {

CAboutDlg::CAboutDlg() {
    wxXmlResource::Get()->LoadDialog(this, nullptr, "IDD_ABOUTBOX");
    // The layout gives the client area's size, as a dialog template does.
    SetClientSize(GetSize());
}

}  // namespace quorvel
