// quorvel: the window that tells its user who holds an Internet address.
#include <wx/app.h>

#include "QuorvelApp.h"

namespace {

wxAppConsole* CreateQuorvelApp() {
    wxAppConsole::CheckBuildOptions(WX_BUILD_OPTIONS_SIGNATURE, "quorvel");
    return new quorvel::CQuorvelApp(quorvel::PlatformSocketLibrary());
}

const wxAppInitializer quorvelAppInitializer(&CreateQuorvelApp);

}  // namespace

wxIMPLEMENT_WXWIN_MAIN
