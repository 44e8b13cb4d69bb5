#include "WindowPlace.h"

#include <wx/display.h>
#include <wx/persist/toplevel.h>

#include <algorithm>

namespace quorvel {
namespace {

// The names wxWidgets stores the window's left and top under.
constexpr char kStoredLeft[] = "x";
constexpr char kStoredTop[] = "y";

// The band along the window's top where its caption is, the part the user takes hold of to move
// it, with the window's top left corner at `place`: as tall as the window manager's frame makes
// the window taller than its client area (as far as wxWidgets knows the frame before the window
// is shown), and at least the top edge itself.
wxRect CaptionAt(wxPoint place, const wxTopLevelWindow& window) {
    const int frameHeight = window.GetSize().y - window.GetClientSize().y;
    return wxRect(place, wxSize(window.GetSize().x, std::max(frameHeight, 1)));
}

bool OnAMonitor(const wxRect& rect) {
    for (unsigned monitor = 0; monitor < wxDisplay::GetCount(); ++monitor) {
        if (wxDisplay(monitor).GetGeometry().Intersects(rect)) {
            return true;
        }
    }
    return false;
}

// The window at its size, made no larger than the primary monitor's work area (the screen less
// the desktop's panels) and never smaller than its layout, centred in that work area.
wxRect CentredOnPrimaryMonitor(const wxTopLevelWindow& window) {
    const wxRect area = wxDisplay().GetClientArea();
    wxSize size = window.GetSize();
    size.DecTo(area.GetSize());
    size.IncTo(window.GetMinSize());
    return wxRect(size).CentreIn(area);
}

// wxWidgets' persistence of a top-level window, but with one rule of this program's for the
// stored place, as the Windows window has: the place is taken when a monitor shows some of the
// window's caption there, so that the user can take hold of the window; otherwise the window is
// centred on the primary monitor, and if it was maximised it is maximised there. wxWidgets' own
// test (a monitor shows the window's top left or bottom right corner) is not asked: it would keep
// a window whose caption is above the screen, and lose one whose corners are off a screen that
// shows its caption.
class CPersistentWindowPlace final : public wxPersistentTLW {
public:
    explicit CPersistentWindowPlace(wxTopLevelWindow* window) : wxPersistentTLW(window) {}

    bool Restore() override {
        // The size and the maximised state, which the window manager applies, when it shows the
        // window, on the monitor the window is placed on below.
        const bool restored = wxPersistentTLW::Restore();
        wxPoint stored;
        if (RestoreValue(kStoredLeft, &stored.x) && RestoreValue(kStoredTop, &stored.y)) {
            wxTopLevelWindow& window = *Get();
            if (OnAMonitor(CaptionAt(stored, window))) {
                window.Move(stored, wxSIZE_ALLOW_MINUS_ONE);  // -1 is a place too, not "unchanged"
            } else {
                window.SetSize(CentredOnPrimaryMonitor(window));
            }
        }
        return restored;
    }

private:
    // What wxWidgets restores: everything stored but the place, which Restore sees to.
    bool RestoreField(const wxString& name, int* value) override {
        return name != kStoredLeft && name != kStoredTop && RestoreValue(name, value);
    }
};

}  // namespace

void KeepWindowPlace(wxTopLevelWindow& window) {
    wxPersistenceManager::Get().RegisterAndRestore(&window, new CPersistentWindowPlace(&window));
}

}  // namespace quorvel
