// The application: runs the main dialog modally, and the program ends when the dialog does.
#pragma once

#include <wx/app.h>

#include "SocketLibrary.h"

namespace quorvel {

class CQuorvelApp : public wxApp {
public:
    // The main dialog resolves and queries through `sockets`.
    explicit CQuorvelApp(ISocketLibrary& sockets);

    bool OnInit() override;
    // Runs the main dialog; the exit status is 0 once the user has closed it.
    int OnRun() override;
    // Writes the user's settings file.
    int OnExit() override;

private:
    // The help command (F1) shows the About box: the program has no help of its own.
    void OnHelp(wxCommandEvent& event);

    ISocketLibrary& m_sockets;

    wxDECLARE_EVENT_TABLE();
};

}  // namespace quorvel
