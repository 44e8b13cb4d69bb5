// The main dialog: the address box, the Locate button and the information box. It is the
// Locate command's view, and asks the network off its own thread, so that it keeps painting and
// answering while a lookup runs; it starts the socket library when it opens and releases it when
// it goes.
#pragma once

#include <string>

#include <wx/dialog.h>
#include <wx/iconbndl.h>

#include "LocateView.h"
#include "LocateWorker.h"
#include "SocketLibrary.h"

class wxButton;
class wxTextCtrl;

namespace quorvel {

class CQuorvelDlg : public wxDialog, public ILocateView {
public:
    // The Locate command resolves and queries through `sockets`.
    CQuorvelDlg(wxWindow* parent, ISocketLibrary& sockets);
    ~CQuorvelDlg() override;

    std::string GetAddressText() override;
    void SetInformationText(const std::string& text) override;
    void EnableAddressBox(bool enable) override;
    void EnableLocateButton(bool enable) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    void FocusAddressBox() override;
    void RepaintNow() override;
    void ShowMessageBox(const std::string& text, MessageIcon icon) override;

private:
    void OnInitDialog(wxInitDialogEvent& event);
    void OnSysCommand(wxCommandEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnLocate(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);
    void OnClose(wxCloseEvent& event);

    ISocketLibrary& m_sockets;
    CLocateWorker m_locate;
    wxTextCtrl* m_addressBox = nullptr;
    wxTextCtrl* m_informationBox = nullptr;
    wxButton* m_locateButton = nullptr;
    wxIconBundle m_icons;

    wxDECLARE_EVENT_TABLE();
};

}  // namespace quorvel
