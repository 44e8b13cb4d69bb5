#include "QuorvelApp.h"

#include <wx/config.h>
#include <wx/log.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>

#include <gtk/gtk.h>

#include "AboutDlg.h"
#include "AppIcon.h"
#include "Layouts.h"
#include "QuorvelDlg.h"
#include "UserSettings.h"

namespace quorvel {

CQuorvelApp::CQuorvelApp(ISocketLibrary& sockets) : m_sockets(sockets) {
    // The window draws nothing with OpenGL; without this GTK would load a GL driver at
    // start-up, which costs time and memory. Set before the toolkit starts; a value the user
    // set wins.
    setenv("GDK_GL", "disable", 0);
}

bool CQuorvelApp::OnInit() {
    // GTK fades a control into its disabled look over a fifth of a second, but the Locate
    // command blocks right after locking the input and painting once: the fade would stop
    // half way and the locked controls would still look usable. Without animations the
    // locked look is painted at once.
    g_object_set(gtk_settings_get_default(), "gtk-enable-animations", FALSE, nullptr);
    UseUserSettingsFile();
    wxXmlResource::Get()->InitAllHandlers();
    InitQuorvelLayouts();
    RegisterApplicationIconArt();
    return true;
}

int CQuorvelApp::OnExit() {
    // The settings file is written now, while the application can still show the message of a
    // file that cannot be written; later the message would have no one to show it.
    delete wxConfigBase::Set(nullptr);
    wxLog::FlushActive();
    return wxApp::OnExit();
}

int CQuorvelApp::OnRun() {
    CQuorvelDlg dialog(nullptr, m_sockets);
    SetTopWindow(&dialog);
    dialog.ShowModal();
    SetTopWindow(nullptr);
    return 0;
}

void CQuorvelApp::OnHelp(wxCommandEvent& event) {
    static_cast<void>(event);
    CAboutDlg about;
    about.ShowModal();
}

// clang-format off
wxBEGIN_EVENT_TABLE(CQuorvelApp, wxApp)
    EVT_MENU(wxID_HELP, CQuorvelApp::OnHelp)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace quorvel
