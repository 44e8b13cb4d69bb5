#include "QuorvelDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/settings.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <cstdlib>
#include <utility>

#include "AboutDlg.h"
#include "AppIcon.h"
#include "InformationText.h"
#include "ResourceIds.h"
#include "StringTable.h"

namespace quorvel {
namespace {

wxString ShownText(const std::string& bytes) {
    return wxString::FromUTF8(InformationBoxText(bytes));
}

wxString LoadedText(unsigned id) {
    return ShownText(LoadStringResource(id));
}

}  // namespace

CQuorvelDlg::CQuorvelDlg(wxWindow* parent, ISocketLibrary& sockets)
    : m_sockets(sockets),
      m_locate(*this, sockets, [this](std::function<void()> task) { CallAfter(std::move(task)); }),
      m_icons(ApplicationIcons()) {
    wxXmlResource::Get()->LoadDialog(this, parent, "IDD_MAIN");
    // The layout gives the client area's size, as a dialog template does.
    SetClientSize(GetSize());
    m_addressBox = XRCCTRL(*this, "IDC_ADDRESS", wxTextCtrl);
    m_informationBox = XRCCTRL(*this, "IDC_INFORMATION", wxTextCtrl);
    m_locateButton = XRCCTRL(*this, "wxID_OK", wxButton);

    // Locate is the OK button, so Escape must not stand for it: Escape does nothing here, and
    // the close box goes to OnClose.
    SetEscapeId(wxID_NONE);
    // F1 is the help command, which shows the About box.
    wxAcceleratorEntry help(wxACCEL_NORMAL, WXK_F1, wxID_HELP);
    SetAcceleratorTable(wxAcceleratorTable(1, &help));
}

CQuorvelDlg::~CQuorvelDlg() {
    // Sent here, while this dialog is still whole, so that OnDestroy releases the sockets.
    SendDestroyEvent();
}

void CQuorvelDlg::OnInitDialog(wxInitDialogEvent& event) {
    event.Skip();
    SetIcons(m_icons);
    if (m_sockets.Startup(kSocketLibraryVersion) != 0) {
        ShowMessageBox(LoadStringResource(IDS_SOCKETS_START_FAILED), MessageIcon::None);
    }
    SetInformationText(LoadStringResource(IDS_READY));
    FocusAddressBox();
}

void CQuorvelDlg::OnSysCommand(wxCommandEvent& event) {
    if ((event.GetId() & 0xFFF0) != IDM_ABOUTBOX) {
        event.Skip();
        return;
    }
    CAboutDlg about;
    about.ShowModal();
}

// GTK gives a dialog no window menu, so a right-click offers the About item instead.
void CQuorvelDlg::OnContextMenu(wxContextMenuEvent& event) {
    static_cast<void>(event);
    const wxString aboutText = LoadedText(IDS_ABOUTBOX);
    if (aboutText.empty()) {
        return;
    }
    wxMenu menu;
    menu.Append(IDM_ABOUTBOX, aboutText);
    PopupMenu(&menu);
}

// A minimised window shows the application icon centred in its client area.
void CQuorvelDlg::OnPaint(wxPaintEvent& event) {
    if (!IsIconized()) {
        event.Skip();
        return;
    }
    wxPaintDC dc(this);
    dc.Clear();
    const int iconWidth = wxSystemSettings::GetMetric(wxSYS_ICON_X, this);
    const int iconHeight = wxSystemSettings::GetMetric(wxSYS_ICON_Y, this);
    const wxSize client = GetClientSize();
    dc.DrawIcon(
        m_icons.GetIcon(wxSize(iconWidth, iconHeight), wxIconBundle::FALLBACK_NEAREST_LARGER),
        (client.x - iconWidth + 1) / 2, (client.y - iconHeight + 1) / 2);
}

void CQuorvelDlg::OnLocate(wxCommandEvent& event) {
    static_cast<void>(event);
    m_locate.Locate();
}

// Escape and any cancel command leave the dialog open.
void CQuorvelDlg::OnCancel(wxCommandEvent& event) {
    static_cast<void>(event);
}

void CQuorvelDlg::OnDestroy(wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetWindow() == this) {
        m_sockets.Cleanup();
    }
}

// Closing the window ends the program with exit status 0, at once even during a lookup: the
// lookup is given up. One still inside the resolver, which nothing can interrupt, is left
// behind, and the program ends without waiting for it or tidying up after it.
void CQuorvelDlg::OnClose(wxCloseEvent& event) {
    static_cast<void>(event);
    if (!m_locate.Cancel(kLookupCancelWait)) {
        std::quick_exit(0);
    }
    EndModal(0);
}

std::string CQuorvelDlg::GetAddressText() {
    return std::string(m_addressBox->GetValue().utf8_str());
}

void CQuorvelDlg::SetInformationText(const std::string& text) {
    m_informationBox->ChangeValue(ShownText(text));
}

void CQuorvelDlg::EnableAddressBox(bool enable) {
    m_addressBox->Enable(enable);
}

void CQuorvelDlg::EnableLocateButton(bool enable) {
    m_locateButton->Enable(enable);
}

void CQuorvelDlg::BeginWaitCursor() {
    wxBeginBusyCursor();
}

void CQuorvelDlg::EndWaitCursor() {
    wxEndBusyCursor();
}

void CQuorvelDlg::FocusAddressBox() {
    m_addressBox->SetFocus();
}

void CQuorvelDlg::RepaintNow() {
    Refresh();
    Update();
}

void CQuorvelDlg::ShowMessageBox(const std::string& text, MessageIcon icon) {
    const long iconStyle = icon == MessageIcon::Exclamation ? wxICON_EXCLAMATION : wxICON_NONE;
    // The caption is the application's title, as the program names no caption of its own.
    wxMessageBox(ShownText(text), wxTheApp->GetAppDisplayName(), wxOK | iconStyle, this);
}

// clang-format off
wxBEGIN_EVENT_TABLE(CQuorvelDlg, wxDialog)
    EVT_INIT_DIALOG(                  CQuorvelDlg::OnInitDialog)
    EVT_MENU(IDM_ABOUTBOX,            CQuorvelDlg::OnSysCommand)
    EVT_CONTEXT_MENU(                 CQuorvelDlg::OnContextMenu)
    EVT_PAINT(                        CQuorvelDlg::OnPaint)
    EVT_BUTTON(wxID_OK,               CQuorvelDlg::OnLocate)
    EVT_BUTTON(wxID_CANCEL,           CQuorvelDlg::OnCancel)
    EVT_WINDOW_DESTROY(               CQuorvelDlg::OnDestroy)
    EVT_CLOSE(                        CQuorvelDlg::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace quorvel
