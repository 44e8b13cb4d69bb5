// quorvel-bare-dialog: the toolkit's own dialog with the controls of Quorvel's main dialog (a
// label, a drop-down, a button, a group box and a multi-line text box), made in code and shown
// modally, and nothing of Quorvel: no layouts, icon, fonts, socket library or stored settings.
// bench/window-startup.sh times it beside the window, so that the window's start-up is judged
// against what the toolkit itself costs on the same machine at the same moment.
#include <wx/app.h>
#include <wx/button.h>
#include <wx/combobox.h>
#include <wx/dialog.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <cstdlib>

namespace {

class CBareDialogApp : public wxApp {
public:
    CBareDialogApp() {
        setenv("GDK_GL", "disable", 0);  // as the window does: no GL driver loaded at start-up
    }

    int OnRun() override {
        wxDialog dialog(nullptr, wxID_ANY, "Quorvel");
        const auto units = [&dialog](int x, int y) {
            return dialog.ConvertDialogToPixels(wxSize(x, y));
        };
        const auto place = [&units](int x, int y) {
            const wxSize size = units(x, y);
            return wxPoint(size.x, size.y);
        };
        new wxComboBox(&dialog, wxID_ANY, "", place(117, 20), units(107, 13));
        new wxButton(&dialog, wxID_OK, "&Locate", place(260, 20), units(43, 14));
        new wxStaticText(&dialog, wxID_ANY, "Destination Address:", place(18, 20), units(89, 13));
        new wxTextCtrl(&dialog, wxID_ANY, "Ready.", place(28, 75), units(266, 163),
                       wxTE_MULTILINE | wxTE_READONLY | wxHSCROLL);
        new wxStaticBox(&dialog, wxID_ANY, "Destination Information", place(18, 62),
                        units(285, 185));
        dialog.SetClientSize(units(320, 263));
        dialog.ShowModal();
        return 0;
    }
};

}  // namespace

wxIMPLEMENT_APP(CBareDialogApp);
