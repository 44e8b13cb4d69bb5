#include "AppIcon.h"

#include <wx/artprov.h>
#include <wx/icon.h>

#include "icons/quorvel-16.xpm"
#include "icons/quorvel-32.xpm"

namespace quorvel {
namespace {

// Serves the application icon to the layouts; every other picture comes from the toolkit.
class CApplicationIconArt : public wxArtProvider {
protected:
    wxBitmap CreateBitmap(const wxArtID& id, const wxArtClient& client,
                          const wxSize& size) override {
        static_cast<void>(client);
        if (id != "IDR_MAINFRAME") {
            return wxNullBitmap;
        }
        return wxBitmap(size.x > 0 && size.x <= 16 ? quorvel_16_xpm : quorvel_32_xpm);
    }
};

}  // namespace

wxIconBundle ApplicationIcons() {
    wxIconBundle icons;
    icons.AddIcon(wxIcon(quorvel_32_xpm));
    icons.AddIcon(wxIcon(quorvel_16_xpm));
    return icons;
}

void RegisterApplicationIconArt() {
    wxArtProvider::Push(new CApplicationIconArt);
}

}  // namespace quorvel
