// The application icon IDR_MAINFRAME, 32x32 and 16x16 in 16 colours.
#pragma once

#include <wx/iconbndl.h>

namespace quorvel {

// Both sizes, for the window's big and small icon.
wxIconBundle ApplicationIcons();

// Lets the dialog layouts name the icon as the stock picture "IDR_MAINFRAME".
void RegisterApplicationIconArt();

}  // namespace quorvel
