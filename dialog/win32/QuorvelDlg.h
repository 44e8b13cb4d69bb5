// The main dialog on the Windows dialog manager, built from the template IDD_MAIN: the address
// box, the Locate button and the information box. It is the Locate command's view, and asks the
// network off its own thread, so that it keeps painting and answering messages while a lookup
// runs; it starts the socket library when it opens and releases it when it goes.
#pragma once

#include <windows.h>

#include <string>

#include "LocateView.h"
#include "LocateWorker.h"
#include "SocketLibrary.h"

namespace quorvel {

class CQuorvelDlg : public ILocateView {
public:
    // The Locate command resolves and queries through `sockets`.
    CQuorvelDlg(HINSTANCE instance, ISocketLibrary& sockets);

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
    bool OnPaint();
    HICON OnQueryDragIcon() const;
    void OnLocate();
    void OnDestroy();
    void OnClose();

    void AddAboutItemToSystemMenu();
    // Runs `task` on the dialog's thread, from its message loop (kRunTask).
    void PostTask(std::function<void()> task);
    bool OnSetCursor();

    HINSTANCE m_instance;
    ISocketLibrary& m_sockets;
    HICON m_icon;  // the application icon; a resource icon, which the system releases
    HWND m_dialog = nullptr;
    HCURSOR m_cursorBeforeWait = nullptr;
    bool m_waitCursorShown = false;
    CLocateWorker m_locate;
};

}  // namespace quorvel
