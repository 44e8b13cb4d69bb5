// quorvel.exe: the window that tells its user who holds an Internet address, on the Windows
// dialog manager. The main dialog's modal loop is the program's only message loop.
#include <windows.h>

#include <commctrl.h>

#include "QuorvelDlg.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show) {
    static_cast<void>(previous);
    static_cast<void>(commandLine);
    static_cast<void>(show);
    ::InitCommonControls();
    quorvel::CQuorvelDlg dialog(instance, quorvel::PlatformSocketLibrary());
    dialog.DoModal();
    return 0;
}
