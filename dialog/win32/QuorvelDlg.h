// The main dialog on the Windows dialog manager, built from the template IDD_MAIN: the address
// box, the Locate button and the information box. It is the Locate command's view, and asks the
// network off its own thread, so that it keeps painting and answering messages while a lookup
// runs; it starts the socket library when it opens and releases it when it goes. The address box
// lists the destinations located before; the window's size, place and that list are kept in the
// user's settings between runs.
#pragma once

#include <windows.h>

#include <string>

#include "DestinationHistory.h"
#include "LocateView.h"
#include "LocateWorker.h"
#include "SocketLibrary.h"

namespace quorvel {

class CQuorvelDlg : public ILocateView {
public:
    // The Locate command resolves and queries through `sockets`.
    CQuorvelDlg(HINSTANCE instance, ISocketLibrary& sockets);
    ~CQuorvelDlg();
    CQuorvelDlg(const CQuorvelDlg&) = delete;
    CQuorvelDlg& operator=(const CQuorvelDlg&) = delete;

    // Runs the dialog until the user closes it.
    void DoModal();

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
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    // The dialog's message table: the dialog procedure's result, FALSE for the dialog
    // manager's default handling.
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnInitDialog();
    void OnSysCommand(WPARAM command);
    void OnClearHistory();
    void OnSize(WPARAM kind);
    void OnTimer(UINT_PTR timer);
    void OnGetMinMaxInfo(MINMAXINFO& limits) const;
    void OnDpiChanged(UINT dpi);
    bool OnPaint();
    HICON OnQueryDragIcon() const;
    void OnLocate();
    void OnDestroy();
    void OnClose();

    void AddSystemMenuItems();
    // A command that got as far as the network has finished: its destination joins the list.
    void OnLocated();
    void ShowHistory();
    std::wstring AddressBoxText() const;
    // The record's fixed-pitch font, made for the window's DPI.
    void ApplyInformationFont();
    // The layout as the template places it, at the DPI the window opened with.
    void RememberLayout();
    // The information box and its group grown by as much as the window is larger than the
    // layout; the label, the address box and the Locate button stay as they are.
    void ApplyLayout();
    SIZE LayoutClientSize() const;
    void RestoreWindowPlace();
    void OnWindowPosChanged();
    void StoreWindowPlace();
    // Runs `task` on the dialog's thread, from its message loop (kRunTask).
    void PostTask(std::function<void()> task);
    bool OnSetCursor();

    HINSTANCE m_instance;
    ISocketLibrary& m_sockets;
    HICON m_icon;  // the application icon; a resource icon, which the system releases
    HWND m_dialog = nullptr;
    HCURSOR m_cursorBeforeWait = nullptr;
    bool m_waitCursorShown = false;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;  // of the monitor the window is on
    HFONT m_informationFont = nullptr;     // the program's own, released with the dialog
    CDestinationHistory m_history;
    std::string m_destinationRead;  // the address box's text as the last command read it
    // The layout's client size, the smallest the window can be, and the rectangles there of the
    // two controls that grow with the window, in pixels at the DPI m_layoutDpi.
    SIZE m_layoutClient{};
    RECT m_layoutInformationBox{};
    RECT m_layoutInformationGroup{};
    UINT m_layoutDpi = USER_DEFAULT_SCREEN_DPI;
    RECT m_normalRect{};           // on the screen, when last neither maximised nor minimised
    bool m_holdMaximized = false;  // opened maximised, the dialog manager's restore is undone
    CLocateWorker m_locate;
};

}  // namespace quorvel
