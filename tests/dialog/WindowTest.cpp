// The real window under an X server, driven by real key and mouse events, one behaviour of a
// user's session per run: the program starts as for a user, the behaviour named on the command
// line runs inside the main dialog's modal loop, and the close box ends it. Message boxes are
// answered by a dialog hook. Each failed check prints a line naming it. Screenshots land in
// FOLDER: quorvel-main.png after a lookup (copy), quorvel-locked.png during a slow lookup
// (locked), quorvel-about.png (about), quorvel-ripe.png with a RIPE NCC record (fixed_pitch)
// and quorvel-enlarged.png, the window enlarged with that record (resize). The window keeps its
// settings where the caller's XDG_CONFIG_HOME says: run-under-xvfb.sh gives each run a scratch
// folder, and kept_settings_before and kept_settings_after are run one after the other in one;
// the behaviours of kStoredPlaces store a place there before the window opens.
//
// quorvel_window_test FOLDER BEHAVIOUR
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <wx/app.h>
#include <wx/button.h>
#include <wx/clipbrd.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/display.h>
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
#include "DesktopRequests.h"
#include "DestinationHistory.h"
#include "FakeSocketLibrary.h"
#include "LocateView.h"
#include "QuorvelApp.h"
#include "Registries.h"
#include "ScreenCapture.h"
#include "TestData.h"
#include "UserSettings.h"

namespace quorvel {
namespace {

using namespace std::chrono_literals;

// Checks count towards the summary line; a failed one is printed at once.
int g_passed = 0;
int g_failed = 0;

bool Expect(bool ok, const std::string& what) {
    ++(ok ? g_passed : g_failed);
    if (!ok) {
        std::printf("FAILED: %s\n", what.c_str());
        std::fflush(stdout);
    }
    return ok;
}

template <typename T>
void ExpectEqual(const T& actual, const T& expected, const std::string& what) {
    Expect(actual == expected, what);
}

testing::FakeSocketLibrary& Sockets() {
    static testing::FakeSocketLibrary sockets;
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
wxImage Screenshot(wxWindow& window) {
    const wxRect rect = window.GetScreenRect();
    std::vector<std::uint8_t> rgb = CaptureScreen({rect.x, rect.y, rect.width, rect.height});
    if (rgb.empty()) {
        return wxImage();
    }
    wxImage image(rect.width, rect.height, false);
    std::copy(rgb.begin(), rgb.end(), image.GetData());
    return image;
}

void SaveScreenshot(const wxImage& image, const wxString& path) {
    Expect(image.IsOk() && image.SaveFile(path, wxBITMAP_TYPE_PNG),
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

std::function<wxWindow*(wxWindow&)> Named(const char* name) {
    return [name](wxWindow& dialog) { return dialog.FindWindow(XRCID(name)); };
}

wxWindow* OkButton(wxWindow& dialog) {
    return dialog.FindWindow(wxID_OK);
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
    ExpectEqual(dialog.GetClientSize(), dialog.ConvertDialogToPixels(clientUnits),
                dialog.GetTitle().ToStdString() + " client size");
    for (const PlacedControl& control : controls) {
        wxWindow* window = control.find(dialog);
        if (!Expect(window != nullptr, std::string(control.what) + " exists")) {
            continue;
        }
        const wxRect expected(dialog.ConvertDialogToPixels(control.dialogUnits.GetPosition()),
                              dialog.ConvertDialogToPixels(control.dialogUnits.GetSize()));
        ExpectEqual(window->GetRect(), expected, std::string(control.what) + " placement");
    }
}

template <typename Control>
wxString LabelOf(wxWindow& dialog, int n) {
    auto* control = dynamic_cast<Control*>(NthOf<Control>(n)(dialog));
    return control != nullptr ? control->GetLabel() : wxString();
}

bool IsAboutBoxOpen() {
    return std::any_of(wxTopLevelWindows.begin(), wxTopLevelWindows.end(), [](wxWindow* window) {
        return dynamic_cast<CAboutDlg*>(window) != nullptr && window->IsShown();
    });
}

wxString ClipboardText() {
    wxTextDataObject text;
    if (!wxTheClipboard->Open()) {
        return wxString();
    }
    const bool got = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) && wxTheClipboard->GetData(text);
    wxTheClipboard->Close();
    return got ? text.GetText() : wxString();
}

// The horizontal extent of each line of dark text in a picture of a text box, top to bottom:
// (first, last) column of its ink.
std::vector<std::pair<int, int>> InkedLines(const wxImage& image) {
    std::vector<std::pair<int, int>> lines;
    bool inLine = false;
    for (int y = 0; y < image.GetHeight(); ++y) {
        int first = -1;
        int last = -1;
        for (int x = 0; x < image.GetWidth(); ++x) {
            const int brightness = image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y);
            if (brightness < 3 * 128) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        if (first < 0) {
            inLine = false;
            continue;
        }
        if (!inLine) {
            lines.emplace_back(first, last);
        }
        lines.back() = {std::min(lines.back().first, first), std::max(lines.back().second, last)};
        inLine = true;
    }
    return lines;
}

// A RIPE NCC record, as IANA's referral of a 2a00::/12 address brings it: an object of
// "attribute:   value" lines laid out in columns.
constexpr char kRipeDestination[] = "2a00:2381:ffff::1";

void ServeRipeRecord() {
    Sockets().SetDefaultReply(std::string(ServerHost(Registry::Iana)),
                              testing::ReadWritten("whois.iana.org/refer-ripe_2a00..-12.txt"));
    Sockets().SetDefaultReply(std::string(ServerHost(Registry::RipeNcc)),
                              testing::ReadReply("whois.ripe.net/ipv6-2a00.2381.ffff..1_bt.txt"));
}

// A window stored at `place`, as if a run had left it there.
void StoreWindowPlace(const wxRect& place) {
    wxConfigBase* settings = wxConfigBase::Get();
    const wxString key = "/Persistent_Options/Window/IDD_MAIN/";
    settings->Write(key + "x", place.x);
    settings->Write(key + "y", place.y);
    settings->Write(key + "w", place.width);
    settings->Write(key + "h", place.height);
    settings->Write(key + "Maximized", 0);
}

// A place stored before the window opens, and where the window opens for it on the screen of
// run-under-xvfb.sh, 1024 x 768, which has no window manager (no frames, no panels): a place
// where no monitor shows the window's caption (its top edge, without a frame) puts the window in
// the middle of the screen, at the stored size as far as it fits.
struct StoredPlace {
    wxRect stored;
    wxRect opens;
    const char* what;
};

// By the behaviour that opens the window at each.
const std::map<std::string, StoredPlace> kStoredPlaces = {
    {"lost_monitor",
     {{5000, 4000, 700, 600},
      {162, 84, 700, 600},
      "stored where no monitor shows it, the window opens centred at the stored size"}},
    {"lost_monitor_tall",
     {{-3000, 200, 700, 2000},
      {162, 0, 700, 768},
      "stored off the screen and taller than it, the window opens centred, as tall as the screen"}},
    {"caption_above_screen",
     {{100, -500, 700, 600},
      {162, 84, 700, 600},
      "stored with its caption above the screen and its lower right corner on it, the window "
      "opens centred"}},
    {"caption_on_screen",
     {{-100, 600, 1200, 700},
      {-100, 600, 1200, 700},
      "stored with its caption on the screen and its corners off it, the window opens there"}},
};

// Where kept_settings_before leaves the window, for kept_settings_after to find it.
const wxPoint kKeptPosition(60, 40);
const wxSize kKeptGrowth(200, 100);

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

// The main dialog as a user finds it, and one method per behaviour of the session.
class CSession {
public:
    CSession(wxDialog& dialog, CDialogWatcher& watcher, wxString folder,
             const StoredPlace* storedPlace)
        : m_dialog(dialog),
          m_watcher(watcher),
          m_folder(std::move(folder)),
          m_storedPlace(storedPlace),
          m_address(dynamic_cast<wxComboBox*>(Named("IDC_ADDRESS")(dialog))),
          m_information(dynamic_cast<wxTextCtrl*>(Named("IDC_INFORMATION")(dialog))),
          m_locate(dynamic_cast<wxButton*>(OkButton(dialog))) {}

    // Where every behaviour starts: the dialog open and ready, the pointer on it. Keys go to
    // the window under the pointer: there is no window manager to give focus.
    bool Opens() {
        if (!Expect(m_address != nullptr && m_information != nullptr && m_locate != nullptr,
                    "the main dialog has its address box, button and information box")) {
            return false;
        }
        Expect(WaitUntil(
                   [this] { return m_dialog.IsShown() && m_information->GetValue() == "Ready."; }),
               "the dialog opens with \"Ready.\"");
        m_dialog.Raise();
        m_simulator.MouseMove(m_dialog.GetScreenRect().GetPosition() + wxPoint(5, 5));
        Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_address; }),
               "the address box has the focus");
        return true;
    }

    void Layout() {
        ExpectEqual(m_dialog.GetTitle(), wxString("Quorvel"), "caption");
        ExpectEqual(m_locate->GetLabel(), wxString("&Locate"), "Locate button text");
        Expect(m_dialog.GetDefaultItem() == m_locate, "Locate is the default button");
        Expect(!m_information->IsEditable(), "the information box is read-only");
        ExpectEqual(m_dialog.GetIcons().GetIconCount(), size_t{2}, "big and small icon");
        ExpectEqual(LabelOf<wxStaticText>(m_dialog, 0), wxString("Destination Address:"),
                    "address label");
        ExpectEqual(LabelOf<wxStaticBox>(m_dialog, 0), wxString("Destination Information"),
                    "group label");
        ExpectPlacement(m_dialog,
                        {{"address label", NthOf<wxStaticText>(0), {18, 20, 89, 13}},
                         {"address box", Named("IDC_ADDRESS"), {117, 20, 107, 13}},
                         {"Locate button", OkButton, {260, 20, 43, 14}},
                         {"group box", NthOf<wxStaticBox>(0), {18, 62, 285, 185}},
                         {"information box", Named("IDC_INFORMATION"), {28, 75, 266, 163}}},
                        {320, 263});
        // Tab order is the order of the children: each label just before what it names.
        const wxWindowList& children = m_dialog.GetChildren();
        Expect(children.size() == 5 && children[1] == m_address && children[2] == m_locate &&
                   children[4] == m_information,
               "tab order: address label, address box, Locate, group box, information box");
    }

    void Enter() {
        LocateAndWait("192.168.1.1", "Name:", "Enter runs Locate");
        ExpectEqual(m_information->GetValue(),
                    wxString("Name:    192.168.1.1\nAddress: 192.168.1.1\n\n"
                             "This is a private IP address."),
                    "header and private-address text");
        ExpectStillOpen("after Enter");
        ExpectInputUnlocked("after a lookup");
        // Tab goes from the address box to Locate, and on to the information box.
        m_simulator.Char(WXK_TAB);
        Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_locate; }, 2s),
               "Tab moves from the address box to Locate");
        m_simulator.Char(WXK_TAB);
        Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_information; }, 2s),
               "Tab moves from Locate to the information box");
    }

    void Escape() {
        TypeDestination("192.168.1.1");
        m_simulator.Char(WXK_ESCAPE);
        RunEventsFor(300ms);
        ExpectStillOpen("after Escape");
        Expect(Sockets().ResolverCalls() == 0 && m_information->GetValue() == "Ready.",
               "Escape does not run Locate");
    }

    void About() {
        ExpectAboutBoxComesAndGoes([this] { m_simulator.Char(WXK_F1); },
                                   [this](wxDialog& about) { LookAtAboutBoxAndClickOk(about); },
                                   "F1 opens the About box and its OK closes it");
    }

    // GTK gives the dialog no window menu: a right-click offers its items instead, the About item
    // last. It is chosen with the keyboard once the menu is up, and Escape closes the About box.
    void AboutMenu() {
        wxTimer chooseItem;
        chooseItem.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            m_simulator.Char(WXK_DOWN);  // "Clear history"
            m_simulator.Char(WXK_DOWN);  // "About Quorvel..."
            m_simulator.Char(WXK_RETURN);
        });
        ExpectAboutBoxComesAndGoes(
            [&] {
                m_simulator.MouseMove(m_dialog.GetScreenRect().GetPosition() + wxPoint(10, 10));
                RunEventsFor(50ms);
                m_simulator.MouseClick(wxMOUSE_BTN_RIGHT);
                chooseItem.StartOnce(500);
            },
            [this](wxDialog& about) {
                WaitUntil([&about] { return about.IsShown(); });
                RunEventsFor(100ms);
                m_simulator.Char(WXK_ESCAPE);
            },
            "a right-click offers the About box, and Escape closes it");
    }

    void EmptyDestination() {
        TypeDestination("");
        m_simulator.Char(WXK_RETURN);
        Expect(WaitUntil([this] {
                   return !m_watcher.messageBoxes.empty() && m_information->GetValue() == "Ready.";
               }),
               "an empty destination is answered");
        ExpectMessageBox("Please type destination address.", wxICON_EXCLAMATION);
        ExpectEqual(Sockets().ResolverCalls(), 0, "no resolver call for an empty destination");
        ExpectInputUnlocked("after an empty destination");
    }

    // The reverse lookup of a slow name server holds the window's thread: what the window
    // shows then is what the user sees until the lookup ends.
    void Locked() {
        RunEventsFor(200ms);
        const wxImage unlockedLook = Screenshot(m_dialog);
        struct {
            bool addressEnabled = true;
            bool locateEnabled = true;
            bool busy = false;
            wxString information;
            wxImage look;
        } locked;
        bool blocked = false;
        Sockets().AddReverseName({10, 20, 30, 40}, "slow.example");
        Sockets().SetReverseLookupHook([&] {
            blocked = true;
            locked = {m_address->IsEnabled(), m_locate->IsEnabled(), wxIsBusy(),
                      m_information->GetValue(), Screenshot(m_dialog)};
            std::this_thread::sleep_for(400ms);
        });
        LocateAndWait("10.20.30.40", "Name:    slow.example",
                      "the slow lookup ends with its header");
        Sockets().SetReverseLookupHook(nullptr);
        SaveScreenshot(locked.look, m_folder + "/quorvel-locked.png");
        Expect(blocked, "the lookup blocked on the slow network");
        Expect(!locked.addressEnabled && !locked.locateEnabled,
               "address box and Locate are disabled while the lookup blocks");
        Expect(locked.busy, "the busy cursor shows while the lookup blocks");
        ExpectEqual(locked.information, wxString("Querying..."),
                    "\"Querying...\" while the lookup blocks");
        if (locked.look.IsOk() && unlockedLook.IsOk()) {
            // Inside the address box's text field, right of any text and left of the drop-down
            // button: its background shows whether the disabled look reached the screen before
            // the window blocked.
            const wxRect box = m_address->GetRect();
            const wxPoint inside(box.x + box.width * 3 / 4, box.y + box.height / 2);
            Expect(PixelAt(locked.look, inside) != PixelAt(unlockedLook, inside),
                   "the address box looks disabled on the screen while the lookup blocks");
        }
        ExpectInputUnlocked("after the slow lookup");
    }

    // A record in Latin-1, as APNIC answers: shown and copied out (Ctrl+A, Ctrl+C in the
    // information box) with each byte's meaning.
    void Copy() {
        Sockets().SetDefaultReply(std::string(ServerHost(Registry::Apnic)),
                                  "% Information related to '203.0.113.0 - 203.0.113.255'\n\n"
                                  "inetnum:        203.0.113.0 - 203.0.113.255\n"
                                  "netname:        EXAMPLE-NET\n"
                                  "descr:          Stra\xDF"
                                  "e 1, M\xFCnchen\n");
        const wxString shown = wxString::FromUTF8(
            "Name:    203.0.113.7\nAddress: 203.0.113.7\n\n"
            "inetnum:        203.0.113.0 - 203.0.113.255\n"
            "netname:        EXAMPLE-NET\n"
            "descr:          Stra\xC3\x9F"
            "e 1, M\xC3\xBCnchen\n");
        LocateAndWait("203.0.113.7", "Name:    203.0.113.7", "the registry record is shown");
        ExpectEqual(m_information->GetValue(), shown, "the Latin-1 record as text");
        RunEventsFor(200ms);
        SaveScreenshot(Screenshot(m_dialog), m_folder + "/quorvel-main.png");

        const wxRect box = m_information->GetScreenRect();
        m_simulator.MouseMove(box.GetPosition() + wxPoint(box.width / 2, box.height - 20));
        RunEventsFor(50ms);
        m_simulator.MouseClick();
        Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_information; }),
               "a click gives the information box the focus");
        if (wxTheClipboard->Open()) {
            wxTheClipboard->Clear();
            wxTheClipboard->Close();
        }
        m_simulator.Char('a', wxMOD_CONTROL);
        m_simulator.Char('c', wxMOD_CONTROL);
        wxString copied;
        WaitUntil([&copied, &shown] { return (copied = ClipboardText()) == shown; }, 3s);
        ExpectEqual(copied, shown, "Ctrl+A, Ctrl+C copy the information box's text");
    }

    // A record's columns line up in a fixed-pitch font: a line of the widest letter and a line
    // of the narrowest, as long, end together.
    void FixedPitch() {
        const std::string wide(20, 'W');
        const std::string narrow(20, 'i');
        ExpectEqual(m_information->GetTextExtent(wide).x, m_information->GetTextExtent(narrow).x,
                    "a line of W and a line of i are as wide in the information box's font");
        View().SetInformationText(wide + "\r\n" + narrow);
        RunEventsFor(200ms);
        const std::vector<std::pair<int, int>> lines = InkedLines(Screenshot(*m_information));
        if (Expect(lines.size() >= 2, "the two lines show in the information box")) {
            // The first inked rows are the W, the last the stems of the i (their dots stand
            // apart). In a proportional font the line of i is about a third as wide as the line
            // of W; in a fixed-pitch one they differ by less than a letter: an i's ink is
            // narrower than its cell.
            const int wideInk = lines.front().second - lines.front().first;
            const int narrowInk = lines.back().second - lines.back().first;
            Expect(narrowInk * 10 >= wideInk * 9,
                   "the lines of W and of i end together on the screen (" +
                       std::to_string(wideInk) + " and " + std::to_string(narrowInk) + " pixels)");
        }
        ShowRipeRecord();
        SaveScreenshot(Screenshot(m_dialog), m_folder + "/quorvel-ripe.png");
    }

    // The information box and its group grow with the window; the other controls stay; the
    // window cannot be made smaller than its layout.
    void Resize() {
        const wxSize layout = m_dialog.GetClientSize();
        ExpectEqual(layout, m_dialog.ConvertDialogToPixels(wxSize(320, 263)),
                    "the window opens at its layout's size");
        std::vector<wxRect> before;
        for (wxWindow* control : m_dialog.GetChildren()) {
            before.push_back(control->GetRect());
        }
        ResizeClientTo(layout * 2);
        ExpectEqual(m_dialog.GetClientSize(), layout * 2, "the window is made twice its size");
        ExpectGrownBy(before, layout, "at twice the size");

        // The enlarged window as a user sees it, as large as the screen shows it whole.
        ShowRipeRecord();
        m_dialog.SetSize(wxDisplay(0U).GetClientArea().GetSize());
        RunEventsFor(300ms);
        SaveScreenshot(Screenshot(m_dialog), m_folder + "/quorvel-enlarged.png");

        ResizeClientTo(layout / 2);
        ExpectEqual(m_dialog.GetClientSize(), layout,
                    "a size below the layout's is refused: the window keeps the layout's");
        ExpectGrownBy(before, wxSize(0, 0), "back at the layout's size");
    }

    // The first of two runs with one settings folder: the window moved and enlarged, three
    // destinations located, and closed.
    void KeptSettingsBefore() {
        ExpectHistory({}, "the first run's drop-down is empty");
        m_dialog.Move(kKeptPosition);
        ResizeClientTo(m_dialog.GetClientSize() + kKeptGrowth);
        for (const char* destination : {"192.168.1.1", "10.0.0.1", "127.0.0.1"}) {
            LocateAndWait(destination, (std::string("Name:    ") + destination).c_str(),
                          std::string("located ") + destination);
        }
        ExpectHistory({"127.0.0.1", "10.0.0.1", "192.168.1.1"},
                      "the drop-down lists the three destinations, newest first");
    }

    // The second run: the window where the first left it, the three destinations listed; then
    // picking one, 21 more lookups, and Clear history.
    void KeptSettingsAfter() {
        ExpectEqual(m_dialog.GetPosition(), kKeptPosition, "the window opens where it was left");
        ExpectEqual(m_dialog.GetClientSize(),
                    m_dialog.ConvertDialogToPixels(wxSize(320, 263)) + kKeptGrowth,
                    "the window opens at the size it was left");
        ExpectHistory({"127.0.0.1", "10.0.0.1", "192.168.1.1"},
                      "the drop-down lists the last run's destinations, newest first");

        // The drop-down opened with a click on its button, the second destination chosen with
        // the keyboard, and Enter.
        const wxRect box = m_address->GetScreenRect();
        m_simulator.MouseMove(wxPoint(box.GetRight() - 8, box.y + box.height / 2));
        RunEventsFor(50ms);
        m_simulator.MouseClick();
        RunEventsFor(500ms);
        m_simulator.Char(WXK_DOWN);  // the list opens on the first
        m_simulator.Char(WXK_RETURN);
        Expect(WaitUntil([this] { return m_address->GetValue() == "10.0.0.1"; }, 3s),
               "a destination picked from the drop-down fills the address box");
        m_simulator.Char(WXK_RETURN);
        Expect(
            WaitUntil([this] { return m_information->GetValue().StartsWith("Name:    10.0.0.1"); }),
            "Enter locates the destination picked");
        ExpectHistory({"10.0.0.1", "127.0.0.1", "192.168.1.1"}, "a repeat moves to the top");

        std::vector<std::string> newest;
        for (int n = 1; n <= 21; ++n) {
            const std::string destination = "10.1.0." + std::to_string(n);
            LocateAndWait(destination.c_str(), ("Name:    " + destination).c_str(),
                          "located " + destination);
            newest.insert(newest.begin(), destination);
        }
        newest.resize(kHistoryLimit);
        ExpectHistory(newest, "21 more lookups keep the newest 20");
        Expect(LoadHistory() == newest, "the stored history is the list shown");

        // "Clear history", the first item of the right-click menu.
        wxTimer chooseItem;
        chooseItem.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
            m_simulator.Char(WXK_DOWN);
            m_simulator.Char(WXK_RETURN);
        });
        m_simulator.MouseMove(m_dialog.GetScreenRect().GetPosition() + wxPoint(10, 10));
        RunEventsFor(50ms);
        m_simulator.MouseClick(wxMOUSE_BTN_RIGHT);
        chooseItem.StartOnce(500);
        Expect(WaitUntil([this] { return m_address->GetCount() == 0; }, 5s),
               "Clear history empties the drop-down");
        Expect(LoadHistory().empty(), "Clear history empties the stored history");
        ExpectEqual(m_address->GetValue(), wxString("10.1.0.21"),
                    "Clear history leaves the address box's text");
    }

    // The window opens where the place stored before it opened puts it (kStoredPlaces).
    void OpensAtStoredPlace() {
        ExpectEqual(wxDisplay().GetClientArea(), wxRect(0, 0, 1024, 768),
                    "the primary monitor's work area is the whole 1024 x 768 screen");
        ExpectEqual(m_dialog.GetScreenRect(), m_storedPlace->opens, m_storedPlace->what);
    }

    // Nothing but opening and closing: the socket library's life. That the close box ends the
    // program with status 0 and releases the library once is checked after every behaviour.
    void Close() {
        ExpectEqual(Sockets().StartupVersions(), std::vector<std::uint16_t>{0x0102},
                    "the socket library starts once, asking for version 2.1");
    }

    // The socket library did not start (the application sets that up): the dialog still
    // opens ready, after a message without an icon.
    void StartupFails() { ExpectMessageBox("WSAStartup failed!", 0); }

private:
    ILocateView& View() { return dynamic_cast<ILocateView&>(m_dialog); }

    void ShowRipeRecord() {
        ServeRipeRecord();
        LocateAndWait(kRipeDestination, "Name:", "a RIPE NCC record is located");
        Expect(m_information->GetValue().Contains("inet6num:"), "the RIPE NCC record is shown");
        RunEventsFor(300ms);  // for the record to reach the screen
    }

    void ResizeClientTo(wxSize size) {
        m_dialog.SetClientSize(size);
        WaitUntil([&] { return m_dialog.GetClientSize() == size; }, 2s);
        RunEventsFor(100ms);
    }

    // The information box and its group (the last two children) grown by `growth` from their
    // rectangles `before`, the other controls as they were.
    void ExpectGrownBy(const std::vector<wxRect>& before, wxSize growth, const std::string& when) {
        const wxWindowList& children = m_dialog.GetChildren();
        for (std::size_t n = 0; n < children.size() && n < before.size(); ++n) {
            const bool grows =
                children[n] == m_information || dynamic_cast<wxStaticBox*>(children[n]);
            wxRect expected = before[n];
            if (grows) {
                expected.SetSize(expected.GetSize() + growth);
            }
            ExpectEqual(children[n]->GetRect(), expected,
                        (grows ? "grown " : "unchanged ") +
                            wxString(children[n]->GetClassInfo()->GetClassName()).ToStdString() +
                            " " + when);
        }
    }

    void ExpectHistory(const std::vector<std::string>& expected, const std::string& what) {
        std::vector<std::string> listed;
        for (const wxString& entry : m_address->GetStrings()) {
            listed.emplace_back(entry.utf8_str());
        }
        Expect(listed == expected, what);
    }

    void TypeDestination(const char* destination) {
        m_address->SetFocus();
        m_simulator.Char('a', wxMOD_CONTROL);
        m_simulator.Char(WXK_BACK);
        m_simulator.Text(destination);
        Expect(WaitUntil([this, destination] { return m_address->GetValue() == destination; }),
               std::string("the address box holds \"") + destination + "\"");
    }

    // Types the destination, presses Enter and waits for the information box to start so.
    void LocateAndWait(const char* destination, const char* shownStart, const std::string& what) {
        TypeDestination(destination);
        m_simulator.Char(WXK_RETURN);
        Expect(WaitUntil([&] { return m_information->GetValue().StartsWith(shownStart); }), what);
    }

    void ExpectAboutBoxComesAndGoes(const std::function<void()>& open,
                                    std::function<void(wxDialog&)> onAboutBox,
                                    const std::string& what) {
        m_watcher.onAboutBox = std::move(onAboutBox);
        open();
        Expect(WaitUntil([this] { return m_watcher.aboutBoxesShown > 0 && !IsAboutBoxOpen(); }),
               what);
        ExpectStillOpen("after the About box");
        m_watcher.onAboutBox = nullptr;
    }

    void LookAtAboutBoxAndClickOk(wxDialog& about) {
        Expect(WaitUntil([&about] { return about.IsShown(); }), "the About box shows");
        ExpectEqual(about.GetTitle(), wxString("About Quorvel"), "About caption");
        ExpectPlacement(about,
                        {{"About icon", NthOf<wxStaticBitmap>(0), {11, 17, 20, 20}},
                         {"version line", NthOf<wxStaticText>(0), {40, 10, 119, 8}},
                         {"first notice line", NthOf<wxStaticText>(1), {40, 25, 119, 8}},
                         {"About OK", OkButton, {165, 25, 33, 14}},
                         {"second notice line", NthOf<wxStaticText>(2), {40, 41, 119, 8}}},
                        {213, 60});
        ExpectEqual(LabelOf<wxStaticText>(about, 0), wxString("Quorvel Version 1.0"),
                    "version line");
        auto* icon = dynamic_cast<wxStaticBitmap*>(NthOf<wxStaticBitmap>(0)(about));
        Expect(icon != nullptr && icon->GetBitmap().IsOk(), "the About box shows the icon");
        RunEventsFor(200ms);
        SaveScreenshot(Screenshot(about), m_folder + "/quorvel-about.png");
        if (wxWindow* ok = OkButton(about)) {
            m_simulator.MouseMove(ok->GetScreenRect().GetPosition() + ok->GetSize() / 2);
            RunEventsFor(100ms);
            m_simulator.MouseClick();
        }
    }

    // The one message box shown, with the exclamation icon or none.
    void ExpectMessageBox(const std::string& text, long icon) {
        const std::vector<CDialogWatcher::MessageBox>& shown = m_watcher.messageBoxes;
        Expect(shown.size() == 1 && shown.front().text == text &&
                   (shown.front().style & wxICON_EXCLAMATION) == icon,
               "one message box, \"" + text + "\"" +
                   (icon != 0 ? " with the exclamation icon" : " without an icon"));
    }

    void ExpectStillOpen(const std::string& when) {
        Expect(m_dialog.IsShown() && m_dialog.IsModal(), "the main dialog is open " + when);
    }

    void ExpectInputUnlocked(const std::string& when) {
        Expect(m_address->IsEnabled() && m_locate->IsEnabled(), "input enabled " + when);
        Expect(!wxIsBusy(), "no busy cursor " + when);
        Expect(WaitUntil([this] { return wxWindow::FindFocus() == m_address; }, 2s),
               "the address box has the focus " + when);
    }

    wxDialog& m_dialog;
    CDialogWatcher& m_watcher;
    wxString m_folder;
    const StoredPlace* m_storedPlace;
    wxComboBox* m_address;
    wxTextCtrl* m_information;
    wxButton* m_locate;
    wxUIActionSimulator m_simulator;
};

// The behaviours by the names the tests are registered under (window.NAME).
const std::map<std::string, void (CSession::*)()> kBehaviours = {
    {"layout", &CSession::Layout},
    {"enter", &CSession::Enter},
    {"escape", &CSession::Escape},
    {"about", &CSession::About},
    {"about_menu", &CSession::AboutMenu},
    {"empty_destination", &CSession::EmptyDestination},
    {"locked", &CSession::Locked},
    {"copy", &CSession::Copy},
    {"close", &CSession::Close},
    {"startup_fails", &CSession::StartupFails},
    {"fixed_pitch", &CSession::FixedPitch},
    {"resize", &CSession::Resize},
    {"kept_settings_before", &CSession::KeptSettingsBefore},
    {"kept_settings_after", &CSession::KeptSettingsAfter},
};

// The program's own application over the in-memory socket library; the behaviour runs inside
// the main dialog's modal loop and ends by clicking the close box.
class CWindowTestApp : public CQuorvelApp {
public:
    CWindowTestApp() : CQuorvelApp(Sockets()) {}

    bool OnInit() override {
        const std::string name = argc == 3 ? argv[2].ToStdString() : "";
        const auto behaviour = kBehaviours.find(name);
        const auto storedPlace = kStoredPlaces.find(name);
        if ((behaviour == kBehaviours.end() && storedPlace == kStoredPlaces.end()) ||
            !CQuorvelApp::OnInit()) {
            std::fprintf(stderr, "usage: quorvel_window_test FOLDER BEHAVIOUR\n");
            return false;
        }
        m_folder = argv[1];
        if (storedPlace != kStoredPlaces.end()) {
            m_storedPlace = &storedPlace->second;
            m_behaviour = &CSession::OpensAtStoredPlace;
            StoreWindowPlace(m_storedPlace->stored);
        } else {
            m_behaviour = behaviour->second;
        }
        if (m_behaviour == &CSession::StartupFails) {
            Sockets().SetStartupResult(10091);  // WSASYSNOTREADY
        }
        wxImage::AddHandler(new wxPNGHandler);
        m_watcher.Register();
        CallAfter(&CWindowTestApp::RunBehaviour);
        StartHangGuard();
        return true;
    }

    int OnRun() override {
        ExpectEqual(CQuorvelApp::OnRun(), 0, "the close box ends the program with status 0");
        ExpectEqual(Sockets().Cleanups(), 1, "the socket library is released once");
        std::printf("window: %d passed, %d failed\n", g_passed, g_failed);
        return g_failed == 0 && g_passed > 0 ? 0 : 1;
    }

private:
    // A window that never closes would hold the test run: end the process instead.
    static void StartHangGuard() {
        std::thread([] {
            std::this_thread::sleep_for(50s);
            std::printf("FAILED: the window test hung\n");
            std::fflush(stdout);
            std::_Exit(3);
        }).detach();
    }

    void RunBehaviour() {
        auto* dialog = dynamic_cast<wxDialog*>(GetTopWindow());
        if (!Expect(dialog != nullptr, "the main dialog is the top window")) {
            return;
        }
        CSession session(*dialog, m_watcher, m_folder, m_storedPlace);
        if (session.Opens()) {
            (session.*m_behaviour)();
        }
        RunEventsFor(100ms);
        // The program ends when the close box has ended the dialog; OnRun checks how.
        Expect(SendCloseRequest("Quorvel"), "the close box is clicked");
    }

    CDialogWatcher m_watcher;
    wxString m_folder;
    void (CSession::*m_behaviour)() = nullptr;
    const StoredPlace* m_storedPlace = nullptr;  // of the stored-place behaviours
};

wxAppConsole* CreateWindowTestApp() {
    return new CWindowTestApp;
}

const wxAppInitializer windowTestAppInitializer(&CreateWindowTestApp);

}  // namespace
}  // namespace quorvel

wxIMPLEMENT_WXWIN_MAIN
