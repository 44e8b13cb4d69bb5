#include "QuorvelDlg.h"

#include <memory>
#include <utility>

#include "AboutDlg.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "Utf16Text.h"
#include "WideText.h"

namespace quorvel {
namespace {

// A task another thread posted to the dialog; lParam owns a std::function<void()>.
constexpr UINT kRunTask = WM_APP + 1;

// The caption of message boxes: the program's name, its file name without the folder and
// ".exe", as the program names no caption of its own.
std::wstring ApplicationTitle() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring title(path);
    title.erase(0, title.find_last_of(L"\\/") + 1);
    const std::size_t dot = title.find_last_of(L'.');
    return dot == std::wstring::npos ? title : title.substr(0, dot);
}

}  // namespace

CQuorvelDlg::CQuorvelDlg(HINSTANCE instance, ISocketLibrary& sockets)
    : m_instance(instance),
      m_sockets(sockets),
      m_icon(::LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME))),
      m_locate(*this, sockets, [this](std::function<void()> task) { PostTask(std::move(task)); }) {}

void CQuorvelDlg::PostTask(std::function<void()> task) {
    auto posted = std::make_unique<std::function<void()>>(std::move(task));
    if (::PostMessageW(m_dialog, kRunTask, 0, reinterpret_cast<LPARAM>(posted.get())) != 0) {
        static_cast<void>(posted.release());  // the message owns it now
    }
}

void CQuorvelDlg::DoModal() {
    ::DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, DialogProc,
                      reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CQuorvelDlg::DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<CQuorvelDlg*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<CQuorvelDlg*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    return self != nullptr ? self->HandleMessage(message, wParam, lParam) : FALSE;
}

INT_PTR CQuorvelDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInitDialog();
            return TRUE;  // the dialog manager then focuses the first tab stop, the address box
        case WM_SYSCOMMAND:
            if ((wParam & 0xFFF0) != IDM_ABOUTBOX) {
                return FALSE;  // move, minimise, close...: the default handling
            }
            OnSysCommand(wParam);
            return TRUE;
        case WM_PAINT:
            return OnPaint() ? TRUE : FALSE;
        case WM_QUERYDRAGICON:
            // One of the few messages whose answer is the dialog procedure's result itself.
            return reinterpret_cast<INT_PTR>(OnQueryDragIcon());
        case WM_COMMAND:
            // The Locate button, and Enter (Locate is the default button), run the command;
            // the cancel command that Escape sends does nothing.
            if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
                OnLocate();
            }
            return LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL ? TRUE : FALSE;
        case WM_DESTROY:
            OnDestroy();
            return FALSE;
        case WM_CLOSE:
            OnClose();
            return TRUE;
        case WM_SETCURSOR:
            return OnSetCursor() ? TRUE : FALSE;
        case kRunTask: {
            const std::unique_ptr<std::function<void()>> task(
                reinterpret_cast<std::function<void()>*>(lParam));
            (*task)();
            return TRUE;
        }
        default:
            static_cast<void>(lParam);
            return FALSE;
    }
}

void CQuorvelDlg::OnInitDialog() {
    AddAboutItemToSystemMenu();
    ::SendMessageW(m_dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageW(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    if (m_sockets.Startup(kSocketLibraryVersion) != 0) {
        ShowMessageBox(LoadStringResource(IDS_SOCKETS_START_FAILED), MessageIcon::None);
    }
    SetInformationText(LoadStringResource(IDS_READY));
}

void CQuorvelDlg::AddAboutItemToSystemMenu() {
    HMENU systemMenu = ::GetSystemMenu(m_dialog, FALSE);
    const std::wstring aboutText = ShownWideText(LoadStringResource(IDS_ABOUTBOX));
    if (systemMenu != nullptr && !aboutText.empty()) {
        ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutText.c_str());
    }
}

void CQuorvelDlg::OnSysCommand(WPARAM command) {
    static_cast<void>(command);
    CAboutDlg::DoModal(m_instance, m_dialog);
}

// A minimised window shows the application icon centred in its client area; otherwise the
// dialog manager paints.
bool CQuorvelDlg::OnPaint() {
    if (!::IsIconic(m_dialog)) {
        return false;
    }
    PAINTSTRUCT paint;
    HDC context = ::BeginPaint(m_dialog, &paint);
    ::SendMessageW(m_dialog, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(context), 0);
    const int iconWidth = ::GetSystemMetrics(SM_CXICON);
    const int iconHeight = ::GetSystemMetrics(SM_CYICON);
    RECT client;
    ::GetClientRect(m_dialog, &client);
    const int x = (client.right - client.left - iconWidth + 1) / 2;
    const int y = (client.bottom - client.top - iconHeight + 1) / 2;
    ::DrawIcon(context, x, y, m_icon);
    ::EndPaint(m_dialog, &paint);
    return true;
}

// The picture dragged for the minimised window: the application icon.
HICON CQuorvelDlg::OnQueryDragIcon() const {
    return m_icon;
}

void CQuorvelDlg::OnLocate() {
    m_locate.Locate();
}

void CQuorvelDlg::OnDestroy() {
    m_locate.Cancel(kLookupCancelWait);
    m_sockets.Cleanup();
}

// The close box ends the modal loop, and with it the program, with exit status 0, at once even
// during a lookup: the lookup is given up. One still inside the resolver, which nothing can
// interrupt, is left behind, and the program ends without waiting for it.
void CQuorvelDlg::OnClose() {
    if (!m_locate.Cancel(kLookupCancelWait)) {
        ::ExitProcess(0);
    }
    ::PostQuitMessage(0);
}

// While a lookup runs the wait cursor stays over the dialog, which is still answering messages.
bool CQuorvelDlg::OnSetCursor() {
    if (!m_waitCursorShown) {
        return false;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    ::SetWindowLongPtrW(m_dialog, DWLP_MSGRESULT, TRUE);
    return true;
}

std::string CQuorvelDlg::GetAddressText() {
    HWND addressBox = ::GetDlgItem(m_dialog, IDC_ADDRESS);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(addressBox)) + 1, L'\0');
    const int length = ::GetWindowTextW(addressBox, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return Utf8FromWide(text);
}

void CQuorvelDlg::SetInformationText(const std::string& text) {
    ::SetDlgItemTextW(m_dialog, IDC_INFORMATION, ShownWideText(text).c_str());
}

void CQuorvelDlg::EnableAddressBox(bool enable) {
    ::EnableWindow(::GetDlgItem(m_dialog, IDC_ADDRESS), enable);
}

void CQuorvelDlg::EnableLocateButton(bool enable) {
    ::EnableWindow(::GetDlgItem(m_dialog, IDOK), enable);
}

void CQuorvelDlg::BeginWaitCursor() {
    m_waitCursorShown = true;
    m_cursorBeforeWait = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
}

void CQuorvelDlg::EndWaitCursor() {
    m_waitCursorShown = false;
    ::SetCursor(m_cursorBeforeWait);
}

void CQuorvelDlg::FocusAddressBox() {
    ::SetFocus(::GetDlgItem(m_dialog, IDC_ADDRESS));
}

void CQuorvelDlg::RepaintNow() {
    ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CQuorvelDlg::ShowMessageBox(const std::string& text, MessageIcon icon) {
    const UINT iconStyle = icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : 0;
    ::MessageBoxW(m_dialog, ShownWideText(text).c_str(), ApplicationTitle().c_str(),
                  MB_OK | iconStyle);
}

}  // namespace quorvel
