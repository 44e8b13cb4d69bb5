#include "QuorvelDlg.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dcclient.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/persist.h>
#include <wx/settings.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <cstdlib>
#include <utility>

#include <gtk/gtk.h>

#include "AboutDlg.h"
#include "AppIcon.h"
#include "InformationText.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "UserSettings.h"
#include "WindowPlace.h"

namespace quorvel {
namespace {

wxString ShownText(const std::string& bytes) {
    return wxString::FromUTF8(InformationBoxText(bytes));
}

wxString LoadedText(unsigned id) {
    return ShownText(LoadStringResource(id));
}

// What a screen reader calls a control that a label names: the label as shown, without its
// mnemonic mark and the colon that ends it ("Destination Address:" names "Destination Address").
wxString SpokenName(const wxString& label) {
    wxString name = wxControl::RemoveMnemonics(label);
    name.Trim();
    if (name.EndsWith(":")) {
        name.RemoveLast();
    }
    return name;
}

// The GTK label a static text or a group box shows its text in; wxWidgets may wrap it.
GtkWidget* LabelWidget(GtkWidget* widget) {
    if (widget != nullptr && GTK_IS_FRAME(widget)) {
        widget = gtk_frame_get_label_widget(GTK_FRAME(widget));
    }
    while (widget != nullptr && !GTK_IS_LABEL(widget) && GTK_IS_BIN(widget)) {
        widget = gtk_bin_get_child(GTK_BIN(widget));
    }
    return widget != nullptr && GTK_IS_LABEL(widget) ? widget : nullptr;
}

// Ties a label to the control it names, as GTK does for a label with a mnemonic: screen readers
// find the label from the control's text field (and the field from the label), and the control
// and its field carry the label's words as their accessible name. The field is the widget the
// control wraps, if any: a combo box's entry, a scrolled window's text view.
void TieLabel(GtkWidget* label, GtkWidget* control, const wxString& name) {
    GtkWidget* field = GTK_IS_BIN(control) ? gtk_bin_get_child(GTK_BIN(control)) : nullptr;
    if (field == nullptr) {
        field = control;
    }
    if (label != nullptr) {
        gtk_label_set_mnemonic_widget(GTK_LABEL(label), field);
    }
    atk_object_set_name(gtk_widget_get_accessible(control), name.utf8_str());
    atk_object_set_name(gtk_widget_get_accessible(field), name.utf8_str());
}

// Keeps the buttons among a widget's parts out of the keyboard's way.
void TakeButtonsOutOfFocus(GtkWidget* widget, gpointer unused) {
    static_cast<void>(unused);
    if (GTK_IS_BUTTON(widget)) {
        gtk_widget_set_can_focus(widget, FALSE);
    } else if (GTK_IS_CONTAINER(widget)) {
        gtk_container_forall(GTK_CONTAINER(widget), TakeButtonsOutOfFocus, nullptr);
    }
}

// The drop-down's button takes no keyboard focus, as the edit box it replaces had none: Tab
// goes from the text field to Locate, and a click on the button leaves the keyboard in the
// field, so that Enter then locates the destination picked (on the button it would open the
// list again).
void KeepKeyboardInTextField(GtkWidget* comboBox) {
    gtk_container_forall(GTK_CONTAINER(comboBox), TakeButtonsOutOfFocus, nullptr);
}

}  // namespace

CQuorvelDlg::CQuorvelDlg(wxWindow* parent, ISocketLibrary& sockets)
    : m_sockets(sockets),
      m_locate(
          *this, sockets, [this](const std::function<void()>& task) { CallAfter(task); },
          [this](LocateOutcome outcome) {
              if (outcome != LocateOutcome::EmptyDestination) {
                  OnLocated();
              }
          }),
      m_icons(ApplicationIcons()),
      m_history(LoadHistory()) {
    wxXmlResource::Get()->LoadDialog(this, parent, "IDD_MAIN");
    // The layout gives the client area's size, as a dialog template does; it is the smallest
    // the window can be made.
    SetClientSize(GetSize());
    SetMinClientSize(GetClientSize());
    m_addressBox = XRCCTRL(*this, "IDC_ADDRESS", wxComboBox);
    m_informationBox = XRCCTRL(*this, "IDC_INFORMATION", wxTextCtrl);
    m_locateButton = XRCCTRL(*this, "wxID_OK", wxButton);
    auto* addressLabel = dynamic_cast<wxStaticText*>(m_addressBox->GetPrevSibling());
    m_informationGroup = dynamic_cast<wxStaticBox*>(m_informationBox->GetPrevSibling());
    m_layoutClientSize = GetClientSize();
    m_layoutInformationBox = m_informationBox->GetRect();
    m_layoutInformationGroup = m_informationGroup->GetRect();

    // A record is a table laid out for a fixed-pitch font: the desktop's monospace font at the
    // dialog font's size keeps its columns straight.
    m_informationBox->SetFont(
        wxFontInfo(GetFont().GetFractionalPointSize()).Family(wxFONTFAMILY_TELETYPE));
    if (addressLabel != nullptr) {
        NameControlsForScreenReaders(*addressLabel);
    }
    KeepKeyboardInTextField(m_addressBox->GetHandle());
    // The list is filled once the window is on its way to the screen: filling a drop-down is
    // work the window's start need not wait for, and no one opens the list before it shows.
    CallAfter(&CQuorvelDlg::ShowHistory);

    // Locate is the OK button, so Escape must not stand for it: Escape does nothing here, and
    // the close box goes to OnClose.
    SetEscapeId(wxID_NONE);
    // F1 is the help command, which shows the About box.
    wxAcceleratorEntry help(wxACCEL_NORMAL, WXK_F1, wxID_HELP);
    SetAcceleratorTable(wxAcceleratorTable(1, &help));

    // The size, place and maximised state of the last run; a place that no monitor shows any
    // more puts the window in the middle of the primary monitor.
    KeepWindowPlace(*this);
}

CQuorvelDlg::~CQuorvelDlg() {
    // Sent here, while this dialog is still whole, so that OnDestroy releases the sockets (and
    // the size and place are stored).
    SendDestroyEvent();
}

void CQuorvelDlg::NameControlsForScreenReaders(wxStaticText& addressLabel) {
    TieLabel(LabelWidget(addressLabel.GetHandle()), m_addressBox->GetHandle(),
             SpokenName(addressLabel.GetLabel()));
    TieLabel(LabelWidget(m_informationGroup->GetHandle()), m_informationBox->GetHandle(),
             SpokenName(m_informationGroup->GetLabel()));
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

void CQuorvelDlg::OnClearHistory(wxCommandEvent& event) {
    static_cast<void>(event);
    m_history.Clear();
    SaveHistory(m_history.Entries());
    ShowHistory();
}

// GTK gives a dialog no window menu, so a right-click offers its items instead: clearing the
// history, and the About box.
void CQuorvelDlg::OnContextMenu(wxContextMenuEvent& event) {
    static_cast<void>(event);
    wxMenu menu;
    const wxString clearText = LoadedText(IDS_CLEAR_HISTORY);
    if (!clearText.empty()) {
        menu.Append(IDM_CLEARHISTORY, clearText);
    }
    const wxString aboutText = LoadedText(IDS_ABOUTBOX);
    if (!aboutText.empty()) {
        menu.Append(IDM_ABOUTBOX, aboutText);
    }
    if (menu.GetMenuItemCount() > 0) {
        PopupMenu(&menu);
    }
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

// The information box and its group grow with the window, by as much as the window has grown
// beyond the layout's size; the label, the address box and the Locate button stay as they are.
void CQuorvelDlg::OnSize(wxSizeEvent& event) {
    event.Skip();
    if (m_informationBox == nullptr) {
        return;  // still being built from the layout
    }
    const wxSize growth = GetClientSize() - m_layoutClientSize;
    const auto grown = [&growth](wxRect rect) {
        rect.width += std::max(growth.x, 0);
        rect.height += std::max(growth.y, 0);
        return rect;
    };
    m_informationGroup->SetSize(grown(m_layoutInformationGroup));
    m_informationBox->SetSize(grown(m_layoutInformationBox));
}

void CQuorvelDlg::OnLocate(wxCommandEvent& event) {
    static_cast<void>(event);
    m_locate.Locate();
}

void CQuorvelDlg::OnLocated() {
    m_history.Add(m_destinationRead);
    SaveHistory(m_history.Entries());
    ShowHistory();
}

// The list changes under the text the user sees, which stays as it is.
void CQuorvelDlg::ShowHistory() {
    const wxString text = m_addressBox->GetValue();
    const long insertionPoint = m_addressBox->GetInsertionPoint();
    wxArrayString entries;
    for (const std::string& entry : m_history.Entries()) {
        entries.Add(wxString::FromUTF8(entry));
    }
    m_addressBox->Set(entries);
    if (m_addressBox->GetValue() != text) {
        m_addressBox->ChangeValue(text);
        m_addressBox->SetInsertionPoint(insertionPoint);
    }
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
// behind, and the program ends without waiting for it or tidying up after it, once the
// window's size and place are stored.
void CQuorvelDlg::OnClose(wxCloseEvent& event) {
    static_cast<void>(event);
    if (!m_locate.Cancel(kLookupCancelWait)) {
        wxPersistenceManager::Get().SaveAndUnregister(this);
        wxConfigBase::Get()->Flush();
        std::quick_exit(0);
    }
    EndModal(0);
}

std::string CQuorvelDlg::GetAddressText() {
    m_destinationRead = m_addressBox->GetValue().utf8_str();
    return m_destinationRead;
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
    EVT_MENU(IDM_CLEARHISTORY,        CQuorvelDlg::OnClearHistory)
    EVT_CONTEXT_MENU(                 CQuorvelDlg::OnContextMenu)
    EVT_PAINT(                        CQuorvelDlg::OnPaint)
    EVT_SIZE(                         CQuorvelDlg::OnSize)
    EVT_BUTTON(wxID_OK,               CQuorvelDlg::OnLocate)
    EVT_BUTTON(wxID_CANCEL,           CQuorvelDlg::OnCancel)
    EVT_WINDOW_DESTROY(               CQuorvelDlg::OnDestroy)
    EVT_CLOSE(                        CQuorvelDlg::OnClose)
wxEND_EVENT_TABLE()
// clang-format on

}  // namespace quorvel
