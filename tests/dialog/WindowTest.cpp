// The real window under an X server, driven by real key and mouse events: what a user sees
// from start to close. Message boxes are answered by a dialog hook; the About box is looked at
// and closed with its OK button. Screenshots of the main dialog after a lookup, of the locked
// dialog during a slow lookup and of the About box are written to the folder given as the
// first argument.
//
// quorvel_window_test FOLDER [session|startup-fails]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/evtloop.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/statbmp.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/timer.h>
#include <wx/uiaction.h>
#include <wx/xrc/xmlres.h>

#include "AboutDlg.h"
#include "CloseRequest.h"
#include "QuorvelApp.h"
#include "ScreenCapture.h"
#include "ScriptedSockets.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// Checks count towards the summary line; a failed one is printed at once.
class CChecks {
public:
    void Expect(bool ok, const std::string& what) {
        if (ok) {
            ++m_passed;
        } else {
            ++m_failed;
            std::printf("FAILED: %s\n", what.c_str());
            std::fflush(stdout);
        }
    }
    template <typename T>
    void ExpectEqual(const T& actual, const T& expected, const std::string& what) {
        Expect(actual == expected, what);
    }
    bool AllPassed() const { return m_failed == 0 && m_passed > 0; }
    void PrintSummary() const { std::printf("window: %d passed, %d failed\n", m_passed, m_failed); }

private:
    int m_passed = 0;
    int m_failed = 0;
};

CChecks g_checks;

CScriptedSockets& Sockets() {
    static CScriptedSockets sockets;
    return sockets;
}

// Runs the window's events until `done` holds; false after `limit`, which only catches a hang.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 10s) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        wxEventLoopBase::GetActive()->DispatchTimeout(10);
        wxTheApp->ProcessPendingEvents();
    }
    return true;
}

// Runs the window's events for a while, for checks that something does not happen.
void RunEventsFor(std::chrono::milliseconds span) {
    const auto end = std::chrono::steady_clock::now() + span;
    WaitUntil([end] { return std::chrono::steady_clock::now() > end; }, span + 1s);
}

// What the X server shows of a window right now.
wxImage Screenshot(wxWindow* window) {
    const wxRect rect = window->GetScreenRect();
    std::vector<std::uint8_t> rgb = CaptureScreen({rect.x, rect.y, rect.width, rect.height});
    if (rgb.empty()) {
        return wxImage();
    }
    wxImage image(rect.width, rect.height, false);
    std::copy(rgb.begin(), rgb.end(), image.GetData());
    return image;
}

void SaveScreenshot(wxWindow* window, const wxString& folder, const wxString& name) {
    const wxString path = folder + "/" + name;
    g_checks.Expect(Screenshot(window).SaveFile(path, wxBITMAP_TYPE_PNG),
                    "screenshot " + path.ToStdString());
    std::printf("screenshot: %s\n", static_cast<const char*>(path.utf8_str()));
}

wxColour PixelAt(const wxImage& image, wxPoint point) {
    return wxColour(image.GetRed(point.x, point.y), image.GetGreen(point.x, point.y),
                    image.GetBlue(point.x, point.y));
}

// A control of a layout and the rectangle its dialog units give.
struct PlacedControl {
    const char* what;
    std::function<wxWindow*(wxWindow&)> find;
    wxRect dialogUnits;
};

wxWindow* ByName(wxWindow& dialog, const char* name) {
    return dialog.FindWindow(XRCID(name));
}

template <typename Control>
std::function<wxWindow*(wxWindow&)> NthOf(int n) {
    return [n](wxWindow& dialog) -> wxWindow* {
        int seen = 0;
        for (wxWindow* child : dialog.GetChildren()) {
            if (dynamic_cast<Control*>(child) != nullptr && seen++ == n) {
                return child;
            }
        }
        return nullptr;
    };
}

void ExpectPlacement(wxTopLevelWindow& dialog, const std::vector<PlacedControl>& controls,
                     wxSize clientUnits) {
    g_checks.ExpectEqual(dialog.GetClientSize(), dialog.ConvertDialogToPixels(clientUnits),
                         dialog.GetTitle().ToStdString() + " client size");
    for (const PlacedControl& control : controls) {
        wxWindow* window = control.find(dialog);
        g_checks.Expect(window != nullptr, std::string(control.what) + " exists");
        if (window == nullptr) {
            continue;
        }
        const wxRect expected(dialog.ConvertDialogToPixels(control.dialogUnits.GetPosition()),
                              dialog.ConvertDialogToPixels(control.dialogUnits.GetSize()));
        g_checks.ExpectEqual(window->GetRect(), expected, std::string(control.what) + " placement");
    }
}

// Answers message boxes with OK and remembers them; lets the About box show, and looks at it
// once it is up.
class CDialogWatcher : public wxModalDialogHook {
public:
    struct MessageBox {
        std::string text;
        long style;
    };
    std::vector<MessageBox> messageBoxes;
    std::function<void(wxDialog&)> onAboutBox;
    int aboutBoxesShown = 0;

protected:
    int Enter(wxDialog* dialog) override {
        if (auto* message = dynamic_cast<wxMessageDialogBase*>(dialog)) {
            messageBoxes.push_back(
                {message->GetMessage().ToStdString(), message->GetMessageDialogStyle()});
            return wxID_OK;
        }
        if (dynamic_cast<CAboutDlg*>(dialog) != nullptr) {
            ++aboutBoxesShown;
            if (onAboutBox) {
                dialog->CallAfter([this, dialog] { onAboutBox(*dialog); });
            }
        }
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {}
};

// The user's session with the main dialog, step by step.
class CSession {
public:
    CSession(wxDialog& dialog, CDialogWatcher& watcher, wxString folder)
        : m_dialog(dialog), m_watcher(watcher), m_folder(std::move(folder)) {
        m_address = dynamic_cast<wxTextCtrl*>(ByName(dialog, "IDC_ADDRESS"));
        m_information = dynamic_cast<wxTextCtrl*>(ByName(dialog, "IDC_INFORMATION"));
        m_locate = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
    }

    void Run() {
        if (m_address == nullptr || m_information == nullptr || m_locate == nullptr) {
            g_checks.Expect(false,
                            "the main dialog has its address box, button and information box");
            return;
        }
        OpensReady();
        EnterLooksUpAPrivateAddress();
        EscapeDoesNothing();
        HelpKeyOpensAboutBox();
        RightClickOffersAboutBox();
        CopiesARegistryRecordAsShown();
        EmptyDestinationAsksForOne();
        InputIsLockedWhileTheNetworkIsSlow();
    }

private:
    void OpensReady() {
        g_checks.Expect(WaitUntil([this] {
                            return m_dialog.IsShown() && m_information->GetValue() == "Ready.";
                        }),
                        "the dialog opens with \"Ready.\"");
        g_checks.ExpectEqual(Sockets().startups, std::vector<std::uint16_t>{0x0102},
                             "the socket library starts once, asking for version 2.1");
        g_checks.ExpectEqual(m_dialog.GetTitle(), wxString("Quorvel"), "caption");
        g_checks.ExpectEqual(m_locate->GetLabel(), wxString("&Locate"), "Locate button text");
        g_checks.Expect(m_dialog.GetDefaultItem() == m_locate, "Locate is the default button");
        g_checks.Expect(!m_information->IsEditable(), "the information box is read-only");
        g_checks.ExpectEqual(m_dialog.GetIcons().GetIconCount(), size_t{2}, "big and small icon");
        auto* label = dynamic_cast<wxStaticText*>(NthOf<wxStaticText>(0)(m_dialog));
        auto* group = dynamic_cast<wxStaticBox*>(NthOf<wxStaticBox>(0)(m_dialog));
        g_checks.Expect(label != nullptr && label->GetLabel() == "Destination Address:",
                        "address label");
        g_checks.Expect(group != nullptr && group->GetLabel() == "Destination Information",
                        "group label");
        ExpectPlacement(m_dialog,
                        {{"address box",
                          [](wxWindow& d) { return ByName(d, "IDC_ADDRESS"); },
                          {117, 20, 107, 13}},
                         {"Locate button",
                          [](wxWindow& d) { return d.FindWindow(wxID_OK); },
                          {260, 20, 43, 14}},
                         {"address label", NthOf<wxStaticText>(0), {18, 20, 89, 13}},
                         {"information box",
                          [](wxWindow& d) { return ByName(d, "IDC_INFORMATION"); },
                          {28, 75, 266, 163}},
                         {"group box", NthOf<wxStaticBox>(0), {18, 62, 285, 185}}},
                        {320, 263});
        // Tab order is the order of the children.
        const wxWindowList& children = m_dialog.GetChildren();
        g_checks.Expect(children.size() == 5 && children[0] == m_address &&
                            children[1] == m_locate && children[3] == m_information,
                        "tab order: address box, Locate, label, information box, group box");

        // Keys go to the window under the pointer: there is no window manager to give focus.
        m_dialog.Raise();
        m_simulator.MouseMove(m_dialog.GetScreenRect().GetPosition() + wxPoint(5, 5));
        g_checks.Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_address; }),
                        "the address box has the focus");
    }

    void EnterLooksUpAPrivateAddress() {
        m_simulator.Text("192.168.1.1");
        m_simulator.Char(WXK_RETURN);
        g_checks.Expect(WaitUntil([this] { return m_information->GetValue().StartsWith("Name:"); }),
                        "Enter runs Locate");
        g_checks.ExpectEqual(m_information->GetValue(),
                             wxString("Name:    192.168.1.1\nAddress: 192.168.1.1\n\n"
                                      "This is a private IP address."),
                             "header and private-address text");
        g_checks.Expect(m_dialog.IsShown() && m_dialog.IsModal(), "Enter leaves the dialog open");
        ExpectInputUnlocked("after a lookup");
        RunEventsFor(200ms);
        m_unlockedLook = Screenshot(&m_dialog);
    }

    void EscapeDoesNothing() {
        const size_t lookups = Sockets().reverseLookups.size();
        const wxString shown = m_information->GetValue();
        m_simulator.Char(WXK_ESCAPE);
        RunEventsFor(300ms);
        g_checks.Expect(m_dialog.IsShown() && m_dialog.IsModal(), "Escape leaves the dialog open");
        g_checks.Expect(
            Sockets().reverseLookups.size() == lookups && m_information->GetValue() == shown,
            "Escape does not run Locate");
    }

    void HelpKeyOpensAboutBox() {
        m_watcher.onAboutBox = [this](wxDialog& about) { LookAtAboutBoxAndClickOk(about); };
        const int shownBefore = m_watcher.aboutBoxesShown;
        m_simulator.Char(WXK_F1);
        g_checks.Expect(
            WaitUntil([&] { return m_watcher.aboutBoxesShown > shownBefore && !IsAboutBoxOpen(); }),
            "F1 opens the About box and its OK closes it");
        g_checks.Expect(m_dialog.IsShown() && m_dialog.IsModal(),
                        "the main dialog is there after the About box");
        m_watcher.onAboutBox = nullptr;
    }

    // GTK gives the dialog no window menu: a right-click offers the About item instead. The
    // item is chosen with the keyboard once the menu is up, and Escape closes the About box.
    void RightClickOffersAboutBox() {
        m_watcher.onAboutBox = [this](wxDialog& about) {
            WaitUntil([&about] { return about.IsShown(); });
            RunEventsFor(100ms);
            m_simulator.Char(WXK_ESCAPE);
        };
        wxTimer chooseItem;
        chooseItem.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            m_simulator.Char(WXK_DOWN);
            m_simulator.Char(WXK_RETURN);
        });
        const int shownBefore = m_watcher.aboutBoxesShown;
        m_simulator.MouseMove(m_dialog.GetScreenRect().GetPosition() + wxPoint(10, 10));
        RunEventsFor(50ms);
        m_simulator.MouseClick(wxMOUSE_BTN_RIGHT);
        chooseItem.StartOnce(500);
        g_checks.Expect(
            WaitUntil([&] { return m_watcher.aboutBoxesShown > shownBefore && !IsAboutBoxOpen(); }),
            "a right-click offers the About box, and Escape closes it");
        g_checks.Expect(m_dialog.IsShown() && m_dialog.IsModal(),
                        "the main dialog is there after the About box");
        m_watcher.onAboutBox = nullptr;
    }

    // A record in Latin-1, as APNIC answers: shown and copied out (Ctrl+A, Ctrl+C in the
    // information box) with each byte's meaning.
    void CopiesARegistryRecordAsShown() {
        Sockets().whoisReply =
            "% Information related to '203.0.113.0 - 203.0.113.255'\n\n"
            "inetnum:        203.0.113.0 - 203.0.113.255\n"
            "netname:        EXAMPLE-NET\n"
            "descr:          Stra\xDF"
            "e 1, M\xFCnchen\n";
        const wxString shown = wxString::FromUTF8(
            "Name:    203.0.113.7\nAddress: 203.0.113.7\n\n"
            "inetnum:        203.0.113.0 - 203.0.113.255\n"
            "netname:        EXAMPLE-NET\n"
            "descr:          Stra\xC3\x9F"
            "e 1, M\xC3\xBCnchen\n");
        TypeDestination("203.0.113.7");
        m_simulator.Char(WXK_RETURN);
        g_checks.Expect(WaitUntil([this] {
                            return m_information->GetValue().StartsWith("Name:    203.0.113.7");
                        }),
                        "the registry record is shown");
        g_checks.ExpectEqual(m_information->GetValue(), shown, "the Latin-1 record as text");
        Sockets().whoisReply.clear();
        RunEventsFor(200ms);
        SaveScreenshot(&m_dialog, m_folder, "quorvel-main.png");

        const wxRect box = m_information->GetScreenRect();
        m_simulator.MouseMove(box.GetPosition() + wxPoint(box.width / 2, box.height - 20));
        RunEventsFor(50ms);
        m_simulator.MouseClick();
        g_checks.Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_information; }),
                        "a click gives the information box the focus");
        if (wxTheClipboard->Open()) {
            wxTheClipboard->Clear();
            wxTheClipboard->Close();
        }
        m_simulator.Char('a', wxMOD_CONTROL);
        m_simulator.Char('c', wxMOD_CONTROL);
        wxString copied;
        WaitUntil([&copied, &shown] { return (copied = ClipboardText()) == shown; }, 3s);
        g_checks.ExpectEqual(copied, shown, "Ctrl+A, Ctrl+C copy the information box's text");
    }

    static wxString ClipboardText() {
        wxTextDataObject text;
        if (!wxTheClipboard->Open()) {
            return wxString();
        }
        const bool got =
            wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(text);
        wxTheClipboard->Close();
        return got ? text.GetText() : wxString();
    }

    void TypeDestination(const char* destination) {
        m_address->SetFocus();
        m_simulator.Char('a', wxMOD_CONTROL);
        m_simulator.Char(WXK_BACK);
        m_simulator.Text(destination);
        g_checks.Expect(
            WaitUntil([this, destination] { return m_address->GetValue() == destination; }),
            std::string("typed ") + destination);
    }

    static bool IsAboutBoxOpen() {
        for (wxWindow* window : wxTopLevelWindows) {
            if (dynamic_cast<CAboutDlg*>(window) != nullptr && window->IsShown()) {
                return true;
            }
        }
        return false;
    }

    void LookAtAboutBoxAndClickOk(wxDialog& about) {
        g_checks.Expect(WaitUntil([&about] { return about.IsShown(); }), "the About box shows");
        g_checks.ExpectEqual(about.GetTitle(), wxString("About Quorvel"), "About caption");
        ExpectPlacement(
            about,
            {{"About icon", NthOf<wxStaticBitmap>(0), {11, 17, 20, 20}},
             {"version line", NthOf<wxStaticText>(0), {40, 10, 119, 8}},
             {"first notice line", NthOf<wxStaticText>(1), {40, 25, 119, 8}},
             {"About OK", [](wxWindow& d) { return d.FindWindow(wxID_OK); }, {165, 25, 33, 14}},
             {"second notice line", NthOf<wxStaticText>(2), {40, 41, 119, 8}}},
            {213, 60});
        auto* version = dynamic_cast<wxStaticText*>(NthOf<wxStaticText>(0)(about));
        g_checks.Expect(version != nullptr && version->GetLabel() == "Quorvel Version 1.0",
                        "version line");
        auto* icon = dynamic_cast<wxStaticBitmap*>(NthOf<wxStaticBitmap>(0)(about));
        g_checks.Expect(icon != nullptr && icon->GetBitmap().IsOk(),
                        "the About box shows the icon");
        RunEventsFor(200ms);
        SaveScreenshot(&about, m_folder, "quorvel-about.png");
        wxWindow* ok = about.FindWindow(wxID_OK);
        if (ok != nullptr) {
            m_simulator.MouseMove(ok->GetScreenRect().GetPosition() + ok->GetSize() / 2);
            RunEventsFor(100ms);
            m_simulator.MouseClick();
        }
    }

    void EmptyDestinationAsksForOne() {
        const size_t lookups = Sockets().reverseLookups.size();
        m_address->SetFocus();
        m_simulator.Char('a', wxMOD_CONTROL);
        m_simulator.Char(WXK_BACK);
        g_checks.Expect(WaitUntil([this] { return m_address->IsEmpty(); }),
                        "the address box is cleared");
        m_watcher.messageBoxes.clear();
        m_simulator.Char(WXK_RETURN);
        g_checks.Expect(WaitUntil([this] {
                            return !m_watcher.messageBoxes.empty() &&
                                   m_information->GetValue() == "Ready.";
                        }),
                        "an empty destination is answered");
        if (!m_watcher.messageBoxes.empty()) {
            g_checks.ExpectEqual(m_watcher.messageBoxes.front().text,
                                 std::string("Please type destination address."),
                                 "empty destination message");
            g_checks.Expect((m_watcher.messageBoxes.front().style & wxICON_EXCLAMATION) != 0,
                            "the message has the exclamation icon");
        }
        g_checks.ExpectEqual(Sockets().reverseLookups.size(), lookups,
                             "no resolver call for an empty destination");
        ExpectInputUnlocked("after an empty destination");
    }

    struct LockedState {
        bool addressEnabled = true;
        bool locateEnabled = true;
        bool busy = false;
        wxString information;
        wxImage look;
    };

    void InputIsLockedWhileTheNetworkIsSlow() {
        LockedState locked;
        bool blocked = false;
        Sockets().slowAddress = {10, 20, 30, 40};
        Sockets().slowFor = 400ms;
        Sockets().whileSlow = [&] {
            blocked = true;
            locked = {m_address->IsEnabled(), m_locate->IsEnabled(), wxIsBusy(),
                      m_information->GetValue(), Screenshot(&m_dialog)};
            locked.look.SaveFile(m_folder + "/quorvel-locked.png", wxBITMAP_TYPE_PNG);
        };
        TypeDestination("10.20.30.40");
        m_simulator.Char(WXK_RETURN);
        g_checks.Expect(WaitUntil([this] {
                            return m_information->GetValue().StartsWith("Name:    slow.example");
                        }),
                        "the slow lookup ends with its header");
        g_checks.Expect(blocked, "the lookup blocked on the slow network");
        g_checks.Expect(!locked.addressEnabled && !locked.locateEnabled,
                        "address box and Locate are disabled while the lookup blocks");
        g_checks.Expect(locked.busy, "the busy cursor shows while the lookup blocks");
        g_checks.ExpectEqual(locked.information, wxString("Querying..."),
                             "\"Querying...\" while the lookup blocks");
        if (locked.look.IsOk() && m_unlockedLook.IsOk()) {
            // Inside the address box, right of any text: its background shows whether the
            // disabled look reached the screen before the window blocked.
            const wxRect box = m_address->GetRect();
            const wxPoint inside(box.GetRight() - 6, box.y + box.height / 2);
            g_checks.Expect(PixelAt(locked.look, inside) != PixelAt(m_unlockedLook, inside),
                            "the address box looks disabled on the screen while the lookup blocks");
        }
        ExpectInputUnlocked("after the slow lookup");
        Sockets().whileSlow = nullptr;
    }

    void ExpectInputUnlocked(const std::string& when) {
        g_checks.Expect(m_address->IsEnabled() && m_locate->IsEnabled(), "input enabled " + when);
        g_checks.Expect(!wxIsBusy(), "no busy cursor " + when);
        g_checks.Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_address; }, 2s),
                        "the address box has the focus " + when);
    }

    wxDialog& m_dialog;
    CDialogWatcher& m_watcher;
    wxString m_folder;
    wxTextCtrl* m_address = nullptr;
    wxTextCtrl* m_information = nullptr;
    wxButton* m_locate = nullptr;
    wxUIActionSimulator m_simulator;
    wxImage m_unlockedLook;
};

// The program's own application with the scripted socket library; the session runs inside
// the main dialog's modal loop and ends by clicking the close box.
class CWindowTestApp : public CQuorvelApp {
public:
    CWindowTestApp() : CQuorvelApp(Sockets()) {}

    bool OnInit() override {
        if (argc < 2 || !CQuorvelApp::OnInit()) {
            std::fprintf(stderr, "usage: quorvel_window_test FOLDER [session|startup-fails]\n");
            return false;
        }
        m_folder = argv[1];
        m_scenario = argc > 2 ? argv[2] : wxString("session");
        wxImage::AddHandler(new wxPNGHandler);
        m_watcher.Register();
        if (m_scenario == "startup-fails") {
            Sockets().startupResult = 10091;  // WSASYSNOTREADY
        }
        CallAfter(&CWindowTestApp::RunScenario);
        StartHangGuard();
        return true;
    }

    int OnRun() override {
        const int exitStatus = CQuorvelApp::OnRun();
        g_checks.ExpectEqual(exitStatus, 0, "the close box ends the program with status 0");
        g_checks.ExpectEqual(Sockets().cleanups, 1, "the socket library is released once");
        g_checks.PrintSummary();
        return g_checks.AllPassed() ? 0 : 1;
    }

private:
    // A window that never closes would hold the test run: end the process instead.
    static void StartHangGuard() {
        std::thread([] {
            std::this_thread::sleep_for(60s);
            std::printf("FAILED: the window test hung\n");
            std::fflush(stdout);
            std::_Exit(3);
        }).detach();
    }

    void RunScenario() {
        auto* dialog = dynamic_cast<wxDialog*>(GetTopWindow());
        g_checks.Expect(dialog != nullptr, "the main dialog is the top window");
        if (dialog == nullptr) {
            return;
        }
        if (m_scenario == "startup-fails") {
            StartupFailure(*dialog);
        } else {
            CSession(*dialog, m_watcher, m_folder).Run();
        }
        RunEventsFor(100ms);
        // The program ends when the close box has ended the dialog; OnRun checks how.
        g_checks.Expect(SendCloseRequest("Quorvel"), "the close box is clicked");
    }

    void StartupFailure(wxDialog& dialog) {
        auto* information = dynamic_cast<wxTextCtrl*>(ByName(dialog, "IDC_INFORMATION"));
        g_checks.Expect(WaitUntil([&] {
                            return information != nullptr && information->GetValue() == "Ready.";
                        }),
                        "the dialog opens with \"Ready.\" after the socket library failed");
        g_checks.Expect(m_watcher.messageBoxes.size() == 1 &&
                            m_watcher.messageBoxes.front().text == "WSAStartup failed!" &&
                            (m_watcher.messageBoxes.front().style & wxICON_EXCLAMATION) == 0,
                        "\"WSAStartup failed!\" without an icon");
    }

    CDialogWatcher m_watcher;
    wxString m_folder;
    wxString m_scenario;
};

wxAppConsole* CreateWindowTestApp() {
    return new CWindowTestApp;
}

const wxAppInitializer windowTestAppInitializer(&CreateWindowTestApp);

}  // namespace
}  // namespace quorvel

wxIMPLEMENT_WXWIN_MAIN
