// The main dialog: the address box, the Locate button and the information box. It is the
// Locate command's view, and asks the network off its own thread, so that it keeps painting and
// answering while a lookup runs; it starts the socket library when it opens and releases it when
// it goes. The address box lists the destinations located before; the window's size, place and
// that list are kept in the user's settings between runs.
#pragma once

#include <string>

#include <wx/dialog.h>
#include <wx/iconbndl.h>

#include "DestinationHistory.h"
#include "LocateView.h"
#include "LocateWorker.h"
#include "SocketLibrary.h"

class wxButton;
class wxComboBox;
class wxStaticBox;
class wxStaticText;
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
    void OnClearHistory(wxCommandEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLocate(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnDestroy(wxWindowDestroyEvent& event);
    void OnClose(wxCloseEvent& event);

    // A command that got as far as the network has finished: its destination joins the list.
    void OnLocated();
    void ShowHistory();
    // Names the controls for screen readers after the labels the user sees.
    void NameControlsForScreenReaders(wxStaticText& addressLabel);

    ISocketLibrary& m_sockets;
    CLocateWorker m_locate;
    wxComboBox* m_addressBox = nullptr;
    wxTextCtrl* m_informationBox = nullptr;
    wxStaticBox* m_informationGroup = nullptr;
    wxButton* m_locateButton = nullptr;
    wxIconBundle m_icons;
    CDestinationHistory m_history;
    std::string m_destinationRead;  // the address box's text as the last command read it

    // The layout's client size, the smallest the window can be, and the rectangles there of the
    // two controls that grow with the window; every other control keeps its place and size.
    wxSize m_layoutClientSize;
    wxRect m_layoutInformationBox;
    wxRect m_layoutInformationGroup;

    wxDECLARE_EVENT_TABLE();
};

}  // namespace quorvel
