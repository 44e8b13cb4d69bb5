// The window's size, place and maximised state, kept from one run to the next by wxWidgets'
// persistence in the user's settings file, and the rule for a stored place that no monitor shows
// any more (a monitor unplugged, a smaller screen): the window then opens centred on the primary
// monitor.
#pragma once

class wxTopLevelWindow;

namespace quorvel {

// Gives `window` the size, place and maximised state it was last closed with, and has them stored
// when it goes. Call once, when the window has its layout and smallest size and is not yet shown.
void KeepWindowPlace(wxTopLevelWindow& window);

}  // namespace quorvel
