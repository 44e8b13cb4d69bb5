#include "QuorvelDlg.h"

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "AboutDlg.h"
#include "DisplayScale.h"
#include "ResourceIds.h"
#include "StringTable.h"
#include "UserSettings.h"
#include "Utf16Text.h"
#include "WideText.h"

namespace quorvel {
namespace {

// A task another thread posted to the dialog; lParam owns a std::function<void()>.
constexpr UINT kRunTask = WM_APP + 1;
// Posted while the window moves to a monitor of another DPI, to follow it once the dialog
// manager has rescaled the dialog.
constexpr UINT kFollowDpi = WM_APP + 2;
// Posted when the dialog manager restored the window that opened maximised.
constexpr UINT kMaximize = WM_APP + 3;
// How long the window that opens maximised stays so against the dialog manager's restore.
constexpr UINT_PTR kHoldMaximizedTimer = 1;
constexpr UINT kHoldMaximizedMilliseconds = 1000;

int CALLBACK NoteFontFound(const LOGFONTW* font, const TEXTMETRICW* metrics, DWORD type,
                           LPARAM found) {
    static_cast<void>(font);
    static_cast<void>(metrics);
    static_cast<void>(type);
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool HasFontFace(const wchar_t* face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    ::lstrcpynW(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(screen, &wanted, NoteFontFound, reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

// A record is a table laid out for a fixed-pitch font: the system's (Consolas, else Courier
// New) at the height of the message font for `dpi` keeps its columns straight.
HFONT CreateInformationFont(UINT dpi) {
    static const bool hasConsolas = HasFontFace(L"Consolas");
    LOGFONTW font{};
    font.lfHeight = MessageFont(dpi).lfHeight;
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    ::lstrcpynW(font.lfFaceName, hasConsolas ? L"Consolas" : L"Courier New", LF_FACESIZE);
    return ::CreateFontIndirectW(&font);
}

// A control's rectangle in its dialog's client coordinates.
RECT ClientRectOf(HWND dialog, HWND control) {
    RECT rect{};
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The information box's group box: the control just before it in the template.
HWND InformationGroup(HWND dialog) {
    return ::GetWindow(::GetDlgItem(dialog, IDC_INFORMATION), GW_HWNDPREV);
}

// Whether a monitor shows some of the caption of a window at `rect`, the band along its top that
// the user takes hold of to move it: the rule for taking a stored place.
bool CaptionOnAMonitor(const RECT& rect) {
    RECT caption = rect;
    caption.bottom = caption.top + ::GetSystemMetrics(SM_CYCAPTION);
    return ::MonitorFromRect(&caption, MONITOR_DEFAULTTONULL) != nullptr;
}

// The primary monitor's work area: its screen less the taskbar.
RECT PrimaryWorkArea() {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &monitor);
    return monitor.rcWork;
}

// A window of `size` centred in `area`, made no larger than the area but never smaller than
// `smallest`.
RECT CentredIn(const RECT& area, SIZE size, SIZE smallest) {
    const LONG width = std::max(std::min(size.cx, area.right - area.left), smallest.cx);
    const LONG height = std::max(std::min(size.cy, area.bottom - area.top), smallest.cy);
    const LONG left = area.left + (area.right - area.left - width) / 2;
    const LONG top = area.top + (area.bottom - area.top - height) / 2;
    return RECT{left, top, left + width, top + height};
}

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
      m_history(LoadHistory()),
      m_locate(
          *this, sockets, [this](std::function<void()> task) { PostTask(std::move(task)); },
          [this](LocateOutcome outcome) {
              if (outcome != LocateOutcome::EmptyDestination) {
                  OnLocated();
              }
          }) {}

CQuorvelDlg::~CQuorvelDlg() {
    if (m_informationFont != nullptr) {
        ::DeleteObject(m_informationFont);
    }
}

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
            if ((wParam & 0xFFF0) == IDM_CLEARHISTORY) {
                OnClearHistory();
                return TRUE;
            }
            if ((wParam & 0xFFF0) != IDM_ABOUTBOX) {
                return FALSE;  // move, minimise, close...: the default handling
            }
            OnSysCommand(wParam);
            return TRUE;
        case WM_SIZE:
            OnSize(wParam);
            return FALSE;
        case WM_WINDOWPOSCHANGED:
            OnWindowPosChanged();
            return FALSE;  // the default handling sends WM_SIZE and WM_MOVE
        case WM_GETMINMAXINFO:
            OnGetMinMaxInfo(*reinterpret_cast<MINMAXINFO*>(lParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(LOWORD(wParam));
            return FALSE;  // the dialog manager rescales the dialog and moves it
        case WM_TIMER:
            OnTimer(wParam);
            return TRUE;
        case kMaximize:
            ::ShowWindow(m_dialog, SW_MAXIMIZE);
            return TRUE;
        case kFollowDpi:
            ApplyInformationFont();
            ApplyLayout();
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
    AddSystemMenuItems();
    ::SendMessageW(m_dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
    ::SendMessageW(m_dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
    m_dpi = WindowDpi(m_dialog);
    RememberLayout();
    ApplyInformationFont();
    // The list opens long enough for the whole history.
    ::SendDlgItemMessageW(m_dialog, IDC_ADDRESS, CB_SETMINVISIBLE, kHistoryLimit, 0);
    ShowHistory();
    RestoreWindowPlace();
    if (m_sockets.Startup(kSocketLibraryVersion) != 0) {
        ShowMessageBox(LoadStringResource(IDS_SOCKETS_START_FAILED), MessageIcon::None);
    }
    SetInformationText(LoadStringResource(IDS_READY));
}

// After the system's own items: a separator, "Clear history" and the About item, each when its
// text is in the string table.
void CQuorvelDlg::AddSystemMenuItems() {
    HMENU systemMenu = ::GetSystemMenu(m_dialog, FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    struct MenuItem {
        UINT_PTR command;
        unsigned text;
    };
    constexpr MenuItem kItems[] = {{IDM_CLEARHISTORY, IDS_CLEAR_HISTORY},
                                   {IDM_ABOUTBOX, IDS_ABOUTBOX}};
    bool separated = false;
    for (const MenuItem& item : kItems) {
        const std::wstring shown = ShownWideText(LoadStringResource(item.text));
        if (shown.empty()) {
            continue;
        }
        if (!separated) {
            ::AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
            separated = true;
        }
        ::AppendMenuW(systemMenu, MF_STRING, item.command, shown.c_str());
    }
}

void CQuorvelDlg::OnSysCommand(WPARAM command) {
    static_cast<void>(command);
    CAboutDlg::DoModal(m_instance, m_dialog);
}

void CQuorvelDlg::OnClearHistory() {
    m_history.Clear();
    SaveHistory(m_history.Entries());
    ShowHistory();
}

void CQuorvelDlg::OnLocated() {
    m_history.Add(m_destinationRead);
    SaveHistory(m_history.Entries());
    ShowHistory();
}

// The list changes under the text the user sees, which stays as it is.
void CQuorvelDlg::ShowHistory() {
    HWND addressBox = ::GetDlgItem(m_dialog, IDC_ADDRESS);
    const std::wstring text = AddressBoxText();
    DWORD selection = 0;
    ::SendMessageW(addressBox, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&selection), 0);
    ::SendMessageW(addressBox, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : m_history.Entries()) {
        ::SendMessageW(addressBox, CB_ADDSTRING, 0,
                       reinterpret_cast<LPARAM>(WideFromUtf8(entry).value_or(L"").c_str()));
    }
    if (AddressBoxText() != text) {
        ::SetWindowTextW(addressBox, text.c_str());
        ::SendMessageW(addressBox, CB_SETEDITSEL, 0, MAKELPARAM(selection, selection));
    }
}

void CQuorvelDlg::ApplyInformationFont() {
    HFONT previous = m_informationFont;
    m_informationFont = CreateInformationFont(m_dpi);
    ::SendDlgItemMessageW(m_dialog, IDC_INFORMATION, WM_SETFONT,
                          reinterpret_cast<WPARAM>(m_informationFont), TRUE);
    if (previous != nullptr) {
        ::DeleteObject(previous);
    }
}

void CQuorvelDlg::RememberLayout() {
    RECT client{};
    ::GetClientRect(m_dialog, &client);
    m_layoutClient = SIZE{client.right, client.bottom};
    m_layoutInformationBox = ClientRectOf(m_dialog, ::GetDlgItem(m_dialog, IDC_INFORMATION));
    m_layoutInformationGroup = ClientRectOf(m_dialog, InformationGroup(m_dialog));
    m_layoutDpi = m_dpi;
}

SIZE CQuorvelDlg::LayoutClientSize() const {
    const int dpi = static_cast<int>(m_dpi);
    const int layoutDpi = static_cast<int>(m_layoutDpi);
    return SIZE{::MulDiv(m_layoutClient.cx, dpi, layoutDpi),
                ::MulDiv(m_layoutClient.cy, dpi, layoutDpi)};
}

void CQuorvelDlg::ApplyLayout() {
    if (m_layoutClient.cx == 0) {
        return;  // the dialog is still being made
    }
    RECT client{};
    ::GetClientRect(m_dialog, &client);
    const SIZE layout = LayoutClientSize();
    const LONG growX = std::max(client.right - layout.cx, 0L);
    const LONG growY = std::max(client.bottom - layout.cy, 0L);
    const int dpi = static_cast<int>(m_dpi);
    const int layoutDpi = static_cast<int>(m_layoutDpi);
    const auto place = [&](HWND control, const RECT& at) {
        const auto scaled = [&](LONG value) { return ::MulDiv(value, dpi, layoutDpi); };
        ::SetWindowPos(control, nullptr, scaled(at.left), scaled(at.top),
                       scaled(at.right - at.left) + growX, scaled(at.bottom - at.top) + growY,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(InformationGroup(m_dialog), m_layoutInformationGroup);
    place(::GetDlgItem(m_dialog, IDC_INFORMATION), m_layoutInformationBox);
    // The group's frame moved: the space it left is painted anew.
    ::RedrawWindow(m_dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CQuorvelDlg::OnSize(WPARAM kind) {
    if (kind == SIZE_RESTORED && m_holdMaximized) {
        m_holdMaximized = false;
        ::PostMessageW(m_dialog, kMaximize, 0, 0);
    }
    if (kind != SIZE_MINIMIZED) {
        ApplyLayout();
    }
}

void CQuorvelDlg::OnTimer(UINT_PTR timer) {
    if (timer == kHoldMaximizedTimer) {
        ::KillTimer(m_dialog, kHoldMaximizedTimer);
        m_holdMaximized = false;
    }
}

// The window cannot be made smaller than the layout.
void CQuorvelDlg::OnGetMinMaxInfo(MINMAXINFO& limits) const {
    if (m_dialog == nullptr || m_layoutClient.cx == 0) {
        return;
    }
    const SIZE smallest = WindowSizeForClient(m_dialog, LayoutClientSize(), m_dpi);
    limits.ptMinTrackSize = POINT{smallest.cx, smallest.cy};
    ::SetWindowLongPtrW(m_dialog, DWLP_MSGRESULT, 0);
}

void CQuorvelDlg::OnDpiChanged(UINT dpi) {
    m_dpi = dpi;
    ::PostMessageW(m_dialog, kFollowDpi, 0, 0);
}

// The size, place and maximised state of the last run. A place where no monitor shows the
// window's caption any more (a monitor unplugged, a smaller screen) is not taken: the window
// opens in the middle of the primary monitor's work area instead, at the stored size as far as
// it fits there, and a window that was maximised is maximised on that monitor.
void CQuorvelDlg::RestoreWindowPlace() {
    const std::optional<WindowPlace> stored = LoadWindowPlace();
    if (!stored) {
        return;
    }
    const RECT& normal = stored->normal;
    const RECT place = CaptionOnAMonitor(normal)
                           ? normal
                           : CentredIn(PrimaryWorkArea(),
                                       SIZE{normal.right - normal.left, normal.bottom - normal.top},
                                       WindowSizeForClient(m_dialog, LayoutClientSize(), m_dpi));
    ::SetWindowPos(m_dialog, nullptr, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
    if (stored->maximized) {
        ::ShowWindow(m_dialog, SW_SHOWMAXIMIZED);
        // A modal dialog's loop shows it restored once its queue first runs empty (so wine
        // does): for a moment it is maximised again whenever it is restored.
        m_holdMaximized = true;
        ::SetTimer(m_dialog, kHoldMaximizedTimer, kHoldMaximizedMilliseconds, nullptr);
    }
}

// The rectangle the window has when neither maximised nor minimised, kept as it changes: the
// place to store, which a maximised window no longer shows.
void CQuorvelDlg::OnWindowPosChanged() {
    if (m_dialog != nullptr && ::IsZoomed(m_dialog) == FALSE && ::IsIconic(m_dialog) == FALSE) {
        ::GetWindowRect(m_dialog, &m_normalRect);
    }
}

void CQuorvelDlg::StoreWindowPlace() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(m_dialog, &placement);
    const bool maximized =
        ::IsZoomed(m_dialog) != FALSE ||
        (::IsIconic(m_dialog) != FALSE && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    if (m_normalRect.right > m_normalRect.left) {
        SaveWindowPlace(WindowPlace{m_normalRect, maximized});
    }
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
// interrupt, is left behind, and the program ends without waiting for it. The window's size and
// place are stored first, while it still shows them.
void CQuorvelDlg::OnClose() {
    StoreWindowPlace();
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

std::wstring CQuorvelDlg::AddressBoxText() const {
    HWND addressBox = ::GetDlgItem(m_dialog, IDC_ADDRESS);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(addressBox)) + 1, L'\0');
    const int length = ::GetWindowTextW(addressBox, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::string CQuorvelDlg::GetAddressText() {
    m_destinationRead = Utf8FromWide(AddressBoxText());
    return m_destinationRead;
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
